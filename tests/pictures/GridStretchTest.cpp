// The grid's colour stretches: equalised by default, the clipped percentiles, or limits.
#include <gtest/gtest.h>

#include <vector>

#include "pictures/GridStretch.h"

namespace velkor {

TEST(GridStretch, EqualisedByDefaultAndLinearBetweenTheLimitsGiven) {
    std::vector<double> values;
    for (int k = 0; k < 100; ++k) {
        values.push_back(k);
    }
    values.push_back(5000.0);  // a target's peak
    const Grid grid{GridLattice{0.0, 0.0, 1.0, static_cast<int>(values.size()), 1}, values};

    const GridStretch byDefault = GridStretch::of(grid, GridStretch::Choice());
    EXPECT_EQ(byDefault.kind(), GridStretch::Kind::Equalised);
    // Equalised, the peak takes the top of the scale and the rest spread evenly below it.
    EXPECT_NEAR(byDefault.fraction(50.0), 0.5, 0.02);

    const GridStretch limits = GridStretch::of(grid, {GridStretch::Kind::Limits, 10.0, 50.0});
    EXPECT_EQ(limits.lo(), 10.0);
    EXPECT_EQ(limits.hi(), 50.0);
    EXPECT_DOUBLE_EQ(limits.fraction(30.0), 0.5);
    EXPECT_EQ(limits.fraction(-3.0), 0.0);
    EXPECT_EQ(limits.fraction(5000.0), 1.0);
    EXPECT_DOUBLE_EQ(limits.valueAt(0.25), 20.0);
    // Limits out of order take the grid's own least and greatest.
    const GridStretch backwards = GridStretch::of(grid, {GridStretch::Kind::Limits, 50.0, 10.0});
    EXPECT_EQ(backwards.lo(), 0.0);
    EXPECT_EQ(backwards.hi(), 5000.0);
    EXPECT_STREQ(GridStretch::name(GridStretch::Kind::Limits), "Limits");
}

}  // namespace velkor
