// The built velkor2tr-cli run as a user runs it: what it prints, what status it ends with.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/Fixture.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

struct ProgramRun {
    int status;
    std::string err;
};

// Runs the tool without XDG_RUNTIME_DIR, as under su, cron or a bare ssh session.
ProgramRun program(const TempDir& dir, const std::string& args) {
    const std::string err = dir.path("stderr");
    const std::string command = "env -u XDG_RUNTIME_DIR '" + std::string(VELKOR_CLI) + "' " + args +
                                " > /dev/null 2> '" + err + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, TempDir::read(err)};
}

}  // namespace

TEST(CliProgram, PlotsPrintOnlyTheToolsOwnMessages) {
    TempDir dir;
    for (const std::string kind : {"profile", "map"}) {
        const std::string png = dir.path(kind + ".png");
        const ProgramRun r =
            program(dir, "plot " + kind + " '" + Fixture::path("small.velkor") + "' '" + png + "'");
        EXPECT_EQ(r.status, 0) << kind;
        EXPECT_EQ(r.err, "") << kind;
        EXPECT_EQ(TempDir::read(png).substr(1, 3), "PNG") << kind;
    }
}

TEST(CliProgram, PlotsWriteThroughTheSafeWriterAsExportsDo) {
    TempDir dir;
    namespace fs = std::filesystem;
    fs::create_symlink("loop2", dir.path("loop1"));
    fs::create_symlink("loop1", dir.path("loop2"));
    const ProgramRun exported = program(
        dir, "export field '" + Fixture::path("small.velkor") + "' '" + dir.path("loop1") + "'");
    EXPECT_EQ(exported.status, 1);
    EXPECT_EQ(exported.err, "Write error\n");
    const ProgramRun plotted = program(
        dir, "plot profile '" + Fixture::path("small.velkor") + "' '" + dir.path("loop2") + "'");
    EXPECT_EQ(plotted.status, exported.status);
    EXPECT_EQ(plotted.err, exported.err);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.path("loop1"))));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.path("loop2"))));
}

}  // namespace velkor
