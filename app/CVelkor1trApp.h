// The application: start-up, the settings store, the recent-file list, the About box.
#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

#include "app/DialogHelp.h"
#include "app/RecentFileList.h"
#include "core/CommandTarget.h"
#include "widgets/shared/PrintController.h"

namespace velkor {

class CMainFrame;
class CVelkor1trDoc;
class Prompter;

class CVelkor1trApp : public QObject, public CommandTarget {
    Q_OBJECT

  public:
    explicit CVelkor1trApp(Prompter& prompter, QObject* parent = nullptr);
    ~CVelkor1trApp() override;

    // Creates the document and the main window, opens FILE or runs the reset, and with
    // print prints every reading of FILE instead of showing the window. False: the
    // program should end, with finishedEarly() telling whether a print request was
    // carried out and earlyExitCode() the program's exit status.
    bool initInstance(const QString& file, bool print);
    // The same from the arguments after the program name: [--print] [FILE].
    bool initInstance(const QStringList& args);
    bool finishedEarly() const { return finishedEarly_; }
    // 0 after a print request that printed every page, 1 for any failure.
    int earlyExitCode() const { return finishedEarly_ && printed_ ? 0 : 1; }
    // Why a print request printed nothing, for the caller to tell on the console: no
    // window is shown to say it. Empty when a message already said it, or it printed.
    const QString& earlyMessage() const { return earlyMessage_; }
    // Whether a printer is installed, asked before a print request; tests replace it.
    void setPrinterCheck(PrintController::PrinterCheck check) { hasPrinter_ = std::move(check); }

    bool onCommand(int id) override;

    CMainFrame* mainFrame() const { return frame_.get(); }
    CVelkor1trDoc* document() const { return doc_.get(); }
    const RecentFileList& recentFiles() const { return recent_; }

    // Opens a data file by name after the offer to save (dropped files).
    void openDropped(const QStringList& paths);
    // A later start's request: the window comes to the front and opens the file (if
    // any) after the offer to save; while a dialog is open the request waits for it.
    void openRequested(const QString& path);

    // Writes the recent-file list now if a change is still to be stored.
    void storeRecentFiles();

  private:
    void loadRecentFiles();
    void rememberFile(const QString& path);

    Prompter& prompter_;
    std::unique_ptr<CVelkor1trDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
    RecentFileList recent_;
    DialogHelp dialogHelp_;
    bool finishedEarly_ = false;
    bool printed_ = false;
    QString earlyMessage_;
    PrintController::PrinterCheck hasPrinter_ = PrintController::printersInstalled;
    bool recentUnstored_ = false;
};

}  // namespace velkor
