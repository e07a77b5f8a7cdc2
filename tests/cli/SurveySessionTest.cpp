// A small survey through velkor2tr-cli survey from start to end, as the tool prints and
// writes it today: every line of output, the survey file and the files written.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTool.h"
#include "support/Fixture.h"
#include "support/RecordingPictures.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velkor {
namespace {

// Three lines of five positions, one reading far off the rest, and a base-station reading.
const std::string kSessionDay =
    "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n"
    "S 03.07.2026 10:05:00     1     1 48111.0  0.7 7 1.5               \r\n"
    "G 03.07.2026 10:05:20     1     2 48112.0  0.7 7 1.5      3.5      \r\n"
    "S 03.07.2026 10:05:40     1     3 48113.0  0.7 7 1.5               \r\n"
    "S 03.07.2026 10:06:00     1     4 48114.0  0.7 7 1.5               \r\n"
    "S 03.07.2026 10:06:20     1     5 48115.0  0.7 7 1.5               \r\n"
    "S 03.07.2026 10:06:40     2     1 48121.0  0.7 7 1.5               \r\n"
    "G 03.07.2026 10:07:00     2     2 48122.0  0.7 7 1.5      3.5      \r\n"
    "S 03.07.2026 10:07:20     2     3 48153.0  0.7 7 1.5               \r\n"
    "S 03.07.2026 10:07:40     2     4 48124.0  0.7 7 1.5               \r\n"
    "S 03.07.2026 10:08:00     2     5 48125.0  0.7 7 1.5               \r\n"
    "S 03.07.2026 10:08:20     3     1 48131.0  0.7 7 1.5               \r\n"
    "G 03.07.2026 10:08:40     3     2 48132.0  0.7 7 1.5      3.5      \r\n"
    "S 03.07.2026 10:09:00     3     3 48133.0  0.7 7 1.5               \r\n"
    "S 03.07.2026 10:09:20     3     4 48134.0  0.7 7 1.5               \r\n"
    "S 03.07.2026 10:09:40     3     5 48135.0  0.7 7 1.5               \r\n"
    "A 03.07.2026 10:05:00     0     0 48004.6  0.7 7 1.5               \r\n";

// The numbers the gridding's solver reaches, left out: they are the gridding's to pin.
std::string solverFree(const std::string& report) {
    std::string text = std::regex_replace(report, std::regex("limit [^ ]+ nT"), "limit # nT");
    text = std::regex_replace(text, std::regex("\\d+ iterations, last change [^ ]+ nT"),
                              "# iterations, last change # nT");
    text =
        std::regex_replace(text, std::regex("mean [^ ]+ nT, rms [^ ]+ nT"), "mean # nT, rms # nT");
    return std::regex_replace(text, std::regex("nT, \\d+ lines"), "nT, # lines");
}

class SurveySession : public ::testing::Test {
  protected:
    // The survey file's line after each change.
    std::string told(const std::string& bases) const {
        return file + ": days 1, readings 16 (merged 0, left out 0), base sources " + bases + "\n";
    }
    // A survey of the day with its base, placed by parameters and corrected.
    void build() {
        ASSERT_EQ(placedSurvey(file, day, base, "30").status, 0);
        ASSERT_EQ(surveyTool({"set", file, "--datum", "48000", "--normal", "48100"}).status, 0);
    }

    TempDir dir;
    const std::string day = dir.write("day.velkor", kSessionDay);
    const std::string base = dir.write("base.a", Fixture::text("three-samples.a"));
    const std::string file = dir.path("t.vsurvey");
};

const std::string kCounts = "16 readings, 0 merged, 0 left out\n";
const std::string kCorrections =
    "left out: 0 (line without a number 0, position without a number 0, field without a "
    "number 0)\n"
    "corrected: 15, base-station readings: 1, more than an hour from a base sample: 0\n"
    "uncorrected no-sample: 0\nuncorrected one-sample: 0\nuncorrected outside-span: 0\n"
    "uncorrected equal-times: 0\nuncorrected field-no-number: 0\n"
    "uncorrected sample-no-number: 0\n";
const std::string kValues =
    "field: 48004.60 to 48153.00 nT (16 readings)\n"
    "base: 48005.00 to 48009.67 nT (15 readings)\n"
    "diurnal: 48106.00 to 48145.67 nT (15 readings)\n"
    "normal: 48100.00 to 48100.00 nT (15 readings)\n"
    "anomaly: 6.00 to 45.67 nT (15 readings)\n";

}  // namespace

