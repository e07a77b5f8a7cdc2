// "Scale": the plan map's line spacing and station interval in metres, OK, Cancel.
#pragma once

#include <QDialog>

#include "views/MapGeometry.h"

class QLineEdit;

namespace velkor {

class Prompter;

class MapScaleDialog : public QDialog {
    Q_OBJECT

  public:
    MapScaleDialog(const MapGeometry::Scale& current, Prompter& prompter,
                   QWidget* parent = nullptr);

    QLineEdit* lineSpacingEdit() const { return lineSpacing_; }
    QLineEdit* stationIntervalEdit() const { return stationInterval_; }
    MapGeometry::Scale scale() const { return scale_; }
    // OK: keeps the dialog open with a message unless both are distances in range.
    void accept() override;

  private:
    QLineEdit* lineSpacing_;
    QLineEdit* stationInterval_;
    MapGeometry::Scale scale_;
    Prompter& prompter_;
};

}  // namespace velkor
