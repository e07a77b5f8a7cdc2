// Entry point of velkor2tr-cli.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliTool.h"
#ifdef VELKOR_CLI_PICTURES
#include <QString>
#include <QtGlobal>

#include "widgets/shared/PngPictureWriter.h"

namespace {

// The tool prints only its own messages: the toolkit's notes about its environment
// (such as a missing XDG_RUNTIME_DIR) are dropped; only a fatal one, which ends the
// run, is told.
void toolkitMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) {
        std::cerr << "velkor2tr-cli: " << text.toStdString() << '\n';
    }
}

}  // namespace
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
#ifdef VELKOR_CLI_PICTURES
    qInstallMessageHandler(toolkitMessage);
    velkor::PngPictureWriter pictures;
    return velkor::CliTool(std::cout, std::cerr, &pictures).run(args);
#else
    return velkor::CliTool(std::cout, std::cerr).run(args);
#endif
}
