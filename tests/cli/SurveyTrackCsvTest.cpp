#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/TempDir.h"
#include "support/ToolRun.h"
#include "survey/Survey.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

// A reading every 2 s from 10:00:00 to 10:00:20 on line 1.
std::string csvTrackDay() {
    std::string text = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    for (int s = 0; s <= 20; s += 2) {
        text +=
            formatText("S 06.07.2026 10:00:%02d     1 %5d 48123.5  0.7 7 1.5          Base \r\n", s,
                       s / 2 + 1);
    }
    return text;
}

bool csvToolSays(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(SurveyTrackCsv, EastingsAndNorthingsByNamedColumnsPlaceTheReadings) {
    TempDir dir;
    const std::string file = dir.path("walk.vsurvey");
    ASSERT_EQ(surveyTool({"new", file, "--crs", "EPSG:32632"}).status, 0);
    ASSERT_EQ(surveyTool({"add", file, dir.write("day.velkor", csvTrackDay())}).status, 0);
    // A fix each 4 s, 1 m east each; semicolons and decimal commas, as spreadsheets write.
    std::string csv = "when;x_m;y_m;note\n";
    for (int s = 0; s <= 20; s += 4) {
        csv += formatText("2026-07-06T10:00:%02d;%d,5;5330000;\n", s, 690000 + s / 4);
    }
    const std::string track = dir.write("walk.csv", csv);
    ToolRun r = surveyTool({"track", file, track, "--format", "csv"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(csvToolSays(r.err, "walk.csv line 1: no date, time or date-time column")) << r.err;
    r = surveyTool({"track", file, track, "--columns", "WHEN,x_m,y_m", "--format", "csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(surveyTool({"place", file, "--by-track"}).status, 0);
    const std::optional<Survey> s = surveyRead(file);
    ASSERT_TRUE(s);
    ASSERT_EQ(s->readingCount(), 11);
    for (int k = 0; k < 11; ++k) {
        // At 2 s a reading lies halfway between two fixes.
        EXPECT_NEAR(s->readingWithoutLatLon(k).easting, 690000.5 + k * 0.5, 1e-9) << k;
        EXPECT_NEAR(s->readingWithoutLatLon(k).northing, 5330000.0, 1e-9) << k;
    }
    // Eastings and northings tell no UTM zone.
    r = surveyTool({"set", file, "--crs", "utm"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(csvToolSays(r.err, "gives eastings and northings")) << r.err;
}

TEST(SurveyTrackCsv, LatitudesAndLongitudesAreToldByContentAndABadRowIsNamed) {
    TempDir dir;
    const std::string file = dir.path("walk.vsurvey");
    ASSERT_EQ(surveyTool({"new", file}).status, 0);
    ASSERT_EQ(surveyTool({"add", file, dir.write("day.velkor", csvTrackDay())}).status, 0);
    std::string csv = "Date,Time,Latitude,Longitude\n";
    for (int s = 0; s <= 20; s += 2) {
        csv += formatText("06.07.2026,08:00:%02d,48.1%05d,11.5\n", s, s);
    }
    ToolRun r = surveyTool({"track", file, dir.write("utc.csv", csv), "--offset", "7200"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(csvToolSays(TempDir::read(file), "\"format\": \"csv\"")) << TempDir::read(file);
    ASSERT_EQ(surveyTool({"set", file, "--crs", "utm"}).status, 0);
    ASSERT_EQ(surveyTool({"place", file, "--by-track"}).status, 0);
    r = surveyTool({"info", file});
    EXPECT_TRUE(csvToolSays(r.out, "utc.csv: 11 fixes, refused: none")) << r.out;
    EXPECT_TRUE(csvToolSays(r.out, "placed 11 readings")) << r.out;

    const std::string before = TempDir::read(file);
    r = surveyTool({"track", file,
                    dir.write("bad.csv",
                              "time,lat,lon\n2026-07-06T08:00:00Z,48.1,11.5\n"
                              "2026-07-06T08:00:02Z,north,11.5\n")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(csvToolSays(r.err, "bad.csv line 3: \"north\" is no number")) << r.err;
    EXPECT_EQ(TempDir::read(file), before);
}

}  // namespace velkor
