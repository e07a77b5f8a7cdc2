// "Survey Settings": the base sources with their offsets, the coordinate system, the
// placement (by parameters or by control points, their residuals shown), the datum and
// the normal field. The days are kept as they are.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "survey/SurveySettings.h"

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QStackedWidget;
class QTableWidget;

namespace velkor {

class Prompter;

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

  private:
    QWidget* createPlacement();
    QWidget* createParameters();
    QWidget* createControlPoints();
    QWidget* createCorrections();
    QWidget* createBases();
    void load(const SurveySettings& s);
    void addBase();
    void addBaseRow(const SurveySettings::BaseSource& b);
    std::optional<Placement> placement(std::string& message) const;

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
    QTableWidget* bases_ = nullptr;
};

}  // namespace velkor
