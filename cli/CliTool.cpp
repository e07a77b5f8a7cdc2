// The words of velkor2tr-cli read and the command chosen run.
#include "cli/CliTool.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <ostream>

#include "cli/CommandList.h"
#include "cli/DeviceCommands.h"
#include "cli/ExportCommands.h"
#include "cli/FileCommands.h"
#include "cli/IgrfCommand.h"
#include "cli/PlotCommands.h"
#include "cli/SurveyCommand.h"
#include "cli/ToolUsage.h"

namespace velkor {
namespace {

bool asksForHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
}

// A command that takes no options reads every word as a value, as it always has: a
// latitude of -.5 or a file named -x is no option. The parser is told so with "--" before
// the words, unless they ask for the command's help.
bool readsValuesOnly(const CLI::App& command) {
    const CLI::Option* help = command.get_help_ptr();
    const auto options = command.get_options(
        [help](const CLI::Option* o) { return o != help && o->nonpositional(); });
    const auto values =
        command.get_options([](const CLI::Option* o) { return o->get_positional(); });
    return options.empty() && !values.empty();
}

}  // namespace

CliTool::CliTool(std::ostream& out, std::ostream& err, PictureWriter* pictures)
    : out_(out), err_(err), pictures_(pictures) {}

int CliTool::run(const std::vector<std::string>& args) {
    // The tool's own help, as ever, and survey, whose commands have a usage of their own.
    if (args.empty()) {
        return ToolUsage::error(err_);
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        out_ << ToolUsage::text();
        return kOk;
    }
    if (command == "survey") {
        return SurveyCommand(out_, err_, pictures_).run({args.begin() + 1, args.end()});
    }
    return runCommand(args);
}

int CliTool::runCommand(const std::vector<std::string>& args) {
    CLI::App tool("", "velkor2tr-cli");
    tool.require_subcommand(1);
    CommandList commands;
    FileCommands files(out_, err_);
    files.declare(tool, commands);
    ExportCommands exports(out_, err_);
    exports.declare(tool, commands);
    PlotCommands plots(out_, err_, pictures_);
    plots.declare(tool, commands);
    DeviceCommands devices(out_, err_);
    devices.declare(tool, commands);
    IgrfCommand igrf(out_, err_);
    igrf.declare(tool, commands);

    const std::optional<int> stop = parse(tool, args);
    return stop ? *stop : commands.run(tool);
}

std::optional<int> CliTool::parse(CLI::App& tool, const std::vector<std::string>& args) {
    const CLI::App& declared = tool;
    const auto known =
        declared.get_subcommands([&](const CLI::App* c) { return c->get_name() == args[0]; });
    if (known.empty()) {
        err_ << "velkor2tr-cli: unknown command '" << args[0] << "'\n";
        return ToolUsage::error(err_);
    }
    // The parser takes the words last first.
    std::vector<std::string> words(args.rbegin(), args.rend() - 1);
    if (readsValuesOnly(*known.front()) && !asksForHelp(words)) {
        words.push_back("--");
    }
    words.push_back(args[0]);
    try {
        tool.parse(words);
    } catch (const CLI::CallForHelp&) {
        out_ << tool.help();
        return kOk;
    } catch (const CLI::ParseError&) {
        return ToolUsage::error(err_);
    }
    return std::nullopt;
}

}  // namespace velkor
