#include "gridding/PointBuckets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <vector>

namespace velkor {

// Every place within the rectangle is visited, on both sides of zero and far from it, and
// places that are not numbers neither break the buckets nor turn up inside a rectangle.
TEST(PointBuckets, VisitsEveryPlaceInTheRectangle) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> spread(-30.0, 30.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double origin : {0.0, 5.0e6, -4.0e14}) {
        std::vector<PointBuckets::Place> places;
        for (int k = 0; k < 2000; ++k) {
            places.push_back({origin + spread(random), -origin + spread(random)});
        }
        places.push_back({nan, 0.0});
        const PointBuckets buckets(places);
        for (int q = 0; q < 200; ++q) {
            const double x = origin + spread(random);
            const double y = -origin + spread(random);
            std::set<int> visited;
            buckets.visit(x - 2.5, y - 2.5, x + 2.5, y + 2.5, [&](int k) { visited.insert(k); });
            for (std::size_t k = 0; k + 1 < places.size(); ++k) {
                const bool inside =
                    std::fabs(places[k].x - x) <= 2.5 && std::fabs(places[k].y - y) <= 2.5;
                ASSERT_TRUE(!inside || visited.count(static_cast<int>(k))) << origin << " " << k;
            }
        }
    }
}

}  // namespace velkor
