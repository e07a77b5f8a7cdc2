// The line profiles window.
#include "widgets/survey/LineProfilesWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <memory>
#include <utility>

#include "pictures/LineProfilePages.h"
#include "pictures/SurveyMapPainter.h"
#include "survey/FlagEdit.h"
#include "survey/SpikeFinder.h"
#include "survey/Survey.h"
#include "survey/SurveyFlags.h"
#include "text/LineTitle.h"
#include "widgets/shared/PrintController.h"
#include "widgets/shared/QPainterSurface.h"
#include "widgets/shared/TwoRowBar.h"
#include "widgets/shared/WindowFit.h"
#include "widgets/survey/LineProfileWidget.h"
#include "widgets/survey/SurveySession.h"

namespace velkor {
namespace {

constexpr int kDefaultStack = 4;

QString fileName(const std::string& path) {
    return QString::fromStdString(std::filesystem::path(path).filename().string());
}

QString flagText(int count) {
    return count == 1 ? QString("1 reading") : QString("%1 readings").arg(count);
}

// How many of the readings given have no flag yet.
int unflagged(const Survey& survey, const std::vector<int>& readings) {
    const SurveyFlags flags(survey);
    return static_cast<int>(std::count_if(readings.begin(), readings.end(), [&](int r) {
        return !flags.flagged(survey.readingWithoutLatLon(r));
    }));
}

}  // namespace

LineProfilesWindow::LineProfilesWindow(SurveySession& session, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent, Qt::Window), session_(session) {
    setObjectName("lineProfilesWindow");
    printing_ = new PrintController(this, prompter);
    view_ = new LineProfileWidget(this);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(makeBar());
    layout->addWidget(view_, 1);
    setCentralWidget(central);
    readout_ = new QLabel(this);
    statusBar()->addWidget(readout_, 1);

    connect(line_, &QComboBox::currentIndexChanged, this, [this] { choose(); });
    connect(value_, &QComboBox::currentIndexChanged, this, [this] { choose(); });
    connect(stacked_, &QCheckBox::toggled, this, [this] { choose(); });
    connect(stackCount_, &QSpinBox::valueChanged, this, [this] { choose(); });
    connect(offset_, &QDoubleSpinBox::valueChanged, this, [this] { choose(); });
    connect(previous_, &QPushButton::clicked, this, [this] { step(-1); });
    connect(next_, &QPushButton::clicked, this, [this] { step(1); });
    connect(takeAll_, &QPushButton::clicked, this, &LineProfilesWindow::takeAll);
    connect(unflag_, &QPushButton::clicked, this, &LineProfilesWindow::unflagLines);
    connect(review_, &QPushButton::clicked, this, &LineProfilesWindow::reviewNext);
    connect(print_, &QPushButton::clicked, this, [this] { printing_->printOrOfferPdf(*this); });
    connect(preview_, &QPushButton::clicked, this, [this] { printing_->preview(*this); });
    connect(view_, &LineProfileWidget::hovered, this, &LineProfilesWindow::hover);
    connect(view_, &LineProfileWidget::clicked, this, &LineProfilesWindow::click);
    connect(view_, &LineProfileWidget::boxDrawn, this, &LineProfilesWindow::box);
    connect(&session_, &SurveySession::changed, this, &LineProfilesWindow::refresh);
    refresh();
    WindowFit::fit(*this, {1000, 620});
}

QWidget* LineProfilesWindow::makeBar() {
    const auto [bar, top, bottom] = TwoRowBar::under(this);

    line_ = new QComboBox(bar);
    line_->setMinimumContentsLength(10);
    line_->setWhatsThis("The survey line shown: the first of those stacked.");
    previous_ = new QPushButton("&Previous", bar);
    previous_->setShortcut(QKeySequence(Qt::Key_PageUp));
    previous_->setToolTip("The line before (Page Up)");
    next_ = new QPushButton("&Next", bar);
    next_->setShortcut(QKeySequence(Qt::Key_PageDown));
    next_->setToolTip("The line after (Page Down)");
    value_ = new QComboBox(bar);
    for (int v = 0; v < SurveyMapPainter::kValues; ++v) {
        value_->addItem(SurveyMapPainter::valueName(static_cast<SurveyMapPainter::Value>(v)));
    }
    value_->setWhatsThis("The value drawn against position.");
    stacked_ = new QCheckBox("&Stacked:", bar);
    stacked_->setWhatsThis(
        "Several lines in one picture, each the offset higher than the one before.");
    stackCount_ = new QSpinBox(bar);
    stackCount_->setRange(2, 50);
    stackCount_->setValue(kDefaultStack);
    stackCount_->setSuffix(" lines");
    offset_ = new QDoubleSpinBox(bar);
    offset_->setRange(0.0, 100000.0);
    offset_->setDecimals(1);
    offset_->setValue(LineProfilePainter::kDefaultOffset);
    offset_->setSuffix(" nT apart");
    top->addWidget(new QLabel("Line:", bar));
    top->addWidget(line_);
    top->addWidget(previous_);
    top->addWidget(next_);
    top->addSpacing(16);
    top->addWidget(new QLabel("Value:", bar));
    top->addWidget(value_);
    top->addSpacing(16);
    top->addWidget(stacked_);
    top->addWidget(stackCount_);
    top->addWidget(offset_);
    top->addStretch();

    takeAll_ = new QPushButton("Flag All &Candidates", bar);
    takeAll_->setWhatsThis(
        "Flags every spike candidate not yet flagged with the word spike. A candidate can "
        "also be taken alone by clicking it.");
    review_ = new QPushButton("Next Can&didate", bar);
    review_->setWhatsThis(
        "Shows the next spike candidate, line by line, in a double diamond: click it to take "
        "it as a spike, or go on to the next.");
    unflag_ = new QPushButton("&Unflag Shown Lines", bar);
    unflag_->setWhatsThis("Clears every flag on the readings of the lines shown.");
    perPage_ = new QSpinBox(bar);
    perPage_->setRange(1, 20);
    perPage_->setValue(LineProfilePages::kLinesPerPage);
    perPage_->setWhatsThis("How many lines each printed page holds.");
    print_ = new QPushButton("P&rint...", bar);
    preview_ = new QPushButton("Print Pre&view", bar);
    bottom->addWidget(
        new QLabel("Click a reading to flag or unflag it; drag a box to flag the "
                   "readings above and below it.",
                   bar));
    bottom->addStretch();
    bottom->addWidget(review_);
    bottom->addWidget(takeAll_);
    bottom->addWidget(unflag_);
    bottom->addSpacing(16);
    bottom->addWidget(new QLabel("Lines per page:", bar));
    bottom->addWidget(perPage_);
    bottom->addWidget(print_);
    bottom->addWidget(preview_);
    return bar;
}

void LineProfilesWindow::refresh() {
    setWindowTitle(session_.path().empty() ? QString("Line Profiles")
                                           : "Line Profiles - " + fileName(session_.path()));
    const Survey* survey = session_.survey();
    if (session_.busy()) {
        updateButtons();  // the old profiles stay drawn until the new ones are in
        return;
    }
    // Sorting every reading again is left until the profiles can be seen.
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    stale_ = false;
    const LineProfilePainter old = view_->painter();
    auto set = std::make_shared<LineProfileSet>(survey != nullptr ? LineProfileSet::build(*survey)
                                                                  : LineProfileSet());
    // The spike finder's candidates, found again with the readings: flagged ones drop out.
    if (!candidatesGiven_) {
        candidates_.clear();
    }
    if (survey != nullptr && !candidatesGiven_) {
        for (const SpikeFinder::Candidate& c :
             SpikeFinder::find(SpikeFinder::readingsOf(*survey), SpikeFinder::Options())) {
            candidates_.push_back(c.index);
        }
    }
    LineProfilePainter& painter = view_->painter();
    painter = LineProfilePainter(std::move(set));
    painter.setCandidates(candidates_);
    painter.setCurrent(old.current());
    // The same line again after a change, found by its number.
    const int shown = old.lines().empty() ? 0 : old.lines().front();
    int keep = 0;
    if (shown < old.set().lineCount()) {
        const double number = old.set().line(shown).number;
        for (int k = 0; k < painter.set().lineCount(); ++k) {
            if (painter.set().line(k).number <= number) {
                keep = k;
            }
        }
    }
    fillLines();
    line_->setCurrentIndex(std::min(keep, line_->count() - 1));
    choose();
}

void LineProfilesWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (stale_) {
        refresh();
    }
}

