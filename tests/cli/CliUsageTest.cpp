// velkor2tr-cli's usage text and where it goes, as the tool prints it today: on stdout for
// help, on stderr with status 2 after any usage error of the commands before survey.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTool.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velkor {
namespace {

const std::string kToolUsage =
    "usage: velkor2tr-cli COMMAND ...\n"
    "\n"
    "commands:\n"
    "  info FILE       show the line count, the column layout, the readings by mode,\n"
    "                  the first and last date and time, and the ranges of line\n"
    "                  numbers, positions and fields of the readings but 'A'\n"
    "  copy IN OUT     load the data file IN and write it to OUT as Save As does\n"
    "  export field|gradient|auto|corrected IN OUT [--variations FILE] [--basis NT]\n"
    "                  [--geomag NT|igrf:LAT,LON[,HEIGHT_M]]\n"
    "                  write an export file of the data file IN; --variations runs the\n"
    "                  temporal correction with the basis (0 to 99000, default 0),\n"
    "                  --geomag sets the geomagnetic field (0 to 90000), or takes F of\n"
    "                  the field model IGRF-14 at the place on the day of the first\n"
    "                  reading; corrected needs --geomag or a reading the variations\n"
    "                  correct\n"
    "  summary IN [--variations FILE] [--basis NT]\n"
    "                  [--geomag NT|igrf:LAT,LON[,HEIGHT_M]]\n"
    "                  correct as export does and print how many readings the corrected\n"
    "                  export writes, how many it leaves out and why, one per line\n"
    "  plot base VARIATIONS OUT.png [--date DD.MM.YYYY] [--survey IN] [--size WxH]\n"
    "                  draw the base-station curve of one date (default: the first\n"
    "                  date the survey IN has readings on, else the first of the file)\n"
    "                  with the survey's readings marked; size default 900x560\n"
    "  plot map IN OUT.png [--variations FILE] [--basis NT]\n"
    "                  [--geomag NT|igrf:LAT,LON[,HEIGHT_M]]\n"
    "                  [--by field|corrected|gradient] [--size WxH]\n"
    "                  [--line-spacing M] [--station-interval M]\n"
    "                  draw the readings of IN in plan by line and position, coloured\n"
    "                  by the measured field (default), the corrected value (after\n"
    "                  --variations or --geomag, corrected as export does) or the\n"
    "                  gradient; to scale, with lines M metres apart and positions M\n"
    "                  metres apart along them (0.01 to 10000, default 1 each); size\n"
    "                  default 900x560\n"
    "  plot profile IN OUT.png [--size WxH]\n"
    "                  draw the graph of IN as the window shows it first; size default\n"
    "                  900x560\n"
    "  devices         list the attached magnetometers: index, serial number, description\n"
    "  import OUT [--device N]\n"
    "                  download the readings of magnetometer N (default 0) and write\n"
    "                  them to the data file OUT\n"
    "  igrf LAT LON HEIGHT_M DATE\n"
    "                  print the field of the model IGRF-14 as X Y Z H F (nT) D I\n"
    "                  (degrees); LAT and LON in decimal degrees, signed or with N/S\n"
    "                  and E/W (55.75N, -70.5), HEIGHT_M above the ellipsoid, DATE as\n"
    "                  YYYY-MM-DD or a decimal year from 1900.0 to 2030.0\n"
    "  survey new|add|base|place|set|info|export SURVEY ...\n"
    "                  build a survey of many data files with its base sources, place\n"
    "                  its readings on the map, correct them and export them;\n"
    "                  velkor2tr-cli survey --help lists the commands and their options\n"
    "  --help          show this text\n"
    "\n"
    "The USB link is the library VELKOR2TR_D2XX names, else libftd2xx.so where it is\n"
    "installed, else the kernel's FTDI serial driver (/dev/ttyUSBn).\n"
    "\n"
    "Exit status: 0 success, 1 failure (the program's message is the last line on\n"
    "stderr), 2 usage error.\n";

const std::string kSmall = std::string(VELKOR_FIXTURES) + "/small.velkor";

}  // namespace

