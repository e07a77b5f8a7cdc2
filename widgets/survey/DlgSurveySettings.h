// "Survey Settings": the base sources with their offsets, the position tracks with theirs,
// the coordinate system, the placement (by parameters, by control points with their
// residuals shown, or by position track), the datum and the normal field. The days are
// kept as they are.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "survey/SurveySettings.h"

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableWidget;

namespace velkor {

class Prompter;
class SourceFileTable;
class TrackTable;

class DlgSurveySettings : public QDialog {
    Q_OBJECT

  public:
    DlgSurveySettings(const SurveySettings& current, Prompter& prompter, QWidget* parent = nullptr);

    // The settings as the controls give them; nothing and a message when a placement
    // cannot be made of them or a text is not a number.
    std::optional<SurveySettings> settings(std::string& message) const;
    // What OK took.
    const SurveySettings& result() const { return result_; }

    void accept() override;

    // The lag the survey's own readings give for a placement by track (antenna offset and
    // gap as shown); nothing and a message when it cannot be estimated.
    static constexpr const char* kEstimateAfterOk =
        "The position tracks or the coordinate system were changed here: press OK to keep "
        "them, then Estimate.";
    using EstimateLag =
        std::function<std::optional<Placement::Track>(const Placement::Track&, std::string&)>;
    // Without one, the lag is only typed in.
    void setLagEstimate(EstimateLag estimate);

  private:
    QWidget* createPlacement();
    QWidget* createParameters();
    QWidget* createControlPoints();
    QWidget* createByTrack();
    QWidget* createCorrections();
    QWidget* createBases();
    void load(const SurveySettings& s);
    void addBase();
    void addBaseRow(const SurveySettings::BaseSource& b);
    std::optional<Placement> placement(std::string& message) const;
    Placement::Track shownTrack() const;
    void estimateLag();

    Prompter& prompter_;
    SurveySettings result_;
    QLineEdit* epsg_ = nullptr;
    QComboBox* placeBy_ = nullptr;
    QStackedWidget* placePages_ = nullptr;
    QComboBox* side_ = nullptr;
    QDoubleSpinBox* lineSpacing_ = nullptr;
    QDoubleSpinBox* stationInterval_ = nullptr;
    QDoubleSpinBox* originE_ = nullptr;
    QDoubleSpinBox* originN_ = nullptr;
    QDoubleSpinBox* azimuth_ = nullptr;
    QDoubleSpinBox* firstLine_ = nullptr;
    QDoubleSpinBox* firstPosition_ = nullptr;
    QTableWidget* points_ = nullptr;
    QDoubleSpinBox* datum_ = nullptr;
    QComboBox* normalKind_ = nullptr;
    QDoubleSpinBox* normalValue_ = nullptr;
    QDoubleSpinBox* height_ = nullptr;
    QComboBox* regional_ = nullptr;
    SourceFileTable* bases_ = nullptr;
    TrackTable* tracks_ = nullptr;
    QDoubleSpinBox* along_ = nullptr;
    QDoubleSpinBox* across_ = nullptr;
    QDoubleSpinBox* lag_ = nullptr;
    QPushButton* estimate_ = nullptr;
    EstimateLag estimateLag_;
    std::optional<double> estimatedLag_;  // the lag shown when it was estimated
    QDoubleSpinBox* maxGap_ = nullptr;
    // The placement by track as its controls first showed it: unchanged, the survey's
    // own is kept, whatever decimals the controls round it to.
    Placement::Track loadedTrack_;
};

}  // namespace velkor
