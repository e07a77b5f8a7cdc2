#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/TempDir.h"
#include "survey/SurveyFile.h"

namespace velkor {
namespace {

SurveySettings tracksFileSettings(const TempDir& dir) {
    SurveySettings s;
    s.days = {dir.path("days/mon.velkor")};
    s.baseSources = {{dir.path("base/obs.a"), -90}};
    return s;
}

}  // namespace

TEST(SurveyTracksFile, TracksComeBackWithPathsRelativeToTheFile) {
    TempDir dir;
    SurveySettings s = tracksFileSettings(dir);
    s.tracks = {{dir.path("gnss/walk.gpx"), SurveySettings::Track::Format::Gpx, 7200.0},
                {dir.path("gnss/rover.nmea"), SurveySettings::Track::Format::Nmea, -18.5}};
    const std::string path = dir.path("survey.vsurvey");
    std::string message;
    ASSERT_TRUE(SurveyFile::write(path, s, message)) << message;
    const std::string text = TempDir::read(path);
    EXPECT_NE(text.find("\"path\": \"gnss/rover.nmea\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"format\": \"nmea\""), std::string::npos) << text;
    const auto back = SurveyFile::read(path, message);
    ASSERT_TRUE(back) << message;
    EXPECT_TRUE(*back == s);
    EXPECT_EQ(back->tracks.at(1).offset, -18.5);
    // A track is the survey's own: nothing may be written over it.
    EXPECT_TRUE(back->ownsFile(dir.path("gnss/walk.gpx"), path));
}

TEST(SurveyTracksFile, ASurveyWithoutTracksIsWrittenAsBefore) {
    TempDir dir;
    const SurveySettings s = tracksFileSettings(dir);
    SurveySettings withTrack = s;
    withTrack.tracks = {{dir.path("walk.gpx"), SurveySettings::Track::Format::Gpx, 0.0}};
    const std::string plain = SurveyFile::text(s, dir.path(""));
    EXPECT_EQ(plain.find("tracks"), std::string::npos) << plain;
    EXPECT_NE(SurveyFile::text(withTrack, dir.path("")).find("\"tracks\""), std::string::npos);
    EXPECT_FALSE(withTrack == s);
}

TEST(SurveyTracksFile, PlacementByTrackComesBack) {
    TempDir dir;
    SurveySettings s = tracksFileSettings(dir);
    Placement::Track t;
    t.along = -0.8;
    t.across = 0.25;
    t.lag = 0.6;
    t.maxGap = 7.5;
    std::string message;
    s.placement = *Placement::byTrack(t, message);
    const auto back = SurveyFile::parse(SurveyFile::text(s, dir.path("")), dir.path(""), message);
    ASSERT_TRUE(back) << message;
    EXPECT_TRUE(back->placement == s.placement);
    EXPECT_EQ(back->placement.track().maxGap, 7.5);
    // The gap must be above nothing for a reading ever to be placed.
    t.maxGap = 0.0;
    EXPECT_FALSE(Placement::byTrack(t, message));
    const std::string head = R"({"format": "Velkor2tr survey", "version": 1, "placement": )";
    EXPECT_FALSE(SurveyFile::parse(head + R"({"by": "track", "max_gap": -1}})", "/tmp", message));
    EXPECT_EQ(message, "placement: The largest gap between fixes must be above 0 seconds.");
    EXPECT_FALSE(SurveyFile::parse(head + R"({"by": "track", "azimuth": 3}})", "/tmp", message));
    EXPECT_EQ(message, "placement.azimuth: unknown key");
}

TEST(SurveyTracksFile, RefusesATrackItCannotReadNamingThePlace) {
    const std::string head = R"({"format": "Velkor2tr survey", "version": 1, "tracks": )";
    const std::pair<std::string, std::string> cases[] = {
        {head + R"([{"path": "a.gpx", "format": "kml"}]})",
         "tracks[0].format: expected \"gpx\", \"nmea\" or \"csv\""},
        {head + R"([{"path": "a.csv", "format": "csv", "columns": 3}]})",
         "tracks[0].columns: expected a text"},
        {head + R"([{"path": "a.gpx"}]})", "tracks[0].format: missing"},
        {head + R"([{"format": "gpx"}]})", "tracks[0].path: missing"},
        {head + R"([{"path": "a.gpx", "format": "gpx", "offset": "x"}]})",
         "tracks[0].offset: expected a number"},
        {head + R"([{"path": "a.gpx", "format": "gpx", "offset": 1e20}]})",
         "tracks[0].offset: expected a number from -2147483647 to 2147483647"},
        {head + R"([{"path": "a.gpx", "format": "gpx", "lag": 1}]})", "tracks[0].lag: unknown key"},
        {head + R"({}})", "tracks: expected a list"},
    };
    for (const auto& [text, expected] : cases) {
        std::string message;
        EXPECT_FALSE(SurveyFile::parse(text, "/tmp", message)) << text;
        EXPECT_EQ(message, expected) << text;
    }
}

}  // namespace velkor
