// velkor2tr-cli's usage text and where it goes, as the tool prints it today: on stdout for
// help, on stderr with status 2 after any usage error of the commands before survey.
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

// The usage errors of the fixture file, each a call's words with SMALL, OUT and BASE put
// in for those files.
std::vector<std::vector<std::string>> usageErrors(const std::string& out, const std::string& base) {
    std::istringstream lines(Fixture::text("cli/usage-errors.txt"));
    std::vector<std::vector<std::string>> calls;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream words(line);
        std::vector<std::string> args;
        for (std::string word; words >> word;) {
            args.push_back(word == "SMALL"  ? kSmall
                           : word == "OUT"  ? out
                           : word == "BASE" ? base
                                            : word);
        }
        calls.push_back(args);
    }
    return calls;
}

}  // namespace

TEST(CliUsage, HelpPrintsTheToolsUsageOnStdout) {
    const std::string usage = Fixture::text("cli/usage.txt");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"help"}, {"help", "info"}, {"--help", "export"}, {"-h", "x"}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 0) << args[0];
        EXPECT_EQ(r.out, usage) << args[0];
        EXPECT_EQ(r.err, "") << args[0];
    }
}

TEST(CliUsage, NoCommandOrAnUnknownOnePrintsItOnStderr) {
    const std::string usage = Fixture::text("cli/usage.txt");
    ToolRun r = tool({});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, usage);
    for (const std::string word : {"frobnicate", "--version", "-x", "Info", "plot-base"}) {
        r = tool({word, kSmall});
        EXPECT_EQ(r.status, 2) << word;
        EXPECT_EQ(r.out, "") << word;
        EXPECT_EQ(r.err, "velkor2tr-cli: unknown command '" + word + "'\n" + usage) << word;
    }
}

TEST(CliUsage, EveryCommandsUsageErrorPrintsTheToolsUsageAndWritesNothing) {
    TempDir dir;
    const std::string out = dir.path("out");
    const std::string base = dir.write("base.a", " Date       Time     Variations\r\n");
    const std::string usage = Fixture::text("cli/usage.txt");
    const std::vector<std::vector<std::string>> calls = usageErrors(out, base);
    ASSERT_EQ(calls.size(), 47u);
    for (const std::vector<std::string>& args : calls) {
        const ToolRun r = tool(args);
        std::string line;
        for (const std::string& a : args) {
            line += " " + a;
        }
        EXPECT_EQ(r.status, 2) << line;
        EXPECT_EQ(r.out, "") << line;
        EXPECT_EQ(r.err, usage) << line;
        EXPECT_FALSE(std::filesystem::exists(out)) << line;
    }
}

TEST(CliUsage, SummarysBasisWithoutVariationsEndsWithStatus2AndNoText) {
    // Unlike export and plot map, summary says nothing here: kept as it is.
    const ToolRun r = tool({"summary", kSmall, "--basis", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

}  // namespace velkor
