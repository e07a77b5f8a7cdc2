// The main window: menus, toolbar, status bar, the shown view, and command routing.
#pragma once

#include <QMainWindow>
#include <QSize>
#include <map>
#include <vector>

#include "core/CommandTarget.h"

class QAction;
class QLabel;
class QStackedWidget;
class QToolBar;

namespace velkor {

class CGraphView;
class CMapView;
class CVelkor1trDoc;
class CVelkor1trView;
class HelpWindow;
class LineProfilesWindow;
class LockIndicators;
class PrintController;
class SurveySession;
class SurveyWindow;

class CMainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT

  public:
    // The window's size until the user changes it.
    static constexpr QSize kFirstSize{980, 640};

    // app is offered the commands that nobody before it carried out.
    CMainFrame(CVelkor1trDoc& doc, CommandTarget& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    bool onCommand(int id) override;

    // Offers a command to the shown view, the document, this window and the application.
    // A command whose enable rule is false is not run.
    void dispatch(int id);
    bool isCommandEnabled(int id) const;
    // Re-evaluates every enable rule and check mark.
    void updateCommandStates();

    QAction* action(int id) const;
    QToolBar* toolBar() const { return toolBar_; }
    CVelkor1trView* listView() const { return listView_; }
    // Null until the graph is first shown.
    CGraphView* graphView() const { return graphView_; }
    // Null until the map is first shown.
    CMapView* mapView() const { return mapView_; }
    PrintController& printing() { return *printing_; }
    QWidget* shownView() const;
    int shownViewIndex() const { return shownIndex_; }
    HelpWindow* helpWindow() const { return help_; }
    SurveySession& survey() { return *survey_; }
    // Null until a survey command first shows it.
    SurveyWindow* surveyWindow() const { return surveyWindow_; }
    // Null until Line Profiles first shows it.
    LineProfilesWindow* lineProfiles() const { return lineProfiles_; }
    LockIndicators* lockIndicators() const { return locks_; }
    // Shows view 0 (the data list), 1 (the graph) or 2 (the map), each made on first use.
    void switchToView(int index);
    // Writes the window's size and place to the settings store, for the next start.
    void storePlacement() const;

  signals:
    // Files dropped on the window, for the application to open.
    void filesDropped(const QStringList& paths);

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void updateCaption();
    CommandTarget* shownTarget() const;
    void showHelp(const QString& page);
    void showStickyStatus(const QString& text);
    QWidget* viewAt(int index) const;
    void createMapView();
    void showSurveyWindow();
    void showLineProfiles();
    // A click on the survey map: that day in the list, at that data line.
    void openSurveyReading(const QString& path, int line);
    // Where the window stood when last closed, unless that lies off every screen.
    void restorePlacement();
    // The list rows of the readings the map marks.
    std::vector<int> markedRows() const;

    CVelkor1trDoc& doc_;
    CommandTarget& app_;
    std::map<int, QAction*> actions_;
    QToolBar* toolBar_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    PrintController* printing_ = nullptr;
    CVelkor1trView* listView_ = nullptr;
    CGraphView* graphView_ = nullptr;
    CMapView* mapView_ = nullptr;
    // The list row a click on the map chose, selected again when the list is shown.
    int mapPickedRow_ = -1;
    int shownIndex_ = 0;
    HelpWindow* help_ = nullptr;            // a child of this window
    SurveySession* survey_ = nullptr;       // a child of this window
    SurveyWindow* surveyWindow_ = nullptr;  // a child of this window, shown on its own
    // A child of this window, shown on its own.
    LineProfilesWindow* lineProfiles_ = nullptr;
    LockIndicators* locks_ = nullptr;
    // What the last command had to say; it outlives the prompts of the menus it passes.
    QString stickyStatus_;
};

}  // namespace velkor
