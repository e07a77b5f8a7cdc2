#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tracks/LagEstimate.h"

namespace velkor {
namespace {

constexpr double kLineLength = 20.0;  // m, walked at 1 m/s, a 1 s turn to the next line
constexpr int kLines = 10;            // 1 m apart, alternately north and south

double field(double x, double y) {
    const auto bump = [](double dx, double dy) { return std::exp(-(dx * dx + dy * dy) / 8.0); };
    return 100.0 * bump(x - 4.5, y - 10.0) + 60.0 * bump(x - 2.0, y - 5.0);
}

double lineStart(int line) {
    return line * (kLineLength + 1.0);
}

// The antenna's fixes, one a second, over the whole zig-zag.
PositionTrack zigZag() {
    std::vector<PositionTrack::Point> fixes;
    for (int line = 0; line < kLines; ++line) {
        const bool north = line % 2 == 0;
        for (int s = 0; s <= kLineLength; ++s) {
            fixes.push_back({lineStart(line) + s, double(line), north ? s : kLineLength - s});
        }
    }
    return PositionTrack(fixes);
}

// Readings every 0.5 s on the straight part of each line, measured by a sensor 0.8 m
// behind the antenna and stamped lag seconds late.
std::vector<LagEstimate::Reading> readings(double lag) {
    std::vector<LagEstimate::Reading> out;
    for (int line = 0; line < kLines; ++line) {
        const int direction = line % 2 == 0 ? 1 : -1;
        for (double s = 2.0; s <= kLineLength - 2.0; s += 0.5) {
            const double antenna = direction > 0 ? s : kLineLength - s;
            const double sensor = antenna - 0.8 * direction;
            out.push_back({lineStart(line) + s + lag, field(line, sensor), line, direction});
        }
    }
    return out;
}

}  // namespace

TEST(LagEstimate, FindsTheLagOfAZigZagWithItsSensorBehind) {
    const TrackSet tracks({zigZag()});
    TrackSet::Settings settings;
    settings.offset = {-0.8, 0.0};
    const LagEstimate::Result r = LagEstimate::of(readings(0.6), tracks, settings);
    ASSERT_TRUE(r.found);
    EXPECT_NEAR(r.lag, 0.6, 0.1);
    EXPECT_EQ(r.curve.size(), 121u);
    EXPECT_NEAR(r.curve.front().lag, -3.0, 1e-12);
    EXPECT_GT(r.curve.front().misfit, 10 * r.misfit);

    // With nothing to pair, nothing is found.
    EXPECT_FALSE(LagEstimate::of({}, tracks, settings).found);
}

}  // namespace velkor
