// Document commands: open, save, delete.
#include "app/CVelkor1trDoc.h"

#include <algorithm>
#include <filesystem>

#include "app/SettingsStore.h"
#include "core/Prompter.h"
#include "data/DataFile.h"
#include "transfer/Importer.h"
#include "transfer/UsbLinkChooser.h"
#include "widgets/shared/WaitCursor.h"

namespace velkor {
namespace {

std::string bareName(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

// "1 reading", "30 readings" put into a status line at %1.
QString readingsText(const char* line, int count) {
    return QString(line).arg(count == 1 ? QString("1 reading") : QString("%1 readings").arg(count));
}

}  // namespace

CVelkor1trDoc::CVelkor1trDoc(Prompter& prompter, QObject* parent)
    : QObject(parent), prompter_(prompter), chain_(prompter) {}

bool CVelkor1trDoc::onCommand(int id) {
    switch (id) {
        case cmd::Import:
            importData();
            return true;
        case cmd::CommSetup:
            communicationSetup();
            return true;
        case cmd::OpenData:
            openData();
            return true;
        case cmd::SaveAs:
            saveAs();
            return true;
        case cmd::OpenVariations:
            openVariations();
            return true;
        case cmd::VariationsList:
            showBaseStation();
            return true;
        case cmd::Temporal:
            temporalCorrection();
            return true;
        case cmd::Geomagnetic:
            geomagneticCorrection();
            return true;
        case cmd::ExportField:
            exportFile(ExportFile::Kind::Field);
            return true;
        case cmd::ExportGradient:
            exportFile(ExportFile::Kind::Gradient);
            return true;
        case cmd::ExportAuto:
            exportFile(ExportFile::Kind::Auto);
            return true;
        case cmd::ExportCorrected:
            exportFile(ExportFile::Kind::Corrected);
            return true;
        case cmd::CorrectedValues:
            showCorrected_ = !showCorrected_;
            emit changed();
            return true;
        case cmd::UndoDelete:
            undoDelete();
            return true;
        default:
            return false;
    }
}

void CVelkor1trDoc::reset() {
    data().reset();
    // A missing library shows itself only when Import is used.
    usb_ = UsbLinkChooser::choose(prompter_);
    comm_ = SettingsStore::readComm();
}

UsbLink& CVelkor1trDoc::usb() {
    if (!usb_) {
        usb_ = UsbLinkChooser::choose(prompter_);
    }
    return *usb_;
}

void CVelkor1trDoc::communicationSetup() {
    CommSettings edited = comm_;
    if (prompter_.editCommSettings(edited)) {
        comm_ = edited;
        SettingsStore::writeComm(comm_);
    }
}

CommandState CVelkor1trDoc::commandState() const {
    CommandState s;
    s.dataLoaded = data().dataLoaded;
    s.variationsLoaded = data().variationsLoaded;
    s.temporalDone = data().temporalDone;
    s.geomagDone = data().geomagDone;
    return s;
}

bool CVelkor1trDoc::load(const std::string& path) {
    bool ok = false;
    {
        WaitCursor wait;
        ok = chain_.load(path);
    }
    if (ok) {
        // What is shown now is that file's content, unchanged.
        data().modified = false;
        dataReplaced(path);
    }
    return ok;
}

bool CVelkor1trDoc::write(const std::string& path) {
    if (!chain_.write(path)) {
        return false;
    }
    history_.saved();
    if (path != shownFile_) {
        // The readings shown are that file's now, drawn to the scale they had.
        const PlanMapGeometry::Scale scale = mapScale();
        shownFile_ = path;
        setMapScale(scale);
    }
    emit statusMessage("Saved to " + QString::fromStdString(path));
    return true;
}

void CVelkor1trDoc::dataReplaced(const std::string& shownFile) {
    // Readings of an earlier data set never come back, and what is shown starts plain.
    history_.clear();
    showCorrected_ = false;
    // Set before the views hear of the change: the map reads the file's scale.
    shownFile_ = shownFile;
    mapScaleFile_.reset();
    emit changed();
    emit dataSetReplaced();
}

void CVelkor1trDoc::setTitle(std::string title) {
    title_ = std::move(title);
    emit titleChanged();
}

bool CVelkor1trDoc::openByName(const std::string& path) {
    if (!load(path)) {
        return false;
    }
    pathName_ = path;
    setTitle(bareName(path));
    emit fileOpened(QString::fromStdString(path));
    return true;
}

bool CVelkor1trDoc::saveModified() {
    if (!data().modified) {
        return true;
    }
    switch (prompter_.askSaveChanges(title_)) {
        case Prompter::Answer::Cancel:
            return false;
        case Prompter::Answer::No:
            return true;
        case Prompter::Answer::Yes:
            break;
    }
    std::string path = pathName_;
    if (path.empty()) {
        const auto chosen = prompter_.askSaveFile(kDocTypeFilter, DataFile::kDefaultExt);
        if (!chosen) {
            return false;
        }
        path = *chosen;
    }
    if (!write(path)) {
        return false;
    }
    pathName_ = path;
    return true;
}

void CVelkor1trDoc::openData() {
    if (!saveModified()) {
        return;
    }
    const auto path = prompter_.askOpenFile(DataFile::kFilter, DataFile::kDefaultExt);
    if (!path || !load(*path)) {
        return;
    }
    // Open Data names no file to save back to: Yes at the save prompt asks for a name.
    pathName_.clear();
    setTitle(bareName(*path));
}

std::optional<std::string> CVelkor1trDoc::savedPath() {
    if (!data().dataLoaded) {
        return std::nullopt;
    }
    if (shownFile_.empty()) {
        saveAs();
    } else if (!saveModified()) {
        return std::nullopt;
    }
    return shownFile_.empty() ? std::nullopt : std::optional<std::string>(shownFile_);
}

void CVelkor1trDoc::saveAs() {
    const auto path = prompter_.askSaveFile(DataFile::kFilter, DataFile::kDefaultExt);
    if (!path || !write(*path)) {
        return;
    }
    pathName_ = *path;
    setTitle(*path);
}

void CVelkor1trDoc::importData() {
    if (!saveModified()) {
        return;
    }
    Importer importer(usb(), prompter_);
    if (!importer.run(data())) {
        return;
    }
    // The readings come from the instrument, not from a file.
    pathName_.clear();
    setTitle("Untitled");
    dataReplaced({});
    emit statusMessage(readingsText("Imported %1", data().readingCount()));
    // Told once the readings it names are on screen.
    if (!importer.notice().empty()) {
        prompter_.message(importer.notice());
    }
}

void CVelkor1trDoc::openVariations() {
    const auto path = prompter_.askOpenFile(VariationSet::kFilter, VariationSet::kDefaultExt);
    if (!path || !chain_.loadVariations(*path)) {
        return;
    }
    showBaseStation();
}

void CVelkor1trDoc::showBaseStation() {
    const VariationSet& variations = chain_.variations();
    if (!prompter_.showBaseStation(variations, data())) {
        prompter_.showVariations(variations.path(), variations.lines());
    }
}

void CVelkor1trDoc::temporalCorrection() {
    // Cancel keeps the basis; the correction runs all the same.
    float basis = data().basis;
    if (const auto entered = prompter_.askValue(Prompter::ValueKind::Basis, basis, {})) {
        basis = *entered;
    }
    int now = 0;
    {
        WaitCursor wait;
        now = chain_.correctTemporal(basis);
    }
    emit statusMessage(QString::fromStdString(chain_.temporalStatus(now)));
    // The corrected column and profile follow the new values.
    if (showCorrected_) {
        emit changed();
    }
}

void CVelkor1trDoc::geomagneticCorrection() {
    if (const auto value = prompter_.askValue(Prompter::ValueKind::Geomagnetic, data().geomag,
                                              chain_.firstDate())) {
        chain_.setGeomagnetic(*value);
        if (showCorrected_) {
            emit changed();
        }
    }
}

void CVelkor1trDoc::exportFile(ExportFile::Kind kind) {
    const auto path = prompter_.askSaveFile(ExportFile::filter(kind), ExportFile::defaultExt(kind));
    int rows = 0;
    if (path && chain_.exportFile(kind, *path, rows)) {
        emit statusMessage(readingsText("Exported %1 to ", rows) + QString::fromStdString(*path));
    }
}

void CVelkor1trDoc::deleteRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<int> lines;
    lines.reserve(rows.size());
    for (int row : rows) {
        if (row + 1 >= 1 && row + 1 < data().lineCount()) {
            lines.push_back(row + 1);
        }
    }
    const int noted = history_.record(data(), lines);
    WaitCursor wait;
    if (!lines.empty()) {
        data().deleteReadings(lines);  // one pass, however scattered the rows
        data().modified = true;
    }
    if (noted == 1) {
        emit statusMessage("1 reading deleted. Ctrl+Z brings it back.");
    } else if (noted > 1) {
        emit statusMessage(QString("%1 readings deleted. Ctrl+Z brings them back.").arg(noted));
    }
}

void CVelkor1trDoc::undoDelete() {
    const int back = history_.undo(data());
    if (back > 0) {
        emit changed();
        emit statusMessage(back == 1 ? QString("1 reading brought back.")
                                     : QString("%1 readings brought back.").arg(back));
    }
}

PlanMapGeometry::Scale CVelkor1trDoc::mapScale() const {
    // Read again only when other readings are shown; readings from no file keep the scale
    // chosen for them until others replace them.
    if (mapScaleFile_ != shownFile_) {
        mapScaleFile_ = shownFile_;
        mapScale_ =
            shownFile_.empty() ? PlanMapGeometry::Scale{} : SettingsStore::readMapScale(shownFile_);
    }
    return mapScale_;
}

void CVelkor1trDoc::setMapScale(const PlanMapGeometry::Scale& scale) {
    mapScaleFile_ = shownFile_;
    mapScale_ = scale;
    if (!shownFile_.empty()) {
        SettingsStore::writeMapScale(shownFile_, scale);
    }
}

}  // namespace velkor
