// The direction offset beside a feature that runs along one line (a pipe, a ditch): that
// line's neighbours differ from it by the feature, which is no offset of direction.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "levelling/DirectionOffset.h"

namespace velkor {

TEST(DirectionOffsetAlong, AFeatureAlongOneLineDoesNotPullTheOffset) {
    std::mt19937 random(5);
    std::normal_distribution<double> noise(0.0, 0.5);
    std::vector<LevelLine> lines;
    for (int l = 1; l <= 40; ++l) {
        LevelLine line;
        line.number = l;
        line.direction = l % 2 == 1 ? 1 : -1;
        for (int k = 0; k <= 80; ++k) {
            const double y = k * 0.5;
            const double pipe = l == 27 ? 160.0 : 0.0;
            line.along.push_back(y);
            line.value.push_back(48000.0 + 20.0 * std::sin(y / 5.0) + pipe + line.direction * 1.5 +
                                 noise(random));
        }
        lines.push_back(line);
    }
    const auto offset = DirectionOffset::estimate(lines);
    ASSERT_TRUE(offset);
    EXPECT_NEAR(*offset, 3.0, 0.3);
}

}  // namespace velkor
