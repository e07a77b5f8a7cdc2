// The stagger of anomalies broad beside the readings' spacing: the correlation barely
// changes over the shifts tried, so any leaning of the sum towards no shift would win.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "levelling/Stagger.h"

namespace velkor {
namespace {

// Eight lines walked zig-zag, a bump of 60 nT across them all, each reading taken half the
// stagger on from its mark in the direction walked.
std::vector<LevelLine> staggerBroadLines(double spacing, double sigma, double stagger) {
    std::vector<LevelLine> lines;
    for (int l = 1; l <= 8; ++l) {
        LevelLine line;
        line.number = l;
        line.direction = l % 2 == 1 ? 1 : -1;
        for (double x = spacing; x <= 40.0; x += spacing) {
            const double at = x + line.direction * stagger / 2.0 - 20.0;
            line.along.push_back(x);
            line.value.push_back(
                std::round((48000.0 + 60.0 * std::exp(-at * at / (2.0 * sigma * sigma))) * 10.0) /
                10.0);
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(StaggerBroad, FoundBesideAnomaliesBroaderThanTheSpacing) {
    for (const double sigma : {1.0, 2.0, 3.0}) {
        SCOPED_TRACE(sigma);
        const auto fine = Stagger::estimate(staggerBroadLines(0.25, sigma, 0.25), 0.25);
        ASSERT_TRUE(fine);
        EXPECT_NEAR(*fine, 0.25, 0.02);
        const auto coarse = Stagger::estimate(staggerBroadLines(1.0, sigma, 0.5), 1.0);
        ASSERT_TRUE(coarse);
        EXPECT_NEAR(*coarse, 0.5, 0.05);
    }
}

}  // namespace velkor