void LineProfilesWindow::fillLines() {
    const QSignalBlocker quiet(line_);
    line_->clear();
    const LineProfileSet& set = view_->painter().set();
    for (int k = 0; k < set.lineCount(); ++k) {
        line_->addItem(
            QString::fromStdString(LineTitle::of(set.line(k).number, LineTitle::Form::SixDigits)) +
            QString(" (%1)").arg(set.line(k).points.size()));
    }
}

void LineProfilesWindow::choose() {
    LineProfilePainter& painter = view_->painter();
    const int first = std::max(0, line_->currentIndex());
    const int count = stacked_->isChecked() ? stackCount_->value() : 1;
    std::vector<int> lines;
    for (int k = first; k < std::min(first + count, painter.set().lineCount()); ++k) {
        lines.push_back(k);
    }
    painter.setLines(std::move(lines));
    painter.setValue(static_cast<LineProfilePainter::Value>(std::max(0, value_->currentIndex())));
    painter.setOffset(offset_->value());
    stackCount_->setEnabled(stacked_->isChecked());
    offset_->setEnabled(stacked_->isChecked());
    view_->update();
    updateButtons();
}

void LineProfilesWindow::step(int direction) {
    const int by = stacked_->isChecked() ? stackCount_->value() : 1;
    const int k = std::clamp(line_->currentIndex() + direction * by, 0, line_->count() - 1);
    line_->setCurrentIndex(k);
}

