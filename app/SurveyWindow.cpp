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
#include "survey/SurveyDescription.h"

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
    summary_->setPlainText(joined(SurveyDescription::placement(survey->settings().placement)) +
                           "\n" + joined(SurveyDescription::corrections(*survey)));
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
