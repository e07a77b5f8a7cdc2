#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tracks/PositionTrack.h"

namespace velkor {
namespace {

using Where = PositionTrack::Where;

void expectAt(const PositionTrack::Position& p, double x, double y) {
    EXPECT_EQ(p.where, Where::Placed);
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
}

// A square of 10 m walked anticlockwise at 1 m/s from the origin, a fix a second.
PositionTrack square() {
    std::vector<PositionTrack::Point> points;
    for (int t = 0; t <= 40; ++t) {
        const int side = t / 10;
        const double d = t % 10;
        const double corners[5][2] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
        const double dx = side < 4 ? (corners[side + 1][0] - corners[side][0]) / 10 : 0;
        const double dy = side < 4 ? (corners[side + 1][1] - corners[side][1]) / 10 : 0;
        points.push_back({double(t), corners[side][0] + dx * d, corners[side][1] + dy * d});
    }
    return PositionTrack(points);
}

}  // namespace

TEST(PositionTrack, InterpolatedBetweenFixesNeverAcrossAGapOrBeyondTheEnds) {
    // Out of order, and 2 s given twice: the first of the two is kept.
    const PositionTrack track(
        {{12, 12, 0}, {0, 0, 0}, {2, 2, 0}, {1, 1, 0}, {2, 9, 9}, {13, 13, 1}});
    ASSERT_EQ(track.points().size(), 5u);
    const PositionTrack::Offset none;
    expectAt(track.at(0.25, 5, none), 0.25, 0);
    expectAt(track.at(2, 5, none), 2, 0);
    expectAt(track.at(12.5, 5, none), 12.5, 0.5);
    expectAt(track.at(13, 5, none), 13, 1);
    EXPECT_EQ(track.at(7, 5, none).where, Where::InGap);
    expectAt(track.at(7, 10, none), 7, 0);
    EXPECT_EQ(track.at(-0.01, 5, none).where, Where::Outside);
    EXPECT_EQ(track.at(13.01, 5, none).where, Where::Outside);
    EXPECT_EQ(PositionTrack({}).at(0, 5, none).where, Where::Outside);
}

TEST(PositionTrack, TheSensorIsPlacedAlongAndAcrossTheWayWalked) {
    const PositionTrack track = square();
    // 0.8 m behind the antenna: east on the first side, north on the second, west on
    // the third.
    const PositionTrack::Offset behind{-0.8, 0.0};
    expectAt(track.at(5, 5, behind), 4.2, 0);
    expectAt(track.at(15, 5, behind), 10, 4.2);
    expectAt(track.at(25, 5, behind), 5.8, 10);
    // 0.5 m to the right of the way walked: south of the first side, west of the fourth.
    const PositionTrack::Offset right{0.0, 0.5};
    expectAt(track.at(5, 5, right), 5, -0.5);
    expectAt(track.at(35, 5, right), -0.5, 5);
    // At a corner the heading is that of the path 2 m either side: diagonal.
    const PositionTrack::Position corner = track.at(10, 5, {-1.0, 0.0});
    EXPECT_NEAR(corner.x, 10 - 0.5 * std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(corner.y, -0.5 * std::sqrt(2.0), 1e-9);
}

}  // namespace velkor