void LineProfilesWindow::showLine(int k) {
    if (k >= 0 && k < line_->count()) {
        line_->setCurrentIndex(k);
    }
}

int LineProfilesWindow::shownLine() const {
    return line_->currentIndex();
}

void LineProfilesWindow::setCandidates(std::vector<int> readings) {
    candidates_ = std::move(readings);
    candidatesGiven_ = true;
    view_->painter().setCandidates(candidates_);
    view_->update();
    updateButtons();
}

void LineProfilesWindow::updateButtons() {
    const int k = line_->currentIndex();
    const int shown = static_cast<int>(view_->painter().lines().size());
    previous_->setEnabled(k > 0);
    next_->setEnabled(k >= 0 && k + shown < line_->count());
    takeAll_->setEnabled(session_.ready() && !candidates_.empty());
    review_->setEnabled(!candidates_.empty());
    unflag_->setEnabled(session_.ready() && shown > 0);
    const bool any = line_->count() > 0;
    print_->setEnabled(any);
    preview_->setEnabled(any);
    view_->setEnabled(session_.ready());
}

QString LineProfilesWindow::readout() const {
    return readout_->text();
}

void LineProfilesWindow::hover(int reading) {
    const Survey* survey = session_.survey();
    if (survey == nullptr || reading < 0 || reading >= survey->readingCount()) {
        readout_->clear();
        return;
    }
    QString text = QString::fromStdString(SurveyMapPainter::describe(*survey, reading));
    const LineProfileSet::Point* p = view_->painter().set().point(reading);
    if (p != nullptr && p->flagged()) {
        text += "   Flagged " + QString::fromStdString(p->word);
    }
    if (view_->painter().candidate(reading)) {
        text += "   Spike candidate";
    }
    readout_->setText(text);
}

void LineProfilesWindow::click(int reading) {
    const Survey* survey = session_.survey();
    if (!session_.ready() || reading < 0 || reading >= survey->readingCount()) {
        return;
    }
    const Survey::Reading g = survey->reading(reading);
    const QString where =
        QString("reading %1 of %2").arg(g.line).arg(fileName(survey->day(g.day).path));
    if (SurveyFlags(*survey).flagged(g)) {
        readout_->setText(where + ": flag cleared");
        session_.change(FlagEdit::cleared(*survey, {reading}));
        return;
    }
    // A candidate clicked is a spike taken; any other reading is flagged by hand.
    const char* word = view_->painter().candidate(reading) ? FlagEdit::kSpike : FlagEdit::kManual;
    readout_->setText(QString("%1: flagged %2").arg(where, word));
    session_.change(FlagEdit::flagged(*survey, {reading}, word));
}

