// The survey window.
#include "widgets/survey/SurveyWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPaintDevice>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "pictures/BasePanel.h"
#include "pictures/SurveyPage.h"
#include "survey/LevellingDescription.h"
#include "survey/Survey.h"
#include "survey/SurveyDescription.h"
#include "survey/SurveyFlags.h"
#include "survey/SurveyLagEstimate.h"
#include "widgets/shared/PrintController.h"
#include "widgets/shared/QPainterSurface.h"
#include "widgets/shared/TwoRowBar.h"
#include "widgets/shared/WindowFit.h"
#include "widgets/survey/BasePanelView.h"
#include "widgets/survey/DlgGriddingOptions.h"
#include "widgets/survey/DlgLevelling.h"
#include "widgets/survey/DlgSurveySettings.h"
#include "widgets/survey/DlgTransform.h"
#include "widgets/survey/SurveyGridder.h"
#include "widgets/survey/SurveyMapWidget.h"
#include "widgets/survey/SurveySession.h"

namespace velkor {
namespace {

QString fileName(const std::string& path) {
    const QString p = QString::fromStdString(path);
    return p.section('/', -1);
}

QString joined(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& l : lines) {
        list << QString::fromStdString(l);
    }
    return list.join('\n');
}

// One end of the Limits stretch, in nT.
QDoubleSpinBox* limitBox(QWidget* parent, double value) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(-1.0e6, 1.0e6);
    box->setDecimals(1);
    box->setValue(value);
    box->setSuffix(" nT");
    box->setWhatsThis("An end of the colour scale when the colours are stretched to Limits.");
    return box;
}

constexpr const char* kLayerNames[4] = {"Readings", "Grid", "Shade", "Contours"};
// The values in the order the gridding names them.
constexpr const char* kGridOf[SurveyGridding::kWhats] = {"Anomaly", "Diurnal", "Field", "Gradient"};
// After the values: the transforms of the grid of the value chosen last.
constexpr const char* kTransformEntry = "Transform...";

}  // namespace

SurveyWindow::SurveyWindow(SurveySession& session, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent, Qt::Window), session_(session), prompter_(prompter) {
    setObjectName("surveyWindow");
    gridder_ = new SurveyGridder(this);
    printing_ = new PrintController(this, prompter_);

    days_ = new QTreeWidget(this);
    days_->setColumnCount(4);
    days_->setHeaderLabels({"File", "Dates", "Readings", "Base cover"});
    days_->setRootIsDecorated(true);
    days_->setWhatsThis(
        "The survey's days and base sources: each day's dates, its readings and how many "
        "of them the base sources cover; each source's dates, samples and time offset.");
    summary_ = new QPlainTextEdit(this);
    summary_->setReadOnly(true);
    summary_->setWhatsThis(
        "How the survey is placed (with each control point's residual) and corrected, and its "
        "totals. Survey > Survey Settings changes them.");
    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->addWidget(days_, 3);
    leftLayout->addWidget(summary_, 2);

    colourBy_ = new QComboBox(this);
    for (int v = 0; v < SurveyMapPainter::kValues; ++v) {
        colourBy_->addItem(SurveyMapPainter::valueName(static_cast<SurveyMapPainter::Value>(v)));
    }
    map_ = new SurveyMapWidget(this);
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel("Colour by:", right));
    bar->addWidget(colourBy_);
    bar->addStretch();
    rightLayout->addLayout(bar);
    rightLayout->addWidget(createGridBar(right));
    rightLayout->addWidget(map_, 1);

    tabs_ = new QTabWidget(this);
    tabs_->addTab(right, "Map");
    baseTab_ = createBaseTab(tabs_);
    tabs_->addTab(baseTab_, "Base");

    auto* split = new QSplitter(this);
    split->addWidget(left);
    split->addWidget(tabs_);
    split->setStretchFactor(1, 2);
    split->setSizes({400, 700});
    left->setMinimumWidth(260);
    setCentralWidget(split);

    readout_ = new QLabel(this);
    progress_ = new QProgressBar(this);
    cancel_ = new QPushButton("Cancel", this);
    statusBar()->addWidget(readout_, 1);
    statusBar()->addPermanentWidget(progress_);
    statusBar()->addPermanentWidget(cancel_);

    connect(colourBy_, &QComboBox::currentIndexChanged, this,
            [this](int v) { map_->setValue(static_cast<SurveyMapPainter::Value>(v)); });
    connect(map_, &SurveyMapWidget::hovered, this, &SurveyWindow::hover);
    connect(map_, &SurveyMapWidget::clicked, this, &SurveyWindow::click);
    connect(cancel_, &QPushButton::clicked, this, &SurveyWindow::cancelWork);
    connect(tabs_, &QTabWidget::currentChanged, this, &SurveyWindow::refreshBase);
    connect(gridder_, &SurveyGridder::changed, this, &SurveyWindow::gridChanged);
    connect(gridder_, &SurveyGridder::progress, this, [this](int permille) {
        progress_->setRange(0, 1000);
        progress_->setValue(permille);
    });
    connect(&session_, &SurveySession::changed, this, &SurveyWindow::refresh);
    connect(&session_, &SurveySession::progress, this, &SurveyWindow::showProgress);
    connect(&session_, &SurveySession::status, this,
            [this](const QString& text) { readout_->setText(text); });
    refresh();
    WindowFit::fit(*this, {1100, 680});
}

