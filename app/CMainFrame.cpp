// Main window and command routing.
#include "app/CMainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QUrl>
#include <QWhatsThis>
#include <optional>
#include <vector>

#include "app/CVelkor1trDoc.h"
#include "app/HelpWindow.h"
#include "app/LockIndicators.h"
#include "app/SettingsStore.h"
#include "app/ToolbarIcons.h"
#include "app/WindowPlacement.h"
#include "core/CommandTable.h"
#include "core/Prompter.h"
#include "widgets/day/CGraphView.h"
#include "widgets/day/CMapView.h"
#include "widgets/day/CVelkor1trView.h"
#include "widgets/shared/PrintController.h"
#include "widgets/survey/LineProfilesWindow.h"
#include "widgets/survey/SurveySession.h"
#include "widgets/survey/SurveyWindow.h"

namespace velkor {
namespace {

QString statusText(const Command& c) {
    return QString(c.prompt).section('\n', 0, 0);
}
QString toolTipText(const Command& c) {
    return QString(c.prompt).section('\n', 1);
}

}  // namespace

CMainFrame::CMainFrame(CVelkor1trDoc& doc, CommandTarget& app, QWidget* parent)
    : QMainWindow(parent), doc_(doc), app_(app) {
    setWindowIcon(ToolbarIcons::appIcon());
    survey_ = new SurveySession([this] { return doc_.savedPath(); }, doc_.prompter(), this);
    connect(survey_, &SurveySession::changed, this, &CMainFrame::updateCommandStates);
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();

    printing_ = new PrintController(this, doc_.prompter());
    stack_ = new QStackedWidget(this);
    listView_ = new CVelkor1trView(doc_, *printing_, stack_);
    stack_->addWidget(listView_);
    setCentralWidget(stack_);
    listView_->setFocus();

    // Only the shown view follows the document.
    connect(&doc_, &CVelkor1trDoc::changed, this, [this] {
        if (shownIndex_ == 0) {
            listView_->rebuild();
        } else if (shownIndex_ == 1) {
            graphView_->viewport()->update();
        } else {
            mapView_->rebuild();
        }
        updateCommandStates();
    });
    // Also while the list is hidden: it shows the new data set from the top when it comes back.
    connect(&doc_, &CVelkor1trDoc::dataSetReplaced, this, [this] {
        mapPickedRow_ = -1;
        listView_->startAtFirstRow();
    });
    connect(&doc_, &CVelkor1trDoc::titleChanged, this, &CMainFrame::updateCaption);
    connect(listView_, &CVelkor1trView::readingsDeleted, this, &CMainFrame::updateCommandStates);
    connect(&doc_, &CVelkor1trDoc::statusMessage, this, &CMainFrame::showStickyStatus);

    setAcceptDrops(true);
    setWhatsThis("The Velkor2tr main window. The menus and the toolbar hold every command.");
    restorePlacement();
    updateCaption();
    updateCommandStates();
}

CMainFrame::~CMainFrame() {
    // Still on screen: the program ends without a close (a signal to end), keep the place.
    if (isVisible()) {
        storePlacement();
    }
}

void CMainFrame::restorePlacement() {
    resize(kFirstSize);
    const std::optional<WindowPlacement> saved = SettingsStore::readWindowPlacement();
    if (!saved) {
        return;
    }
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.append(screen->availableGeometry());
    }
    // A screen that is gone would hide the window: the first size it is, placed anew.
    if (!saved->fitsOn(screens)) {
        return;
    }
    setGeometry(saved->normal());
    if (saved->maximized()) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

void CMainFrame::storePlacement() const {
    const WindowPlacement placement(normalGeometry(), isMaximized());
    // A window never shown has no area worth keeping.
    if (placement.normal().isValid()) {
        SettingsStore::writeWindowPlacement(placement);
    }
}

void CMainFrame::createActions() {
    for (const Command& c : CommandTable::commands()) {
        QString text =
            c.menuText[0] != '\0' ? QString(c.menuText).section('\t', 0, 0) : toolTipText(c);
        auto* a = new QAction(text, this);
        if (c.key[0] != '\0') {
            a->setShortcut(QKeySequence(c.key, QKeySequence::PortableText));
            a->setShortcutContext(Qt::WindowShortcut);
        }
        a->setStatusTip(statusText(c));
        a->setToolTip(toolTipText(c));
        a->setWhatsThis(c.prompt[0] != '\0'
                            ? statusText(c) + "."
                            : QString("Deletes the selected readings of the data list."));
        a->setCheckable(c.checkable);
        if (c.icon[0] != '\0') {
            a->setIcon(ToolbarIcons::icon(c.icon));
        }
        a->setIconVisibleInMenu(false);
        const int id = c.id;
        connect(a, &QAction::triggered, this, [this, id] { dispatch(id); });
        addAction(a);  // keys work even without a menu item
        actions_[c.id] = a;
    }
}

void CMainFrame::createMenus() {
    std::vector<QMenu*> open;
    for (const MenuEntry& e : CommandTable::menus()) {
        switch (e.kind) {
            case MenuEntry::Menu: {
                QMenu* menu =
                    open.empty() ? menuBar()->addMenu(e.text) : open.back()->addMenu(e.text);
                connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
                open.push_back(menu);
                break;
            }
            case MenuEntry::EndMenu:
                open.pop_back();
                break;
            case MenuEntry::Separator:
                open.back()->addSeparator();
                break;
            case MenuEntry::Item:
                open.back()->addAction(actions_.at(e.id));
                break;
        }
    }
}

void CMainFrame::createToolBar() {
    toolBar_ = new QToolBar("Toolbar", this);
    toolBar_->setObjectName("toolbar");
    toolBar_->setIconSize(QSize(16, 15));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setFloatable(true);
    toolBar_->setMovable(true);
    toolBar_->setWhatsThis(
        "The toolbar: one button per command. Drag its handle to dock it on another side "
        "of the window or to let it float; View > Toolbar hides it.");
    for (int id : CommandTable::toolbar()) {
        if (id == 0) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(actions_.at(id));
        }
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
    connect(toolBar_, &QToolBar::visibilityChanged, this, &CMainFrame::updateCommandStates);
}

void CMainFrame::createStatusBar() {
    auto* ready = new QLabel("For Help, press F1", this);
    ready->setObjectName("ready");
    statusBar()->addWidget(ready, 1);
    statusBar()->setWhatsThis(
        "The status bar: what the command under the pointer does, and CAP, NUM and SCRL "
        "while Caps Lock, Num Lock or Scroll Lock is on. View > Status Bar hides it.");
    locks_ = new LockIndicators(*statusBar());
}

QAction* CMainFrame::action(int id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QWidget* CMainFrame::shownView() const {
    return stack_->currentWidget();
}

CommandTarget* CMainFrame::shownTarget() const {
    // Every view is a command target as well.
    return dynamic_cast<CommandTarget*>(viewAt(shownIndex_));
}

QWidget* CMainFrame::viewAt(int index) const {
    switch (index) {
        case 0:
            return listView_;
        case 1:
            return graphView_;
        default:
            return mapView_;
    }
}

bool CMainFrame::isCommandEnabled(int id) const {
    const Command* c = CommandTable::find(id);
    if (c == nullptr) {
        return false;
    }
    CommandState state = doc_.commandState();
    state.graphShown = shownIndex_ == 1;
    state.surveyOpen = survey_->ready();
    if (graphView_ != nullptr) {
        state.zoomInAllowed = graphView_->zoomInAllowed();
        state.zoomOutAllowed = graphView_->zoomOutAllowed();
    }
    return CommandTable::enabled(c->rule, state);
}

void CMainFrame::updateCommandStates() {
    for (auto& [id, a] : actions_) {
        a->setEnabled(isCommandEnabled(id));
    }
    actions_.at(cmd::ViewToolbar)->setChecked(!toolBar_->isHidden());
    actions_.at(cmd::ViewStatusBar)->setChecked(!statusBar()->isHidden());
    actions_.at(cmd::CorrectedValues)->setChecked(doc_.showCorrected());
}

void CMainFrame::dispatch(int id) {
    if (!isCommandEnabled(id)) {
        return;
    }
    stickyStatus_.clear();
    statusBar()->clearMessage();
    CommandTarget* view = shownTarget();
    if (!(view != nullptr && view->onCommand(id)) && !doc_.onCommand(id) && !onCommand(id)) {
        app_.onCommand(id);
    }
    updateCommandStates();
}

bool CMainFrame::onCommand(int id) {
    switch (id) {
        case cmd::Exit:
            close();
            return true;
        case cmd::DataList:
        case cmd::Graph:
        case cmd::Map:
            switchToView(id == cmd::DataList ? 0 : id == cmd::Graph ? 1 : 2);
            updateCaption();
            return true;
        case cmd::PrintSetup:
            printing_->setup();
            return true;
        case cmd::ViewToolbar:
            toolBar_->setVisible(toolBar_->isHidden());
            return true;
        case cmd::ViewStatusBar:
            statusBar()->setVisible(statusBar()->isHidden());
            return true;
        case cmd::HelpTopics:
            showHelp("index.html");
            return true;
        case cmd::Help:
            showHelp(shownIndex_ == 0   ? "datalist.html"
                     : shownIndex_ == 1 ? "graph.html"
                                        : "map.html");
            return true;
        case cmd::ContextHelp:
            QWhatsThis::enterWhatsThisMode();
            return true;
        case cmd::NewSurvey:
        case cmd::OpenSurvey:
        case cmd::AddToSurvey:
        case cmd::ExportSurvey:
            showSurveyWindow();
            survey_->onCommand(id);
            // A file dialog hands the focus back to the main window: the survey comes first.
            surveyWindow_->raise();
            surveyWindow_->activateWindow();
            return true;
        case cmd::SurveySettings:
            showSurveyWindow();
            surveyWindow_->editSettings();
            return true;
        case cmd::LineProfiles:
            showLineProfiles();
            return true;
        case cmd::Levelling:
            showSurveyWindow();
            surveyWindow_->editLevelling();
            return true;
        default:
            break;
    }
    return false;
}

void CMainFrame::switchToView(int index) {
    if (index == shownIndex_) {
        return;
    }
    bool created = false;
    if (index == 1 && graphView_ == nullptr) {
        graphView_ = new CGraphView(doc_, *printing_, stack_);
        stack_->addWidget(graphView_);
        connect(graphView_, &CGraphView::zoomFlagsChanged, this, &CMainFrame::updateCommandStates);
        created = true;
    }
    if (index == 2 && mapView_ == nullptr) {
        createMapView();
    }
    shownIndex_ = index;
    QWidget* shown = viewAt(index);
    stack_->setCurrentWidget(shown);
    shown->setFocus();
    if (created) {
        graphView_->initialUpdate();
    }
    doc_.updateAllViews();
    if (index == 2) {
        // The map marks what the list has selected.
        std::vector<int> lines = listView_->selectedRowList();
        for (int& row : lines) {
            ++row;
        }
        mapView_->setMarked(std::move(lines));
    }
    if (index == 0 && mapPickedRow_ >= 0 && mapPickedRow_ < doc_.data().readingCount()) {
        listView_->selectRows(markedRows());
        listView_->scrollTo(listView_->model()->index(mapPickedRow_, 0),
                            QAbstractItemView::PositionAtCenter);
    }
    mapPickedRow_ = -1;
}

void CMainFrame::createMapView() {
    mapView_ = new CMapView(doc_, *printing_, stack_);
    stack_->addWidget(mapView_);
    connect(mapView_, &CMapView::hovered, this, [this](const QString& text) {
        if (text.isEmpty()) {
            statusBar()->clearMessage();
        } else {
            statusBar()->showMessage(text);
        }
    });
    connect(mapView_, &CMapView::readingClicked, this, [this](int k) {
        mapPickedRow_ = k - 1;
        listView_->selectRows(markedRows());
    });
    connect(mapView_, &CMapView::readingsDeleted, this, [this] {
        mapPickedRow_ = -1;
        listView_->clearSelection();
        updateCommandStates();
    });
}

std::vector<int> CMainFrame::markedRows() const {
    std::vector<int> rows = mapView_->marked();
    for (int& line : rows) {
        --line;
    }
    return rows;
}

void CMainFrame::showSurveyWindow() {
    if (surveyWindow_ == nullptr) {
        surveyWindow_ = new SurveyWindow(*survey_, doc_.prompter(), this);
        connect(surveyWindow_, &SurveyWindow::openReading, this, &CMainFrame::openSurveyReading);
    }
    surveyWindow_->show();
    surveyWindow_->raise();
}

void CMainFrame::showLineProfiles() {
    if (lineProfiles_ == nullptr) {
        lineProfiles_ = new LineProfilesWindow(*survey_, doc_.prompter(), this);
    }
    lineProfiles_->show();
    lineProfiles_->raise();
    lineProfiles_->activateWindow();
}

void CMainFrame::openSurveyReading(const QString& path, int line) {
    const std::string file = path.toStdString();
    if (doc_.loadedFrom() != file && (!doc_.saveModified() || !doc_.openByName(file))) {
        return;
    }
    switchToView(0);
    if (line >= 1 && line <= doc_.data().readingCount()) {
        listView_->selectRow(line - 1);
        listView_->scrollTo(listView_->model()->index(line - 1, 0),
                            QAbstractItemView::PositionAtCenter);
    }
    raise();
    activateWindow();
}

void CMainFrame::updateCaption() {
    setWindowTitle(QString::fromStdString(doc_.title()) + " - " + kAppTitle);
}

void CMainFrame::showHelp(const QString& page) {
    if (!help_) {
        help_ = new HelpWindow(this);
    }
    help_->showPage(page);
}

void CMainFrame::showStickyStatus(const QString& text) {
    stickyStatus_ = text;
    statusBar()->showMessage(text);
}

bool CMainFrame::event(QEvent* event) {
    // A prompt that ends brings the command's own line back rather than blanking it.
    if (event->type() == QEvent::StatusTip && !stickyStatus_.isEmpty() &&
        static_cast<QStatusTipEvent*>(event)->tip().isEmpty()) {
        statusBar()->showMessage(stickyStatus_);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    switchToView(1);
    switchToView(0);
    if (!doc_.saveModified()) {
        event->ignore();
        return;
    }
    if (help_) {
        help_->close();
    }
    if (surveyWindow_) {
        surveyWindow_->close();
    }
    if (lineProfiles_) {
        lineProfiles_->close();
    }
    storePlacement();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    if (!paths.isEmpty()) {
        event->acceptProposedAction();
        emit filesDropped(paths);
    }
}

}  // namespace velkor
