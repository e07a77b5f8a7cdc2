// The levelling dialog.
#include "widgets/survey/DlgLevelling.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <filesystem>
#include <string>
#include <vector>

namespace velkor {
namespace {

constexpr const char* kStepNames[DlgLevelling::kSteps] = {
    "Tie the &days", "Take away the &direction offset", "Level each &line (zero-median traverse)",
    "De&stagger"};
// How the description begins each step's estimate.
constexpr const char* kStepWords[DlgLevelling::kSteps] = {"  days", "  direction offset", "  lines",
                                                          "  stagger"};
constexpr const char* kStepHelp[DlgLevelling::kSteps] = {
    ("Readings repeated on more than one day at the same line and position (a control line "
     "walked every morning) tie the days: each day's offset is found by least squares and taken "
     "away."),
    ("Lines walked one way read a little differently from those walked back: the median "
     "difference between neighbouring lines walked in opposite directions, half taken from each "
     "way."),
    ("Each line is shifted so that its median equals the survey's, readings far from it left "
     "out. It removes any signal constant along a line: leave it off where an anomaly runs "
     "along the lines."),
    ("Lines walked in opposite directions are moved along by half the stagger each way: "
     "estimated by cross-correlating neighbouring lines, or given in metres.")};

}  // namespace

DlgLevelling::DlgLevelling(const SurveySettings& settings, Estimate estimate, ShowMap show,
                           QWidget* parent)
    : QDialog(parent),
      days_(settings.days),
      estimate_(std::move(estimate)),
      showMap_(std::move(show)) {
    setWindowTitle("Levelling");
    build();
    const SurveySettings::Levelling& now = settings.levelling;
    steps_[Days]->setChecked(now.days);
    steps_[Directions]->setChecked(now.directions);
    steps_[Lines]->setChecked(now.lines);
    steps_[Destagger]->setChecked(now.destagger != SurveySettings::Levelling::Destagger::None);
    for (std::size_t d = 0; d < days_.size(); ++d) {
        if (days_[d] == now.fixDay) {
            fixDay_->setCurrentIndex(static_cast<int>(d) + 1);
        }
    }
    threshold_->setValue(now.threshold);
    staggerHow_->setCurrentIndex(now.destagger == SurveySettings::Levelling::Destagger::Given);
    stagger_->setValue(now.stagger);
    levelledMap_->setChecked(now.any());
    for (QCheckBox* box : steps_) {
        connect(box, &QCheckBox::toggled, this, [this] { estimateAgain(); });
    }
    connect(fixDay_, &QComboBox::currentIndexChanged, this, [this] { estimateAgain(); });
    connect(threshold_, &QDoubleSpinBox::valueChanged, this, [this] { estimateAgain(); });
    connect(staggerHow_, &QComboBox::currentIndexChanged, this, [this] { estimateAgain(); });
    connect(stagger_, &QDoubleSpinBox::valueChanged, this, [this] { estimateAgain(); });
    connect(levelledMap_, &QCheckBox::toggled, this, [this] { showMap(); });
    estimateAgain();
}

void DlgLevelling::build() {
    auto* form = new QFormLayout;
    for (int k = 0; k < kSteps; ++k) {
        steps_[k] = new QCheckBox(kStepNames[k], this);
        steps_[k]->setWhatsThis(kStepHelp[k]);
        estimates_[k] = new QLabel(this);
        estimates_[k]->setWordWrap(true);
        form->addRow(steps_[k], estimates_[k]);
    }
    fixDay_ = new QComboBox(this);
    fixDay_->addItem("none: the days' mean is 0");
    for (const std::string& d : days_) {
        fixDay_->addItem(QString::fromStdString(std::filesystem::path(d).filename().string()));
    }
    threshold_ = new QDoubleSpinBox(this);
    threshold_->setRange(0.01, 100000.0);
    threshold_->setSuffix(" nT");
    staggerHow_ = new QComboBox(this);
    staggerHow_->addItems({"estimated", "given"});
    stagger_ = new QDoubleSpinBox(this);
    stagger_->setRange(-100.0, 100.0);
    stagger_->setDecimals(2);
    stagger_->setSuffix(" m");
    auto* staggerRow = new QHBoxLayout;
    staggerRow->addWidget(staggerHow_);
    staggerRow->addWidget(stagger_);
    form->addRow("Day held at 0:", fixDay_);
    form->addRow("Lines leave out readings beyond:", threshold_);
    form->addRow("Stagger:", staggerRow);
    levelledMap_ = new QCheckBox("Show the map levelled (untick: as before)", this);
    summary_ = new QLabel(this);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(levelledMap_);
    layout->addWidget(summary_);
    layout->addWidget(buttons);
}

SurveySettings::Levelling DlgLevelling::levelling() const {
    using D = SurveySettings::Levelling::Destagger;
    SurveySettings::Levelling l;
    l.days = steps_[Days]->isChecked();
    if (l.days && fixDay_->currentIndex() > 0) {
        l.fixDay = days_[static_cast<std::size_t>(fixDay_->currentIndex() - 1)];
    }
    l.directions = steps_[Directions]->isChecked();
    l.lines = steps_[Lines]->isChecked();
    l.threshold = threshold_->value();
    if (steps_[Destagger]->isChecked()) {
        l.destagger = staggerHow_->currentIndex() == 1 ? D::Given : D::Auto;
        l.stagger = l.destagger == D::Given ? stagger_->value() : 0.0;
    }
    return l;
}

// Every step estimated afresh: each one's estimate depends on those before it.
void DlgLevelling::estimateAgain() {
    const SurveySettings::Levelling l = levelling();
    const std::vector<std::string> told = estimate_ ? estimate_(l) : std::vector<std::string>();
    for (int k = 0; k < kSteps; ++k) {
        QString text;
        for (const std::string& line : told) {
            if (line.rfind(kStepWords[k], 0) == 0) {
                text = QString::fromStdString(line).trimmed();
            }
        }
        estimates_[k]->setText(text);
    }
    QStringList all;
    for (const std::string& line : told) {
        all << QString::fromStdString(line);
    }
    summary_->setText(all.isEmpty() ? QString("Levelling: none") : all.join('\n'));
    fixDay_->setEnabled(l.days);
    threshold_->setEnabled(l.lines);
    staggerHow_->setEnabled(steps_[Destagger]->isChecked());
    stagger_->setEnabled(l.destagger == SurveySettings::Levelling::Destagger::Given);
    if (levelledMap_->isChecked()) {
        showMap();
    }
}

void DlgLevelling::showMap() {
    if (showMap_) {
        showMap_(levelledMap_->isChecked() ? levelling() : SurveySettings::Levelling());
    }
}

QString DlgLevelling::summary() const {
    return summary_->text();
}

}  // namespace velkor