TEST(CliUsage, HelpPrintsTheToolsUsageOnStdout) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"help"}, {"help", "info"}, {"--help", "export"}, {"-h", "x"}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 0) << args[0];
        EXPECT_EQ(r.out, kToolUsage) << args[0];
        EXPECT_EQ(r.err, "") << args[0];
    }
}

TEST(CliUsage, NoCommandOrAnUnknownOnePrintsItOnStderr) {
    ToolRun r = tool({});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, kToolUsage);
    for (const std::string word : {"frobnicate", "--version", "-x", "Info", "plot-base"}) {
        r = tool({word, kSmall});
        EXPECT_EQ(r.status, 2) << word;
        EXPECT_EQ(r.out, "") << word;
        EXPECT_EQ(r.err, "velkor2tr-cli: unknown command '" + word + "'\n" + kToolUsage) << word;
    }
}

TEST(CliUsage, EveryCommandsUsageErrorPrintsTheToolsUsageAndWritesNothing) {
    TempDir dir;
    const std::string out = dir.path("out");
    const std::string base = dir.write("base.a", " Date       Time     Variations\r\n");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"info"},
             {"info", kSmall, "x"},
             {"copy", kSmall},
             {"copy", kSmall, out, "x"},
             {"export"},
             {"export", "field"},
             {"export", "field", kSmall},
             {"export", "sideways", kSmall, out},
             {"export", "field", kSmall, out, "x"},
             {"export", "field", kSmall, out, "--colour", "red"},
             {"export", "field", kSmall, out, "--variations"},
             {"export", "field", kSmall, out, "--geomag", "1", "--geomag", "2"},
             {"export", "field", kSmall, out, "--basis", "10"},
             {"export", "field", kSmall, out, "--basis", "abc"},
             {"export", "corrected", kSmall, out},
             {"export", "corrected", kSmall, out, "--basis", "1", "--geomag", "99999"},
             {"summary"},
             {"summary", kSmall, "x"},
             {"summary", kSmall, "--size", "900x560"},
             {"summary", kSmall, "--variations", base, "--variations", base},
             {"plot"},
             {"plot", "base"},
             {"plot", "base", base},
             {"plot", "contour", base, out},
             {"plot", "base", base, out, "x"},
             {"plot", "base", base, out, "--by", "field"},
             {"plot", "base", base, out, "--size"},
             {"plot", "map", kSmall, out, "--by", "heat"},
             {"plot", "map", kSmall, out, "--by", "corrected"},
             {"plot", "map", kSmall, out, "--basis", "1", "--geomag", "1"},
             {"plot", "map", kSmall, out, "--line-spacing", "1", "--line-spacing", "2"},
             {"plot", "profile", kSmall, out, "--by", "field"},
             {"plot", "profile", kSmall, out, "--variations", base},
             {"devices", "x"},
             {"devices", "--device", "0"},
             {"import"},
             {"import", out, "x"},
             {"import", out, "--device"},
             {"import", out, "--device", "one"},
             {"import", out, "--device", "01"},
             {"import", out, "--device", "-1"},
             {"import", out, "--device", "+1"},
             {"import", out, "--dev", "1"},
             {"import", out, "--device", "1", "--device", "1"},
             {"igrf"},
             {"igrf", "55N", "37E", "2026.5"},
             {"igrf", "55N", "37E", "200", "2026.5", "x"},
         }) {
        const ToolRun r = tool(args);
        std::string line;
        for (const std::string& a : args) {
            line += " " + a;
        }
        EXPECT_EQ(r.status, 2) << line;
        EXPECT_EQ(r.out, "") << line;
        EXPECT_EQ(r.err, kToolUsage) << line;
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
