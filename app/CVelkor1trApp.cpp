// Start-up and application-wide commands.
#include "app/CVelkor1trApp.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/CVelkor1trDoc.h"
#include "app/CommandLine.h"
#include "app/CursorLift.h"
#include "app/SettingsKeys.h"
#include "app/SettingsStore.h"
#include "core/CommandTable.h"
#include "widgets/day/CVelkor1trView.h"
#include "widgets/shared/PrintController.h"

namespace velkor {
namespace {

// How often a request that waits for an open dialog looks again.
constexpr int kRequestRetryMs = 250;

}  // namespace

CVelkor1trApp::CVelkor1trApp(Prompter& prompter, QObject* parent)
    : QObject(parent), prompter_(prompter), recent_(settings::kRecentCount) {}

CVelkor1trApp::~CVelkor1trApp() {
    storeRecentFiles();
}

bool CVelkor1trApp::initInstance(const QStringList& args) {
    CommandLine line;
    if (line.parse(QStringList{"velkor2tr"} + args) != CommandLine::Outcome::Run) {
        return false;
    }
    return initInstance(line.file(), line.print());
}

bool CVelkor1trApp::initInstance(const QString& file, bool print) {
    dialogHelp_.install();
    loadRecentFiles();
    doc_ = std::make_unique<CVelkor1trDoc>(prompter_);
    frame_ = std::make_unique<CMainFrame>(*doc_, *this);
    connect(doc_.get(), &CVelkor1trDoc::fileOpened, this, &CVelkor1trApp::rememberFile);
    connect(frame_.get(), &CMainFrame::filesDropped, this, &CVelkor1trApp::openDropped);

    doc_->reset();
    if (!file.isEmpty() && !doc_->openByName(file.toStdString())) {
        frame_.reset();
        return false;
    }
    if (print && !file.isEmpty()) {
        // A print request from the desktop prints the whole file, then ends.
        finishedEarly_ = true;
        if (!hasPrinter_()) {
            earlyMessage_ = PrintController::kNoPrinter;
            return false;
        }
        frame_->listView()->selectAll();
        frame_->dispatch(cmd::PrintDirect);
        printed_ = frame_->printing().lastPrintSucceeded();
        return false;
    }
    frame_->show();
    return true;
}

bool CVelkor1trApp::onCommand(int id) {
    if (id == cmd::About) {
        const CursorLift lift;
        CAboutDlg about(frame_.get(), QString::fromStdString(doc_->usb().linkName()));
        about.exec();
        return true;
    }
    return false;
}

void CVelkor1trApp::openDropped(const QStringList& paths) {
    if (paths.isEmpty() || !doc_->saveModified()) {
        return;
    }
    frame_->activateWindow();
    doc_->openByName(paths.front().toStdString());
}

void CVelkor1trApp::openRequested(const QString& path) {
    if (QApplication::activeModalWidget() != nullptr) {
        QTimer::singleShot(kRequestRetryMs, this, [this, path] { openRequested(path); });
        return;
    }
    frame_->setWindowState((frame_->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    frame_->raise();
    frame_->activateWindow();
    if (!path.isEmpty()) {
        openDropped({path});
    }
}

void CVelkor1trApp::loadRecentFiles() {
    recent_.setEntries(SettingsStore::readRecentFiles());
}

void CVelkor1trApp::rememberFile(const QString& path) {
    // Whole and canonical: the entry names the file from any folder, and one file
    // under two spellings is one entry.
    const QFileInfo file(path);
    const QString canonical = file.canonicalFilePath();
    recent_.add((canonical.isEmpty() ? file.absoluteFilePath() : canonical).toStdString());
    // Written to disk once the program waits for input again: a file opened at start-up
    // shows before its name is stored.
    if (!recentUnstored_) {
        recentUnstored_ = true;
        QTimer::singleShot(0, this, &CVelkor1trApp::storeRecentFiles);
    }
}

void CVelkor1trApp::storeRecentFiles() {
    if (recentUnstored_) {
        recentUnstored_ = false;
        SettingsStore::writeRecentFiles(recent_.entries());
    }
}

}  // namespace velkor
