// Command dispatch and the commands of velkor2tr-cli.
#include "cli/CliTool.h"

#include <map>
#include <ostream>

#include "app/ConsolePrompter.h"
#include "data/DataFile.h"
#include "data/DataSet.h"

namespace velkor {
namespace {

constexpr const char* kUsageText =
    "usage: velkor2tr-cli COMMAND ...\n"
    "\n"
    "commands:\n"
    "  info FILE       show the line count, the column layout and the readings by mode\n"
    "  copy IN OUT     load the data file IN and write it to OUT as Save As does\n"
    "  --help          show this text\n"
    "\n"
    "Exit status: 0 success, 1 failure (the program's message is the last line on\n"
    "stderr), 2 usage error.\n";

const char* layoutName(ColumnLayout::Kind kind) {
    switch (kind) {
        case ColumnLayout::Kind::Comma:
            return "comma";
        case ColumnLayout::Kind::Blank:
            return "blank";
        case ColumnLayout::Kind::None:
            break;
    }
    return "none";
}

}  // namespace

CliTool::CliTool(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

int CliTool::run(const std::vector<std::string>& args) {
    if (args.empty()) {
        return usage(kUsage);
    }
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        return usage(kOk);
    }
    if (command == "info") {
        return info(rest);
    }
    if (command == "copy") {
        return copy(rest);
    }
    err_ << "velkor2tr-cli: unknown command '" << command << "'\n";
    return usage(kUsage);
}

int CliTool::usage(int status) {
    (status == kOk ? out_ : err_) << kUsageText;
    return status;
}

int CliTool::info(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return usage(kUsage);
    }
    ConsolePrompter prompter(err_);
    DataSet data;
    if (!DataFile::load(args[0], data, prompter)) {
        return kFailed;
    }
    std::map<char, int> byMode{{'S', 0}, {'A', 0}, {'G', 0}};
    int other = 0;
    for (int k = 1; k < data.lineCount(); ++k) {
        const char m = data.mode(k);
        if (m == 'S' || m == 'A' || m == 'G') {
            ++byMode[m];
        } else {
            ++other;
        }
    }
    out_ << "lines: " << data.lineCount() << '\n';
    out_ << "layout: " << layoutName(data.layout().kind()) << '\n';
    for (char m : {'S', 'A', 'G'}) {
        out_ << m << ": " << byMode[m] << '\n';
    }
    if (other > 0) {
        out_ << "other: " << other << '\n';
    }
    return kOk;
}

int CliTool::copy(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return usage(kUsage);
    }
    ConsolePrompter prompter(err_);
    DataSet data;
    if (!DataFile::load(args[0], data, prompter) || !DataFile::write(args[1], data, prompter)) {
        return kFailed;
    }
    return kOk;
}

}  // namespace velkor
