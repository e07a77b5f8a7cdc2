// A level's pass over its busy bands of rows: the bands that settled are left as they are,
// the busy ones and their neighbours (a band that moves in the pass wakes the next) are
// relaxed as a pass over every node relaxes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "gridding/CurvatureLevel.h"

namespace velkor {
namespace {

constexpr int kNx = 12;
constexpr int kNy = 80;  // five bands of sixteen rows
constexpr int kRows = 16;

// The largest change of each band of rows between two states of the level.
std::vector<double> bandChanges(const std::vector<double>& before,
                                const std::vector<double>& after) {
    std::vector<double> largest(kNy / kRows, 0.0);
    for (std::size_t k = 0; k < after.size(); ++k) {
        double& band = largest[k / kNx / kRows];
        band = std::max(band, std::fabs(after[k] - before[k]));
    }
    return largest;
}

bool sameRows(const std::vector<double>& a, const std::vector<double>& b, int first, int end) {
    return std::equal(a.begin() + first * kNx, a.begin() + end * kNx, b.begin() + first * kNx);
}

TEST(CurvatureLevelBands, APassOverBusyBandsLeavesTheSettledOnesAsTheyAre) {
    // One reading near the south edge: the first pass moves the south bands, hardly the north.
    const std::vector<LevelReading> readings{{5.3, 3.2, 50.0}};
    const std::vector<double> zero(static_cast<std::size_t>(kNx) * kNy, 0.0);
    CurvatureLevel level(kNx, kNy, 0.25, zero, readings);
    level.sweep(1.7);
    const std::vector<double> first = level.values();
    const std::vector<double> changes = bandChanges(zero, first);
    constexpr double kBusy = 1e-4;
    ASSERT_GT(changes[1], kBusy);
    ASSERT_LT(changes[3], kBusy);
    ASSERT_LT(changes[4], kBusy);

    CurvatureLevel everyNode = level;
    everyNode.sweep(1.7);
    const std::vector<double> full = bandChanges(first, everyNode.values());
    ASSERT_LT(full[2], kBusy);  // so band 2, swept beside busy band 1, does not wake band 3
    const double largest = level.sweepBusy(1.7, kBusy);
    // The busy south bands and their neighbour as a full pass left them; the north as it was.
    EXPECT_TRUE(sameRows(level.values(), everyNode.values(), 0, 3 * kRows));
    EXPECT_TRUE(sameRows(level.values(), first, 3 * kRows, kNy));
    EXPECT_NEAR(largest, *std::max_element(full.begin(), full.end()), 1e-9 * largest);

    // Nothing busy: nothing moves.
    const std::vector<double> settled = level.values();
    EXPECT_EQ(level.sweepBusy(1.7, std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_EQ(level.values(), settled);
}

}  // namespace
}  // namespace velkor
