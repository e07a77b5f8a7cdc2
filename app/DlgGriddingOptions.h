// "Gridding Options": the cell size, the tension and the blanking distance. An empty cell
// or blanking distance takes the default the survey gives.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "survey/GriddingOptions.h"

class QLineEdit;

namespace velkor {

class Prompter;

class DlgGriddingOptions : public QDialog {
    Q_OBJECT

  public:
    DlgGriddingOptions(const GriddingOptions& current, Prompter& prompter,
                       QWidget* parent = nullptr);

    // The options as typed; nothing and a message when a text is not a fitting number.
    std::optional<GriddingOptions> options(std::string& message) const;
    // What OK took.
    const GriddingOptions& result() const { return result_; }

    QLineEdit* cell() const { return cell_; }
    QLineEdit* tension() const { return tension_; }
    QLineEdit* blankDistance() const { return blank_; }

    void accept() override;

  private:
    Prompter& prompter_;
    GriddingOptions result_;
    QLineEdit* cell_ = nullptr;
    QLineEdit* tension_ = nullptr;
    QLineEdit* blank_ = nullptr;
};

}  // namespace velkor
