// velkor2tr-cli survey's help and usage errors as it prints them today, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliTool.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

// Each command's help, "" the survey's own.
const std::vector<std::pair<std::string, std::string>> kHelp{
    {"",
     "Build a survey of many days, place and correct its readings, and write them for GIS "
     "and gridding software.\n"
     "Usage: velkor2tr-cli survey [OPTIONS] SUBCOMMAND\n"
     "\n"
     "Options:\n"
     "  -h,--help                   Print this help message and exit\n"
     "\n"
     "Subcommands:\n"
     "  new                         make a new survey file with no day\n"
     "  add                         add data files to the survey as its days\n"
     "  base                        add a variations file as a base source\n"
     "  place                       place the readings: by origin, azimuth and spacing, or "
     "by control points\n"
     "  set                         change the corrections, the coordinate system and how "
     "the readings are gridded\n"
     "  info                        show the days, base sources, placement, corrections, "
     "ranges and counts\n"
     "  export                      write the placed, corrected readings\n"
     "  grid                        grid the readings by minimum curvature with tension and "
     "write the grid\n"
     "  contours                    grid the readings and write the grid's contour lines\n"
     "  plot                        draw the survey map: readings, colour grid, shaded "
     "relief and contours\n"
     "  plot-lines                  print the survey's line profiles to a PDF, a number of "
     "lines to a page\n"
     "  despike                     list the spike candidates along the survey lines; "
     "--apply flags them\n"
     "  flag                        flag a reading, or clear its flag\n"
     "\n"},
    {"new",
     "make a new survey file with no day\n"
     "Usage: velkor2tr-cli survey new [OPTIONS] SURVEY\n"
     "\n"
     "Positionals:\n"
     "  SURVEY REQUIRED             the survey file (.vsurvey)\n"
     "\n"
     "Options:\n"
     "  -h,--help                   Print this help message and exit\n"
     "  --crs EPSG:CODE             its coordinate system: a projected one in metres "
     "(default: none, local metres)\n"
     "\n"},
    {"add",
     "add data files to the survey as its days\n"
     "Usage: velkor2tr-cli survey add [OPTIONS] SURVEY DATAFILE...\n"
     "\n"
     "Positionals:\n"
     "  SURVEY REQUIRED             the survey file (.vsurvey)\n"
     "  DATAFILE ... REQUIRED       data files, each read as it is, never written\n"
     "\n"
     "Options:\n"
     "  -h,--help                   Print this help message and exit\n"
     "\n"},
    {"base",
     "add a variations file as a base source\n"
     "Usage: velkor2tr-cli survey base [OPTIONS] SURVEY [FILE]\n"
     "\n"
     "Positionals:\n"
     "  SURVEY REQUIRED             the survey file (.vsurvey)\n"
     "  FILE                        the base-station file: a variations file, an IAGA-2002 "
     "or a CSV file (none with --format survey)\n"
     "\n"
     "Options:\n"
     "  -h,--help                   Print this help message and exit\n"
     "  --offset SECONDS            seconds added to its times (default 0)\n"
     "  --format velkor|iaga2002|csv|auto|survey:{velkor,iaga2002,csv,auto,survey}\n"
     "                              a variations file, an observatory's IAGA-2002 file, a "
     "CSV file (default auto: told by the file's content), or survey: the survey's own "
     "base-station readings\n"
     "  --columns DATE,TIME,VALUE|DATETIME,VALUE\n"
     "                              for CSV, the columns to take (default: chosen by their "
     "names)\n"
     "\n"},
    {"place",
     "place the readings: by origin, azimuth and spacing, or by control points\n"
     "Usage: velkor2tr-cli survey place [OPTIONS] SURVEY\n"
     "\n"
     "Positionals:\n"
     "  SURVEY REQUIRED             the survey file (.vsurvey)\n"
     "\n"
     "Options:\n"
     "  -h,--help                   Print this help message and exit\n"
     "  --origin E,N Needs: --azimuth --line-spacing --station-interval Excludes: --control\n"
     "                              where line and position of the first reading lie\n"
     "  --azimuth DEG Excludes: --control\n"
     "                              of increasing positions, degrees from north\n"
     "  --line-spacing M            metres between lines (default 1)\n"
     "  --station-interval M        metres between positions (default 1)\n"
     "  --first-line L Excludes: --control\n"
     "                              the line at the origin (default 0)\n"
     "  --first-position P Excludes: --control\n"
     "                              the position at the origin (default 0)\n"
     "  --lines-to right|left:{right,left}\n"
     "                              where increasing lines lie, looking along the positions "
     "(default left)\n"
     "  --control LINE,POS,E,N ... Excludes: --origin --azimuth --first-line "
     "--first-position\n"
     "                              a reading place and its coordinates; two or more fit the "
     "placement\n"
     "\n"},
    {"set",
     "change the corrections, the coordinate system and how the readings are gridded\n"
     "Usage: velkor2tr-cli survey set [OPTIONS] SURVEY\n"
     "\n"
     "Positionals:\n"
     "  SURVEY REQUIRED             the survey file (.vsurvey)\n"
     "\n"
     "Options:\n"
     "  -h,--help                   Print this help message and exit\n"
     "  --datum NT                  nT added to every diurnal value (field - base + datum)\n"
     "  --normal none|NT|igrf       the normal field taken away: none, a constant in nT, or "
     "IGRF-14 at each reading\n"
     "  --height M                  metres above the ellipsoid for IGRF-14 (default 0)\n"
     "  --crs EPSG:CODE|none        the coordinate system, or none\n"
     "  --what anomaly|diurnal|field|gradient:{anomaly,diurnal,field,gradient}\n"
     "                              the value gridded (default: the survey's; anomaly in a "
     "new survey)\n"
     "  --cell M|default            metres between nodes (default: half the smaller of the "
     "reading spacing along lines and the line spacing)\n"
     "  --tension T|default         0 (minimum curvature) to 1 (default 0.25)\n"
     "  --blank M|none|default      nodes farther than this from every reading have no "
     "value; none blanks nothing (default 2.5 line spacings)\n"
     "  --interval NT|default       nT between contour levels (default: about 20 levels over "
     "the values)\n"
     "  --regional none|plane|quadratic:{none,plane,quadratic}\n"
     "                              the regional trend fitted to the readings and taken away "
     "before gridding\n"
     "\n"},
    {"info",
     "show the days, base sources, placement, corrections, ranges and counts\n"
     "Usage: velkor2tr-cli survey info [OPTIONS] SURVEY\n"
     "\n"
     "Positionals:\n"
     "  SURVEY REQUIRED             the survey file (.vsurvey)\n"
     "\n"
     "Options:\n"
     "  -h,--help                   Print this help message and exit\n"
     "\n"},
    {"export",
     "write the placed, corrected readings\n"
     "Usage: velkor2tr-cli survey export [OPTIONS] SURVEY OUT\n"
     "\n"
     "Positionals:\n"
     "  SURVEY REQUIRED             the survey file (.vsurvey)\n"
     "  OUT REQUIRED                the file to write\n"
     "\n"
     "Options:\n"
     "  -h,--help                   Print this help message and exit\n"
     "  --format csv|xyz|gpkg|shp|kml:{csv,xyz,gpkg,shp,kml}\n"
     "                              the format (default: from OUT's extension)\n"
     "  --unflagged                 leave flagged readings out\n"
     "\n"},
    {"grid",
     "grid the readings by minimum curvature with tension and write the grid\n"
     "Usage: velkor2tr-cli survey grid [OPTIONS] SURVEY OUT\n"
     "\n"
     "Positionals:\n"
     "  SURVEY REQUIRED             the survey file (.vsurvey)\n"
     "  OUT REQUIRED                the grid file\n"
     "\n"
     "Options:\n"
     "  -h,--help                   Print this help message and exit\n"
     "  --what anomaly|diurnal|field|gradient:{anomaly,diurnal,field,gradient}\n"
     "                              the value gridded (default: the survey's; anomaly in a "
     "new survey)\n"
     "  --cell M|default            metres between nodes (default: half the smaller of the "
     "reading spacing along lines and the line spacing)\n"
     "  --tension T|default         0 (minimum curvature) to 1 (default 0.25)\n"
     "  --blank M|none|default      nodes farther than this from every reading have no "
     "value; none blanks nothing (default 2.5 line spacings)\n"
     "  --format geotiff|surfer7|surfer6|esri:{geotiff,surfer7,surfer6,esri}\n"
     "                              GeoTIFF, Surfer 7 binary, Surfer 6 text or ESRI ASCII "
     "grid (default: from OUT's extension, .tif .grd .asc)\n"
     "\n"},
    {"contours",
     "grid the readings and write the grid's contour lines\n"
     "Usage: velkor2tr-cli survey contours [OPTIONS] SURVEY OUT\n"
     "\n"
     "Positionals:\n"
     "  SURVEY REQUIRED             the survey file (.vsurvey)\n"
     "  OUT REQUIRED                the contour file\n"
     "\n"
     "Options:\n"
     "  -h,--help                   Print this help message and exit\n"
     "  --what anomaly|diurnal|field|gradient:{anomaly,diurnal,field,gradient}\n"
     "                              the value gridded (default: the survey's; anomaly in a "
     "new survey)\n"
     "  --cell M|default            metres between nodes (default: half the smaller of the "
     "reading spacing along lines and the line spacing)\n"
     "  --tension T|default         0 (minimum curvature) to 1 (default 0.25)\n"
     "  --blank M|none|default      nodes farther than this from every reading have no "
     "value; none blanks nothing (default 2.5 line spacings)\n"
     "  --interval NT|default       nT between contour levels (default: about 20 levels over "
     "the values)\n"
     "  --format gpkg|shp|dxf|kml:{gpkg,shp,dxf,kml}\n"
     "                              the format (default: from OUT's extension)\n"
     "\n"},
    {"plot",
     "draw the survey map: readings, colour grid, shaded relief and contours\n"
     "Usage: velkor2tr-cli survey plot [OPTIONS] SURVEY OUT\n"
     "\n"
     "Positionals:\n"
     "  SURVEY REQUIRED             the survey file (.vsurvey)\n"
     "  OUT REQUIRED                the picture (.png), or the printed page (.pdf)\n"
     "\n"
     "Options:\n"
     "  -h,--help                   Print this help message and exit\n"
     "  --what anomaly|diurnal|field|gradient:{anomaly,diurnal,field,gradient}\n"
     "                              the value gridded (default: the survey's; anomaly in a "
     "new survey)\n"
     "  --cell M|default            metres between nodes (default: half the smaller of the "
     "reading spacing along lines and the line spacing)\n"
     "  --tension T|default         0 (minimum curvature) to 1 (default 0.25)\n"
     "  --blank M|none|default      nodes farther than this from every reading have no "
     "value; none blanks nothing (default 2.5 line spacings)\n"
     "  --interval NT|default       nT between contour levels (default: about 20 levels over "
     "the values)\n"
     "  --show readings,grid,shade,contours\n"
     "                              the layers, any of readings, grid, shade and contours "
     "(default all)\n"
     "  --size WxH                  pixels (default 900x560)\n"
     "\n"},
    {"plot-lines",
     "print the survey's line profiles to a PDF, a number of lines to a page\n"
     "Usage: velkor2tr-cli survey plot-lines [OPTIONS] SURVEY OUT\n"
     "\n"
     "Positionals:\n"
     "  SURVEY REQUIRED             the survey file (.vsurvey)\n"
     "  OUT REQUIRED                the document (.pdf)\n"
     "\n"
     "Options:\n"
     "  -h,--help                   Print this help message and exit\n"
     "  --what field|diurnal|anomaly|gradient:{field,diurnal,anomaly,gradient}\n"
     "                              the value drawn against position (default field)\n"
     "  --lines-per-page N:INT in [1 - 20]\n"
     "                              lines on each page (default 4)\n"
     "\n"},
    {"despike",
     "list the spike candidates along the survey lines; --apply flags them\n"
     "Usage: velkor2tr-cli survey despike [OPTIONS] SURVEY\n"
     "\n"
     "Positionals:\n"
     "  SURVEY REQUIRED             the survey file (.vsurvey)\n"
     "\n"
     "Options:\n"
     "  -h,--help                   Print this help message and exit\n"
     "  --window N                  readings in the running median, the one looked at among "
     "them (default 5)\n"
     "  --threshold NT              nT from the median (default: 5 times the line's noise, "
     "at least 2)\n"
     "  --apply                     flag every candidate with the word spike\n"
     "\n"},
    {"flag",
     "flag a reading, or clear its flag\n"
     "Usage: velkor2tr-cli survey flag [OPTIONS] SURVEY FILE READING\n"
     "\n"
     "Positionals:\n"
     "  SURVEY REQUIRED             the survey file (.vsurvey)\n"
     "  FILE REQUIRED               the day's data file\n"
     "  READING REQUIRED            the reading's number, as the list numbers it\n"
     "\n"
     "Options:\n"
     "  -h,--help                   Print this help message and exit\n"
     "  --clear                     take the flag away\n"
     "  --word WORD                 the flag's word (default manual)\n"
     "\n"},
};