void SurveyWindow::showBusy() {
    const bool busy = session_.busy() || gridder_->busy();
    progress_->setVisible(busy);
    cancel_->setVisible(busy);
    // The gridding is the survey's: it changes only while the survey may.
    gridOf_->setEnabled(session_.ready());
    griddingOptions_->setEnabled(session_.ready());
}

void SurveyWindow::showGridding() {
    const QSignalBlocker quiet(gridOf_);
    gridOf_->setCurrentIndex(transform_ ? SurveyGridding::kWhats
                                        : static_cast<int>(gridding().what));
}

void SurveyWindow::refresh() {
    const bool busy = session_.busy();
    showBusy();
    if (busy) {
        progress_->setRange(0, 0);  // moving until the first day is in
    }
    setWindowTitle(session_.path().empty()
                       ? QString("Survey")
                       : "Survey - " + QString::fromStdString(session_.path()).section('/', -1));
    map_->setPainter(&session_.painter());
    const Survey* survey = session_.survey();
    if (survey == nullptr) {
        if (!busy) {
            days_->clear();
            summary_->clear();
            gridded_.reset();
            transform_.reset();
            gridder_->clear();
        }
        refreshBase();
        return;
    }
    fillDays();
    showGridding();
    refreshBase();
    regrid();
    gridChanged();
}

QWidget* SurveyWindow::createBaseTab(QWidget* parent) {
    auto* tab = new QWidget(parent);
    auto* layout = new QVBoxLayout(tab);
    baseDate_ = new QComboBox(tab);
    baseDate_->setWhatsThis("The date of the survey's readings whose base curves are shown.");
    auto* previous = new QPushButton("<", tab);
    previous->setWhatsThis("The date before.");
    auto* next = new QPushButton(">", tab);
    next->setWhatsThis("The date after.");
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel("Date:", tab));
    bar->addWidget(previous);
    bar->addWidget(baseDate_);
    bar->addWidget(next);
    bar->addStretch();
    layout->addLayout(bar);
    basePanel_ = new BasePanelView(tab);
    layout->addWidget(basePanel_, 1);
    connect(baseDate_, &QComboBox::currentIndexChanged, this, &SurveyWindow::refreshBase);
    connect(previous, &QPushButton::clicked, this,
            [this] { baseDate_->setCurrentIndex(std::max(baseDate_->currentIndex() - 1, 0)); });
    connect(next, &QPushButton::clicked, this, [this] {
        baseDate_->setCurrentIndex(std::min(baseDate_->currentIndex() + 1, baseDate_->count() - 1));
    });
    return tab;
}

