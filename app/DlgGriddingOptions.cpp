// The gridding options dialog.
#include "app/DlgGriddingOptions.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>

#include "core/Prompter.h"
#include "data/NumberReading.h"

namespace velkor {
namespace {

QString numberText(double v) {
    return QString::number(v, 'g', 10);
}

// Empty: nothing; else a number above zero, or a message.
bool readLength(const QLineEdit* edit, const char* what, std::optional<double>& out,
                std::string& message) {
    const std::string text = edit->text().trimmed().toStdString();
    if (text.empty()) {
        out.reset();
        return true;
    }
    const std::optional<double> v = readDecimalNumber(text);
    if (!v || !std::isfinite(*v) || *v <= 0.0) {
        message = std::string("The ") + what +
                  " must be a number of metres above 0, or empty for the default.";
        return false;
    }
    out = *v;
    return true;
}

}  // namespace

DlgGriddingOptions::DlgGriddingOptions(const GriddingOptions& current, Prompter& prompter,
                                       QWidget* parent)
    : QDialog(parent), prompter_(prompter), result_(current) {
    setWindowTitle("Gridding Options");
    cell_ = new QLineEdit(this);
    cell_->setPlaceholderText("default");
    cell_->setWhatsThis(
        "The grid's cell size in metres. Empty: half the smaller of the spacing of the "
        "readings along a line and the line spacing.");
    tension_ = new QLineEdit(this);
    tension_->setWhatsThis(
        "From 0 (smoothest, minimum curvature) to 1 (no overshoot between readings). 0.25 "
        "suits a magnetic anomaly.");
    blank_ = new QLineEdit(this);
    blank_->setPlaceholderText("default");
    blank_->setWhatsThis(
        "Nodes farther than this many metres from every reading are left blank. Empty: 2.5 "
        "line spacings.");
    if (current.cell) {
        cell_->setText(numberText(*current.cell));
    }
    tension_->setText(numberText(current.tension));
    if (current.blankDistance) {
        blank_->setText(numberText(*current.blankDistance));
    }
    auto* form = new QFormLayout;
    form->addRow("Cell size (m):", cell_);
    form->addRow("Tension (0 to 1):", tension_);
    form->addRow("Blanking distance (m):", blank_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &DlgGriddingOptions::accept);
    connect(box, &QDialogButtonBox::rejected, this, &DlgGriddingOptions::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);
}

std::optional<GriddingOptions> DlgGriddingOptions::options(std::string& message) const {
    GriddingOptions o = result_;
    if (!readLength(cell_, "cell size", o.cell, message) ||
        !readLength(blank_, "blanking distance", o.blankDistance, message)) {
        return std::nullopt;
    }
    const std::optional<double> t = readDecimalNumber(tension_->text().trimmed().toStdString());
    if (!t || !(*t >= 0.0 && *t <= 1.0)) {
        message = "The tension must be a number from 0 to 1.";
        return std::nullopt;
    }
    o.tension = *t;
    return o;
}

void DlgGriddingOptions::accept() {
    std::string message;
    const std::optional<GriddingOptions> o = options(message);
    if (!o) {
        prompter_.message(message);
        return;
    }
    result_ = *o;
    QDialog::accept();
}

}  // namespace velkor
