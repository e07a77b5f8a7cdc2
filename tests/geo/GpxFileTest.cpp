#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geo/GpxFile.h"
#include "support/TempDir.h"
#include "text/CalendarDate.h"

namespace velkor {

TEST(GpxFile, TrackPointsInUtcAndWhatIsLeftOut) {
    TempDir dir;
    const std::string path = dir.write("walk.gpx",
                                       R"(<?xml version="1.0"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1">
 <wpt lat="1" lon="1"><time>2026-07-06T08:00:00Z</time></wpt>
 <trk><trkseg>
  <trkpt lat="48.1173" lon="11.5166667"><ele>545.4</ele><time>2026-07-06T08:00:01.5Z</time></trkpt>
  <trkpt lat="-33.5" lon="-151.25"><time>2026-07-06T10:00:02+02:00</time></trkpt>
  <trkpt lat="48.2" lon="11.6"></trkpt>
 </trkseg></trk>
</gpx>
)");
    std::string message;
    const auto r = GpxFile::read(path, message);
    ASSERT_TRUE(r) << message;
    EXPECT_EQ(r->layer, "track_points");
    ASSERT_EQ(r->fixes.size(), 2u);
    EXPECT_EQ(r->noTime, 1);
    const double day = static_cast<double>(CalendarDate{2026, 7, 6}.dayNumber()) * 86400.0;
    EXPECT_DOUBLE_EQ(r->fixes[0].seconds, day + 8 * 3600 + 1.5);
    EXPECT_DOUBLE_EQ(r->fixes[0].latitude, 48.1173);
    EXPECT_DOUBLE_EQ(r->fixes[0].elevation, 545.4);
    EXPECT_DOUBLE_EQ(r->fixes[1].seconds, day + 8 * 3600 + 2);
    EXPECT_DOUBLE_EQ(r->fixes[1].longitude, -151.25);
    EXPECT_TRUE(std::isnan(r->fixes[1].elevation));

    EXPECT_FALSE(GpxFile::read(dir.write("day.txt", "M Date Time\r\n"), message));
    EXPECT_EQ(message, dir.path("day.txt") + ": not a GPX file");
}

}  // namespace velkor
