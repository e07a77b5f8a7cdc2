#include <gtest/gtest.h>

#include <string>

#include "support/TempDir.h"
#include "support/ToolRun.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

bool trackToolSays(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Readings every 2 s from 10:00:00 local time (UTC+2); the track below has fixes every
// 2 s from 08:00:00 UTC to 08:00:10, then from 08:00:30 to 08:00:40.
std::string trackToolDay() {
    std::string text = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    for (int s = 0; s <= 50; s += 2) {
        text += formatText(
            "S 06.07.2026 10:00:%02d     1 %5d 48123.5  0.7 7 1.5          "
            "Base \r\n",
            s, s / 2 + 1);
    }
    return text;
}

std::string trackToolGpx() {
    std::string text =
        "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\" "
        "xmlns=\"http://www.topografix.com/GPX/1/1\">\n<trk><trkseg>\n";
    for (int s = 0; s <= 40; s += 2) {
        if (s <= 10 || s >= 30) {
            text += formatText(
                "<trkpt lat=\"48.1%05d\" lon=\"11.5\"><time>2026-07-06T08:00:%02dZ"
                "</time></trkpt>\n",
                s, s);
        }
    }
    return text + "</trkseg></trk>\n</gpx>\n";
}

}  // namespace

TEST(SurveyTrackTool, TracksPlaceTheReadingsAndInfoCountsWhatTheyLeaveOut) {
    TempDir dir;
    const std::string file = dir.path("walk.vsurvey");
    ASSERT_EQ(surveyTool({"new", file, "--crs", "EPSG:32632"}).status, 0);
    ASSERT_EQ(surveyTool({"add", file, dir.write("day.velkor", trackToolDay())}).status, 0);
    const std::string gpx = dir.write("walk.gpx", trackToolGpx());
    ToolRun r = surveyTool({"track", file, gpx, "--offset", "7200"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(trackToolSays(TempDir::read(file), "\"format\": \"gpx\"")) << TempDir::read(file);
    r = surveyTool({"place", file, "--by-track", "--antenna-offset", "-0.8", "--max-gap", "4"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(trackToolSays(r.out, "Placement by track: antenna offset -0.8 m along, 0 m across"))
        << r.out;
    r = surveyTool({"info", file});
    ASSERT_EQ(r.status, 0) << r.err;
    // 10:00:00 to 10:00:10 and 10:00:30 to 10:00:40 are placed; 10:00:12 to 10:00:28 lie in
    // the 20 s gap, 10:00:42 to 10:00:50 after the track.
    EXPECT_TRUE(trackToolSays(r.out,
                              "  walk.gpx: 12 fixes, refused: none, 06.07.2026 10:00:00 - "
                              "06.07.2026 10:00:40, offset 7200 s, placed 12 readings"))
        << r.out;
    EXPECT_TRUE(trackToolSays(r.out, "no position: in a gap 9, outside the tracks 5")) << r.out;
}

TEST(SurveyTrackTool, ATrackThatCannotBeUsedLeavesTheSurveyFileAsItWas) {
    TempDir dir;
    const std::string file = dir.path("walk.vsurvey");
    ASSERT_EQ(surveyTool({"new", file}).status, 0);
    const std::string before = TempDir::read(file);
    ToolRun r = surveyTool({"track", file, dir.write("empty.nmea", ""), "--format", "nmea"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(trackToolSays(r.err, "empty.nmea")) << r.err;
    r = surveyTool({"track", file, dir.write("notes.txt", "a walk\n")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(trackToolSays(r.err, "notes.txt: neither a GPX file nor an NMEA log")) << r.err;
    // Placing by track needs a coordinate system to put the fixes in.
    r = surveyTool({"place", file, "--by-track"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(trackToolSays(r.err, "needs the survey's coordinate system")) << r.err;
    r = surveyTool({"place", file, "--by-track", "--antenna-offset", "1,2,3"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(trackToolSays(r.err, "--antenna-offset: give ALONG or ALONG,ACROSS")) << r.err;
    EXPECT_EQ(TempDir::read(file), before);
}

}  // namespace velkor