void SurveyWindow::refreshBase() {
    const Survey* survey = session_.survey();
    if (survey == nullptr) {
        if (!session_.busy()) {
            const QSignalBlocker quiet(baseDate_);
            baseDate_->clear();
            panelSources_.clear();
            panelSettings_.reset();
            basePanel_->setPanel(BasePanel());
        }
        return;
    }
    // The sources are read again only for a panel that is looked at.
    if (tabs_->currentWidget() != baseTab_) {
        return;
    }
    if (!panelSettings_ || !(*panelSettings_ == survey->settings())) {
        std::string message;
        if (!BasePanel::openSources(*survey, panelSources_, message)) {
            panelSources_.clear();
            readout_->setText(QString::fromStdString(message));
        }
        panelSettings_ = survey->settings();
        const QString chosen = baseDate_->currentText();
        const QSignalBlocker quiet(baseDate_);
        baseDate_->clear();
        for (const std::string& date : BasePanel::dates(*survey)) {
            baseDate_->addItem(QString::fromStdString(date));
        }
        baseDate_->setCurrentIndex(std::max(baseDate_->findText(chosen), 0));
    }
    basePanel_->setPanel(
        BasePanel::of(*survey, panelSources_, baseDate_->currentText().toStdString()));
}

QWidget* SurveyWindow::createGridBar(QWidget* parent) {
    // Two rows, so that the map's side leaves the days and the summary room to read.
    const auto [bar, row, gridRow] = TwoRowBar::under(parent);
    row->addWidget(new QLabel("Show:", bar));
    for (int k = 0; k < 4; ++k) {
        layers_[k] = new QCheckBox(kLayerNames[k], bar);
        row->addWidget(layers_[k]);
        connect(layers_[k], &QCheckBox::toggled, this, &SurveyWindow::layersChanged);
    }
    layers_[0]->setChecked(true);
    layers_[0]->setWhatsThis("The readings: coloured by value alone, their positions over a grid.");
    layers_[1]->setWhatsThis("The readings gridded, in colours, with the colour bar in nT.");
    layers_[2]->setWhatsThis("The grid's shaded relief, lit from the north-west.");
    layers_[3]->setWhatsThis("Contours of the grid, every fifth labelled with its value.");
    gridOf_ = new QComboBox(bar);
    for (const char* what : kGridOf) {
        gridOf_->addItem(what);
    }
    gridOf_->addItem(kTransformEntry);
    gridOf_->setWhatsThis(
        "The value gridded: the anomaly, the diurnal-corrected field, the "
        "field as read, or the gradient; or a transform of that grid.");
    stretch_ = new QComboBox(bar);
    for (int k = 0; k < GridStretch::kKinds; ++k) {
        stretch_->addItem(GridStretch::name(static_cast<GridStretch::Kind>(k)));
    }
    stretch_->setWhatsThis(
        "How the grid's values take the colours: equalised so that each colour covers as much "
        "of the grid, evenly from the 2nd to the 98th percentile, or evenly between the limits "
        "given beside it.");
    stretchLo_ = limitBox(bar, -1000.0);
    stretchHi_ = limitBox(bar, 1000.0);
    griddingOptions_ = new QPushButton("Gridding Options...", bar);
    griddingOptions_->setWhatsThis(
        "The cell size, the tension, the blanking distance and the contour interval, kept in "
        "the survey file.");
    gridRow->addWidget(new QLabel("Grid of:", bar));
    gridRow->addWidget(gridOf_);
    gridRow->addWidget(new QLabel("Colours:", bar));
    gridRow->addWidget(stretch_);
    gridRow->addWidget(stretchLo_);
    gridRow->addWidget(new QLabel("to", bar));
    gridRow->addWidget(stretchHi_);
    gridRow->addWidget(griddingOptions_);
    gridRow->addStretch();
    row->addStretch();
    addPrintButtons(bar, row);
    connect(gridOf_, &QComboBox::currentIndexChanged, this, [this](int k) {
        if (k == SurveyGridding::kWhats) {
            editTransform();
            return;
        }
        setTransform(std::nullopt);
        SurveySettings::Gridding g = gridding();
        g.what = static_cast<SurveyGridding::What>(k);
        if (!setGridding(g)) {
            showGridding();  // nothing open, or busy: back to what the survey says
        }
    });
    const auto restretch = [this] {
        const GridStretch::Choice choice = stretchChoice();
        stretchLo_->setEnabled(choice.kind == GridStretch::Kind::Limits);
        stretchHi_->setEnabled(choice.kind == GridStretch::Kind::Limits);
        gridder_->setStretch(choice);
    };
    connect(stretch_, &QComboBox::currentIndexChanged, this, restretch);
    connect(stretchLo_, &QDoubleSpinBox::editingFinished, this, restretch);
    connect(stretchHi_, &QDoubleSpinBox::editingFinished, this, restretch);
    stretchLo_->setEnabled(false);
    stretchHi_->setEnabled(false);
    connect(griddingOptions_, &QPushButton::clicked, this, &SurveyWindow::editGriddingOptions);
    return bar;
}

