// The field model's dialog: place and day in, F, D and I out as they are typed.
#include "widgets/day/DlgIgrf.h"

#include <QDate>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "corrections/DecimalYear.h"
#include "corrections/PlaceEntry.h"
#include "text/CalendarDate.h"
#include "widgets/shared/DialogFrame.h"

namespace velkor {
namespace {

QDate startDate(const std::string& surveyDate) {
    if (const auto d = CalendarDate::read(surveyDate)) {
        return QDate(d->year, d->month, d->day);
    }
    return QDate::currentDate();
}

}  // namespace

DlgIgrf::DlgIgrf(const std::string& surveyDate, const std::optional<GeomagneticModel::Place>& place,
                 QWidget* parent)
    : QDialog(parent),
      latitude_(new QLineEdit(this)),
      longitude_(new QLineEdit(this)),
      height_(new QLineEdit(this)),
      date_(new QDateEdit(this)),
      result_(new QLabel(this)) {
    setWindowTitle("Normal Field (IGRF-14)");
    latitude_->setPlaceholderText("55.75 N or -33.9");
    longitude_->setPlaceholderText("37.6 E or -70.5");
    height_->setText("0");
    if (place) {
        latitude_->setText(QString::fromStdString(PlaceEntry::showLatitude(place->latitude)));
        longitude_->setText(QString::fromStdString(PlaceEntry::showLongitude(place->longitude)));
        height_->setText(QString::fromStdString(PlaceEntry::showHeight(place->height)));
    }
    // Dates the model does not cover can be typed; the result says why there is no value.
    date_->setDisplayFormat("dd.MM.yyyy");
    date_->setDateRange(QDate(1800, 1, 1), QDate(2199, 12, 31));
    date_->setCalendarPopup(true);
    date_->setDate(startDate(surveyDate));
    // Room for a two-line message, so the dialog keeps its size whatever it shows.
    result_->setWordWrap(true);
    result_->setMinimumWidth(300);
    result_->setMinimumHeight(2 * result_->fontMetrics().lineSpacing());
    result_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &DlgIgrf::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout(this);
    form->addRow("&Latitude [deg]", latitude_);
    form->addRow("L&ongitude [deg]", longitude_);
    form->addRow("&Height [m]", height_);
    form->addRow("&Date", date_);
    form->addRow(result_);
    form->addRow(buttons);

    for (QLineEdit* edit : {latitude_, longitude_, height_}) {
        connect(edit, &QLineEdit::textChanged, this, &DlgIgrf::recompute);
    }
    connect(date_, &QDateEdit::dateChanged, this, &DlgIgrf::recompute);
    setWhatsThis(
        "The International Geomagnetic Reference Field (IGRF-14) at the survey's place and "
        "day. OK puts its total intensity F into the Geomagnetic Field dialog.");
    recompute();
    DialogFrame::prepare(*this, "igrf.html");
}

void DlgIgrf::recompute() {
    valid_ = false;
    const PlaceEntry::Result entry =
        PlaceEntry::read(latitude_->text().toStdString(), longitude_->text().toStdString(),
                         height_->text().toStdString());
    if (!entry.ok) {
        result_->setText(QString::fromStdString(entry.message));
        ok_->setEnabled(false);
        return;
    }
    const QDate d = date_->date();
    const GeomagneticModel::Result r =
        GeomagneticModel::compute(entry.place, DecimalYear::of({d.year(), d.month(), d.day()}));
    if (!r.ok) {
        result_->setText(QString::fromStdString(r.message));
        ok_->setEnabled(false);
        return;
    }
    place_ = entry.place;
    value_ = GeomagneticModel::roundedIntensity(r.field);
    valid_ = true;
    result_->setText(QString("F %1 nT    D %2\u00b0    I %3\u00b0")
                         .arg(static_cast<double>(value_), 0, 'f', 1)
                         .arg(r.field.d, 0, 'f', 2)
                         .arg(r.field.i, 0, 'f', 2));
    ok_->setEnabled(true);
}

void DlgIgrf::accept() {
    if (valid_) {
        QDialog::accept();
    }
}

}  // namespace velkor
