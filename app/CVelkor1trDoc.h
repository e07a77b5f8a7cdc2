// The one document: the data set, its title and the document's commands.
#pragma once

#include <QObject>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/CommandTable.h"
#include "core/CommandTarget.h"
#include "data/DataSet.h"
#include "data/DeleteHistory.h"
#include "day/DayChain.h"
#include "export/ExportFile.h"
#include "serial/CommSettings.h"
#include "transfer/UsbLink.h"
#include "widgets/day/ViewedDocument.h"

namespace velkor {

class Prompter;

class CVelkor1trDoc : public QObject, public CommandTarget, public ViewedDocument {
    Q_OBJECT

  public:
    static constexpr const char* kDocTypeFilter = "Velkor2tr Files (*.velkor)|*.velkor||";

    explicit CVelkor1trDoc(Prompter& prompter, QObject* parent = nullptr);

    bool onCommand(int id) override;

    // New document at start-up; also chooses and binds the USB link and reads the
    // stored communication settings.
    void reset();
    // Opening by name: the command line, a dropped file, the recent-file list.
    bool openByName(const std::string& path);
    // Offers to save unsaved changes; false when the user cancels (or the save fails).
    bool saveModified();
    // The data file as a survey reads it from disk: readings not yet in a file (an import)
    // are saved first with Save As, other unsaved changes offered to save; nothing when the
    // user cancels.
    std::optional<std::string> savedPath();
    const std::string& pathName() const { return pathName_; }
    // The file the data set was last read from or written to; empty after an import.
    const std::string& loadedFrom() const { return shownFile_; }

    void deleteRows(std::vector<int> rows) override;
    // Read for the file shown, written for it when it has a path.
    PlanMapGeometry::Scale mapScale() const override;
    void setMapScale(const PlanMapGeometry::Scale& scale) override;

    DataSet& data() { return chain_.data(); }
    const VariationSet& variations() const { return chain_.variations(); }
    const DataSet& data() const override { return chain_.data(); }
    Prompter& prompter() override { return prompter_; }
    // The USB link, chosen at the first use when reset has not chosen it.
    UsbLink& usb();
    const CommSettings& commSettings() const { return comm_; }
    const std::string& title() const override { return title_; }
    bool isModified() const { return data().modified; }
    void setModified(bool on) { data().modified = on; }
    // The document's part of what the enable rules read.
    CommandState commandState() const;

    // Tells every attached view to rebuild from the data set.
    void updateAllViews() { emit changed(); }
    bool showCorrected() const override { return showCorrected_; }

  signals:
    void changed();
    // A load put another data set in place (after changed): what is shown starts at its
    // first reading.
    void dataSetReplaced();
    void titleChanged();
    // A file was opened by name or the user confirmed one: worth remembering.
    void fileOpened(const QString& path);
    // A line for the status bar that stays until the next command.
    void statusMessage(const QString& text);

  private:
    void openData();
    void saveAs();
    void importData();
    void communicationSetup();
    void openVariations();
    void showBaseStation();
    void temporalCorrection();
    void geomagneticCorrection();
    void exportFile(ExportFile::Kind kind);
    bool load(const std::string& path);
    bool write(const std::string& path);
    void setTitle(std::string title);
    // The readings were replaced by those of shownFile (empty: of no file).
    void dataReplaced(const std::string& shownFile);
    void undoDelete();

    Prompter& prompter_;
    DayChain chain_;
    std::unique_ptr<UsbLink> usb_;
    CommSettings comm_;
    std::string title_ = "Untitled";
    // Where Yes in the save prompt writes; empty means ask for a name.
    std::string pathName_;
    DeleteHistory history_;
    bool showCorrected_ = false;
    // The file whose readings are shown: the one loaded or written last; empty after an
    // import. (Open Data leaves pathName_ empty all the same.)
    std::string shownFile_;
    // The map's scale and the file it was read for; nothing once the readings are replaced.
    mutable PlanMapGeometry::Scale mapScale_;
    mutable std::optional<std::string> mapScaleFile_;
};

}  // namespace velkor