void SurveyWindow::addPrintButtons(QWidget* bar, QHBoxLayout* row) {
    auto* print = new QPushButton("Print...", bar);
    print->setWhatsThis("Prints the map as shown, on one page with a title block.");
    auto* preview = new QPushButton("Print Preview...", bar);
    preview->setWhatsThis("Shows the printed page.");
    standardScale_ = new QCheckBox("Standard scale", bar);
    standardScale_->setWhatsThis(
        "Prints the map at the next standard scale (1:1000, 1:1250, 1:2000, 1:2500, 1:5000, ...) "
        "down from the one that fills the page, so that it can be measured with a scale rule.");
    row->addWidget(standardScale_);
    row->addWidget(print);
    row->addWidget(preview);
    connect(print, &QPushButton::clicked, this, [this] { printing_->printOrOfferPdf(*this); });
    connect(preview, &QPushButton::clicked, this, [this] { printing_->preview(*this); });
}

GridStretch::Choice SurveyWindow::stretchChoice() const {
    return {static_cast<GridStretch::Kind>(stretch_->currentIndex()), stretchLo_->value(),
            stretchHi_->value()};
}

QCheckBox* SurveyWindow::layerBox(int layer) const {
    return layers_[layer];
}

SurveyPicture::Layers SurveyWindow::layers() const {
    return {layers_[0]->isChecked(), layers_[1]->isChecked(), layers_[2]->isChecked(),
            layers_[3]->isChecked()};
}

void SurveyWindow::layersChanged() {
    if (layers_[3] == nullptr) {
        return;  // still being made
    }
    map_->setLayers(layers());
    colourBy_->setEnabled(!map_->showsGrid());
    regrid();
}

void SurveyWindow::regrid() {
    const Survey* survey = session_.survey();
    if (!layers().gridded() || survey == nullptr || session_.busy()) {
        return;
    }
    const GridKey key{survey, survey->settings()};
    if (gridded_ && *gridded_ == key) {
        return;
    }
    gridded_ = key;
    gridder_->start(*survey, stretchChoice());
}

void SurveyWindow::gridChanged() {
    showBusy();
    if (gridder_->busy()) {
        progress_->setRange(0, 1000);
    }
    updateTransform();
    // The colour limits are in the unit of the grid shown: a derivative's nT/m, a tilt's degrees.
    const QString unit =
        " " + QString::fromStdString(transform_ && transformed_ ? transformed_->unit : "nT");
    stretchLo_->setSuffix(unit);
    stretchHi_->setSuffix(unit);
    map_->setGrid(gridPainter());
    // Over a grid the readings are only positions: their colour has no say.
    colourBy_->setEnabled(!map_->showsGrid());
    const Survey* survey = session_.survey();
    if (survey == nullptr) {
        return;
    }
    QString text = joined(SurveyDescription::placement(survey->settings().placement)) + "\n" +
                   joined(SurveyDescription::corrections(*survey));
    const QString grid = griddingText();
    if (!grid.isEmpty()) {
        text += "\n" + grid;
    }
    summary_->setPlainText(text);
}

