// Survey Settings dialog.
#include "widgets/survey/DlgSurveySettings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "core/Prompter.h"
#include "survey/BaseSource.h"
#include "survey/SurveyEditor.h"
#include "survey/SurveyFile.h"
#include "widgets/survey/SourceFileTable.h"
#include "widgets/survey/TrackTable.h"

namespace velkor {
namespace {

constexpr double kBig = 1e9;

QDoubleSpinBox* spin(QWidget* parent, double lo, double hi, int decimals, const QString& suffix) {
    auto* s = new QDoubleSpinBox(parent);
    s->setRange(lo, hi);
    s->setDecimals(decimals);
    s->setSuffix(suffix);
    return s;
}

QTableWidget* table(QWidget* parent, const QStringList& headers) {
    auto* t = new QTableWidget(0, headers.size(), parent);
    t->setHorizontalHeaderLabels(headers);
    t->horizontalHeader()->setStretchLastSection(true);
    t->verticalHeader()->setVisible(false);
    return t;
}

void setCell(QTableWidget* t, int row, int column, const QString& text, bool editable = true) {
    auto* item = new QTableWidgetItem(text);
    if (!editable) {
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    }
    t->setItem(row, column, item);
}

std::optional<double> cellNumber(const QTableWidget* t, int row, int column) {
    const QTableWidgetItem* item = t->item(row, column);
    bool ok = false;
    const double v = item != nullptr ? item->text().trimmed().toDouble(&ok) : 0.0;
    return ok ? std::optional<double>(v) : std::nullopt;
}

QHBoxLayout* buttons(std::initializer_list<QPushButton*> list) {
    auto* row = new QHBoxLayout;
    for (QPushButton* b : list) {
        row->addWidget(b);
    }
    row->addStretch();
    return row;
}

}  // namespace

DlgSurveySettings::DlgSurveySettings(const SurveySettings& current, Prompter& prompter,
                                     QWidget* parent)
    : QDialog(parent), prompter_(prompter), result_(current) {
    setWindowTitle("Survey Settings");
    auto* layout = new QVBoxLayout(this);
    // Side by side, so that the dialog still fits a small screen.
    auto* sources = new QHBoxLayout;
    sources->addWidget(createBases());
    tracks_ = new TrackTable(prompter_, this);
    sources->addWidget(tracks_);
    layout->addLayout(sources);
    layout->addWidget(createPlacement());
    layout->addWidget(createCorrections());
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &DlgSurveySettings::accept);
    connect(box, &QDialogButtonBox::rejected, this, &DlgSurveySettings::reject);
    layout->addWidget(box);
    load(current);
}

namespace {

constexpr const char* kBaseFilter =
    "Base-station files (*.a;*.iaga;*.min;*.sec;*.csv;*.txt)|*.a;*.iaga;*.min;*.sec;*.csv;*.txt|"
    "All files (*.*)|*||";

QString kindName(SurveySettings::BaseSource::Format f) {
    switch (f) {
        case SurveySettings::BaseSource::Format::Iaga2002:
            return "IAGA-2002";
        case SurveySettings::BaseSource::Format::Csv:
            return "CSV";
        case SurveySettings::BaseSource::Format::Auto:
            return "by content";
        case SurveySettings::BaseSource::Format::Survey:
            return "Survey's own";
        case SurveySettings::BaseSource::Format::Velkor:
            break;
    }
    return "Variations";
}

}  // namespace

QWidget* DlgSurveySettings::createBases() {
    auto* group = new QGroupBox("Base sources", this);
    auto* layout = new QVBoxLayout(group);
    bases_ = new SourceFileTable(
        "The base-station files, first first: a reading takes its base value from the first "
        "one that brackets its time. A file is a variations file, an observatory's IAGA-2002 "
        "file or a CSV file, told by its content when added. The offset in seconds is added "
        "to the file's times (an observatory's universal time: the survey clock's zone).",
        group);
    layout->addWidget(bases_);
    auto* add = new QPushButton("Add...", group);
    auto* own = new QPushButton("Add Base-Station Readings", group);
    own->setWhatsThis(
        "The survey's own 'A' readings, the instrument left at a base station, as a base "
        "source.");
    auto* remove = new QPushButton("Remove", group);
    connect(add, &QPushButton::clicked, this, &DlgSurveySettings::addBase);
    connect(own, &QPushButton::clicked, this, [this] {
        addBaseRow({std::string(), 0, SurveySettings::BaseSource::Format::Survey});
    });
    connect(remove, &QPushButton::clicked, this,
            [this] { bases_->removeRow(bases_->currentRow()); });
    layout->addLayout(buttons({add, own, remove}));
    return group;
}

