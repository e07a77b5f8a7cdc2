// velkor2tr-cli survey's help and usage errors as it prints them today, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliTool.h"
#include "support/Fixture.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velkor {
namespace {

// The survey's commands, "" the survey itself, in the order its help lists them.
const std::vector<std::string> kCommands{
    "",       "new",  "add",      "base",      "track", "place",      "set",     "info",
    "export", "grid", "contours", "transform", "plot",  "plot-lines", "despike", "flag"};

// A command's help as the fixture file holds it, "" the survey's own.
std::string surveyHelpText(const std::string& command) {
    return Fixture::text("cli/survey" + (command.empty() ? "" : "-" + command) + "-help.txt");
}

const std::string kRunHelp =
    "Run \"velkor2tr-cli survey --help\" or \"velkor2tr-cli survey COMMAND --help\" for the "
    "commands and their options.\n";

// The text with the option names after each "Needs:" and "Excludes:" in name order: the
// parser lists them in the order of their places in memory, which differs from run to run.
std::string inNameOrder(const std::string& text) {
    std::istringstream lines(text);
    std::string result;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::vector<std::string> names;
        std::string kept = line.substr(0, line.find_first_not_of(' '));
        const auto flush = [&] {
            std::sort(names.begin(), names.end());
            for (const std::string& n : names) {
                kept += n + " ";
            }
            names.clear();
        };
        bool listing = false;
        for (std::string word; words >> word;) {
            if (listing && word.rfind("--", 0) == 0) {
                names.push_back(word);
                continue;
            }
            flush();
            listing = word == "Needs:" || word == "Excludes:";
            kept += word + " ";
        }
        flush();
        result += kept + "\n";
    }
    return result;
}

// A survey of one day, and its bytes, which no usage error may change.
class SurveyUsageErrors : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(surveyTool({"new", file}).status, 0);
        ASSERT_EQ(surveyTool({"add", file, Fixture::sample("week.velkor")}).status, 0);
        before = TempDir::read(file);
    }

    // Each call ends with status 2, its text and where to look on stderr, and the survey
    // as it was.
    void expectErrors(
        const std::vector<std::pair<std::vector<std::string>, std::string>>& cases) const {
        for (const auto& [args, text] : cases) {
            const ToolRun r = surveyTool(args);
            EXPECT_EQ(r.status, 2) << commandLine(args);
            EXPECT_EQ(r.out, "") << commandLine(args);
            EXPECT_EQ(r.err, "velkor2tr-cli survey: " + text + "\n" + kRunHelp)
                << commandLine(args);
        }
        EXPECT_EQ(TempDir::read(file), before);
    }

    TempDir dir;
    const std::string file = dir.path("s.vsurvey");
    const std::string out = dir.path("out");
    std::string before;
};

}  // namespace

TEST(SurveyHelp, EachCommandsHelpOnStdout) {
    for (const std::string& command : kCommands) {
        const std::string text = surveyHelpText(command);
        for (const char* flag : {"--help", "-h"}) {
            std::vector<std::string> args;
            if (!command.empty()) {
                args.push_back(command);
            }
            args.push_back(flag);
            const ToolRun r = surveyTool(args);
            EXPECT_EQ(r.status, 0) << commandLine(args);
            EXPECT_EQ(inNameOrder(r.out), inNameOrder(text)) << commandLine(args);
            EXPECT_EQ(r.out.size(), text.size()) << commandLine(args);
            EXPECT_EQ(r.err, "") << commandLine(args);
        }
    }
    // Help goes before any other word, right or wrong.
    TempDir dir;
    EXPECT_EQ(surveyTool({"grid", "s.vsurvey", "--cell", "x", "--help", "extra"}).out,
              surveyHelpText("grid"));
    EXPECT_EQ(surveyTool({"nothing", "--help"}).out, surveyHelpText(""));
}

