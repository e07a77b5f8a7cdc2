// The default contour interval: a round step over the grid's whole range, 10 to 25 levels.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "gridding/ContourLevels.h"

namespace velkor {
namespace {

Grid line(const std::vector<double>& values) {
    return Grid{GridLattice{0.0, 0.0, 1.0, static_cast<int>(values.size()), 1}, values};
}

}  // namespace

TEST(ContourInterval, ARoundStepGivingTenToTwentyFiveLevelsOverTheWholeRange) {
    // A survey's anomaly: most nodes near nought, two sharp peaks the percentiles would cut.
    std::vector<double> v(1000, 0.0);
    for (std::size_t k = 0; k < v.size(); ++k) {
        v[k] = std::sin(k * 0.05) * 3.0;
    }
    v[10] = -74.0;
    v[500] = 168.0;
    v.push_back(Grid::kNoData);
    const double interval = ContourLevels::defaultInterval(line(v));
    EXPECT_TRUE(ContourLevels::isRoundStep(interval)) << interval;
    const std::vector<ContourLevel> levels = ContourLevels::at(line(v), interval);
    EXPECT_GE(levels.size(), 10U) << interval;
    EXPECT_LE(levels.size(), 25U) << interval;
    EXPECT_LE(levels.front().value, -74.0 + interval);
    EXPECT_GE(levels.back().value, 168.0 - interval);

    std::mt19937 rng(7);
    std::uniform_real_distribution<double> exponent(-3.0, 5.0);
    std::uniform_real_distribution<double> offset(-1.0, 1.0);
    for (int round = 0; round < 500; ++round) {
        const double span = std::pow(10.0, exponent(rng));
        const double least = offset(rng) * span * 3.0;
        const Grid g = line({least, least + span * 0.3, least + span});
        const double step = ContourLevels::defaultInterval(g);
        ASSERT_TRUE(ContourLevels::isRoundStep(step)) << least << " + " << span << ": " << step;
        const std::size_t count = ContourLevels::at(g, step).size();
        ASSERT_GE(count, 10U) << least << " + " << span << ": " << step;
        ASSERT_LE(count, 25U) << least << " + " << span << ": " << step;
        // Every fifth multiple an index contour.
        for (const ContourLevel& l : ContourLevels::at(g, step)) {
            const double k = std::round(l.value / step);
            ASSERT_EQ(l.index, std::fmod(std::fabs(k), 5.0) == 0.0) << l.value << " by " << step;
        }
    }
    EXPECT_EQ(ContourLevels::defaultInterval(line({4.0, 4.0})), 0.0);
}

TEST(ContourInterval, RoundStepsAreOneTwoTwoAndAHalfAndFive) {
    for (const double step : {1.0, 2.0, 2.5, 5.0, 0.025, 500.0, 2e-3}) {
        EXPECT_TRUE(ContourLevels::isRoundStep(step)) << step;
    }
    for (const double step : {3.0, 0.75, 40.0, 0.0, -1.0}) {
        EXPECT_FALSE(ContourLevels::isRoundStep(step)) << step;
    }
}

}  // namespace velkor