const std::string kRunHelp =
    "Run \"velkor2tr-cli survey --help\" or \"velkor2tr-cli survey COMMAND --help\" for the "
    "commands and their options.\n";

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun survey(std::vector<std::string> args) {
    args.insert(args.begin(), "survey");
    std::ostringstream out;
    std::ostringstream err;
    const int status = CliTool(out, err).run(args);
    return {status, out.str(), err.str()};
}

std::string joined(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& a : args) {
        line += " " + a;
    }
    return line;
}

std::string sample(const std::string& name) {
    return std::string(VELKOR_SAMPLES) + "/" + name;
}

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

}  // namespace

TEST(SurveyHelp, EachCommandsHelpOnStdout) {
    for (const auto& [command, help] : kHelp) {
        for (const char* flag : {"--help", "-h"}) {
            std::vector<std::string> args;
            if (!command.empty()) {
                args.push_back(command);
            }
            args.push_back(flag);
            const ToolRun r = survey(args);
            EXPECT_EQ(r.status, 0) << joined(args);
            EXPECT_EQ(inNameOrder(r.out), inNameOrder(help)) << joined(args);
            EXPECT_EQ(r.out.size(), help.size()) << joined(args);
            EXPECT_EQ(r.err, "") << joined(args);
        }
    }
    // Help goes before any other word, right or wrong.
    TempDir dir;
    EXPECT_EQ(survey({"grid", "s.vsurvey", "--cell", "x", "--help", "extra"}).out, kHelp[8].second);
    EXPECT_EQ(survey({"nothing", "--help"}).out, kHelp[0].second);
}