TEST_F(SurveySession, EachChangeIsToldAndARefusedOneLeavesTheFile) {
    ToolRun r = surveyTool({"new", file, "--crs", "EPSG:32633"});
    EXPECT_EQ(r, (ToolRun{0, file + ": days 0, readings 0 (merged 0, left out 0), base sources 0\n",
                          ""}));
    r = surveyTool({"new", file});
    EXPECT_EQ(r, (ToolRun{1, "", file + ": a file of that name exists; nothing was written.\n"}));
    r = surveyTool({"add", file, day});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, told("0"));
    r = surveyTool({"add", file, day});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "The data file " + day +
                         " is in the survey already.\nThe survey file was not changed.\n");
    r = surveyTool({"base", file, base});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, told("1"));
    EXPECT_EQ(r.err, "");
    r = surveyTool({"base", file, base});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "base.a at offset 0 s is a base source of the survey already.\nThe survey file was "
              "not changed.\n");
    r = surveyTool({"base", file, "--format", "survey", "--offset", "60"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, told("2"));
    r = surveyTool({"base", file, "--format", "survey", "--offset", "60"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "The survey's base-station readings are a base source of the survey already.\nThe "
              "survey file was not changed.\n");

    r = surveyTool({"place", file, "--control", "0,0,500000,6200000", "--control",
                    "2,0,499980,6200000", "--control", "0,4,500000,6200021", "--station-interval",
                    "5", "--line-spacing", "10", "--lines-to", "right"});
    EXPECT_EQ(r.status, 0);
    const std::string placement =
        "Placement by 3 control points: azimuth 87.2073, scale 0.513109, lines to the right\n"
        "  line 0, position 0 at 500000.000, 6200000.000: residual 10.250, -10.250 (14.496 m)\n"
        "  line 2, position 0 at 499980.000, 6200000.000: residual -10.250, 0.000 (10.250 m)\n"
        "  line 0, position 4 at 500000.000, 6200021.000: residual 0.000, 10.250 (10.250 m)\n";
    EXPECT_EQ(r.out, placement + told("2"));
    // Given to the wrong side: taken, and said so.
    EXPECT_EQ(r.err,
              "Control point 1 (line 0, position 0) is 14.496 m from where the fit places it, "
              "more than half the line spacing: check its line, position, easting and northing. "
              "With the lines to the left the largest residual is 0.354 m: the lines may lie on "
              "the other side.\n");
    r = surveyTool({"set", file, "--datum", "48000", "--normal", "igrf", "--height", "150",
                    "--what", "field", "--cell", "5", "--tension", "0.5", "--blank", "none",
                    "--interval", "10"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, told("2"));
    EXPECT_EQ(TempDir::read(file), Fixture::text("cli/session/changed.vsurvey"));
    r = surveyTool({"set", file, "--crs", "none"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, told("2") +
                         "The normal field from IGRF-14 needs each reading's latitude and "
                         "longitude: name the survey's coordinate system.\n");
    ASSERT_EQ(surveyTool({"set", file, "--normal", "48100"}).status, 0);
    r = surveyTool({"info", file});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "days: 1\n  day.velkor: dates 03.07.2026, readings 16, merged 0, left out 0, base "
              "cover 100.0 %\nbase sources: 2\n  base.a: offset 0 s, 3 samples, dates 03.07.2026 "
              "- 03.07.2026\n  base-station readings: offset 60 s, 1 samples, dates 03.07.2026 - "
              "03.07.2026\n" +
                  placement +
                  "No coordinate system: local metres\nDatum 48000.00 nT, normal field 48100.00 "
                  "nT\n" +
                  kCounts +
                  "Gridding: field, cell 5 m, tension 0.5, blanking distance none, contour "
                  "interval 10 nT\nflags: 0\n" +
                  kCorrections +
                  "easting: 499989.75 to 500003.31 m (16 readings)\nnorthing: 6199995.00 to "
                  "6200010.25 m (16 readings)\n" +
                  kValues);
}

TEST_F(SurveySession, PlacedByParametersAndExported) {
    ToolRun r = surveyTool({"new", file, "--crs", "EPSG:32633"});
    ASSERT_EQ(surveyTool({"add", file, day}).status, 0);
    ASSERT_EQ(surveyTool({"base", file, base}).status, 0);
    r = surveyTool({"place", file, "--origin", "500000,6200000", "--azimuth", "30",
                    "--line-spacing", "10", "--station-interval", "5"});
    EXPECT_EQ(r.status, 0);
    const std::string placement =
        "Placement by parameters: origin 500000.000, 6200000.000, azimuth 30, line spacing 10 m, "
        "station interval 5 m, first line 0, first position 0, lines to the left\n";
    EXPECT_EQ(r.out, placement + told("1"));
    ASSERT_EQ(surveyTool({"set", file, "--datum", "48000", "--normal", "48100"}).status, 0);
    r = surveyTool({"info", file});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "days: 1\n  day.velkor: dates 03.07.2026, readings 16, merged 0, left out 0, base "
              "cover 100.0 %\nbase sources: 1\n  base.a: offset 0 s, 3 samples, dates 03.07.2026 "
              "- 03.07.2026\n" +
                  placement +
                  "Coordinate system EPSG:32633\nDatum 48000.00 nT, normal field 48100.00 nT\n" +
                  kCounts +
                  "Gridding: anomaly, cell default, tension 0.25, blanking distance default, "
                  "contour interval default\nflags: 0\n" +
                  kCorrections +
                  "easting: 499976.52 to 500003.84 m (16 readings)\nnorthing: 6200000.00 to "
                  "6200036.65 m (16 readings)\n" +
                  kValues);

    const std::string csv = Fixture::text("cli/session/t.csv");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"export", file, dir.path("t.csv")},
             {"export", file, dir.path("t.txt"), "--format", "csv"},
             {"export", file, dir.path("u.csv"), "--unflagged"}}) {
        r = surveyTool(args);
        EXPECT_EQ(r.status, 0) << args[2];
        EXPECT_EQ(r.out, "") << args[2];
        EXPECT_EQ(r.err, "") << args[2];
        EXPECT_EQ(TempDir::read(args[2]), csv) << args[2];
    }
    ASSERT_EQ(surveyTool({"export", file, dir.path("t.xyz")}).status, 0);
    const std::string xyz = TempDir::read(dir.path("t.xyz"));
    EXPECT_EQ(
        xyz.substr(0, xyz.find("day.velkor 1 ")),
        "/ Velkor2tr survey: t\r\n/ file reading line position date time easting northing "
        "latitude longitude field base diurnal normal anomaly gradient flag level\r\nLine 0\r\n"
        "day.velkor 16 0 0 03.07.2026 10:05:00 500000.000 6200000.000 55.94537500 "
        "15.00000000 48004.60 * * * * * * 0.00\r\nLine 1\r\n");
    ASSERT_EQ(surveyTool({"export", file, dir.path("t.kml")}).status, 0);
    const std::string kml = TempDir::read(dir.path("t.kml"));
    EXPECT_EQ(kml.substr(0, kml.find("<Document")),
              "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<kml "
              "xmlns=\"http://www.opengis.net/kml/2.2\">\n");
}

