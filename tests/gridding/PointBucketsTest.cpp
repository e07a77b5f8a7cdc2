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
        const PointBuckets buckets(places, 1.5);
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

// A crowd of points and one far from it (a reading on the walk back, a second field): a
// search in the crowd looks at the points near it, not at the whole crowd.
TEST(PointBuckets, AFarPointDoesNotWidenTheBucketsOfACrowd) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> spread(0.0, 60.0);
    std::vector<PointBuckets::Place> places;
    for (int k = 0; k < 2000; ++k) {
        places.push_back({spread(random), spread(random)});
    }
    places.push_back({10000.0, 10000.0});
    const PointBuckets buckets(places, 1.5);
    int visited = 0;
    buckets.visit(30.0, 30.0, 35.0, 35.0, [&](int) { ++visited; });
    // About 36 lie in the buckets the rectangle touches.
    EXPECT_GT(visited, 5);
    EXPECT_LT(visited, 200);
    std::vector<int> far;
    buckets.visit(9999.0, 9999.0, 10001.0, 10001.0, [&](int k) { far.push_back(k); });
    EXPECT_EQ(far, std::vector<int>{2000});
}

}  // namespace velkor
