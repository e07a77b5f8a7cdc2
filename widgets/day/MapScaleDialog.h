// "Scale": the plan map's line spacing and station interval in metres, OK, Cancel.
#pragma once

#include <QDialog>

#include "pictures/PlanMapGeometry.h"

class QLineEdit;

namespace velkor {

class Prompter;

class MapScaleDialog : public QDialog {
    Q_OBJECT

  public:
    MapScaleDialog(const PlanMapGeometry::Scale& current, Prompter& prompter,
                   QWidget* parent = nullptr);

    QLineEdit* lineSpacingEdit() const { return lineSpacing_; }
    QLineEdit* stationIntervalEdit() const { return stationInterval_; }
    PlanMapGeometry::Scale scale() const { return scale_; }
    // OK: keeps the dialog open with a message unless both are distances in range.
    void accept() override;

  private:
    QLineEdit* lineSpacing_;
    QLineEdit* stationInterval_;
    PlanMapGeometry::Scale scale_;
    Prompter& prompter_;
};

}  // namespace velkor
