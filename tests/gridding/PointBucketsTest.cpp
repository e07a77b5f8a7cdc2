#include "gridding/PointBuckets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <vector>

namespace velkor {

// Every point within the bucket size is visited, on both sides of zero and far from it, and
// a place that is not a number finds nothing but never fails.
TEST(PointBuckets, FindsEveryPointWithinItsSize) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> spread(-30.0, 30.0);
    for (const double origin : {0.0, 5.0e6, -4.0e14}) {
        std::vector<double> x;
        std::vector<double> y;
        PointBuckets buckets(2.5);
        for (std::size_t k = 0; k < 2000; ++k) {
            x.push_back(origin + spread(random));
            y.push_back(-origin + spread(random));
            buckets.add(k, x.back(), y.back());
        }
        for (int q = 0; q < 200; ++q) {
            const double px = origin + spread(random);
            const double py = -origin + spread(random);
            std::set<std::size_t> visited;
            buckets.neighbours(px, py, [&](std::size_t id) { visited.insert(id); });
            for (std::size_t k = 0; k < x.size(); ++k) {
                if (std::hypot(x[k] - px, y[k] - py) <= 2.5) {
                    ASSERT_TRUE(visited.count(k)) << origin << " " << k;
                }
            }
        }
    }
    PointBuckets buckets(1.0);
    buckets.add(0, 1.0e300, -1.0e300);
    int seen = 0;
    buckets.neighbours(std::nan(""), 0.0, [&](std::size_t) { ++seen; });
    EXPECT_EQ(seen, 0);
}

}  // namespace velkor
