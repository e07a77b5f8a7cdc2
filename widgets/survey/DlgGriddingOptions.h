// "Gridding Options": the cell size, the tension, the blanking distance and the contour
// interval the survey keeps. An empty length or interval takes the default the readings
// give; a blanking distance of "none" blanks nothing.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "survey/SurveySettings.h"

class QLineEdit;

namespace velkor {

class Prompter;

class DlgGriddingOptions : public QDialog {
    Q_OBJECT

  public:
    // What the empty texts stand for: the values the grid shown was made with where the
    // survey sets none; unknown ones are said to come from the readings.
    struct Defaults {
        std::optional<double> cell;           // m
        std::optional<double> blankDistance;  // m
        std::optional<double> interval;       // nT
    };

    DlgGriddingOptions(const SurveySettings::Gridding& current, Prompter& prompter,
                       const Defaults& defaults = {}, QWidget* parent = nullptr);

    // The gridding as typed; nothing and a message when a text is not a fitting number.
    std::optional<SurveySettings::Gridding> gridding(std::string& message) const;
    // What OK took.
    const SurveySettings::Gridding& result() const { return result_; }

    QLineEdit* cell() const { return cell_; }
    QLineEdit* tension() const { return tension_; }
    QLineEdit* blankDistance() const { return blank_; }
    QLineEdit* interval() const { return interval_; }

    void accept() override;

  private:
    Prompter& prompter_;
    SurveySettings::Gridding result_;
    QLineEdit* cell_ = nullptr;
    QLineEdit* tension_ = nullptr;
    QLineEdit* blank_ = nullptr;
    QLineEdit* interval_ = nullptr;
};

}  // namespace velkor