QString SurveyWindow::griddingText() const {
    const SurveyGridding::Result* result = gridder_->result();
    if (result == nullptr) {
        return QString();
    }
    if (!result->gridded.report.error.empty()) {
        return "No grid: " + QString::fromStdString(result->gridded.report.error);
    }
    const QString text = joined(SurveyGridding::describe(*result));
    return transform_ ? text + "\n" + transformReport_ : text;
}

void SurveyWindow::editTransform() {
    DlgTransform dialog(transform_.value_or(TransformedGridding::Asked()), prompter_, this);
    if (dialog.exec() == QDialog::Accepted) {
        setTransform(dialog.result());
    } else {
        showGridding();
    }
}

void SurveyWindow::setTransform(const std::optional<TransformedGridding::Asked>& transform) {
    if (!transform && !transform_) {
        return;
    }
    transform_ = transform;
    showGridding();
    gridChanged();
}

const GridLayerPainter* SurveyWindow::gridPainter() const {
    if (!transform_) {
        return gridder_->painter();
    }
    return transformed_ ? &transformedPainter_ : nullptr;
}

void SurveyWindow::updateTransform() {
    // Worked out again with every grid and colouring: it takes far less than the gridding.
    transformedPainter_ = GridLayerPainter();
    transformed_.reset();
    transformReport_.clear();
    const SurveyGridding::Result* result = gridder_->result();
    const Survey* survey = session_.survey();
    if (!transform_ || result == nullptr || survey == nullptr) {
        return;
    }
    TransformedGridding::Asked asked = *transform_;
    asked.interval = 0.0;  // the survey's interval is in nT: the transform takes its own
    std::string message;
    std::optional<TransformedGridding::Result> t =
        TransformedGridding::run(*survey, *result, asked, message);
    if (!t) {
        transformReport_ = "No transform: " + QString::fromStdString(message);
        readout_->setText(transformReport_);
        return;
    }
    if (readout_->text().startsWith("No transform: ")) {
        readout_->clear();  // an earlier refusal no longer holds
    }
    transformReport_ = joined(t->report);
    transformed_ = std::move(t->gridding);
    transformedPainter_ = GridLayerPainter(*transformed_, stretchChoice());
}

SurveySettings::Gridding SurveyWindow::gridding() const {
    const Survey* survey = session_.survey();
    return survey != nullptr ? survey->settings().gridding : SurveySettings::Gridding();
}

bool SurveyWindow::setGridding(const SurveySettings::Gridding& gridding) {
    const Survey* survey = session_.survey();
    if (survey == nullptr || !session_.ready()) {
        return false;
    }
    if (gridding == survey->settings().gridding) {
        return true;
    }
    SurveySettings next = survey->settings();
    next.gridding = gridding;
    return session_.change(next);
}

void SurveyWindow::editGriddingOptions() {
    DlgGriddingOptions dialog(gridding(), prompter_, griddingDefaults(), this);
    if (dialog.exec() == QDialog::Accepted) {
        setGridding(dialog.result());
    }
}

DlgGriddingOptions::Defaults SurveyWindow::griddingDefaults() const {
    // The grid shown was made with the defaults wherever the survey sets no value; before
    // any grid, they are what the readings and placement give.
    DlgGriddingOptions::Defaults d;
    const SurveySettings::Gridding g = gridding();
    const SurveyGridding::Result* shown = gridder_->result();
    if (shown == nullptr || shown->gridded.grid.values.empty()) {
        return readingsDefaults(g);
    }
    const GriddingReport& report = shown->gridded.report;
    if (!g.cell) {
        d.cell = report.cell;
    }
    if (!g.blankDistance) {
        d.blankDistance = report.blankDistance;
    }
    if (!g.interval && shown->interval > 0.0) {
        d.interval = shown->interval;
    }
    return d;
}