void LineProfilesWindow::box(LineProfilePainter::Box drawn) {
    const Survey* survey = session_.survey();
    if (!session_.ready()) {
        return;
    }
    const std::vector<int> outside =
        view_->painter().outside(view_->area(), LineProfilePainter::kScreenEm, drawn);
    const int added = unflagged(*survey, outside);
    if (added == 0) {
        readout_->setText(outside.empty()
                              ? "Nothing to flag: no line the box touches has a reading above or "
                                "below it"
                              : "Every reading above and below the box is flagged already");
        return;
    }
    readout_->setText(QString("%1 above and below the box flagged manual").arg(flagText(added)));
    session_.change(FlagEdit::flagged(*survey, outside, FlagEdit::kManual));
}

void LineProfilesWindow::takeAll() {
    const Survey* survey = session_.survey();
    if (!session_.ready()) {
        return;
    }
    std::vector<int> readings;
    std::copy_if(candidates_.begin(), candidates_.end(), std::back_inserter(readings),
                 [survey](int r) { return r >= 0 && r < survey->readingCount(); });
    const int added = unflagged(*survey, readings);
    if (added == 0) {
        readout_->setText("Every candidate is flagged already");
        return;
    }
    readout_->setText(QString("%1 flagged spike").arg(flagText(added)));
    session_.change(FlagEdit::flagged(*survey, readings, FlagEdit::kSpike));
}

void LineProfilesWindow::reviewNext() {
    LineProfilePainter& painter = view_->painter();
    const LineProfileSet& set = painter.set();
    // The candidates line by line, each line's in position order.
    std::vector<std::pair<int, int>> order;  // line, reading
    for (int k = 0; k < set.lineCount(); ++k) {
        for (const LineProfileSet::Point& p : set.line(k).points) {
            if (painter.candidate(p.reading)) {
                order.emplace_back(k, p.reading);
            }
        }
    }
    if (order.empty()) {
        readout_->setText("No spike candidate lies on a survey line");
        return;
    }
    const std::vector<int>& shown = painter.lines();
    const auto isShown = [&shown](int k) {
        return std::find(shown.begin(), shown.end(), k) != shown.end();
    };
    const auto at = std::find_if(order.begin(), order.end(), [&painter](const auto& o) {
        return o.second == painter.current();
    });
    // From the reading reviewed last while its line shows; else from the shown line on.
    std::size_t next = 0;
    if (at != order.end() && isShown(at->first)) {
        next = (static_cast<std::size_t>(at - order.begin()) + 1) % order.size();
    } else if (!shown.empty()) {
        const auto from = std::find_if(order.begin(), order.end(), [&shown](const auto& o) {
            return o.first >= shown.front();
        });
        next = from == order.end() ? 0 : static_cast<std::size_t>(from - order.begin());
    }
    const auto [line, reading] = order[next];
    painter.setCurrent(reading);
    if (!isShown(line)) {
        line_->setCurrentIndex(line);
    }
    view_->update();
    hover(reading);
    readout_->setText(QString("Candidate %1 of %2: ").arg(next + 1).arg(order.size()) +
                      readout_->text());
}

void LineProfilesWindow::unflagLines() {
    const Survey* survey = session_.survey();
    if (!session_.ready()) {
        return;
    }
    const LineProfilePainter& painter = view_->painter();
    std::vector<int> flagged;
    for (const int k : painter.lines()) {
        for (const LineProfileSet::Point& p : painter.set().line(k).points) {
            if (p.flagged()) {
                flagged.push_back(p.reading);
            }
        }
    }
    if (flagged.empty()) {
        readout_->setText("No reading of the shown lines is flagged");
        return;
    }
    readout_->setText(QString("%1 unflagged").arg(flagText(static_cast<int>(flagged.size()))));
    session_.change(FlagEdit::cleared(*survey, flagged));
}

QString LineProfilesWindow::title() const {
    return session_.path().empty() ? QString("Survey") : "Survey " + fileName(session_.path());
}

int LineProfilesWindow::preparePrinting() {
    return LineProfilePages::pageCount(view_->painter().set().lineCount(), perPage_->value());
}

void LineProfilesWindow::printPage(QPainter& painter, int width, int height, int page) {
    QPainterSurface surface(painter);
    LineProfilePages::drawPage(surface, view_->painter(), stacked_->isChecked(),
                               title().toStdString(), perPage_->value(), width, height, page);
}

}  // namespace velkor
