// Command-line parsing with Qt's parser; the texts name the installed program.
#include "app/CommandLine.h"

namespace velkor {
namespace {

constexpr const char* kProgram = "velkor2tr";

void describe(QCommandLineParser& parser, const QCommandLineOption& print) {
    parser.setApplicationDescription(
        "Velkor2tr downloads, checks, corrects, exports and prints the readings of the "
        "Proton Magnetometer Velkor-2.\n"
        "Started with a FILE while the program runs, it hands the file to the running "
        "window and ends.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(print);
    parser.addPositionalArgument("FILE", "The data file (*.velkor) to open.", "[FILE]");
}

// The desktop's older print verb.
QStringList withLongPrintOption(QStringList arguments) {
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "/p") {
            arguments[i] = "--print";
        }
    }
    return arguments;
}

}  // namespace

CommandLine::CommandLine()
    : printOption_(QStringList{"p", "print"},
                   "Print every reading of FILE on the default printer without the print "
                   "dialog, then end; the exit status is 1 when printing fails.") {
    describe(parser_, printOption_);
}

CommandLine::Outcome CommandLine::parse(const QStringList& arguments) {
    const bool parsed = parser_.parse(withLongPrintOption(arguments));
    if (parser_.isSet("help") || parser_.isSet("help-all")) {
        return Outcome::Help;
    }
    if (parser_.isSet("version")) {
        return Outcome::Version;
    }
    if (!parsed) {
        error_ = parser_.errorText();
        return Outcome::Error;
    }
    const QStringList files = parser_.positionalArguments();
    print_ = parser_.isSet(printOption_);
    if (files.size() > 1) {
        error_ = "Give one FILE at most.";
        return Outcome::Error;
    }
    file_ = files.value(0);
    if (print_ && file_.isEmpty()) {
        error_ = "--print needs the FILE to print.";
        return Outcome::Error;
    }
    return Outcome::Run;
}

QString CommandLine::helpText() const {
    // Qt's own text names the executable only once an application object exists.
    QString text = parser_.helpText();
    text.replace(0, text.indexOf(" [options]"), QString("Usage: %1").arg(kProgram));
    return text;
}

QString CommandLine::versionText() {
    return QString("Velkor2tr %1\n").arg(VELKOR_VERSION);
}

}  // namespace velkor
