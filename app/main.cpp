// Entry point of the windowed program.
#include <QApplication>
#include <QStringList>
#include <clocale>
#include <cstdio>
#include <memory>

#include "app/CMainFrame.h"
#include "app/CVelkor1trApp.h"
#include "app/CommandLine.h"
#include "app/QtPrompter.h"
#include "app/SingleInstance.h"
#include "app/StartLock.h"
#include "app/TerminationSignals.h"

namespace {

QStringList rawArguments(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    return args;
}

// Help and version answer before any window system is asked for, so they work
// without a display too. -1: go on starting.
int answerOnConsole(int argc, char** argv) {
    velkor::CommandLine line;
    switch (line.parse(rawArguments(argc, argv))) {
        case velkor::CommandLine::Outcome::Help:
            std::fputs(qPrintable(line.helpText()), stdout);
            return 0;
        case velkor::CommandLine::Outcome::Version:
            std::fputs(qPrintable(velkor::CommandLine::versionText()), stdout);
            return 0;
        default:
            return -1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = answerOnConsole(argc, argv); status >= 0) {
        return status;
    }
    QApplication qapp(argc, argv);
    // Qt takes the user's locale; the fixed file formats need the C number format.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Velkor2tr");
    // Lets the desktop match the window to its launcher and icon.
    QApplication::setDesktopFileName("org.velkor2tr.Velkor2tr");

    // The window system's own options are gone from the arguments now.
    velkor::CommandLine line;
    if (line.parse(QApplication::arguments()) != velkor::CommandLine::Outcome::Run) {
        std::fprintf(stderr, "velkor2tr: %s\nTry 'velkor2tr --help'.\n", qPrintable(line.error()));
        return velkor::CommandLine::kUsageError;
    }
    velkor::QtPrompter prompter;
    velkor::CVelkor1trApp app(prompter);
    // Ended from outside (logout, Ctrl+C): what is still to be stored is stored first.
    const velkor::TerminationSignals termination;
    QObject::connect(&termination, &velkor::TerminationSignals::received, &app, [&app](int signal) {
        app.storeRecentFiles();
        velkor::TerminationSignals::endBy(signal);
    });
    // A print request prints and ends: it neither hands over nor serves.
    const std::unique_ptr<velkor::SingleInstance> instance =
        line.print() ? nullptr : velkor::SingleInstance::forThisUser();
    {
        // Until this start serves or has handed its file over, later starts wait: of
        // starts at the same moment one becomes the window and the others hand over.
        const velkor::StartLock turn = instance ? instance->waitForTurn() : velkor::StartLock();
        if (instance && instance->handOver(line.file())) {
            return 0;
        }
        if (!app.initInstance(line.file(), line.print())) {
            if (!app.earlyMessage().isEmpty()) {
                std::fprintf(stderr, "velkor2tr: %s\n", qPrintable(app.earlyMessage()));
            }
            return app.earlyExitCode();
        }
        prompter.setParentWidget(app.mainFrame());
        if (instance && instance->listen()) {
            QObject::connect(instance.get(), &velkor::SingleInstance::openRequested, &app,
                             &velkor::CVelkor1trApp::openRequested);
        }
    }
    return QApplication::exec();
}