QWidget* DlgSurveySettings::createPlacement() {
    auto* group = new QGroupBox("Placement", this);
    auto* form = new QFormLayout(group);
    epsg_ = new QLineEdit(group);
    epsg_->setObjectName("epsg");
    epsg_->setPlaceholderText("none: local metres");
    form->addRow("EPSG code:", epsg_);
    placeBy_ = new QComboBox(group);
    placeBy_->setObjectName("placeBy");
    placeBy_->addItems({"None (E = position, N = line)", "By parameters", "By control points",
                        "By position track"});
    form->addRow("Place:", placeBy_);
    side_ = new QComboBox(group);
    side_->addItems({"Left", "Right"});
    form->addRow("Lines lie to the:", side_);
    lineSpacing_ = spin(group, 1e-6, kBig, 3, " m");
    stationInterval_ = spin(group, 1e-6, kBig, 3, " m");
    form->addRow("Line spacing:", lineSpacing_);
    form->addRow("Station interval:", stationInterval_);
    placePages_ = new QStackedWidget(group);
    placePages_->addWidget(new QWidget(placePages_));
    placePages_->addWidget(createParameters());
    placePages_->addWidget(createControlPoints());
    placePages_->addWidget(createByTrack());
    form->addRow(placePages_);
    connect(placeBy_, &QComboBox::currentIndexChanged, placePages_,
            &QStackedWidget::setCurrentIndex);
    return group;
}

QWidget* DlgSurveySettings::createParameters() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    originE_ = spin(page, -kBig, kBig, 3, " m");
    originN_ = spin(page, -kBig, kBig, 3, " m");
    azimuth_ = spin(page, -360.0, 360.0, 4, "\u00b0");
    firstLine_ = spin(page, -kBig, kBig, 3, "");
    firstPosition_ = spin(page, -kBig, kBig, 3, "");
    form->addRow("Origin easting:", originE_);
    form->addRow("Origin northing:", originN_);
    form->addRow("Azimuth of positions:", azimuth_);
    form->addRow("First line:", firstLine_);
    form->addRow("First position:", firstPosition_);
    return page;
}

QWidget* DlgSurveySettings::createControlPoints() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    points_ = table(page, {"Line", "Position", "Easting", "Northing", "Residual (m)"});
    points_->setWhatsThis(
        "Two or more points whose line, position, easting and northing are known. The "
        "residual is how far the fitted placement puts the point from its own coordinates.");
    layout->addWidget(points_);
    auto* add = new QPushButton("Add Point", page);
    auto* remove = new QPushButton("Remove Point", page);
    connect(add, &QPushButton::clicked, this, [this] {
        const int row = points_->rowCount();
        points_->insertRow(row);
        setCell(points_, row, 4, "", false);
    });
    connect(remove, &QPushButton::clicked, this,
            [this] { points_->removeRow(points_->currentRow()); });
    layout->addLayout(buttons({add, remove}));
    return page;
}

QWidget* DlgSurveySettings::createByTrack() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    auto* what =
        new QLabel("Each reading at the place its time has in the position tracks above.", page);
    what->setWordWrap(true);
    form->addRow(what);
    along_ = spin(page, -100.0, 100.0, 3, " m");
    along_->setObjectName("along");
    along_->setWhatsThis("From the antenna to the sensor along the way walked: ahead is above 0.");
    across_ = spin(page, -100.0, 100.0, 3, " m");
    across_->setObjectName("across");
    across_->setWhatsThis(
        "From the antenna to the sensor across the way walked: right is above 0.");
    lag_ = spin(page, -60.0, 60.0, 3, " s");
    lag_->setObjectName("lag");
    lag_->setWhatsThis("Seconds the instrument's times run behind the moment measured.");
    maxGap_ = spin(page, 0.0, 86400.0, 2, " s");  // a 10 Hz track's gap is 0.1 s
    maxGap_->setObjectName("maxGap");
    maxGap_->setWhatsThis(
        "A reading between two fixes farther apart than this has no position and is left off "
        "the map.");
    form->addRow("Antenna to sensor, along:", along_);
    form->addRow("Antenna to sensor, across:", across_);
    estimate_ = new QPushButton("Estimate", page);
    estimate_->setObjectName("estimateLag");
    estimate_->setWhatsThis(
        "The lag that brings neighbouring lines walked in opposite directions nearest to "
        "agreeing, from the survey's own readings and tracks.");
    estimate_->setEnabled(false);
    connect(estimate_, &QPushButton::clicked, this, [this] { estimateLag(); });
    auto* lagRow = new QHBoxLayout;
    lagRow->addWidget(lag_, 1);
    lagRow->addWidget(estimate_);
    form->addRow("Lag:", lagRow);
    form->addRow("Largest gap:", maxGap_);
    return page;
}

