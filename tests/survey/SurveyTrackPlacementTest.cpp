#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "geo/CoordinateSystem.h"
#include "support/TempDir.h"
#include "survey/Survey.h"
#include "text/TextFormat.h"
#include "tracks/NmeaLog.h"

namespace velkor {
namespace {

constexpr int kTrackPlacementEpsg = 32632;

// A fix every 4 s from 08:00:00 UTC walking north-east, then nothing for 12 s.
struct TrackPlacementFix {
    int second;
    double latitude;
    double longitude;
};
const std::vector<TrackPlacementFix> kTrackPlacementFixes{{0, 48.100000, 11.500000},
                                                          {4, 48.100030, 11.500040},
                                                          {8, 48.100060, 11.500080},
                                                          {20, 48.100150, 11.500200},
                                                          {24, 48.100180, 11.500240}};

std::string trackPlacementGpx() {
    std::string text =
        "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\" "
        "xmlns=\"http://www.topografix.com/GPX/1/1\">\n<trk><trkseg>\n";
    for (const TrackPlacementFix& f : kTrackPlacementFixes) {
        text += formatText(
            "<trkpt lat=\"%.6f\" lon=\"%.6f\"><time>2026-07-06T08:00:%02dZ</time>"
            "</trkpt>\n",
            f.latitude, f.longitude, f.second);
    }
    return text + "</trkseg></trk>\n</gpx>\n";
}

// Readings at these seconds after 10:00:00 local time (UTC+2), negative ones before it.
std::string trackPlacementDay(const std::vector<int>& seconds) {
    std::string text = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    int position = 0;
    for (const int s : seconds) {
        const int at = 36000 + s;
        text += formatText(
            "S 06.07.2026 %02d:%02d:%02d     1 %5d 48123.%d  0.7 7 1.5          "
            "Base \r\n",
            at / 3600, at / 60 % 60, at % 60, position + 1, position % 10);
        ++position;
    }
    return text;
}

// The same fixes as RMC sentences (minutes to 5 decimals), and one with a wrong checksum.
std::string trackPlacementNmea() {
    std::string text;
    for (const TrackPlacementFix& f : kTrackPlacementFixes) {
        const double latMinutes = (f.latitude - 48.0) * 60.0;
        const double lonMinutes = (f.longitude - 11.0) * 60.0;
        const std::string body = formatText(
            "GPRMC,0800%02d,A,48%08.5f,N,011%08.5f,E,0.5,45.0,"
            "060726,,",
            f.second, latMinutes, lonMinutes);
        text += "$" + body + formatText("*%02X\r\n", NmeaLog::checksum(body));
    }
    return text + "$GPRMC,080030,A,4806.000,N,01130.000,E,0.5,45.0,060726,,*00\r\n";
}

CoordinateSystem::EastNorth trackPlacementAt(const CoordinateSystem& crs, std::size_t fix) {
    const TrackPlacementFix& f = kTrackPlacementFixes[fix];
    return crs.fromLatLon({f.latitude, f.longitude});
}

SurveySettings trackPlacementSettings(const TempDir& dir, double lag) {
    SurveySettings s;
    s.days = {dir.write("day.velkor", trackPlacementDay({2, 4, 6, 12, 22, -10, 30}))};
    s.tracks = {
        {dir.write("walk.gpx", trackPlacementGpx()), SurveySettings::Track::Format::Gpx, 7200.0}};
    s.epsg = kTrackPlacementEpsg;
    Placement::Track t;
    t.lag = lag;
    std::string message;
    s.placement = *Placement::byTrack(t, message);
    return s;
}

}  // namespace

TEST(SurveyTrackPlacement, ReadingsTakeThePlaceOfTheirMomentAndGapsLeaveThemOut) {
    TempDir dir;
    std::string message;
    const auto survey = Survey::open(trackPlacementSettings(dir, 0.0), message);
    ASSERT_TRUE(survey) << message;
    const auto crs = CoordinateSystem::fromEpsg(kTrackPlacementEpsg, message);
    ASSERT_TRUE(crs);
    // 10:00:12 lies in the 12 s gap; 09:59:50 and 10:00:30 outside the track.
    const Survey::Summary total = survey->total();
    EXPECT_EQ(total.inGap, 1);
    EXPECT_EQ(total.outsideTracks, 2);
    ASSERT_EQ(survey->readingCount(), 4);
    EXPECT_EQ(survey->placedBy(0), 4);
    // Halfway between the first two fixes, on the second, halfway to the third, and
    // halfway between the two after the gap.
    const std::vector<std::pair<std::size_t, std::size_t>> between{{0, 1}, {1, 1}, {1, 2}, {3, 4}};
    for (int r = 0; r < 4; ++r) {
        const auto [a, b] = between[static_cast<std::size_t>(r)];
        const CoordinateSystem::EastNorth p = trackPlacementAt(*crs, a);
        const CoordinateSystem::EastNorth q = trackPlacementAt(*crs, b);
        const Survey::Reading got = survey->readingWithoutLatLon(r);
        EXPECT_NEAR(got.easting, (p.easting + q.easting) / 2, 1e-6) << r;
        EXPECT_NEAR(got.northing, (p.northing + q.northing) / 2, 1e-6) << r;
    }
}

TEST(SurveyTrackPlacement, TheLagMovesTheMomentAndAWrongTrackChangesNothing) {
    TempDir dir;
    std::string message;
    auto survey = Survey::open(trackPlacementSettings(dir, 0.0), message);
    ASSERT_TRUE(survey) << message;
    // With a 2 s lag 10:00:02 is the first fix's moment and 10:00:12 is out of the gap.
    SurveySettings lagged = trackPlacementSettings(dir, 2.0);
    ASSERT_TRUE(survey->change(lagged, message)) << message;
    const auto crs = CoordinateSystem::fromEpsg(kTrackPlacementEpsg, message);
    EXPECT_NEAR(survey->readingWithoutLatLon(0).easting, trackPlacementAt(*crs, 0).easting, 1e-6);
    EXPECT_EQ(survey->total().inGap, 1);  // 10:00:12 - 2 s = 10:00:10, still in the gap
    EXPECT_EQ(survey->readingCount(), 4);

    SurveySettings broken = lagged;
    broken.tracks.push_back({dir.write("empty.nmea", ""), SurveySettings::Track::Format::Nmea, 0});
    EXPECT_FALSE(survey->change(broken, message));
    EXPECT_NE(message.find("empty.nmea"), std::string::npos) << message;
    EXPECT_TRUE(survey->settings() == lagged);
    EXPECT_EQ(survey->tracks().size(), 1u);

    SurveySettings noSystem = lagged;
    noSystem.epsg.reset();
    EXPECT_FALSE(survey->change(noSystem, message));
    EXPECT_TRUE(survey->settings() == lagged);

    // Placed another way, the readings left out come back.
    SurveySettings plain = lagged;
    plain.placement = Placement();
    ASSERT_TRUE(survey->change(plain, message)) << message;
    EXPECT_EQ(survey->readingCount(), 7);
    EXPECT_EQ(survey->total().inGap, 0);
}

TEST(SurveyTrackPlacement, AnNmeaLogPlacesAsItsGpxDoesAndCountsWhatItRefused) {
    TempDir dir;
    std::string message;
    const auto byGpx = Survey::open(trackPlacementSettings(dir, 0.0), message);
    ASSERT_TRUE(byGpx) << message;
    SurveySettings s = trackPlacementSettings(dir, 0.0);
    s.tracks = {{dir.write("walk.nmea", trackPlacementNmea()), SurveySettings::Track::Format::Nmea,
                 7200.0}};
    const auto byNmea = Survey::open(s, message);
    ASSERT_TRUE(byNmea) << message;
    ASSERT_EQ(byNmea->tracks().size(), 1u);
    EXPECT_EQ(byNmea->tracks()[0].fixes().size(), kTrackPlacementFixes.size());
    int refused = 0;
    for (const TrackSource::Refused& r : byNmea->tracks()[0].refused()) {
        refused += r.count;
    }
    EXPECT_EQ(refused, 1);
    ASSERT_EQ(byNmea->readingCount(), byGpx->readingCount());
    // Five decimals of a minute hold a position to about 2 cm.
    for (int r = 0; r < byGpx->readingCount(); ++r) {
        EXPECT_NEAR(byNmea->readingWithoutLatLon(r).easting, byGpx->readingWithoutLatLon(r).easting,
                    0.02);
        EXPECT_NEAR(byNmea->readingWithoutLatLon(r).northing,
                    byGpx->readingWithoutLatLon(r).northing, 0.02);
    }
}

}  // namespace velkor
