// devices and import through the simulated instrument, as the tool prints and writes them
// today.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTool.h"
#include "support/ScopedEnv.h"
#include "support/SimControl.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velkor {
namespace {

const std::string kLink = std::string("USB link: FTDI D2XX library ") + VELKOR_SIM_LIB + "\n";

class CliDevices : public ::testing::Test {
  protected:
    TempDir dir;
    // The import's folder is made in this test's own folder.
    ScopedEnv tmp{"TMPDIR", dir.dir().string()};
    ScopedEnv runtime{"XDG_RUNTIME_DIR", std::nullopt};
};

}  // namespace

TEST_F(CliDevices, ListsTheMagnetometersAndNamesTheLinkOnStderr) {
    SimControl sim(
        SimControl::Settings{{"VELKOR_SIM_DEVICES",
                              "VK2-1=Proton Magnetometer Velkor-2;X=FT232R USB UART;VK2-2=Proton "
                              "Magnetometer Velkor-2"}});
    ToolRun r = tool({"devices"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "0\tVK2-1\tProton Magnetometer Velkor-2\n1\tVK2-2\tProton Magnetometer Velkor-2\n");
    EXPECT_EQ(r.err, kLink);
    sim.configure({{"VELKOR_SIM_DEVICES", ""}});
    r = tool({"devices"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, kLink);
}

TEST_F(CliDevices, ImportWritesTheInstrumentsReadings) {
    SimControl sim(SimControl::Settings{
        {"VELKOR_SIM_SURVEY", kSmall},
        {"VELKOR_SIM_DEVICES",
         "VK2-1=Proton Magnetometer Velkor-2;VK2-2=Proton Magnetometer Velkor-2"}});
    // The instrument keeps no mode it does not know: X comes back as S.
    const std::string held =
        "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n"
        "S 03.07.2026 09:02:10     1     1 48123.4  0.7 7 1.5          Base \r\n"
        "S 03.07.2026 09:02:41     1     2 48131.0  0.8 7 1.5               \r\n"
        "G 03.07.2026 09:03:12     1     3 48164.9  1.2 6 1.4     12.7 Fence\r\n"
        "A 03.07.2026 09:05:00    99     1 48110.2  0.4 8 1.6               \r\n"
        "S 03.07.2026 09:06:20     2     1 48118.6  0.6 7 1.5          Road \r\n"
        "S 03.07.2026 09:06:50     2     2 48120.0  0.6 7 1.5               \r\n";
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"import", dir.path("first.velkor")},
             {"import", dir.path("second.velkor"), "--device", "1"}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 0) << args[1];
        EXPECT_EQ(r.out, "") << args[1];
        EXPECT_EQ(r.err, "") << args[1];
        EXPECT_EQ(TempDir::read(args[1]), held) << args[1];
    }
    ToolRun r = tool({"import", dir.path("third.velkor"), "--device", "2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "There is no magnetometer 2: 2 attached.\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("third.velkor")));
    r = tool({"import", dir.path("no/where.velkor")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Write error\n");
}

TEST_F(CliDevices, ImportTellsItsNoticeAndFailures) {
    SimControl sim(SimControl::Settings{{"VELKOR_SIM_FAULT", "huge"}});
    ToolRun r = tool({"import", dir.path("huge.velkor")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "82 readings held values too large for their columns and were cut to 84 "
              "characters: readings 2, 5, 8, 11, 14 and 77 more.\n");
    sim.configure({{"VELKOR_SIM_DEVICES", "A1=FT232R USB UART"}});
    r = tool({"import", dir.path("none.velkor")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "No USB device found\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path("none.velkor")));
}

TEST_F(CliDevices, AnUnusableLibraryIsNamed) {
    const std::string missing = dir.path("missing.so");
    SimControl sim({}, missing);
    const std::string message = "The USB library " + missing + " cannot be used.\n";
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"devices"}, {"import", dir.path("x.velkor")}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_EQ(r.out, "") << args[0];
        EXPECT_EQ(r.err, message) << args[0];
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path("x.velkor")));
}

}  // namespace velkor
