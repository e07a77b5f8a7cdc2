// velkor2tr-cli info and copy.
#include "cli/FileCommands.h"

#include <CLI/CLI.hpp>
#include <map>
#include <ostream>

#include "cli/CliTool.h"
#include "cli/CommandList.h"
#include "cli/ReadingRanges.h"
#include "core/ConsolePrompter.h"
#include "data/DataFile.h"
#include "data/DataSet.h"

namespace velkor {
namespace {

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

void FileCommands::declare(CLI::App& tool, CommandList& commands) {
    CLI::App* info = tool.add_subcommand(
        "info",
        "show the line count, the column layout, the readings by mode, the first and last date "
        "and time, and the ranges of line numbers, positions and fields of the readings but 'A'");
    info->add_option("FILE", info_.file, "the data file")->required()->type_name("");
    commands.add(info, [this] { return this->info(info_); });

    CLI::App* copy =
        tool.add_subcommand("copy", "load the data file IN and write it to OUT as Save As does");
    copy->add_option("IN", copy_.in, "the data file")->required()->type_name("");
    copy->add_option("OUT", copy_.out, "the file written")->required()->type_name("");
    commands.add(copy, [this] { return this->copy(copy_); });
}

int FileCommands::info(const InfoOptions& o) {
    ConsolePrompter prompter(err_);
    DataSet data;
    if (!DataFile::load(o.file, data, prompter)) {
        return CliTool::kFailed;
    }
    printCounts(data);
    for (const std::string& line : ReadingRanges::of(data).lines()) {
        out_ << line << '\n';
    }
    return CliTool::kOk;
}

void FileCommands::printCounts(const DataSet& data) {
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
}

int FileCommands::copy(const CopyOptions& o) {
    ConsolePrompter prompter(err_);
    DataSet data;
    return DataFile::load(o.in, data, prompter) && DataFile::write(o.out, data, prompter)
               ? CliTool::kOk
               : CliTool::kFailed;
}

}  // namespace velkor
