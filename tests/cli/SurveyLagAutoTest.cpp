#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "geo/CoordinateSystem.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"
#include "survey/Survey.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

// Ten lines 20 m long, 1 m apart, walked at 1 m/s alternately north and south with a 1 s
// step to the next; the antenna's fixes once a second from 10:00:00.
constexpr double kLagEast = 690000.0;
constexpr double kLagNorth = 5330000.0;
constexpr int kLagLines = 10;

double lagLineStart(int line) {
    return line * 21.0;
}

// The antenna at t seconds after 10:00:00 (on the lines only).
CoordinateSystem::EastNorth lagAntenna(double t) {
    const int line = static_cast<int>(t / 21.0);
    const double s = t - lagLineStart(line);
    return {kLagEast + line, kLagNorth + (line % 2 == 0 ? s : 20.0 - s)};
}

double lagField(double e, double n) {
    const auto bump = [](double dx, double dy) { return std::exp(-(dx * dx + dy * dy) / 8.0); };
    return 100.0 * bump(e - kLagEast - 4.5, n - kLagNorth - 10.0) +
           60.0 * bump(e - kLagEast - 2.0, n - kLagNorth - 5.0);
}

std::string lagGpx() {
    std::string message;
    const std::optional<CoordinateSystem> utm = CoordinateSystem::fromEpsg(32632, message);
    std::string text =
        "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\" "
        "xmlns=\"http://www.topografix.com/GPX/1/1\">\n<trk><trkseg>\n";
    for (int t = 0; t < kLagLines * 21; ++t) {
        const CoordinateSystem::LatLon at = utm->toLatLon(lagAntenna(t));
        text += formatText(
            "<trkpt lat=\"%.10f\" lon=\"%.10f\"><time>2026-07-06T10:%02d:%02dZ</time></trkpt>\n",
            at.latitude, at.longitude, t / 60, t % 60);
    }
    return text + "</trkseg></trk>\n</gpx>\n";
}

// Where the sensor, 0.8 m behind the antenna, was for a reading stamped at t: the
// instrument stamps its readings 0.6 s late.
CoordinateSystem::EastNorth lagSensor(int t) {
    const CoordinateSystem::EastNorth a = lagAntenna(t - 0.6);
    const int line = static_cast<int>((t - 0.6) / 21.0);
    return {a.easting, a.northing - 0.8 * (line % 2 == 0 ? 1.0 : -1.0)};
}

// A reading each second on the straight part of each line; the times of its readings.
std::string lagDay(std::vector<int>& stamps) {
    std::string text = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    for (int line = 0; line < kLagLines; ++line) {
        for (int s = 3; s <= 18; ++s) {
            const int t = static_cast<int>(lagLineStart(line)) + s;
            const CoordinateSystem::EastNorth at = lagSensor(t);
            text +=
                formatText("S 06.07.2026 10:%02d:%02d %5d %5d %7.1f  0.7 7 1.5          Base \r\n",
                           t / 60, t % 60, line + 1, line % 2 == 0 ? s : 20 - s,
                           48000.0 + lagField(at.easting, at.northing));
            stamps.push_back(t);
        }
    }
    return text;
}

bool lagToolSays(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(SurveyLagAuto, FindsTheLagAndPlacesTheReadingsOnTheirLines) {
    TempDir dir;
    const std::string file = dir.path("zigzag.vsurvey");
    std::vector<int> stamps;
    ASSERT_EQ(surveyTool({"new", file}).status, 0);
    ASSERT_EQ(surveyTool({"add", file, dir.write("day.velkor", lagDay(stamps))}).status, 0);
    ASSERT_EQ(surveyTool({"track", file, dir.write("walk.gpx", lagGpx())}).status, 0);
    ToolRun r = surveyTool({"set", file, "--crs", "utm"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = surveyTool({"place", file, "--by-track", "--antenna-offset", "-0.8", "--lag", "auto"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(lagToolSays(r.out, "Lag estimated: ")) << r.out;
    EXPECT_TRUE(lagToolSays(r.out, "nT rms over")) << r.out;
    r = surveyTool({"info", file});
    EXPECT_TRUE(lagToolSays(r.out, "Coordinate system EPSG:32632")) << r.out;
    EXPECT_TRUE(lagToolSays(r.out, "estimated lag")) << r.out;

    std::string message;
    const std::optional<Survey> survey = Survey::read(file, message);
    ASSERT_TRUE(survey) << message;
    const Placement::Track& t = survey->settings().placement.track();
    EXPECT_TRUE(t.lagEstimated);
    EXPECT_NEAR(t.lag, 0.6, 0.1);
    ASSERT_EQ(survey->readingCount(), static_cast<int>(stamps.size()));
    for (int k = 0; k < survey->readingCount(); ++k) {
        const Survey::Reading g = survey->readingWithoutLatLon(k);
        const CoordinateSystem::EastNorth truth =
            lagSensor(stamps[static_cast<std::size_t>(g.line - 1)]);
        EXPECT_NEAR(g.easting, truth.easting, 0.1) << "reading " << k;
        EXPECT_NEAR(g.northing, truth.northing, 0.1) << "reading " << k;
    }
}

TEST(SurveyLagAuto, UtmWantsATrackAndAutoWantsLinesBothWays) {
    TempDir dir;
    const std::string file = dir.path("plain.vsurvey");
    ASSERT_EQ(surveyTool({"new", file}).status, 0);
    const std::string before = TempDir::read(file);
    ToolRun r = surveyTool({"set", file, "--crs", "utm"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(lagToolSays(r.err, "--crs utm takes the zone of the survey's position tracks"))
        << r.err;
    EXPECT_EQ(TempDir::read(file), before);

    // The sample week walks every line the same way: nothing to estimate the lag from.
    const std::string week = dir.path("week.vsurvey");
    ASSERT_EQ(surveyTool({"new", week, "--crs", "EPSG:32633"}).status, 0);
    ASSERT_EQ(surveyTool({"add", week, Fixture::sample("week.velkor")}).status, 0);
    r = surveyTool({"track", week, Fixture::sample("week-track.gpx"), "--offset", "7200"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string tracked = TempDir::read(week);
    r = surveyTool({"place", week, "--by-track", "--lag", "auto"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(lagToolSays(r.err, "The lag cannot be estimated")) << r.err;
    EXPECT_EQ(TempDir::read(week), tracked);
}

}  // namespace velkor