QWidget* DlgSurveySettings::createCorrections() {
    auto* group = new QGroupBox("Corrections", this);
    auto* form = new QFormLayout(group);
    datum_ = spin(group, -kBig, kBig, 2, " nT");
    form->addRow("Datum:", datum_);
    normalKind_ = new QComboBox(group);
    normalKind_->addItems({"None", "Constant", "IGRF-14"});
    form->addRow("Normal field:", normalKind_);
    normalValue_ = spin(group, -kBig, kBig, 2, " nT");
    form->addRow("Constant:", normalValue_);
    height_ = spin(group, -12000.0, 1e6, 1, " m");
    form->addRow("Height (IGRF-14):", height_);
    regional_ = new QComboBox(group);
    regional_->setObjectName("regional");
    regional_->addItems({"None", "Plane", "Quadratic"});
    regional_->setWhatsThis(
        "A regional trend, a plane or a second-order surface fitted to the readings by least "
        "squares (flagged ones left out), taken away before gridding.");
    form->addRow("Regional:", regional_);
    return group;
}

void DlgSurveySettings::load(const SurveySettings& s) {
    for (const SurveySettings::BaseSource& b : s.baseSources) {
        addBaseRow(b);
    }
    tracks_->load(s.tracks);
    epsg_->setText(s.epsg ? QString::number(*s.epsg) : QString());
    const Placement& p = s.placement;
    placeBy_->setCurrentIndex(static_cast<int>(p.by()));
    placePages_->setCurrentIndex(static_cast<int>(p.by()));
    const Placement::Parameters& q = p.parameters();
    side_->setCurrentIndex(q.side == Placement::Side::Left ? 0 : 1);
    lineSpacing_->setValue(q.lineSpacing);
    stationInterval_->setValue(q.stationInterval);
    originE_->setValue(q.originEasting);
    originN_->setValue(q.originNorthing);
    azimuth_->setValue(q.azimuth);
    firstLine_->setValue(q.firstLine);
    firstPosition_->setValue(q.firstPosition);
    along_->setValue(p.track().along);
    across_->setValue(p.track().across);
    lag_->setValue(p.track().lag);
    if (p.track().lagEstimated) {
        estimatedLag_ = lag_->value();
    }
    maxGap_->setValue(p.track().maxGap);
    loadedTrack_ = shownTrack();
    for (std::size_t k = 0; k < p.controlPoints().size(); ++k) {
        const Placement::ControlPoint& c = p.controlPoints()[k];
        const int row = points_->rowCount();
        points_->insertRow(row);
        setCell(points_, row, 0, QString::number(c.line, 'g', 12));
        setCell(points_, row, 1, QString::number(c.position, 'g', 12));
        setCell(points_, row, 2, QString::number(c.easting, 'f', 3));
        setCell(points_, row, 3, QString::number(c.northing, 'f', 3));
        const QString residual = k < p.residuals().size()
                                     ? QString::number(p.residuals()[k].distance(), 'f', 3)
                                     : QString();
        setCell(points_, row, 4, residual, false);
    }
    datum_->setValue(s.datum);
    normalKind_->setCurrentIndex(static_cast<int>(s.normal.kind));
    normalValue_->setValue(s.normal.value);
    height_->setValue(s.normal.height);
    regional_->setCurrentIndex(static_cast<int>(s.gridding.regional));
}

void DlgSurveySettings::addBase() {
    const std::optional<std::string> path = prompter_.askOpenFile(kBaseFilter, "a");
    if (!path) {
        return;
    }
    addBaseRow({*path, 0, BaseSource::detect(*path)});
}

void DlgSurveySettings::addBaseRow(const SurveySettings::BaseSource& b) {
    const bool own = b.format == SurveySettings::BaseSource::Format::Survey;
    bases_->addRow(own ? QString(BaseSource::kReadingsName) : QString::fromStdString(b.path),
                   static_cast<int>(b.format), kindName(b.format), QString::number(b.offset),
                   QString::fromStdString(b.columns));
}

