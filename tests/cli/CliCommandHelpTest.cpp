// velkor2tr-cli COMMAND --help: the help of that command alone, from the words it is
// declared with; the tool's usage stays for the tool's own help and its usage errors.
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

std::string joined(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& w : words) {
        line += (line.empty() ? "" : " ") + w;
    }
    return line;
}

const std::string kSmall = std::string(VELKOR_FIXTURES) + "/small.velkor";

const std::string kExportHelp =
    "write an export file of the data file IN\n"
    "Usage: velkor2tr-cli export [OPTIONS] KIND IN OUT\n"
    "\n"
    "Positionals:\n"
    "  KIND field|gradient|auto|corrected:{field,gradient,auto,corrected} REQUIRED\n"
    "                              the fields, the gradients, the base-station readings as a "
    "variations file, or the corrected values, which need --geomag or a reading the "
    "variations correct\n"
    "  IN REQUIRED                 the data file\n"
    "  OUT REQUIRED                the export file\n"
    "\n"
    "Options:\n"
    "  -h,--help                   Print this help message and exit\n"
    "  --variations FILE           run the temporal correction first\n"
    "  --basis NT Needs: --variations\n"
    "                              its basis, 0 to 99000 (default 0)\n"
    "  --geomag NT|igrf:LAT,LON[,HEIGHT_M]\n"
    "                              the geomagnetic field, 0 to 90000, or F of the field "
    "model IGRF-14 at the place on the day of the first reading\n"
    "\n";
const std::string kPlotMapHelp =
    "draw the readings of IN in plan by line and position, to scale\n"
    "Usage: velkor2tr-cli plot map [OPTIONS] IN OUT.png\n"
    "\n"
    "Positionals:\n"
    "  IN REQUIRED                 the data file\n"
    "  OUT.png REQUIRED            the picture\n"
    "\n"
    "Options:\n"
    "  -h,--help                   Print this help message and exit\n"
    "  --variations FILE           run the temporal correction first\n"
    "  --basis NT Needs: --variations\n"
    "                              its basis, 0 to 99000 (default 0)\n"
    "  --geomag NT|igrf:LAT,LON[,HEIGHT_M]\n"
    "                              the geomagnetic field, 0 to 90000, or F of the field "
    "model IGRF-14 at the place on the day of the first reading\n"
    "  --by field|corrected|gradient:{field,corrected,gradient}\n"
    "                              the colour: the measured field (default), the corrected "
    "value (after --variations or --geomag, corrected as export does) or the gradient\n"
    "  --size WxH                  pixels, each from 200 to 10000 (default 900x560)\n"
    "  --line-spacing M            metres between lines, 0.01 to 10000 (default 1)\n"
    "  --station-interval M        metres between positions along a line, 0.01 to 10000 "
    "(default 1)\n"
    "\n";
const std::string kIgrfHelp =
    "print the field of the model IGRF-14 as X Y Z H F (nT) D I (degrees)\n"
    "Usage: velkor2tr-cli igrf [OPTIONS] LAT LON HEIGHT_M DATE\n"
    "\n"
    "Positionals:\n"
    "  LAT REQUIRED                decimal degrees, signed or with N or S (55.75N, -70.5)\n"
    "  LON REQUIRED                decimal degrees, signed or with E or W\n"
    "  HEIGHT_M REQUIRED           metres above the ellipsoid\n"
    "  DATE REQUIRED               YYYY-MM-DD or a decimal year from 1900.0 to 2030.0\n"
    "\n"
    "Options:\n"
    "  -h,--help                   Print this help message and exit\n"
    "\n";
const std::string kPlotHelp =
    "draw a picture as a PNG file: the base-station curve, the map or the graph\n"
    "Usage: velkor2tr-cli plot [OPTIONS] SUBCOMMAND\n"
    "\n"
    "Options:\n"
    "  -h,--help                   Print this help message and exit\n"
    "\n"
    "Subcommands:\n"
    "  base                        draw the base-station curve of one date with the survey's "
    "readings marked\n"
    "  map                         draw the readings of IN in plan by line and position, to "
    "scale\n"
    "  profile                     draw the graph of IN as the window shows it first\n"
    "\n";

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
    EXPECT_EQ(tool({"export", "--help"}).out, kExportHelp);
    EXPECT_EQ(tool({"plot", "map", "-h"}).out, kPlotMapHelp);
    EXPECT_EQ(tool({"igrf", "--help"}).out, kIgrfHelp);
    EXPECT_EQ(tool({"plot", "--help"}).out, kPlotHelp);
}

TEST(CliCommandHelp, AskedAnywhereAmongTheWordsItRunsNothing) {
    TempDir dir;
    const std::string out = dir.path("out");
    for (const auto& [args, help] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"export", "field", kSmall, out, "--help"}, kExportHelp},
             {{"export", "corrected", kSmall, out, "--geomag", "95000", "-h"}, kExportHelp},
             {{"plot", "map", kSmall, out, "--size", "1x1", "--help"}, kPlotMapHelp},
             {{"igrf", "55N", "-h", "37E"}, kIgrfHelp},
             {{"igrf", "-.5", "--help"}, kIgrfHelp}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.status, 0) << joined(args);
        EXPECT_EQ(r.out, help) << joined(args);
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
