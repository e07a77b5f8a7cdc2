// velkor2tr-cli COMMAND --help: the help of that command alone, from the words it is
// declared with; the tool's usage stays for the tool's own help and its usage errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTool.h"
#include "support/Fixture.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velkor {
namespace {

std::string spacedWords(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& w : words) {
        line += (line.empty() ? "" : " ") + w;
    }
    return line;
}

// The help of a command as the fixture file holds it.
std::string commandHelp(const std::string& command) {
    return Fixture::text("cli/" + command + "-help.txt");
}

}  // namespace

TEST(CliCommandHelp, EachCommandsHelpDescribesThatCommandOnly) {
    for (const auto& [command, usage] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"info"}, "FILE"},
             {{"copy"}, "IN OUT"},
             {{"export"}, "KIND IN OUT"},
             {{"summary"}, "IN"},
             {{"plot"}, "SUBCOMMAND"},
             {{"plot", "base"}, "VARIATIONS OUT.png"},
             {{"plot", "map"}, "IN OUT.png"},
             {{"plot", "profile"}, "IN OUT.png"},
             {{"devices"}, ""},
             {{"import"}, "OUT"},
             {{"igrf"}, "LAT LON HEIGHT_M DATE"}}) {
        for (const char* flag : {"--help", "-h"}) {
            std::vector<std::string> args = command;
            args.push_back(flag);
            const ToolRun r = tool(args);
            const std::string line = "\nUsage: velkor2tr-cli " + spacedWords(command) +
                                     " [OPTIONS]" + (usage.empty() ? "" : " " + usage) + "\n";
            EXPECT_EQ(r.status, 0) << spacedWords(args);
            EXPECT_EQ(r.err, "") << spacedWords(args);
            EXPECT_NE(r.out.find(line), std::string::npos) << spacedWords(args) << "\n" << r.out;
            EXPECT_EQ(r.out.find("usage: velkor2tr-cli COMMAND"), std::string::npos)
                << spacedWords(args);
        }
    }
}

TEST(CliCommandHelp, TheHelpInFull) {
    EXPECT_EQ(tool({"export", "--help"}).out, commandHelp("export"));
    EXPECT_EQ(tool({"plot", "map", "-h"}).out, commandHelp("plot-map"));
    EXPECT_EQ(tool({"igrf", "--help"}).out, commandHelp("igrf"));
    EXPECT_EQ(tool({"plot", "--help"}).out, commandHelp("plot"));
}

TEST(CliCommandHelp, AskedAnywhereAmongTheWordsItRunsNothing) {
    TempDir dir;
    const std::string out = dir.path("out");
    for (const auto& [args, text] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"export", "field", kSmall, out, "--help"}, commandHelp("export")},
             {{"export", "corrected", kSmall, out, "--geomag", "95000", "-h"},
              commandHelp("export")},
             {{"plot", "map", kSmall, out, "--size", "1x1", "--help"}, commandHelp("plot-map")},
             {{"igrf", "55N", "-h", "37E"}, commandHelp("igrf")},
             {{"igrf", "-.5", "--help"}, commandHelp("igrf")}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 0) << spacedWords(args);
        EXPECT_EQ(r.out, text) << spacedWords(args);
        EXPECT_EQ(r.err, "") << spacedWords(args);
    }
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"info", "--help"},
                                               {"summary", "--help"},
                                               {"import", "--help"},
                                               {"copy", "-h", out}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 0) << spacedWords(args);
        EXPECT_EQ(r.err, "") << spacedWords(args);
        EXPECT_NE(r.out.find("Usage: velkor2tr-cli " + args[0] + " [OPTIONS]"), std::string::npos)
            << spacedWords(args);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_FALSE(std::filesystem::exists("--help"));
}

}  // namespace velkor
