// A dialog that asks for one value in nT: "Value [nT]", a digits-only field, OK, Cancel.
#pragma once

#include <QDialog>

class QLineEdit;

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

  private:
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

// "Geomagnetic Field": 0 to 90000.
class DlgGeomag : public ValueDialog {
    Q_OBJECT

  public:
    DlgGeomag(float current, Prompter& prompter, QWidget* parent = nullptr);
};

}  // namespace velkor
