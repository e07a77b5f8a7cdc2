// The tracks on the survey map: broken at every gap longer than the largest, and drawn
// only inside the map's frame.
#include <gtest/gtest.h>

#include <vector>

#include "pictures/TrackLines.h"
#include "support/RecordingSurface.h"

namespace velkor {

TEST(TrackLines, AGapLongerThanTheLargestBreaksTheLine) {
    // Fixes each second, then a lone fix 6 s either side, then two more.
    const std::vector<PositionTrack::Point> points{{0, 0, 0}, {1, 1, 0},  {2, 2, 0},
                                                   {8, 3, 0}, {14, 4, 0}, {15, 5, 0}};
    const std::vector<TrackLines::Line> lines = TrackLines::broken(points, 5.0);
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].size(), 3u);
    EXPECT_EQ(lines[0][2].easting, 2.0);
    ASSERT_EQ(lines[1].size(), 2u);
    EXPECT_EQ(lines[1][0].easting, 4.0);
    // A gap of exactly the largest still joins.
    const std::vector<TrackLines::Line> joined = TrackLines::broken(points, 6.0);
    ASSERT_EQ(joined.size(), 1u);
    EXPECT_EQ(joined[0].size(), points.size());
}

TEST(TrackLines, ALineIsCutAtTheFrameAndPointsOnOnePixelDrawnOnce) {
    // 1 pixel a metre, north up, the origin at device (0, 100).
    const SurveyMapGeometry::Transform t(1.0, 0.0, 0.0, 0.0, 100.0);
    const TrackLines tracks(
        {{{-10, 50}, {20, 50}, {20.2, 50}, {50, 50}, {150, 50}, {150, 60}, {50, 60}}});
    RecordingSurface s;
    tracks.draw(s, t, {10, 10, 100, 90});
    const std::vector<RecordingSurface::Segment> want{
        {10, 50, 20, 50}, {20, 50, 50, 50}, {50, 50, 100, 50}, {100, 40, 50, 40}};
    ASSERT_EQ(s.segments.size(), want.size());
    for (std::size_t k = 0; k < want.size(); ++k) {
        EXPECT_TRUE(s.segments[k] == want[k]) << k;
    }
}

}  // namespace velkor
