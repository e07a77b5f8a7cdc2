// The transform dialog.
#include "widgets/survey/DlgTransform.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>

#include "core/Prompter.h"
#include "text/NumberText.h"
#include "transforms/GridTransform.h"

namespace velkor {
namespace {

using Kind = GridTransform::Kind;
constexpr int kKinds = GridTransform::kKinds;

// What each transform shows, and when it misleads, in the order of GridTransform::Kind.
constexpr const char* kExplained[kKinds] = {
    "Reduction to the pole: the anomaly as it would be at the magnetic pole, each body's "
    "peak straight over it. Misleads where the magnetisation is not along the field "
    "(remanence) and at low inclinations, where it streaks along the declination.",
    "Continuation: the field as measured higher up (height above 0), shallow sources and "
    "noise fading; or lower down (below 0, at most twice the cell), which sharpens the "
    "anomalies and the noise alike.",
    "Derivative east: how fast the field changes eastwards; it picks out edges running "
    "north-south and hides those running east-west.",
    "Derivative north: how fast the field changes northwards; it picks out edges running "
    "east-west and hides those running north-south.",
    "Vertical derivative: sharpens shallow sources and separates anomalies that overlap. "
    "It magnifies noise and the gridding's artefacts between lines, the second order most.",
    "Total horizontal gradient: peaks over the edges of bodies magnetised vertically. "
    "Misleads before a reduction to the pole, its peaks then off the edges.",
    "Analytic signal amplitude: a peak over each edge whatever the direction of "
    "magnetisation, its width growing with depth. Noisy where the data are, as a "
    "derivative is.",
    "Tilt angle: the vertical against the horizontal derivative, in degrees from -90 to "
    "90, zero over edges whatever their depth, so weak and strong sources show alike; "
    "noise shows alike too."};

QString numberText(double v) {
    return QString::number(v, 'g', 10);
}

// Empty: nothing; else a number within [low, high] into out, or false and a message.
bool readDegrees(const QLineEdit* edit, const char* what, double low, double high,
                 std::optional<double>& out, std::string& message) {
    const std::string text = edit->text().trimmed().toStdString();
    out.reset();
    if (text.empty()) {
        return true;
    }
    const std::optional<double> v = readDecimalNumber(text);
    if (!v || !std::isfinite(*v) || *v < low || *v > high) {
        message = std::string("The ") + what + " must be a number of degrees from " +
                  numberText(low).toStdString() + " to " + numberText(high).toStdString() + ".";
        return false;
    }
    out = *v;
    return true;
}

QLineEdit* degreesEdit(QWidget* parent, const char* whatsThis, const QString& placeholder) {
    auto* edit = new QLineEdit(parent);
    edit->setWhatsThis(whatsThis);
    edit->setPlaceholderText(placeholder);
    return edit;
}

}  // namespace

DlgTransform::DlgTransform(const TransformedGridding::Asked& current, Prompter& prompter,
                           QWidget* parent)
    : QDialog(parent), prompter_(prompter), result_(current) {
    setWindowTitle("Transform");
    const GridTransform::Parameters& p = current.parameters;
    kind_ = new QComboBox(this);
    for (int k = 0; k < kKinds; ++k) {
        kind_->addItem(TransformedGridding::title(static_cast<Kind>(k)));
    }
    kind_->setCurrentIndex(static_cast<int>(p.kind));
    kind_->setWhatsThis("The transform of the grid shown: see the explanation below it.");
    explanation_ = new QLabel(this);
    explanation_->setWordWrap(true);
    explanation_->setWhatsThis("What the chosen transform shows, and when it misleads.");
    height_ = new QLineEdit(numberText(p.height), this);
    height_->setWhatsThis(
        "Continuation: metres up. Higher smooths away shallow sources and noise; below 0 "
        "continues downwards, at most twice the cell, and magnifies the noise.");
    order_ = new QComboBox(this);
    order_->addItems({"1", "2"});
    order_->setCurrentIndex(p.order == 2 ? 1 : 0);
    order_->setWhatsThis(
        "Vertical derivative: 1 the first, 2 the second, sharper and far noisier; between "
        "widely spaced lines the second shows the gridding more than the ground.");
    inclination_ = degreesEdit(
        this,
        "The Earth's field's inclination, degrees down. Empty: IGRF-14 at the survey's centre "
        "and middle date, which needs its coordinate system.",
        "IGRF-14");
    declination_ = degreesEdit(
        this, "The field's declination, degrees east of north. Empty: IGRF-14, as above.",
        "IGRF-14");
    magInclination_ = degreesEdit(
        this,
        "The bodies' magnetisation's inclination. Empty: the field's (induced magnetisation). "
        "A wrong guess leaves the reduced anomaly skewed.",
        "the field's");
    magDeclination_ =
        degreesEdit(this, "The magnetisation's declination. Empty: the field's.", "the field's");
    if (current.fieldGiven) {
        inclination_->setText(numberText(p.field.inclination));
        declination_->setText(numberText(p.field.declination));
    }
    if (p.magnetisation) {
        magInclination_->setText(numberText(p.magnetisation->inclination));
        magDeclination_->setText(numberText(p.magnetisation->declination));
    }
    limit_ = new QLineEdit(numberText(p.rtpLimitInclination), this);
    limit_->setWhatsThis(
        "Inclinations nearer the equator than this are taken at this value in the amplitude "
        "of the reduction to the pole (Grant and Dodds), so that it does not blow up along "
        "the declination; the larger, the steadier and the less exact.");
    auto* form = new QFormLayout;
    form->addRow("Transform:", kind_);
    form->addRow(explanation_);
    form->addRow("Height (m):", height_);
    form->addRow("Order:", order_);
    form->addRow("Field inclination (deg):", inclination_);
    form->addRow("Field declination (deg):", declination_);
    form->addRow("Magnetisation inclination (deg):", magInclination_);
    form->addRow("Magnetisation declination (deg):", magDeclination_);
    form->addRow("Limit inclination (deg):", limit_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &DlgTransform::accept);
    connect(box, &QDialogButtonBox::rejected, this, &DlgTransform::reject);
    connect(kind_, &QComboBox::currentIndexChanged, this, &DlgTransform::kindChanged);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);
    kindChanged();
}

