#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTool.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun cli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = CliTool(out, err).run(args);
    return {status, out.str(), err.str()};
}

const std::string kSmall = std::string(VELKOR_FIXTURES) + "/small.velkor";

}  // namespace

TEST(CliTool, InfoCountsReadingsByMode) {
    const CliRun r = cli({"info", kSmall});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "lines: 7\nlayout: blank\nS: 3\nA: 1\nG: 1\nother: 1\n");
    EXPECT_EQ(r.err, "");
}

TEST(CliTool, CopyReproducesTheFileByteForByte) {
    TempDir dir;
    const std::string out = dir.path("copy.velkor");
    const CliRun r = cli({"copy", kSmall, out});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(TempDir::read(out), TempDir::read(kSmall));

    // LF-only input comes out with CR LF.
    const std::string lf = dir.write("lf.velkor", "M head\nS one\n");
    EXPECT_EQ(cli({"copy", lf, out}).status, 0);
    EXPECT_EQ(TempDir::read(out), "M head\r\nS one\r\n");
}

TEST(CliTool, FailuresEndWithTheProgramsMessage) {
    TempDir dir;
    CliRun r = cli({"info", dir.path("missing.velkor")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Read error\n");

    r = cli({"copy", dir.write("h.velkor", "M only\r\n"), dir.path("out")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "The file is empty\n");

    r = cli({"copy", kSmall, dir.path("nowhere/out")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Write error\n");
}

TEST(CliTool, UsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"info"}, {"copy", "a"}, {"info", "a", "b"}, {"frobnicate"}}) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("usage: velkor2tr-cli"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: velkor2tr-cli"), std::string::npos);
}

}  // namespace velkor
