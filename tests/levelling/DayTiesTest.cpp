#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "levelling/DayTies.h"

namespace velkor {

TEST(DayTies, DaysTiedByAControlLineComeOutAtTheirOffsets) {
    // Three days 0, +4 and -2.5 nT off, a control line of 40 readings walked each day with
    // 0.3 nT noise; a fourth day tied to none.
    const double off[] = {0.0, 4.0, -2.5};
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.3);
    std::vector<DayTies::Tie> ties;
    for (int reading = 0; reading < 40; ++reading) {
        for (int a = 0; a < 3; ++a) {
            for (int b = a + 1; b < 3; ++b) {
                ties.push_back({a, b, off[a] - off[b] + noise(random) - noise(random)});
            }
        }
    }
    const DayTies::Result r = DayTies::solve(4, ties, std::nullopt);
    EXPECT_NEAR(r.offsets[1] - r.offsets[0], 4.0, 0.1);
    EXPECT_NEAR(r.offsets[2] - r.offsets[0], -2.5, 0.1);
    EXPECT_NEAR(r.offsets[0] + r.offsets[1] + r.offsets[2], 0.0, 1e-9);
    EXPECT_EQ(r.offsets[3], 0.0);
    EXPECT_EQ(r.untied, (std::vector<int>{3}));
    EXPECT_EQ(r.ties[0], 80);
    EXPECT_GT(r.rmsBefore, 3.0);
    EXPECT_LT(r.rmsAfter, 0.5);

    // Held at the second day instead.
    const DayTies::Result fixed = DayTies::solve(4, ties, 1);
    EXPECT_EQ(fixed.offsets[1], 0.0);
    EXPECT_NEAR(fixed.offsets[0], -4.0, 0.1);
}

}  // namespace velkor
