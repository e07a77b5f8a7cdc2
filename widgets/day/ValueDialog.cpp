// The two value dialogs of the corrections.
#include "widgets/day/ValueDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/Prompter.h"
#include "corrections/ValueEntry.h"
#include "widgets/day/DlgIgrf.h"
#include "widgets/shared/DialogFrame.h"

namespace velkor {

ValueDialog::ValueDialog(const QString& title, float current, float maximum, Prompter& prompter,
                         QWidget* parent)
    : QDialog(parent),
      grid_(new QGridLayout(this)),
      edit_(new QLineEdit(this)),
      maximum_(maximum),
      prompter_(prompter) {
    setWindowTitle(title);
    auto* label = new QLabel("Value [nT]", this);
    edit_->setText(QString::fromStdString(ValueEntry::show(current)));
    edit_->selectAll();
    edit_->installEventFilter(this);
    label->setBuddy(edit_);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    buttons->addButton(QDialogButtonBox::Cancel);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &ValueDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    grid_->addWidget(label, 0, 0);
    grid_->addWidget(edit_, 1, 0);
    grid_->addWidget(buttons, 0, 1, 3, 1);
    grid_->setRowStretch(2, 1);
    setWhatsThis(title + ": type the value in nT and press OK.");
    DialogFrame::prepare(*this, "valuedialogs.html");
}

bool ValueDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        const bool printable = !text.isEmpty() && text.at(0).isPrint();
        if (printable && !text.at(0).isDigit()) {
            return true;  // digits only, as typed
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ValueDialog::addBelowButtons(QWidget* widget) {
    grid_->addWidget(widget, 3, 1);
}

void ValueDialog::accept() {
    const ValueEntry::Result r = ValueEntry::check(edit_->text().toStdString(), 0.0f, maximum_);
    if (!r.ok) {
        prompter_.message(r.message);
        edit_->setFocus();
        edit_->selectAll();
        return;
    }
    value_ = r.value;
    QDialog::accept();
}

DlgBasVar::DlgBasVar(float current, Prompter& prompter, QWidget* parent)
    : ValueDialog("Temporal Variations Basis", current, ValueEntry::kBasisMax, prompter, parent) {}

DlgGeomag::DlgGeomag(float current, Prompter& prompter, QWidget* parent)
    : ValueDialog("Geomagnetic Field", current, ValueEntry::kGeomagneticMax, prompter, parent),
      igrf_(new QPushButton("IGRF...", this)) {
    // Enter in the value field still means OK.
    igrf_->setAutoDefault(false);
    igrf_->setWhatsThis(
        "Proposes the value from the field model IGRF-14 for the survey's place and first "
        "day.");
    addBelowButtons(igrf_);
    connect(igrf_, &QPushButton::clicked, this, &DlgGeomag::proposeFromModel);
}

void DlgGeomag::setSurvey(const std::string& firstDate,
                          const std::optional<GeomagneticModel::Place>& place) {
    firstDate_ = firstDate;
    place_ = place;
}

void DlgGeomag::proposeFromModel() {
    DlgIgrf dialog(firstDate_, entered_ ? entered_ : place_, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    entered_ = dialog.place();
    edit()->setText(QString::fromStdString(ValueEntry::show(dialog.value())));
    edit()->setFocus();
    edit()->selectAll();
}

}  // namespace velkor