std::optional<Placement> DlgSurveySettings::placement(std::string& message) const {
    const Placement::Side side =
        side_->currentIndex() == 0 ? Placement::Side::Left : Placement::Side::Right;
    switch (placeBy_->currentIndex()) {
        case 1:
            return Placement::byParameters(
                {originE_->value(), originN_->value(), azimuth_->value(), lineSpacing_->value(),
                 stationInterval_->value(), firstLine_->value(), firstPosition_->value(), side},
                message);
        case 2: {
            std::vector<Placement::ControlPoint> points;
            for (int row = 0; row < points_->rowCount(); ++row) {
                std::optional<double> v[4];
                for (int c = 0; c < 4; ++c) {
                    if (!(v[c] = cellNumber(points_, row, c))) {
                        message = "Control point " + std::to_string(row + 1) +
                                  ": every value must be a number.";
                        return std::nullopt;
                    }
                }
                points.push_back({*v[0], *v[1], *v[2], *v[3]});
            }
            return Placement::byControlPoints(points, side, lineSpacing_->value(),
                                              stationInterval_->value(), message);
        }
        case 3:
            if (result_.placement.by() == Placement::By::Track && shownTrack() == loadedTrack_) {
                return result_.placement;
            }
            return Placement::byTrack(shownTrack(), message);
        default:
            return Placement();
    }
}

void DlgSurveySettings::setLagEstimate(EstimateLag estimate) {
    estimateLag_ = std::move(estimate);
    estimate_->setEnabled(static_cast<bool>(estimateLag_));
}

// The estimate is the open survey's: tracks, offsets or a coordinate system changed here
// would be estimated as they were, and their difference taken into the lag.
void DlgSurveySettings::estimateLag() {
    std::string message;
    const std::optional<SurveySettings> shown = settings(message);
    if (!shown) {
        prompter_.message(message);
        return;
    }
    if (shown->tracks != result_.tracks || shown->epsg != result_.epsg) {
        prompter_.message(kEstimateAfterOk);
        return;
    }
    const std::optional<Placement::Track> t = estimateLag_(shownTrack(), message);
    if (!t) {
        prompter_.message(message);
        return;
    }
    lag_->setValue(t->lag);
    estimatedLag_ = lag_->value();
}

Placement::Track DlgSurveySettings::shownTrack() const {
    Placement::Track t;
    t.along = along_->value();
    t.across = across_->value();
    t.lag = lag_->value();
    t.lagEstimated = estimatedLag_ && std::abs(*estimatedLag_ - t.lag) < 1e-9;
    t.maxGap = maxGap_->value();
    return t;
}

std::optional<SurveySettings> DlgSurveySettings::settings(std::string& message) const {
    SurveySettings s = result_;
    s.baseSources.clear();
    for (int row = 0; row < bases_->rowCount(); ++row) {
        const std::optional<double> offset = bases_->offset(row);
        if (!offset || *offset != std::trunc(*offset) ||
            std::abs(*offset) > SurveyFile::kLargestWhole) {
            message = "Base source " + std::to_string(row + 1) +
                      ": the offset must be a whole number of seconds.";
            return std::nullopt;
        }
        const auto format = static_cast<SurveySettings::BaseSource::Format>(bases_->format(row));
        s.baseSources.push_back(
            {format == SurveySettings::BaseSource::Format::Survey ? std::string()
                                                                  : bases_->file(row).toStdString(),
             static_cast<int>(*offset), format, bases_->columns(row).toStdString()});
    }
    const std::optional<std::vector<SurveySettings::Track>> tracks = tracks_->tracks(message);
    if (!tracks) {
        return std::nullopt;
    }
    s.tracks = *tracks;
    const QString code = epsg_->text().trimmed();
    if (code.isEmpty() || code.compare("none", Qt::CaseInsensitive) == 0) {
        s.epsg.reset();
    } else {
        bool ok = false;
        const int epsg = QString(code).remove("EPSG:", Qt::CaseInsensitive).toInt(&ok);
        if (!ok || epsg <= 0) {
            message = "The EPSG code must be a whole number, or empty for none.";
            return std::nullopt;
        }
        s.epsg = epsg;
    }
    const std::optional<Placement> placed = placement(message);
    if (!placed) {
        return std::nullopt;
    }
    s.placement = *placed;
    s.datum = datum_->value();
    s.normal.kind = static_cast<SurveySettings::NormalField::Kind>(normalKind_->currentIndex());
    s.normal.value = normalValue_->value();
    s.normal.height = height_->value();
    s.gridding.regional = static_cast<RegionalTrend::Kind>(regional_->currentIndex());
    message = SurveyEditor::refusal(result_, s);
    if (!message.empty()) {
        return std::nullopt;
    }
    return s;
}

void DlgSurveySettings::accept() {
    std::string message;
    const std::optional<SurveySettings> s = settings(message);
    if (!s) {
        prompter_.message(message);
        return;
    }
    result_ = *s;
    // Taken all the same: the surveyor may mend the points later, or mean them.
    if (const std::string warning = s->placement.fitWarning(); !warning.empty()) {
        prompter_.message(warning);
    }
    QDialog::accept();
}

}  // namespace velkor