DlgGriddingOptions::Defaults SurveyWindow::readingsDefaults(
    const SurveySettings::Gridding& g) const {
    DlgGriddingOptions::Defaults d;
    const Survey* survey = session_.survey();
    if (survey == nullptr) {
        return d;
    }
    const SurveyGridding::Defaults given =
        SurveyGridding::defaults(*survey, g, SurveyGridding::kWindowNodes);
    const auto known = [](double v) { return v > 0.0 ? std::optional<double>(v) : std::nullopt; };
    d.cell = g.cell ? std::nullopt : known(given.cell);
    d.blankDistance = g.blankDistance ? std::nullopt : known(given.blankDistance);
    d.interval = g.interval ? std::nullopt : known(given.interval);
    return d;
}

void SurveyWindow::cancelWork() {
    session_.cancel();
    if (gridder_->busy()) {
        // The grid asked for is not made; the next change asks again.
        gridded_.reset();
        gridder_->cancel();
        readout_->setText("Gridding cancelled");
    }
}

int SurveyWindow::preparePrinting() {
    return session_.survey() != nullptr ? 1 : 0;
}

SurveyPage::Map SurveyWindow::pageMap() const {
    const bool gridded = map_->showsGrid();
    return {
        session_.survey(),
        QString::fromStdString(session_.path()).section('/', -1).section('.', 0, 0).toStdString(),
        &session_.painter(),
        gridded ? gridPainter() : nullptr,
        map_->layers(),
        map_->value(),
        standardScale_->isChecked()};
}

std::optional<bool> SurveyWindow::landscape() {
    if (session_.survey() == nullptr) {
        return std::nullopt;
    }
    return SurveyPage::landscape(pageMap());
}

void SurveyWindow::printPage(QPainter& painter, int width, int height, int /*page*/) {
    if (session_.survey() == nullptr) {
        return;
    }
    QPainterSurface surface(painter);
    SurveyPage::draw(surface, width, height, painter.device()->logicalDpiY(), pageMap());
}

void SurveyWindow::fillDays() {
    const Survey& survey = *session_.survey();
    days_->clear();
    auto* dayRoot = new QTreeWidgetItem(days_, {QString("Days (%1)").arg(survey.dayCount())});
    for (int d = 0; d < survey.dayCount(); ++d) {
        const Survey::Summary& s = survey.summary(d);
        QString readings = QString::number(s.readings);
        if (s.merged > 0 || s.leftOut > 0) {
            readings += QString(" (%1 merged, %2 left out)").arg(s.merged).arg(s.leftOut);
        }
        auto* item = new QTreeWidgetItem(
            dayRoot, {fileName(survey.day(d).path),
                      QString::fromStdString(SurveyDescription::dates(survey.day(d).data)),
                      readings, QString::fromStdString(SurveyDescription::cover(survey, s))});
        item->setToolTip(0, QString::fromStdString(survey.day(d).path));
    }
    const auto& bases = survey.settings().baseSources;
    auto* baseRoot = new QTreeWidgetItem(days_, {QString("Base sources (%1)").arg(bases.size())});
    for (const BaseSource& b : survey.bases()) {
        const QString dates = QString::fromStdString(
            b.firstDate() == b.lastDate() ? b.firstDate() : b.firstDate() + " - " + b.lastDate());
        auto* item = new QTreeWidgetItem(
            baseRoot, {fileName(b.path()), dates, QString("%1 samples").arg(b.samples()),
                       QString("offset %1 s").arg(b.offset())});
        item->setToolTip(0, QString::fromStdString(b.path()));
    }
    fillTracks(survey);
    days_->expandAll();
    for (int c = 0; c < days_->columnCount(); ++c) {
        days_->resizeColumnToContents(c);
    }
}

