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

std::string joined(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& w : words) {
        line += (line.empty() ? "" : " ") + w;
    }
    return line;
}

const std::string kSmall = Fixture::path("small.velkor");

// The help of a command as the fixture file holds it.
std::string help(const std::string& command) {
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
            const std::string line = "\nUsage: velkor2tr-cli " + joined(command) + " [OPTIONS]" +
                                     (usage.empty() ? "" : " " + usage) + "\n";
            EXPECT_EQ(r.status, 0) << joined(args);
            EXPECT_EQ(r.err, "") << joined(args);
            EXPECT_NE(r.out.find(line), std::string::npos) << joined(args) << "\n" << r.out;
            EXPECT_EQ(r.out.find("usage: velkor2tr-cli COMMAND"), std::string::npos)
                << joined(args);
        }
    }
}

TEST(CliCommandHelp, TheHelpInFull) {
    EXPECT_EQ(tool({"export", "--help"}).out, help("export"));
    EXPECT_EQ(tool({"plot", "map", "-h"}).out, help("plot-map"));
    EXPECT_EQ(tool({"igrf", "--help"}).out, help("igrf"));
    EXPECT_EQ(tool({"plot", "--help"}).out, help("plot"));
}

TEST(CliCommandHelp, AskedAnywhereAmongTheWordsItRunsNothing) {
    TempDir dir;
    const std::string out = dir.path("out");
    for (const auto& [args, text] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"export", "field", kSmall, out, "--help"}, help("export")},
             {{"export", "corrected", kSmall, out, "--geomag", "95000", "-h"}, help("export")},
             {{"plot", "map", kSmall, out, "--size", "1x1", "--help"}, help("plot-map")},
             {{"igrf", "55N", "-h", "37E"}, help("igrf")},
             {{"igrf", "-.5", "--help"}, help("igrf")}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 0) << joined(args);
        EXPECT_EQ(r.out, text) << joined(args);
        EXPECT_EQ(r.err, "") << joined(args);
    }
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"info", "--help"},
                                               {"summary", "--help"},
                                               {"import", "--help"},
                                               {"copy", "-h", out}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 0) << joined(args);
        EXPECT_EQ(r.err, "") << joined(args);
        EXPECT_NE(r.out.find("Usage: velkor2tr-cli " + args[0] + " [OPTIONS]"), std::string::npos)
            << joined(args);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_FALSE(std::filesystem::exists("--help"));
}

}  // namespace velkor
