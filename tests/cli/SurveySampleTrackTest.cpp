#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/ToolRun.h"
#include "survey/Survey.h"
#include "survey/SurveyGridding.h"

namespace velkor {
namespace {

// The sample week placed by the tool from one of its track files.
std::optional<Survey> sampleWeekPlacedBy(const TempDir& dir, const std::string& track) {
    const std::string file = dir.path(track + ".vsurvey");
    const std::vector<std::vector<std::string>> steps = {
        {"new", file},
        {"add", file, Fixture::sample("week.velkor")},
        {"track", file, Fixture::sample(track), "--offset", "7200"},
        {"set", file, "--crs", "utm"},
        {"place", file, "--by-track"}};
    const ToolRun r = surveySteps(steps);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.status == 0 ? surveyRead(file) : std::nullopt;
}

}  // namespace

TEST(SampleWeekTrack, PlacesTheWeekFromItsGpxAndItsNmeaLogAlike) {
    TempDir dir;
    const std::optional<Survey> gpx = sampleWeekPlacedBy(dir, "week-track.gpx");
    const std::optional<Survey> nmea = sampleWeekPlacedBy(dir, "week-track.nmea");
    ASSERT_TRUE(gpx && nmea);
    EXPECT_EQ(gpx->settings().epsg, 32633);
    // The grid's default cell is half the 5 m between readings, as placed by parameters:
    // the spacing of lines placed by track comes from the readings themselves.
    EXPECT_DOUBLE_EQ(SurveyGridding::defaults(*gpx, gpx->settings().gridding, 0.0).cell, 2.5);
    for (const Survey* s : {&*gpx, &*nmea}) {
        EXPECT_EQ(s->total().inGap, 0);
        EXPECT_EQ(s->total().outsideTracks, 0);
        EXPECT_EQ(s->total().leftOut, 0);
        EXPECT_EQ(s->readingCount(), 40 * 81);
    }
    ASSERT_EQ(gpx->readingCount(), nmea->readingCount());
    int along = 0;
    for (int r = 0; r < gpx->readingCount(); ++r) {
        const Survey::Reading g = gpx->readingWithoutLatLon(r);
        const Survey::Reading n = nmea->readingWithoutLatLon(r);
        // NMEA's five decimals of a minute are some 0.02 m.
        EXPECT_NEAR(g.easting, n.easting, 0.05) << "reading " << r;
        EXPECT_NEAR(g.northing, n.northing, 0.05) << "reading " << r;
        // Neighbouring readings of a line are a station (5 m) apart on the ground, but for
        // what a fix every 5 s cuts off the walker's changes of pace at each reading: at
        // most 1.25 s times the change, up to 0.28 m/s where the walker stops at a line's
        // end, so some 0.35 m at one end and 0.14 m at the other.
        if (r + 1 < gpx->readingCount() && g.mode != 'A') {
            const Survey::Reading next = gpx->readingWithoutLatLon(r + 1);
            if (next.mode != 'A' && next.day == g.day) {
                EXPECT_NEAR(std::hypot(next.easting - g.easting, next.northing - g.northing), 5.0,
                            0.5)
                    << "reading " << r;
                ++along;
            }
        }
    }
    EXPECT_EQ(along, 40 * 79);
}

}  // namespace velkor
