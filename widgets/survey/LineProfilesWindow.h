// The survey's line profiles in a window of their own: a line (or several stacked) and a
// value chosen, readings flagged and unflagged by a click or a range box, spike candidates
// shown and taken, and the profiles printed. Every flag goes through the session like any
// other settings change.
#pragma once

#include <QMainWindow>
#include <QString>
#include <vector>

#include "pictures/LineProfilePainter.h"
#include "widgets/shared/Printable.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace velkor {

class LineProfileWidget;
class PrintController;
class Prompter;
class SurveySession;

class LineProfilesWindow : public QMainWindow, public Printable {
    Q_OBJECT

  public:
    LineProfilesWindow(SurveySession& session, Prompter& prompter, QWidget* parent = nullptr);

    // Candidates to review, as survey reading indexes, in place of the spike finder's
    // (which are found again with every change until then).
    void setCandidates(std::vector<int> readings);
    const std::vector<int>& candidates() const { return candidates_; }
    // Shows line k of the survey's lines (the first of those stacked).
    void showLine(int k);
    int shownLine() const;

    LineProfileWidget* view() const { return view_; }
    QComboBox* lineChooser() const { return line_; }
    QComboBox* valueChooser() const { return value_; }
    QCheckBox* stackedBox() const { return stacked_; }
    QSpinBox* stackCount() const { return stackCount_; }
    QDoubleSpinBox* offsetBox() const { return offset_; }
    QSpinBox* linesPerPage() const { return perPage_; }
    QPushButton* takeCandidates() const { return takeAll_; }
    QPushButton* unflagShown() const { return unflag_; }
    QPushButton* nextCandidate() const { return review_; }
    PrintController& printing() { return *printing_; }
    QString readout() const;

    int preparePrinting() override;
    void printPage(QPainter& painter, int width, int height, int page) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* makeBar();
    void refresh();
    void fillLines();
    void choose();
    void step(int direction);
    void hover(int reading);
    void click(int reading);
    void box(LineProfilePainter::Box box);
    void takeAll();
    void reviewNext();
    void unflagLines();
    void updateButtons();
    QString title() const;

    SurveySession& session_;
    PrintController* printing_ = nullptr;
    LineProfileWidget* view_ = nullptr;
    QComboBox* line_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QComboBox* value_ = nullptr;
    QCheckBox* stacked_ = nullptr;
    QSpinBox* stackCount_ = nullptr;
    QDoubleSpinBox* offset_ = nullptr;
    QSpinBox* perPage_ = nullptr;
    QPushButton* takeAll_ = nullptr;
    QPushButton* unflag_ = nullptr;
    QPushButton* review_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* preview_ = nullptr;
    QLabel* readout_ = nullptr;
    std::vector<int> candidates_;
    bool candidatesGiven_ = false;
    bool stale_ = false;  // the survey changed while the window was hidden
};

}  // namespace velkor
