// A dialog that asks for one value in nT: "Value [nT]", a digits-only field, OK, Cancel.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "corrections/GeomagneticModel.h"

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace velkor {

class Prompter;

class ValueDialog : public QDialog {
    Q_OBJECT

  public:
    ValueDialog(const QString& title, float current, float maximum, Prompter& prompter,
                QWidget* parent = nullptr);

    QLineEdit* edit() const { return edit_; }
    float value() const { return value_; }
    // OK: keeps the dialog open with a message unless the text is a number in range.
    void accept() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Room under the buttons for a control of a kind of value.
    void addBelowButtons(QWidget* widget);

  private:
    QGridLayout* grid_;
    QLineEdit* edit_;
    float maximum_;
    float value_ = 0.0f;
    Prompter& prompter_;
};

// "Temporal Variations Basis": 0 to 99000.
class DlgBasVar : public ValueDialog {
    Q_OBJECT

  public:
    DlgBasVar(float current, Prompter& prompter, QWidget* parent = nullptr);
};

// "Geomagnetic Field": 0 to 90000. "IGRF..." beside the buttons proposes the field
// model's value for the survey's place and first day.
class DlgGeomag : public ValueDialog {
    Q_OBJECT

  public:
    DlgGeomag(float current, Prompter& prompter, QWidget* parent = nullptr);

    // The first reading's Date text and the place entered last, for "IGRF...".
    void setSurvey(const std::string& firstDate,
                   const std::optional<GeomagneticModel::Place>& place);
    QPushButton* igrfButton() const { return igrf_; }
    // The place confirmed in the field model's dialog, if it was.
    std::optional<GeomagneticModel::Place> placeEntered() const { return entered_; }

  private:
    void proposeFromModel();

    QPushButton* igrf_;
    std::string firstDate_;
    std::optional<GeomagneticModel::Place> place_;
    std::optional<GeomagneticModel::Place> entered_;
};

}  // namespace velkor
