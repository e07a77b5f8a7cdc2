#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTool.h"
#include "pictures/PictureWriter.h"
#include "support/Fixture.h"
#include "support/RecordingPictures.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velkor {
namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The sample week as a survey with its base, placed by parameters.
class CliSurveyWeek : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(surveyTool({"new", file, "--crs", "EPSG:32633"}).status, 0);
        ASSERT_EQ(surveyTool({"add", file, Fixture::sample("week.velkor")}).status, 0);
        ASSERT_EQ(surveyTool({"base", file, Fixture::sample("week-base.a")}).status, 0);
        ASSERT_EQ(surveyTool({"place", file, "--origin", "500000,6200000", "--azimuth", "0",
                              "--line-spacing", "10", "--station-interval", "5"})
                      .status,
                  0);
    }

    TempDir dir;
    const std::string file = dir.path("week.vsurvey");
};

}  // namespace

TEST(CliSurvey, BuildsPlacesCorrectsAndExportsTheSampleWeek) {
    TempDir dir;
    const std::string file = dir.path("week.vsurvey");
    EXPECT_EQ(surveyTool({"new", file, "--crs", "EPSG:32633"}).status, 0);
    EXPECT_EQ(
        surveyTool({"add", file, Fixture::sample("week.velkor"), Fixture::sample("survey.velkor")})
            .status,
        0);
    EXPECT_EQ(surveyTool({"base", file, Fixture::sample("week-base.a"), "--offset", "0"}).status,
              0);
    // Two control points fix the placement exactly: line 0 position 0 lands on the first.
    ToolRun r = surveyTool({"place", file, "--control", "0,0,500000,6200000", "--control",
                            "10,0,499990,6200000", "--station-interval", "5"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(has(r.out,
                    "line 10, position 0 at 499990.000, 6200000.000: residual 0.000, "
                    "0.000 (0.000 m)"))
        << r.out;
    EXPECT_EQ(surveyTool({"set", file, "--datum", "48000", "--normal", "48100"}).status, 0);

    r = surveyTool({"info", file});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(has(r.out, "days: 2\n  week.velkor: dates 06.07.2026 - 09.07.2026, readings 3240"))
        << r.out;
    EXPECT_TRUE(has(r.out,
                    "  week-base.a: offset 0 s, 1681 samples, dates 06.07.2026 - "
                    "09.07.2026\n"))
        << r.out;
    EXPECT_TRUE(has(r.out,
                    "Coordinate system EPSG:32633\nDatum 48000.00 nT, normal field "
                    "48100.00 nT\n"))
        << r.out;
    EXPECT_TRUE(has(r.out, "normal: 48100.00 to 48100.00 nT")) << r.out;

    for (const char* name : {"w.csv", "w.xyz", "w.gpkg", "w.shp", "w.kml"}) {
        r = surveyTool({"export", file, dir.path(name)});
        EXPECT_EQ(r.status, 0) << name << r.err;
    }
    r = surveyTool({"export", file, dir.path("w.txt"), "--format", "csv"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string csv = TempDir::read(dir.path("w.txt"));
    EXPECT_EQ(csv, TempDir::read(dir.path("w.csv")));
    EXPECT_TRUE(has(csv, "\r\nweek.velkor,1,0,0,06.07.2026,08:05:31,500000.000,6200000.000,"))
        << csv.substr(0, 400);
}

TEST(CliSurvey, FailuresLeaveTheSurveyFileAsItWasAndUsageErrorsSayHow) {
    TempDir dir;
    const std::string file = dir.path("s.vsurvey");
    ASSERT_EQ(surveyTool({"new", file}).status, 0);
    ASSERT_EQ(surveyTool({"add", file, Fixture::sample("week.velkor")}).status, 0);
    const std::string before = TempDir::read(file);

    ToolRun r = surveyTool({"add", file, Fixture::sample("week.velkor")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, "is in the survey already.\nThe survey file was not changed.\n"));
    EXPECT_EQ(surveyTool({"base", file, dir.path("missing.a")}).status, 1);
    EXPECT_EQ(surveyTool({"set", file, "--crs", "EPSG:4326"}).status, 1);
    EXPECT_EQ(surveyTool({"new", file}).status, 1);
    EXPECT_EQ(TempDir::read(file), before);

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"nothing", file},
             {"place", file, "--origin", "0,0"},
             {"place", file, "--origin", "0,0,1", "--azimuth", "0", "--line-spacing", "1",
              "--station-interval", "1"},
             {"place", file, "--control", "1,2,3"},
             {"place", file, "--control", "1,2,3,4", "--azimuth", "10"},
             {"place", file, "--lines-to", "up"},
             {"set", file, "--normal", "high"},
             {"set", file, "--crs", "32633"},
             {"export", file, dir.path("out.txt")},
             {"export", file, dir.path("out.csv"), "--format", "pdf"},
             {"export", file, dir.path("out.csv"), "--format", "shp"},
         }) {
        r = surveyTool(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]) << r.err;
        EXPECT_TRUE(has(r.err, "velkor2tr-cli survey: ")) << r.err;
    }
    EXPECT_EQ(TempDir::read(file), before);

    r = surveyTool({"place", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(has(r.out, "Usage: velkor2tr-cli survey place [OPTIONS] SURVEY")) << r.out;
}

TEST(CliSurvey, NeverWritesOverItsOwnFilesAndReadsNumbersWhole) {
    TempDir dir;
    const std::string file = dir.path("own.vsurvey");
    const std::string day = dir.write("day.velkor", TempDir::read(Fixture::sample("week.velkor")));
    const std::string base = dir.write("base.a", TempDir::read(Fixture::sample("week-base.a")));
    ASSERT_EQ(surveyTool({"new", file}).status, 0);
    ASSERT_EQ(surveyTool({"add", file, day}).status, 0);
    ASSERT_EQ(surveyTool({"base", file, base}).status, 0);
    // Notes are no day, though their short lines would load as readings.
    const std::string notes = dir.write("notes.txt", "Survey notes\nLine 3 wet ground, 12 m\n");
    const ToolRun refused = surveyTool({"add", file, notes});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(has(refused.err, "notes.txt: no reading of the instrument in it")) << refused.err;
    const std::string before = TempDir::read(file);
    for (const std::string& own : {file, day, base}) {
        for (const std::vector<std::string>& args :
             std::vector<std::vector<std::string>>{{"export", file, own, "--format", "csv"},
                                                   {"grid", file, own, "--format", "esri"},
                                                   {"contours", file, own, "--format", "dxf"}}) {
            const ToolRun r = surveyTool(args);
            EXPECT_EQ(r.status, 2) << args[0] << " " << own;
            EXPECT_TRUE(has(r.err, own + " is the survey file or one of its days or base "
                                         "sources: give the output another name."))
                << r.err;
        }
    }
    EXPECT_EQ(TempDir::read(file), before);
    EXPECT_EQ(TempDir::read(day), TempDir::read(Fixture::sample("week.velkor")));
    EXPECT_EQ(TempDir::read(base), TempDir::read(Fixture::sample("week-base.a")));
    // The picture's name says what it is.
    EXPECT_EQ(surveyTool({"plot", file, dir.path("map.tif")}).status, 2);
    EXPECT_EQ(surveyTool({"plot-lines", file, dir.path("lines.png")}).status, 2);
    // A number is the whole text, or it is refused.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"set", file, "--normal", "12abc"},
             {"set", file, "--cell", "5m"},
             {"place", file, "--origin", "500000,6200000x", "--azimuth", "0", "--line-spacing", "1",
              "--station-interval", "1"}}) {
        EXPECT_EQ(surveyTool(args).status, 2) << args[3];
    }
    EXPECT_EQ(TempDir::read(file), before);
}

