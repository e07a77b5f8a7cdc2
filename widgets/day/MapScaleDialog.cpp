// The map's scale dialog.
#include "widgets/day/MapScaleDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Prompter.h"
#include "text/ShortNumber.h"
#include "widgets/shared/DialogFrame.h"

namespace velkor {
namespace {

QString shown(double metres) {
    return QString::fromStdString(ShortNumber::sixDigits(metres));
}

}  // namespace

MapScaleDialog::MapScaleDialog(const PlanMapGeometry::Scale& current, Prompter& prompter,
                               QWidget* parent)
    : QDialog(parent),
      lineSpacing_(new QLineEdit(shown(current.lineSpacing), this)),
      stationInterval_(new QLineEdit(shown(current.stationInterval), this)),
      scale_(current),
      prompter_(prompter) {
    setWindowTitle("Scale");
    auto* form = new QFormLayout;
    form->addRow("&Line spacing [m]", lineSpacing_);
    form->addRow("&Station interval [m]", stationInterval_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &MapScaleDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    lineSpacing_->selectAll();
    setWhatsThis(
        "Scale: the distance between neighbouring lines and between neighbouring positions "
        "on a line, in metres. The map draws a metre across the lines as long as one along "
        "them.");
    DialogFrame::prepare(*this, "map.html");
}

void MapScaleDialog::accept() {
    PlanMapGeometry::Scale entered;
    for (QLineEdit* edit : {lineSpacing_, stationInterval_}) {
        const PlanMapGeometry::SpacingEntry e =
            PlanMapGeometry::readSpacing(edit->text().toStdString());
        if (!e.ok) {
            prompter_.message(e.message);
            edit->setFocus();
            edit->selectAll();
            return;
        }
        (edit == lineSpacing_ ? entered.lineSpacing : entered.stationInterval) = e.metres;
    }
    scale_ = entered;
    QDialog::accept();
}

}  // namespace velkor