void DlgTransform::kindChanged() {
    const auto k = static_cast<Kind>(kind_->currentIndex());
    explanation_->setText(kExplained[kind_->currentIndex()]);
    height_->setEnabled(k == Kind::Continue);
    order_->setEnabled(k == Kind::Dz);
    for (QLineEdit* e : {inclination_, declination_, magInclination_, magDeclination_, limit_}) {
        e->setEnabled(k == Kind::Rtp);
    }
}

std::optional<TransformedGridding::Asked> DlgTransform::asked(std::string& message) const {
    TransformedGridding::Asked a = result_;
    GridTransform::Parameters& p = a.parameters;
    p.kind = static_cast<Kind>(kind_->currentIndex());
    p.order = order_->currentIndex() == 1 ? 2 : 1;
    const std::optional<double> h = readDecimalNumber(height_->text().trimmed().toStdString());
    std::optional<double> i;
    std::optional<double> d;
    std::optional<double> mi;
    std::optional<double> md;
    std::optional<double> limit;
    // A box the transform does not use (disabled) has no say.
    if (p.kind == Kind::Continue && (!h || !std::isfinite(*h))) {
        message = "The height must be a number of metres, above 0 upwards.";
        return std::nullopt;
    }
    p.height = p.kind == Kind::Continue ? *h : result_.parameters.height;
    if (p.kind != Kind::Rtp) {
        return a;
    }
    if (!readDegrees(inclination_, "field inclination", -90, 90, i, message) ||
        !readDegrees(declination_, "field declination", -360, 360, d, message) ||
        !readDegrees(magInclination_, "magnetisation inclination", -90, 90, mi, message) ||
        !readDegrees(magDeclination_, "magnetisation declination", -360, 360, md, message) ||
        !readDegrees(limit_, "limit inclination", 0, 90, limit, message)) {
        return std::nullopt;
    }
    if (i.has_value() != d.has_value() || mi.has_value() != md.has_value()) {
        message = "Give an inclination with its declination, or neither.";
        return std::nullopt;
    }
    a.fieldGiven = i.has_value();
    if (i) {
        p.field = {*i, *d};
    }
    p.magnetisation.reset();
    if (mi) {
        p.magnetisation = GridTransform::Direction{*mi, *md};
    }
    p.rtpLimitInclination = limit.value_or(GridTransform::Parameters().rtpLimitInclination);
    return a;
}

void DlgTransform::accept() {
    std::string message;
    const std::optional<TransformedGridding::Asked> a = asked(message);
    if (!a) {
        prompter_.message(message);
        return;
    }
    result_ = *a;
    QDialog::accept();
}

}  // namespace velkor
