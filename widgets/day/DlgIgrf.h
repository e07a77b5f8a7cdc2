// "Normal Field (IGRF-14)": the field model's total intensity at a place on a day, offered
// to the "Geomagnetic Field" dialog.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "corrections/GeomagneticModel.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velkor {

class DlgIgrf : public QDialog {
    Q_OBJECT

  public:
    // Opens on the survey's first Date text (today when it is no date) and on the
    // place entered last, if any.
    DlgIgrf(const std::string& surveyDate, const std::optional<GeomagneticModel::Place>& place,
            QWidget* parent = nullptr);

    QLineEdit* latitudeEdit() const { return latitude_; }
    QLineEdit* longitudeEdit() const { return longitude_; }
    QLineEdit* heightEdit() const { return height_; }
    QDateEdit* dateEdit() const { return date_; }
    // F, D and I as computed, or why they cannot be.
    QLabel* resultLabel() const { return result_; }
    QPushButton* okButton() const { return ok_; }

    // The place and F (to 0.1 nT) as they stood at OK.
    GeomagneticModel::Place place() const { return place_; }
    float value() const { return value_; }

    // OK only while the field can be computed.
    void accept() override;

  private:
    void recompute();

    QLineEdit* latitude_;
    QLineEdit* longitude_;
    QLineEdit* height_;
    QDateEdit* date_;
    QLabel* result_;
    QPushButton* ok_;
    GeomagneticModel::Place place_{};
    float value_ = 0.0f;
    bool valid_ = false;
};

}  // namespace velkor
