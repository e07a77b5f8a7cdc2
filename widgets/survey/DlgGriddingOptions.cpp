// The gridding options dialog.
#include "widgets/survey/DlgGriddingOptions.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "core/Prompter.h"
#include "text/NumberText.h"

namespace velkor {
namespace {

QString numberText(double v) {
    return QString::number(v, 'g', 10);
}

constexpr const char* kNone = "none";

// Empty: nothing; else a number above zero, or a message. With none, "none" is infinity.
bool readAbove0(const QLineEdit* edit, const char* what, const char* unit, bool none,
                std::optional<double>& out, std::string& message) {
    const std::string text = edit->text().trimmed().toStdString();
    if (text.empty()) {
        out.reset();
        return true;
    }
    if (none && text == kNone) {
        out = std::numeric_limits<double>::infinity();
        return true;
    }
    const std::optional<double> v = readDecimalNumber(text);
    if (!v || !std::isfinite(*v) || *v <= 0.0) {
        message = std::string("The ") + what + " must be a number of " + unit + " above 0" +
                  (none ? ", none" : "") + ", or empty for the default.";
        return false;
    }
    out = *v;
    return true;
}

// An empty text shows the value it stands for, rather than a word.
void showDefault(QLineEdit* edit, const std::optional<double>& v) {
    edit->setPlaceholderText(v && std::isfinite(*v) ? numberText(*v)
                                                    : QString("from the readings"));
}

void showValue(QLineEdit* edit, const std::optional<double>& v) {
    if (v) {
        edit->setText(std::isfinite(*v) ? numberText(*v) : QString(kNone));
    }
}

}  // namespace

DlgGriddingOptions::DlgGriddingOptions(const SurveySettings::Gridding& current, Prompter& prompter,
                                       const Defaults& defaults, QWidget* parent)
    : QDialog(parent), prompter_(prompter), result_(current) {
    setWindowTitle("Gridding Options");
    cell_ = new QLineEdit(this);
    showDefault(cell_, defaults.cell);
    cell_->setWhatsThis(
        "The grid's cell size in metres. Empty: half the smaller of the spacing of the "
        "readings along a line and the line spacing.");
    tension_ = new QLineEdit(this);
    tension_->setWhatsThis(
        "From 0 (smoothest, minimum curvature) to 1 (no overshoot between readings). 0.25 "
        "suits a magnetic anomaly.");
    blank_ = new QLineEdit(this);
    showDefault(blank_, defaults.blankDistance);
    blank_->setWhatsThis(
        "Nodes farther than this many metres from every reading are left blank; none blanks "
        "nothing. Empty: 2.5 line spacings.");
    interval_ = new QLineEdit(this);
    showDefault(interval_, defaults.interval);
    interval_->setWhatsThis(
        "nT between contour levels. Empty: a round step giving about 20 levels over the "
        "grid's values.");
    showValue(cell_, current.cell);
    tension_->setText(numberText(current.tension));
    showValue(blank_, current.blankDistance);
    showValue(interval_, current.interval);
    auto* form = new QFormLayout;
    form->addRow("Cell size (m):", cell_);
    form->addRow("Tension (0 to 1):", tension_);
    form->addRow("Blanking distance (m):", blank_);
    form->addRow("Contour interval (nT):", interval_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &DlgGriddingOptions::accept);
    connect(box, &QDialogButtonBox::rejected, this, &DlgGriddingOptions::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);
}

std::optional<SurveySettings::Gridding> DlgGriddingOptions::gridding(std::string& message) const {
    SurveySettings::Gridding o = result_;
    if (!readAbove0(cell_, "cell size", "metres", false, o.cell, message) ||
        !readAbove0(blank_, "blanking distance", "metres", true, o.blankDistance, message) ||
        !readAbove0(interval_, "contour interval", "nT", false, o.interval, message)) {
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
    const std::optional<SurveySettings::Gridding> o = gridding(message);
    if (!o) {
        prompter_.message(message);
        return;
    }
    result_ = *o;
    QDialog::accept();
}

}  // namespace velkor
