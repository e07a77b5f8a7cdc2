// "Levelling": the four steps (days tied, direction offset, line levelling, destagger), each
// with its estimate as soon as it is ticked, the map shown before or after them, and a
// summary listing the offsets.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "survey/SurveySettings.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;

namespace velkor {

class DlgLevelling : public QDialog {
    Q_OBJECT

  public:
    enum Step { Days, Directions, Lines, Destagger };
    static constexpr int kSteps = 4;

    // What levelling as given would estimate, in the words of LevellingDescription; asked
    // each time, as the survey may be busy or changed in between.
    using Estimate = std::function<std::vector<std::string>(const SurveySettings::Levelling&)>;
    // Shows the map levelled as given (none: as it was before).
    using ShowMap = std::function<void(const SurveySettings::Levelling&)>;

    // settings: the survey's, its days and its levelling now.
    DlgLevelling(const SurveySettings& settings, Estimate estimate, ShowMap show,
                 QWidget* parent = nullptr);

    // The levelling as chosen.
    SurveySettings::Levelling levelling() const;

    QCheckBox* step(Step s) const { return steps_[s]; }
    QLabel* estimate(Step s) const { return estimates_[s]; }
    QComboBox* fixDay() const { return fixDay_; }
    QDoubleSpinBox* threshold() const { return threshold_; }
    // "estimated" or "given"; the given stagger in metres beside it.
    QComboBox* staggerHow() const { return staggerHow_; }
    QDoubleSpinBox* stagger() const { return stagger_; }
    // Checked: the map shows the levelling chosen; unchecked: the survey before it.
    QCheckBox* levelledMap() const { return levelledMap_; }
    QString summary() const;

  private:
    void build();
    void estimateAgain();
    void showMap();

    std::vector<std::string> days_;
    Estimate estimate_;
    ShowMap showMap_;
    QCheckBox* steps_[kSteps] = {};
    QLabel* estimates_[kSteps] = {};
    QComboBox* fixDay_ = nullptr;
    QDoubleSpinBox* threshold_ = nullptr;
    QComboBox* staggerHow_ = nullptr;
    QDoubleSpinBox* stagger_ = nullptr;
    QCheckBox* levelledMap_ = nullptr;
    QLabel* summary_ = nullptr;
};

}  // namespace velkor