TEST_F(CliSurveyWeek, GridsAndContoursInEveryFormat) {
    for (const std::vector<std::string>& extra : std::vector<std::vector<std::string>>{
             {"g.tif"}, {"g.grd"}, {"g.asc"}, {"s.grd", "--format", "surfer6"}}) {
        std::vector<std::string> args{"grid", file, dir.path(extra[0]), "--cell", "5"};
        args.insert(args.end(), extra.begin() + 1, extra.end());
        const ToolRun r = surveyTool(args);
        EXPECT_EQ(r.status, 0) << extra[0] << r.err;
        EXPECT_TRUE(has(r.out, "gridded: anomaly of 3200 readings (0 left out)\n")) << r.out;
        EXPECT_TRUE(has(r.out, ", cell 5 m, from ")) << r.out;
        EXPECT_FALSE(TempDir::read(dir.path(extra[0])).empty());
    }
    EXPECT_EQ(TempDir::read(dir.path("s.grd")).substr(0, 4), "DSAA");
    for (const char* name : {"c.gpkg", "c.shp", "c.dxf", "c.kml"}) {
        const ToolRun r =
            surveyTool({"contours", file, dir.path(name), "--interval", "50", "--what", "field"});
        EXPECT_EQ(r.status, 0) << name << r.err;
        EXPECT_TRUE(has(r.out, "contours: every 50 nT, ")) << r.out;
    }
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"grid", file, dir.path("g.png")},
             {"grid", file, dir.path("g.tif"), "--tension", "1.5"},
             {"grid", file, dir.path("g.tif"), "--what", "base"},
             {"contours", file, dir.path("c.gpkg"), "--interval", "0"},
             {"contours", file, dir.path("c.txt"), "--format", "shp"},
         }) {
        EXPECT_EQ(surveyTool(args).status, 2) << args[2];
    }
    const ToolRun bad = surveyTool({"grid", file, dir.path("g.tif"), "--cell", "-1"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(has(bad.err, "--cell: give metres above 0, or default\n")) << bad.err;
}

TEST_F(CliSurveyWeek, DrawsTheGridUnderTheContoursLabels) {
    // The picture: the grid as an image under its contours' labels, the colour bar named.
    RecordingPictures pictures;
    std::ostringstream out;
    std::ostringstream err;
    CliTool tool(out, err, &pictures);
    EXPECT_EQ(tool.run({"survey", "plot", file, dir.path("p.png"), "--size", "800x600", "--show",
                        "grid,contours"}),
              0)
        << err.str();
    EXPECT_EQ(pictures.size, "800x600");
    EXPECT_EQ(pictures.surface.pictures.size(), 1u);
    EXPECT_NE(pictures.surface.findText("Anomaly (nT)"), nullptr);
    EXPECT_FALSE(pictures.surface.turnedTexts.empty());
    EXPECT_EQ(tool.run({"survey", "plot", file, dir.path("p.png"), "--size", "80"}), 2);
    EXPECT_EQ(surveyTool({"plot", file, dir.path("p.png")}).status, 1);  // no pictures here
}

TEST_F(CliSurveyWeek, KeepsItsGridding) {
    // The survey keeps its gridding: set stores it, grid and contours use it unless told
    // otherwise this once, default forgets a value, and a bad value changes nothing.
    const std::string before = TempDir::read(file);
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"set", file, "--tension", "1.5"},
                                               {"set", file, "--blank", "far"},
                                               {"set", file, "--interval", "0"},
                                               {"set", file, "--cell", "5m"}}) {
        EXPECT_EQ(surveyTool(args).status, 2) << args[3];
    }
    EXPECT_EQ(TempDir::read(file), before);
    ASSERT_EQ(surveyTool({"set", file, "--what", "field", "--cell", "10", "--blank", "none",
                          "--interval", "50"})
                  .status,
              0);
    EXPECT_TRUE(has(surveyTool({"info", file}).out,
                    "Gridding: field, cell 10 m, tension 0.25, blanking distance none, "
                    "contour interval 50 nT\n"));
    ToolRun r = surveyTool({"contours", file, dir.path("kept.gpkg")});
    EXPECT_TRUE(has(r.out, "gridded: field of ")) << r.out;
    EXPECT_TRUE(has(r.out, " nodes, cell 10 m, from ")) << r.out;
    EXPECT_TRUE(has(r.out, "; no node blanked\n")) << r.out;
    EXPECT_TRUE(has(r.out, "contours: every 50 nT, ")) << r.out;
    r = surveyTool({"grid", file, dir.path("once.tif"), "--cell", "default", "--what", "anomaly"});
    EXPECT_TRUE(has(r.out, "gridded: anomaly of 3200 readings")) << r.out;
    EXPECT_FALSE(has(r.out, " nodes, cell 10 m, ")) << r.out;
    ASSERT_EQ(surveyTool({"set", file, "--what", "anomaly", "--cell", "default", "--blank",
                          "default", "--interval", "default"})
                  .status,
              0);
    EXPECT_EQ(TempDir::read(file), before);  // the defaults are written as before
}

