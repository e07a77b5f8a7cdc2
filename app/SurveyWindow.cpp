// The survey window.
#include "app/SurveyWindow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/DlgSurveySettings.h"
#include "app/SurveyMapWidget.h"
#include "app/SurveySession.h"
#include "survey/Survey.h"

namespace velkor {
namespace {

QString fileName(const std::string& path) {
    const QString p = QString::fromStdString(path);
    return p.section('/', -1);
}

// The Date texts of the first and last readings that have one.
QString datesOf(const DataSet& data) {
    QString first;
    QString last;
    for (int k = 1; k < data.lineCount(); ++k) {
        const QString date = QString::fromUtf8(data.field(k, Column::Date)).trimmed();
        if (!date.isEmpty()) {
            (first.isEmpty() ? first : last) = date;
        }
    }
    return last.isEmpty() || last == first ? first : first + " - " + last;
}

QString coverOf(const Survey& survey, const Survey::Summary& s) {
    if (survey.settings().baseSources.empty()) {
        return "no base source";
    }
    const int wanted = s.readings - s.skippedAuto;
    return wanted <= 0 ? QString("-")
                       : QString("%1 %").arg(100.0 * s.corrected / wanted, 0, 'f', 1);
}

QString placementText(const Placement& p) {
    const Placement::Parameters& q = p.parameters();
    const QString side = q.side == Placement::Side::Left ? "left" : "right";
    switch (p.by()) {
        case Placement::By::Nothing:
            return "Placement: none (E = position, N = line)";
        case Placement::By::Parameters:
            return QString(
                       "Placement by parameters: origin %1, %2, azimuth %3, line spacing %4 m, "
                       "station interval %5 m, first line %6, first position %7, lines to the %8")
                .arg(q.originEasting, 0, 'f', 3)
                .arg(q.originNorthing, 0, 'f', 3)
                .arg(q.azimuth)
                .arg(q.lineSpacing)
                .arg(q.stationInterval)
                .arg(q.firstLine)
                .arg(q.firstPosition)
                .arg(side);
        case Placement::By::ControlPoints: {
            QString text = QString(
                               "Placement by %1 control points: azimuth %2, scale %3, lines "
                               "to the %4; residuals")
                               .arg(p.controlPoints().size())
                               .arg(q.azimuth, 0, 'f', 4)
                               .arg(p.scale(), 0, 'f', 6)
                               .arg(side);
            for (const Placement::Residual& r : p.residuals()) {
                text += QString(" %1 m").arg(r.distance(), 0, 'f', 3);
            }
            return text;
        }
    }
    return {};
}

QString correctionsText(const Survey& survey) {
    const SurveySettings& s = survey.settings();
    QString text = s.epsg ? QString("Coordinate system EPSG:%1").arg(*s.epsg)
                          : QString("No coordinate system: local metres");
    text += QString("\nDatum %1 nT").arg(s.datum, 0, 'f', 2);
    switch (s.normal.kind) {
        case SurveySettings::NormalField::Kind::None:
            text += ", no normal field";
            break;
        case SurveySettings::NormalField::Kind::Constant:
            text += QString(", normal field %1 nT").arg(s.normal.value, 0, 'f', 2);
            break;
        case SurveySettings::NormalField::Kind::Igrf:
            text += QString(", normal field IGRF-14 at %1 m").arg(s.normal.height);
            break;
    }
    if (!survey.normalProblem().empty()) {
        text += "\n" + QString::fromStdString(survey.normalProblem());
    }
    const Survey::Summary t = survey.total();
    text += QString("\n%1 readings, %2 merged, %3 left out")
                .arg(t.readings)
                .arg(t.merged)
                .arg(t.leftOut);
    return text;
}

}  // namespace

SurveyWindow::SurveyWindow(SurveySession& session, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent, Qt::Window), session_(session), prompter_(prompter) {
    setObjectName("surveyWindow");
    resize(1000, 640);

    days_ = new QTreeWidget(this);
    days_->setColumnCount(4);
    days_->setHeaderLabels({"File", "Dates", "Readings", "Base cover"});
    days_->setRootIsDecorated(true);
    days_->setWhatsThis(
        "The survey's days and base sources: each day's dates, its readings and how many "
        "of them the base sources cover; each source's time offset.");
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
    rightLayout->addWidget(map_, 1);

    auto* split = new QSplitter(this);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(1, 2);
    split->setSizes({440, 560});
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
    connect(cancel_, &QPushButton::clicked, &session_, &SurveySession::cancel);
    connect(&session_, &SurveySession::changed, this, &SurveyWindow::refresh);
    connect(&session_, &SurveySession::progress, this, &SurveyWindow::showProgress);
    connect(&session_, &SurveySession::status, this,
            [this](const QString& text) { readout_->setText(text); });
    refresh();
}

void SurveyWindow::refresh() {
    const bool busy = session_.busy();
    progress_->setVisible(busy);
    cancel_->setVisible(busy);
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
        }
        return;
    }
    fillDays();
    summary_->setPlainText(placementText(survey->settings().placement) + "\n" +
                           correctionsText(*survey));
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
        auto* item =
            new QTreeWidgetItem(dayRoot, {fileName(survey.day(d).path), datesOf(survey.day(d).data),
                                          readings, coverOf(survey, s)});
        item->setToolTip(0, QString::fromStdString(survey.day(d).path));
    }
    const auto& bases = survey.settings().baseSources;
    auto* baseRoot = new QTreeWidgetItem(days_, {QString("Base sources (%1)").arg(bases.size())});
    for (const SurveySettings::BaseSource& b : bases) {
        auto* item =
            new QTreeWidgetItem(baseRoot, {fileName(b.path), QString("offset %1 s").arg(b.offset)});
        item->setToolTip(0, QString::fromStdString(b.path));
    }
    days_->expandAll();
    for (int c = 0; c < days_->columnCount(); ++c) {
        days_->resizeColumnToContents(c);
    }
}

void SurveyWindow::showProgress(int done, int total) {
    progress_->setRange(0, total);
    progress_->setValue(done);
}

void SurveyWindow::hover(int reading) {
    const Survey* survey = session_.survey();
    readout_->setText(survey != nullptr && reading >= 0
                          ? QString::fromStdString(SurveyMapPainter::describe(*survey, reading))
                          : QString());
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
    if (dialog.exec() == QDialog::Accepted && dialog.result() != survey->settings()) {
        session_.change(dialog.result());
    }
}

QString SurveyWindow::summary() const {
    return summary_->toPlainText();
}

QString SurveyWindow::readout() const {
    return readout_->text();
}

}  // namespace velkor