TEST(SurveyHelp, UsageErrorsSayWhatAndWhereToLook) {
    TempDir dir;
    const std::string file = dir.path("s.vsurvey");
    ASSERT_EQ(survey({"new", file}).status, 0);
    ASSERT_EQ(survey({"add", file, sample("week.velkor")}).status, 0);
    const std::string before = TempDir::read(file);
    const std::string out = dir.path("out");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
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
        {{"base", file, sample("base.a"), "--format", "survey"},
         "base: --format survey takes no FILE"},
        {{"base", file, sample("base.a"), "--format", "pdf"},
         "--format: pdf not in {velkor,iaga2002,csv,auto,survey}"},
        {{"base", file, sample("base.a"), "--offset", "x"}, "Could not convert: --offset = x"},
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
    };
    for (const auto& [args, text] : cases) {
        const ToolRun r = survey(args);
        EXPECT_EQ(r.status, 2) << joined(args);
        EXPECT_EQ(r.out, "") << joined(args);
        EXPECT_EQ(r.err, "velkor2tr-cli survey: " + text + "\n" + kRunHelp) << joined(args);
    }
    // With more than one missing, any of them may be named first.
    const ToolRun r = survey({"place", file, "--control", "1,2,3,4", "--origin", "1,2"});
    EXPECT_EQ(r.status, 2);
    const std::vector<std::string> missing{"--azimuth", "--line-spacing", "--station-interval"};
    EXPECT_TRUE(std::any_of(missing.begin(), missing.end(), [&](const std::string& name) {
        return r.err == "velkor2tr-cli survey: --origin requires " + name + "\n" + kRunHelp;
    })) << r.err;
    EXPECT_EQ(TempDir::read(file), before);
}

}  // namespace velkor