TEST_F(SurveySession, GridsAndContoursWithTheGivenValues) {
    build();
    const std::string grid =
        "gridded: anomaly of 15 readings (0 left out)\n"
        "grid: 7 x 8 nodes, cell 5 m, from 499975.000, 6200005.000; 0 nodes blanked farther than "
        "25 m from every reading\n"
        "tension 0.25, convergence limit # nT\n"
        "level 1: 4 x 5, cell 10 m, # iterations, last change # nT\n"
        "level 2: 7 x 8, cell 5 m, # iterations, last change # nT\n"
        "misfit at the readings: mean # nT, rms # nT\n";
    ToolRun r = surveyTool({"grid", file, dir.path("t.asc"), "--cell", "5"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(solverFree(r.out), grid + "contours: every 2.5 nT, # lines\n");
    const std::string asc = TempDir::read(dir.path("t.asc"));
    EXPECT_EQ(asc.substr(0, asc.find("NODATA")),
              "ncols        7\nnrows        8\nxllcorner    499972.500000000000\n"
              "yllcorner    6200002.500000000000\ncellsize     5.000000000000\n");
    const std::regex row("( -?\\d+\\.\\d+){7}\n");
    std::istringstream rows(asc.substr(asc.find('\n', asc.find("NODATA")) + 1));
    int count = 0;
    for (std::string line; std::getline(rows, line); ++count) {
        EXPECT_TRUE(std::regex_match(line + "\n", row)) << line;
    }
    EXPECT_EQ(count, 8);

    r = surveyTool({"contours", file, dir.path("t.dxf"), "--cell", "5", "--interval", "10"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(solverFree(r.out), grid + "contours: every 10 nT, # lines\n");
    EXPECT_EQ(TempDir::read(dir.path("t.dxf")).substr(0, 29), "  0\nSECTION\n  2\nHEADER\n  9\n$A");
    r = surveyTool({"grid", file, dir.path("g.grd"), "--format", "surfer6", "--what", "field",
                    "--cell", "5", "--tension", "0.5", "--blank", "30"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(solverFree(r.out),
              "gridded: field of 15 readings (0 left out)\n"
              "grid: 7 x 8 nodes, cell 5 m, from 499975.000, 6200005.000; 0 nodes blanked farther "
              "than 30 m from every reading\n"
              "tension 0.5, convergence limit # nT\n"
              "level 1: 4 x 5, cell 10 m, # iterations, last change # nT\n"
              "level 2: 7 x 8, cell 5 m, # iterations, last change # nT\n"
              "misfit at the readings: mean # nT, rms # nT\n"
              "contours: every 2.5 nT, # lines\n");
    EXPECT_EQ(TempDir::read(dir.path("g.grd")).substr(0, 43),
              "DSAA\r\n7 8\r\n499975 500005\r\n6200005 6200040\r\n");
    r = surveyTool({"grid", file, dir.path("g.tif"), "--blank", "none"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("; no node blanked\n"), std::string::npos) << r.out;
    EXPECT_EQ(TempDir::read(dir.path("g.tif")).substr(0, 4), std::string("II*\0", 4));
}

TEST_F(SurveySession, SpikesListedThenFlaggedAndFlagsClearedOneByOne) {
    build();
    const std::string header = "file,reading,line,position,value,median,reason\n";
    ToolRun r = surveyTool({"despike", file});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    // Only the reading far off the rest: the ends of the lines follow their lines.
    const std::string found = header + "day.velkor,8,2,3,48153.00,48123.00,median\n";
    EXPECT_EQ(r.out, found);
    const std::string before = TempDir::read(file);
    r = surveyTool({"despike", file, "--window", "3", "--threshold", "5"});
    EXPECT_EQ(r.out, found);
    EXPECT_EQ(TempDir::read(file), before);
    r = surveyTool({"despike", file, "--window", "3", "--threshold", "5", "--apply"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, found + "1 readings flagged as spike\n" + told("1"));
    const std::string flagged = TempDir::read(file);
    EXPECT_EQ(flagged.substr(flagged.find("\"flags\"")),
              Fixture::text("cli/session/flags-tail.txt"));
    EXPECT_NE(surveyTool({"info", file}).out.find("\nflags: 1\n"), std::string::npos);

    r = surveyTool({"flag", file, day, "3", "--word", "fence"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, told("1"));
    EXPECT_NE(TempDir::read(file).find("\"reading\": 3,\n      \"text\": \"S 03.07.2026 10:05:40"
                                       "     1     3 48113.0  0.7 7 1.5               \",\n"
                                       "      \"word\": \"fence\""),
              std::string::npos);
    r = surveyTool({"flag", file, day, "3", "--clear"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, told("1"));
    EXPECT_EQ(TempDir::read(file), flagged);
    for (const auto& [args, message] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"flag", file, day, "3", "--clear"}, day + ": reading 3 has no flag.\n"},
             {{"flag", file, day, "99"}, "day.velkor: no reading 99 (it has 16)\n"},
             {{"flag", file, day, "3", "--word", " "},
              "A flag needs a word, such as manual or spike.\n"},
             {{"flag", file, dir.path("other.velkor"), "3"},
              dir.path("other.velkor") + ": no day of the survey\n"}}) {
        r = surveyTool(args);
        EXPECT_EQ(r.status, 1) << args[2];
        EXPECT_EQ(r.out, "") << args[2];
        EXPECT_EQ(r.err, message) << args[2];
    }
    EXPECT_EQ(TempDir::read(file), flagged);
    ASSERT_EQ(surveyTool({"flag", file, day, "8"}).status, 0);
    EXPECT_NE(TempDir::read(file).find("\"reading\": 8,\n      \"text\": \"S 03.07.2026 10:07:20"
                                       "     2     3 48153.0  0.7 7 1.5               \",\n"
                                       "      \"word\": \"manual\""),
              std::string::npos);
}

TEST_F(SurveySession, PicturesOfTheSurvey) {
    build();
    RecordingPictures pictures;
    ToolRun r = surveyTool(
        {"plot", file, dir.path("m.png"), "--show", "readings", "--size", "640x400"}, &pictures);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(pictures.path, dir.path("m.png"));
    EXPECT_EQ(pictures.size, "640x400");
    r = surveyTool({"plot", file, dir.path("g.png"), "--cell", "5", "--interval", "10"}, &pictures);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(pictures.size, "900x560");
    EXPECT_NE(r.out.find("grid: 7 x 8 nodes, cell 5 m, "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("contours: every 10 nT, "), std::string::npos) << r.out;
    r = surveyTool(
        {"plot-lines", file, dir.path("l.pdf"), "--lines-per-page", "2", "--what", "anomaly"},
        &pictures);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "2 pages\n");
    EXPECT_EQ(pictures.path, dir.path("l.pdf"));
    EXPECT_EQ(pictures.pages.size(), 2u);
    r = surveyTool({"plot-lines", file, dir.path("l.pdf")}, &pictures);
    EXPECT_EQ(r.out, "1 page\n");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"plot", file, dir.path("m.png")}, {"plot-lines", file, dir.path("l.pdf")}}) {
        r = surveyTool(args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_EQ(r.out, "") << args[0];
        EXPECT_EQ(r.err, "velkor2tr-cli: this build draws no pictures.\n") << args[0];
    }
}

}  // namespace velkor
