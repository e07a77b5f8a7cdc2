// "Transform": which transform of the grid the survey window shows and its parameters,
// each explained: what it shows and when it misleads. Empty directions take their
// defaults: the field's from IGRF-14 over the survey, the magnetisation the field's.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "survey/TransformedGridding.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace velkor {

class Prompter;

class DlgTransform : public QDialog {
    Q_OBJECT

  public:
    DlgTransform(const TransformedGridding::Asked& current, Prompter& prompter,
                 QWidget* parent = nullptr);

    // The transform as typed; nothing and a message when a text is not a fitting number.
    std::optional<TransformedGridding::Asked> asked(std::string& message) const;
    // What OK took.
    const TransformedGridding::Asked& result() const { return result_; }

    QComboBox* kind() const { return kind_; }
    QLineEdit* height() const { return height_; }
    QComboBox* order() const { return order_; }
    QLineEdit* inclination() const { return inclination_; }
    QLineEdit* declination() const { return declination_; }
    QLineEdit* magnetisationInclination() const { return magInclination_; }
    QLineEdit* magnetisationDeclination() const { return magDeclination_; }
    QLineEdit* limit() const { return limit_; }
    // What the chosen transform shows and when it misleads.
    QLabel* explanation() const { return explanation_; }

    void accept() override;

  private:
    void kindChanged();

    Prompter& prompter_;
    TransformedGridding::Asked result_;
    QComboBox* kind_ = nullptr;
    QLineEdit* height_ = nullptr;
    QComboBox* order_ = nullptr;
    QLineEdit* inclination_ = nullptr;
    QLineEdit* declination_ = nullptr;
    QLineEdit* magInclination_ = nullptr;
    QLineEdit* magDeclination_ = nullptr;
    QLineEdit* limit_ = nullptr;
    QLabel* explanation_ = nullptr;
};

}  // namespace velkor