TEST_F(SurveyUsageErrors, OfTheWordsAndTheCommandsThatBuildTheSurvey) {
    expectErrors({
        {{}, "A subcommand is required"},
        {{"nothing", file}, "A subcommand is required"},
        {{"--bogus"}, "A subcommand is required"},
        {{"info"}, "SURVEY is required"},
        {{"info", file, "x"}, "The following argument was not expected: x"},
        {{"info", file, "--bogus"}, "The following argument was not expected: --bogus"},
        {{"info", file, "--crs=1"}, "The following argument was not expected: --crs=1"},
        {{"new", dir.path("n.vsurvey"), "--crs", "none"},
         "--crs: give EPSG: and the code of a projected coordinate system"},
        {{"new", dir.path("n.vsurvey"), "--crs", "EPSG:x"},
         "--crs: give EPSG: and the code of a projected coordinate system"},
        {{"add", file}, "DATAFILE is required"},
        {{"base", file}, "base: give the FILE"},
        {{"base", file, Fixture::sample("base.a"), "--format", "survey"},
         "base: --format survey takes no FILE"},
        {{"base", file, Fixture::sample("base.a"), "--format", "pdf"},
         "--format: pdf not in {velkor,iaga2002,csv,auto,survey}"},
        {{"base", file, Fixture::sample("base.a"), "--offset", "x"},
         "Could not convert: --offset = x"},
        {{"place", file}, "place: give --origin E,N or --control points"},
        {{"place", file, "--azimuth", "0"}, "place: give --origin E,N or --control points"},
        {{"place", file, "--origin", "0,0", "--line-spacing", "1", "--station-interval", "1"},
         "--origin requires --azimuth"},
        {{"place", file, "--origin", "0,0", "--azimuth", "0", "--station-interval", "1"},
         "--origin requires --line-spacing"},
        {{"place", file, "--origin", "0,0", "--azimuth", "0", "--line-spacing", "1"},
         "--origin requires --station-interval"},
        {{"place", file, "--origin", "0,0,1", "--azimuth", "0", "--line-spacing", "1",
          "--station-interval", "1"},
         "--origin: give E,N, two numbers"},
        {{"place", file, "--origin", "500000,6200000x", "--azimuth", "0", "--line-spacing", "1",
          "--station-interval", "1"},
         "--origin: give E,N, two numbers"},
        {{"place", file, "--control", "1,2,3"},
         "--control: give LINE,POS,E,N, four numbers: 1,2,3"},
        {{"place", file, "--control", "1,2,3,4", "--azimuth", "10"},
         "--azimuth excludes --control"},
        {{"place", file, "--lines-to", "up"}, "--lines-to: up not in {right,left}"},
        {{"set", file, "--normal", "high"}, "--normal: give none, igrf or a value in nT"},
        {{"set", file, "--normal", "12abc"}, "--normal: give none, igrf or a value in nT"},
        {{"set", file, "--crs", "32633"},
         "--crs: give EPSG: and the code of a projected coordinate system, or none"},
        {{"set", file, "--datum", "x"}, "Could not convert: --datum = x"},
        {{"set", file, "--height", "x"}, "Could not convert: --height = x"},
        {{"set", file, "--cell", "5m"}, "--cell: give metres above 0, or default"},
        {{"set", file, "--blank", "far"}, "--blank: give metres above 0, none, or default"},
        {{"set", file, "--interval", "0"}, "--interval: give nT above 0, or default"},
        {{"set", file, "--tension", "x"}, "--tension: give a number from 0 to 1, or default"},
        {{"set", file, "--what", "base"}, "--what: base not in {anomaly,diurnal,field,gradient}"},
    });
}

TEST_F(SurveyUsageErrors, OfTheCommandsThatWriteTheSurveyOut) {
    expectErrors({
        {{"export", file, out + ".txt"},
         out + ".txt: the extension names no format; give --format"},
        {{"export", file, out + ".csv", "--format", "pdf"},
         "--format: pdf not in {csv,xyz,gpkg,shp,kml}"},
        {{"export", file, out + ".csv", "--format", "shp"},
         out + ".csv: a Shapefile's name ends in .shp"},
        {{"export", file}, "OUT is required"},
        {{"grid", file, out + ".png"},
         out + ".png: the extension names no grid format; give --format"},
        {{"grid", file, out + ".tif", "--tension", "1.5"},
         "--tension: give a number from 0 to 1, or default"},
        {{"grid", file, out + ".tif", "--what", "base"},
         "--what: base not in {anomaly,diurnal,field,gradient}"},
        {{"grid", file, out + ".tif", "--format", "png"},
         "--format: png not in {geotiff,surfer7,surfer6,esri}"},
        {{"grid", file, out + ".tif", "--interval", "5"},
         "The following arguments were not expected: 5 --interval"},
        {{"contours", file, out + ".gpkg", "--interval", "0"},
         "--interval: give nT above 0, or default"},
        {{"contours", file, out + ".txt", "--format", "shp"},
         out + ".txt: a Shapefile's name ends in .shp"},
        {{"contours", file, out + ".txt"},
         out + ".txt: the extension names no format; give --format"},
        {{"plot", file, out + ".tif"},
         out + ".tif: the map is drawn as PNG or printed as PDF; name a file ending in .png or "
               ".pdf"},
        {{"plot", file, out + ".png", "--show", "x"},
         "--show: give any of readings, grid, shade and contours, separated by commas"},
        {{"plot", file, out + ".png", "--size", "10x10"},
         "--size: give WxH, each from 200 to 10000 pixels"},
        {{"plot-lines", file, out + ".png"},
         out + ".png: the line profiles are written as PDF; name a file ending in .pdf"},
        {{"plot-lines", file, out + ".pdf", "--lines-per-page", "0"},
         "--lines-per-page: Value 0 not in range 1 to 20"},
        {{"plot-lines", file, out + ".pdf", "--lines-per-page", "x"},
         "--lines-per-page: Value x not in range 1 to 20"},
        {{"plot-lines", file, out + ".pdf", "--what", "base"},
         "--what: base not in {field,diurnal,anomaly,gradient}"},
        {{"despike", file, "--window", "4"}, "--window: give an odd number from 3 to 101"},
        {{"despike", file, "--window", "x"}, "--window: give an odd number from 3 to 101"},
        {{"despike", file, "--threshold", "0"}, "--threshold: give nT above 0"},
        {{"flag", file}, "FILE is required"},
        {{"flag", file, "a"}, "READING is required"},
        {{"flag", file, "a", "x"}, "Could not convert: READING = x"},
        {{"flag", file, "a", "b", "c"}, "Could not convert: READING = b"},
        {{"flag", file, "a", "1", "--word"}, "--word: 1 required WORD missing"},
    });
}

TEST_F(SurveyUsageErrors, WithMoreThanOneMissingAnyMayBeNamedFirst) {
    const ToolRun r = surveyTool({"place", file, "--control", "1,2,3,4", "--origin", "1,2"});
    EXPECT_EQ(r.status, 2);
    const std::vector<std::string> missing{"--azimuth", "--line-spacing", "--station-interval"};
    EXPECT_TRUE(std::any_of(missing.begin(), missing.end(), [&](const std::string& name) {
        return r.err == "velkor2tr-cli survey: --origin requires " + name + "\n" + kRunHelp;
    })) << r.err;
    EXPECT_EQ(TempDir::read(file), before);
}

}  // namespace velkor