TEST(CliSurvey, BaseSourcesOfEveryKindSpikesAndFlags) {
    TempDir dir;
    const std::string file = dir.path("w.vsurvey");
    ASSERT_EQ(surveyTool({"new", file}).status, 0);
    // The week with spikes put in: the finder has something to flag.
    ASSERT_EQ(surveyTool({"add", file, Fixture::sample("week-spikes.velkor")}).status, 0);
    // An observatory's file in universal time: the offset carries the survey clock's zone.
    ToolRun r = surveyTool({"base", file, Fixture::sample("week-base.iaga"), "--offset", "7200"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    r = surveyTool({"base", file, Fixture::sample("base.a"), "--format", "velkor"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "base.a: its dates (03.07.2026 to 03.07.2026) never meet the survey's "
              "(06.07.2026 to 09.07.2026)\n");
    EXPECT_TRUE(has(TempDir::read(file), "\"format\": \"iaga2002\""));
    EXPECT_EQ(
        surveyTool({"base", file, Fixture::sample("week-base.csv"), "--format", "pdf"}).status, 2);
    const std::string before = TempDir::read(file);
    r = surveyTool({"base", file, Fixture::sample("week-base.iaga"), "--offset", "7200"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(
        has(r.err, "week-base.iaga at offset 7200 s is a base source of the survey already"))
        << r.err;
    EXPECT_EQ(TempDir::read(file), before);

    r = surveyTool({"despike", file, "--threshold", "15"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 46), "file,reading,line,position,value,median,reason");
    const std::string listed = r.out;
    r = surveyTool({"despike", file, "--threshold", "15", "--apply"});
    EXPECT_EQ(r.status, 0) << r.err;
    const auto rows = std::count(listed.begin(), listed.end(), '\n') - 1;
    EXPECT_GT(rows, 0);
    EXPECT_TRUE(has(r.out, std::to_string(rows) + " readings flagged as spike\n"));
    const std::string text = TempDir::read(file);
    std::size_t spikes = 0;
    for (std::size_t at = text.find("\"spike\""); at != std::string::npos;
         at = text.find("\"spike\"", at + 1)) {
        ++spikes;
    }
    EXPECT_EQ(static_cast<long>(spikes), rows);
    EXPECT_TRUE(has(surveyTool({"info", file}).out, "flags: " + std::to_string(rows) + "\n"));

    EXPECT_EQ(
        surveyTool({"flag", file, Fixture::sample("week-spikes.velkor"), "7", "--word", "fence"})
            .status,
        0);
    EXPECT_TRUE(has(TempDir::read(file), "\"fence\""));
    EXPECT_EQ(
        surveyTool({"flag", file, Fixture::sample("week-spikes.velkor"), "7", "--clear"}).status,
        0);
    EXPECT_FALSE(has(TempDir::read(file), "\"fence\""));
    r = surveyTool({"flag", file, Fixture::sample("week-spikes.velkor"), "7", "--clear"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r.err, "reading 7 has no flag.\n"));
    EXPECT_EQ(surveyTool({"flag", file, Fixture::sample("week-spikes.velkor"), "99999"}).status, 1);
    EXPECT_EQ(surveyTool({"flag", file, Fixture::sample("week-spikes.velkor"), "7", "--word", " "})
                  .status,
              1);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"despike", file, "--threshold", "0"}, {"despike", file, "--window", "4"}}) {
        r = surveyTool(args);
        EXPECT_EQ(r.status, 2) << args[2];
        EXPECT_TRUE(has(r.err, args[2] == "--window" ? "--window: give an odd number from 3 to 101"
                                                     : "--threshold: give nT above 0"))
            << r.err;
    }
}

// A picture writer that makes pictures only, as a build without documents would.
class PicturesOnly : public PictureWriter {
  public:
    bool writePng(const std::string&, int, int,
                  const std::function<void(DrawingSurface&)>&) override {
        return true;
    }
};

TEST(CliSurvey, PrintsTheLineProfilesOfTheSampleWeekToPages) {
    TempDir dir;
    const std::string file = dir.path("week.vsurvey");
    ASSERT_EQ(surveyTool({"new", file}).status, 0);
    ASSERT_EQ(surveyTool({"add", file, Fixture::sample("week.velkor")}).status, 0);
    ASSERT_EQ(surveyTool({"base", file, Fixture::sample("week-base.a")}).status, 0);
    RecordingPictures pictures;
    std::ostringstream out;
    std::ostringstream err;
    CliTool tool(out, err, &pictures);
    const std::string pdf = dir.path("lines.pdf");
    ASSERT_EQ(tool.run({"survey", "plot-lines", file, pdf}), 0) << err.str();
    EXPECT_EQ(out.str(), "10 pages\n");
    EXPECT_EQ(pictures.path, pdf);
    ASSERT_EQ(pictures.pages.size(), 10u);
    const std::vector<std::string> first = pictures.pages[0].textsOnly();
    const auto holds = [](const std::vector<std::string>& texts, const std::string& part) {
        return std::any_of(texts.begin(), texts.end(),
                           [&](const std::string& t) { return has(t, part); });
    };
    EXPECT_TRUE(holds(first, "Survey week.vsurvey   Page 1 of 10   Line ")) << first.front();
    EXPECT_TRUE(holds(first, "Field"));

    ASSERT_EQ(
        tool.run({"survey", "plot-lines", file, pdf, "--what", "anomaly", "--lines-per-page", "6"}),
        0)
        << err.str();
    ASSERT_EQ(pictures.pages.size(), 7u);
    EXPECT_TRUE(holds(pictures.pages.back().textsOnly(), "Page 7 of 7"));
    EXPECT_TRUE(holds(pictures.pages.back().textsOnly(), "Anomaly"));

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"survey", "plot-lines", file},
             {"survey", "plot-lines", file, pdf, "--what", "base"},
             {"survey", "plot-lines", file, pdf, "--lines-per-page", "0"},
             {"survey", "plot-lines", file, pdf, "--lines-per-page", "x"},
         }) {
        EXPECT_EQ(tool.run(args), 2) << args.back();
    }
    EXPECT_EQ(surveyTool({"plot-lines", file, pdf}).status, 1);  // no pictures here
    PicturesOnly pngOnly;
    std::ostringstream refused;
    EXPECT_EQ(CliTool(out, refused, &pngOnly).run({"survey", "plot-lines", file, pdf}), 1);
    EXPECT_EQ(refused.str(), "Write error\n");
    const std::string empty = dir.path("empty.vsurvey");
    ASSERT_EQ(surveyTool({"new", empty}).status, 0);
    std::ostringstream lineless;
    EXPECT_EQ(CliTool(out, lineless, &pictures).run({"survey", "plot-lines", empty, pdf}), 1);
    EXPECT_EQ(lineless.str(), "No survey line to show.\n");
}

}  // namespace velkor
