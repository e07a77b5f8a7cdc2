// The survey's own window: its days and base sources, how it is placed and corrected,
// and the map of every placed reading. Shows the session's survey; never owns it.
#pragma once

#include <QMainWindow>
#include <QString>
#include <optional>
#include <vector>

#include "pictures/SurveyPage.h"
#include "pictures/SurveyPicture.h"
#include "survey/BaseSource.h"
#include "survey/SurveyGridding.h"
#include "survey/SurveySettings.h"
#include "survey/TransformedGridding.h"
#include "widgets/shared/Printable.h"
#include "widgets/survey/DlgGriddingOptions.h"

class QCheckBox;
class QHBoxLayout;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace velkor {

class BasePanelView;
class PrintController;
class Prompter;
class Survey;
class SurveyGridder;
class SurveyMapWidget;
class SurveySession;

class SurveyWindow : public QMainWindow, public Printable {
    Q_OBJECT

  public:
    SurveyWindow(SurveySession& session, Prompter& prompter, QWidget* parent = nullptr);

    // "Survey Settings...": the dialog on the open survey's settings; OK takes them.
    void editSettings();
    // "Levelling...": the steps chosen with their estimates, the map shown before and after;
    // OK keeps the levelling chosen, Cancel the survey's own.
    void editLevelling();

    SurveyMapWidget* map() const { return map_; }
    QTreeWidget* days() const { return days_; }
    QComboBox* colourBy() const { return colourBy_; }
    // The base panel beside the map: the base sources' curves of the date chosen.
    QTabWidget* tabs() const { return tabs_; }
    QComboBox* baseDate() const { return baseDate_; }
    BasePanelView* basePanel() const { return basePanel_; }
    QString summary() const;
    QString readout() const;

    // The gridded map's controls: which layers, what is gridded, how it is coloured, and
    // the gridding options ("Gridding Options..." edits them). What is gridded and how are
    // the survey's own settings.
    QCheckBox* layerBox(int layer) const;  // readings, grid, shade, contours
    QComboBox* gridOf() const { return gridOf_; }
    QComboBox* stretch() const { return stretch_; }
    // The ends of the Limits stretch, in nT.
    QDoubleSpinBox* stretchLow() const { return stretchLo_; }
    QDoubleSpinBox* stretchHigh() const { return stretchHi_; }
    GridStretch::Choice stretchChoice() const;
    SurveyGridder& gridder() const { return *gridder_; }
    // The open survey's gridding, kept in its file; the default while none is open.
    SurveySettings::Gridding gridding() const;
    // Takes this gridding for the survey (which is then saved) and grids again; false
    // while no survey is open or work runs on it.
    bool setGridding(const SurveySettings::Gridding& gridding);
    // Takes this levelling for the survey (which is then saved); false while nothing is
    // open or work runs.
    bool setLevelling(const SurveySettings::Levelling& levelling);
    void editGriddingOptions();
    // What Gridding Options shows for the values the survey leaves to the defaults.
    DlgGriddingOptions::Defaults griddingDefaults() const;
    DlgGriddingOptions::Defaults readingsDefaults(const SurveySettings::Gridding& g) const;
    // "Transform..." under Grid of: the dialog on the transform shown; OK shows it.
    void editTransform();
    // Shows this transform of the grid (nothing: the grid itself); the window's own
    // choice, not kept in the survey.
    void setTransform(const std::optional<TransformedGridding::Asked>& transform);
    // The grid's layers as drawn and printed: the transform's when one is chosen (null
    // when it was refused), else the gridder's.
    const GridLayerPainter* gridPainter() const;
    // The Cancel button: stops the running survey work and the gridding.
    void cancelWork();

    // One page: the title block and the map as it is shown.
    int preparePrinting() override;
    void printPage(QPainter& painter, int width, int height, int page) override;
    // The page turned to the survey's shape.
    std::optional<bool> landscape() override;
    PrintController& printing() const { return *printing_; }
    // Ticked: the page is printed at the next standard scale down from the one that fills it.
    QCheckBox* standardScale() const { return standardScale_; }

  signals:
    // A click on the map: open this data file at this data line.
    void openReading(const QString& path, int line);

  private:
    // What the shown grid was asked for: the survey's settings say what and how.
    struct GridKey {
        const Survey* survey;
        SurveySettings settings;
        bool operator==(const GridKey& o) const {
            return survey == o.survey && settings == o.settings;
        }
    };

    QWidget* createGridBar(QWidget* parent);
    // Standard scale, Print... and Print Preview... at the end of the bar's first row.
    void addPrintButtons(QWidget* bar, QHBoxLayout* row);
    // The printed page's map: the survey, its name and the map as shown.
    SurveyPage::Map pageMap() const;
    QWidget* createBaseTab(QWidget* parent);
    void refreshBase();
    SurveyPicture::Layers layers() const;
    void layersChanged();
    void regrid();
    void gridChanged();
    void showBusy();
    // The Grid of choice as the survey has it.
    void showGridding();
    QString griddingText() const;
    void refresh();
    void fillDays();
    void fillTracks(const Survey& survey);
    void showProgress(int done, int total);
    void hover(int reading);
    void click(int reading);

    SurveySession& session_;
    Prompter& prompter_;
    QComboBox* colourBy_ = nullptr;
    QCheckBox* standardScale_ = nullptr;
    QTreeWidget* days_ = nullptr;
    QPlainTextEdit* summary_ = nullptr;
    SurveyMapWidget* map_ = nullptr;
    QLabel* readout_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QCheckBox* layers_[4] = {};
    QComboBox* gridOf_ = nullptr;
    QComboBox* stretch_ = nullptr;
    QDoubleSpinBox* stretchLo_ = nullptr;
    QDoubleSpinBox* stretchHi_ = nullptr;
    QPushButton* griddingOptions_ = nullptr;
    SurveyGridder* gridder_ = nullptr;
    PrintController* printing_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QWidget* baseTab_ = nullptr;
    QComboBox* baseDate_ = nullptr;
    BasePanelView* basePanel_ = nullptr;
    // The panel's own copies of the base sources, read for the settings kept with them.
    std::vector<BaseSource> panelSources_;
    std::optional<SurveySettings> panelSettings_;
    std::optional<GridKey> gridded_;  // what the grid shown or coming was asked for
    // The transform chosen, what it made of the gridder's grid (with the report, or why
    // it was refused) and its painter.
    std::optional<TransformedGridding::Asked> transform_;
    std::optional<SurveyGridding::Result> transformed_;
    QString transformReport_;
    GridLayerPainter transformedPainter_;
    void updateTransform();
};

}  // namespace velkor