// Only a survey that has position tracks lists them.
void SurveyWindow::fillTracks(const Survey& survey) {
    if (survey.tracks().empty()) {
        return;
    }
    auto* root =
        new QTreeWidgetItem(days_, {QString("Position tracks (%1)").arg(survey.tracks().size())});
    for (const TrackSource& t : survey.tracks()) {
        auto* item = new QTreeWidgetItem(
            root, {fileName(t.path()), QString::fromStdString(SurveyDescription::dates(t)),
                   QString("%1 fixes").arg(t.fixCount()), QString("offset %1 s").arg(t.offset())});
        item->setToolTip(0, QString::fromStdString(t.path()));
    }
}

void SurveyWindow::showProgress(int done, int total) {
    progress_->setRange(0, total);
    progress_->setValue(done);
}

void SurveyWindow::hover(int reading) {
    const Survey* survey = session_.survey();
    if (survey == nullptr || reading < 0) {
        readout_->setText(QString());
        return;
    }
    QString text = QString::fromStdString(SurveyMapPainter::describe(*survey, reading));
    // A copy: the flags asked are a temporary that goes at the end of the line.
    const std::string word = SurveyFlags(*survey).word(survey->reading(reading));
    if (!word.empty()) {
        text += "   Flagged " + QString::fromStdString(word);
    }
    readout_->setText(text);
}

void SurveyWindow::click(int reading) {
    const Survey* survey = session_.survey();
    if (survey == nullptr || reading < 0) {
        return;
    }
    const Survey::Reading g = survey->reading(reading);
    emit openReading(QString::fromStdString(survey->day(g.day).path), g.line);
}

void SurveyWindow::editSettings() {
    const Survey* survey = session_.survey();
    if (survey == nullptr || session_.busy()) {
        return;
    }
    DlgSurveySettings dialog(survey->settings(), prompter_, this);
    // From the survey as it is open: tracks added in the dialog count once it is saved.
    dialog.setLagEstimate([this](const Placement::Track& track, std::string& message) {
        const Survey* now = session_.survey();
        if (now == nullptr) {
            message = "The survey is busy: try again.";
            return std::optional<Placement::Track>();
        }
        const std::optional<LagEstimate::Result> r = SurveyLagEstimate::of(*now, track, message);
        return r ? std::optional<Placement::Track>(SurveyLagEstimate::withLag(track, *r))
                 : std::nullopt;
    });
    if (dialog.exec() == QDialog::Accepted && dialog.result() != survey->settings()) {
        session_.change(dialog.result());
    }
}

void SurveyWindow::editLevelling() {
    const Survey* survey = session_.survey();
    if (survey == nullptr || session_.busy()) {
        return;
    }
    const SurveySettings before = survey->settings();
    // The survey is asked each time: the map's before and after change it in between.
    const auto estimate = [this](const SurveySettings::Levelling& l) {
        const Survey* now = session_.survey();
        return now == nullptr ? std::vector<std::string>{"The survey is busy: tick again."}
                              : LevellingDescription::lines(*now, l, now->levellingFor(l), false);
    };
    DlgLevelling dialog(
        before, estimate, [this](const SurveySettings::Levelling& l) { setLevelling(l); }, this);
    const bool ok = dialog.exec() == QDialog::Accepted;
    session_.wait();
    setLevelling(ok ? dialog.levelling() : before.levelling);
}

bool SurveyWindow::setLevelling(const SurveySettings::Levelling& levelling) {
    const Survey* survey = session_.survey();
    if (survey == nullptr || !session_.ready()) {
        return false;
    }
    if (levelling == survey->settings().levelling) {
        return true;
    }
    SurveySettings next = survey->settings();
    next.levelling = levelling;
    return session_.change(next);
}

QString SurveyWindow::summary() const {
    return summary_->toPlainText();
}

QString SurveyWindow::readout() const {
    return readout_->text();
}

}  // namespace velkor
