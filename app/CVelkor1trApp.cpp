// Start-up and application-wide commands.
#include "app/CVelkor1trApp.h"

#include <QSettings>

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/CVelkor1trDoc.h"
#include "app/CommandTable.h"
#include "app/SettingsKeys.h"
#include "views/CVelkor1trView.h"

namespace velkor {
namespace {

QSettings openSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, settings::kOrganization,
                     settings::kApplication);
}

}  // namespace

CVelkor1trApp::CVelkor1trApp(Prompter& prompter, QObject* parent)
    : QObject(parent), prompter_(prompter), recent_(settings::kRecentCount) {}

CVelkor1trApp::~CVelkor1trApp() = default;

bool CVelkor1trApp::initInstance(const QStringList& args) {
    loadRecentFiles();
    doc_ = std::make_unique<CVelkor1trDoc>(prompter_);
    frame_ = std::make_unique<CMainFrame>(*doc_, *this);
    connect(doc_.get(), &CVelkor1trDoc::fileOpened, this, &CVelkor1trApp::rememberFile);
    connect(frame_.get(), &CMainFrame::filesDropped, this, &CVelkor1trApp::openDropped);

    QString file;
    bool print = false;
    for (const QString& a : args) {
        if (a == "--print" || a == "/p") {
            print = true;
        } else if (!a.startsWith("-")) {
            file = a;
        }
    }
    doc_->reset();
    if (!file.isEmpty() && !doc_->openByName(file.toStdString())) {
        frame_.reset();
        return false;
    }
    if (print && !file.isEmpty()) {
        // A print request from the desktop prints the whole file, then ends.
        frame_->listView()->selectAll();
        frame_->dispatch(cmd::PrintDirect);
        finishedEarly_ = true;
        return false;
    }
    frame_->show();
    return true;
}

bool CVelkor1trApp::onCommand(int id) {
    if (id == cmd::About) {
        CAboutDlg about(frame_.get());
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

void CVelkor1trApp::loadRecentFiles() {
    QSettings s = openSettings();
    s.beginGroup(settings::kRecentSection);
    std::vector<std::string> entries;
    for (int i = 1; i <= settings::kRecentCount; ++i) {
        entries.push_back(
            s.value(settings::kRecentKeyPrefix + QString::number(i)).toString().toStdString());
    }
    recent_.setEntries(entries);
}

void CVelkor1trApp::rememberFile(const QString& path) {
    recent_.add(path.toStdString());
    QSettings s = openSettings();
    s.beginGroup(settings::kRecentSection);
    for (int i = 1; i <= settings::kRecentCount; ++i) {
        const QString key = settings::kRecentKeyPrefix + QString::number(i);
        const std::size_t k = static_cast<std::size_t>(i - 1);
        if (k < recent_.entries().size()) {
            s.setValue(key, QString::fromStdString(recent_.entries()[k]));
        } else {
            s.remove(key);
        }
    }
}

}  // namespace velkor
