// Entry point of the windowed program.
#include <QApplication>
#include <clocale>

#include "app/CMainFrame.h"
#include "app/CVelkor1trApp.h"
#include "app/QtPrompter.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    // Qt takes the user's locale; the fixed file formats need the C number format.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Velkor2tr");
    velkor::QtPrompter prompter;
    velkor::CVelkor1trApp app(prompter);
    if (!app.initInstance(QApplication::arguments().mid(1))) {
        return app.earlyExitCode();
    }
    prompter.setParentWidget(app.mainFrame());
    return QApplication::exec();
}
