// Two-dimensional bodies the edge transforms are read over: the analytic signal of a thin
// vertical sheet peaks over it with a width of twice its depth, and the tilt of a vertical
// contact crosses zero over it and reaches 45 degrees at its depth either side.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "transforms/GridTransform.h"

namespace velkor {
namespace {

constexpr double kTopDepth = 3.0;
constexpr double kEdgeCell = 0.5;
constexpr int kEdgeNodes = 201;  // 100 m a side, the body striking north through the middle

// At the pole, on a grid 100 m a side; value(x) the profile across the strike.
Grid strikingNorth(const std::function<double(double)>& value) {
    Grid g;
    g.lattice = {-50.0, -50.0, kEdgeCell, kEdgeNodes, kEdgeNodes};
    for (int j = 0; j < kEdgeNodes; ++j) {
        for (int i = 0; i < kEdgeNodes; ++i) {
            g.values.push_back(value(g.lattice.x(i)));
        }
    }
    return g;
}

Grid transformedAtThePole(const Grid& g, GridTransform::Kind kind) {
    GridTransform::Parameters p;
    p.kind = kind;
    std::string message;
    const auto r = GridTransform::apply(g, g, p, message);
    EXPECT_TRUE(r) << message;
    return r ? r->grid : g;
}

// The rows across the central half of the grid, where the taper has no say.
std::vector<int> centralRows() {
    std::vector<int> rows;
    for (int j = kEdgeNodes / 4; j <= 3 * kEdgeNodes / 4; j += 10) {
        rows.push_back(j);
    }
    return rows;
}

}  // namespace

TEST(SheetAndContact, TheAnalyticSignalPeaksOverASheetTwiceItsDepthWide) {
    // A thin vertical sheet at the pole: h / (x^2 + h^2).
    const Grid sheet = strikingNorth(
        [](double x) { return 1000.0 * kTopDepth / (x * x + kTopDepth * kTopDepth); });
    const Grid asig = transformedAtThePole(sheet, GridTransform::Kind::Asig);
    for (const int j : centralRows()) {
        int peak = 0;
        for (int i = 0; i < kEdgeNodes; ++i) {
            peak = asig.at(i, j) > asig.at(peak, j) ? i : peak;
        }
        EXPECT_LE(std::abs(peak - kEdgeNodes / 2), 1) << j;
        // The width at half maximum, between the nodes where it falls below half.
        const double half = asig.at(peak, j) / 2.0;
        int left = peak;
        int right = peak;
        while (left > 0 && asig.at(left, j) > half) {
            --left;
        }
        while (right < kEdgeNodes - 1 && asig.at(right, j) > half) {
            ++right;
        }
        EXPECT_NEAR((right - left) * kEdgeCell, 2.0 * kTopDepth, 2.0 * kEdgeCell) << j;
    }
}

TEST(SheetAndContact, TheTiltCrossesZeroOverAContactAndIs45DegreesAtItsDepth) {
    // A vertical contact at the pole, the body east of x = 0: atan(x / h) and a step.
    const Grid contact =
        strikingNorth([](double x) { return 1000.0 * (1.5707963 + std::atan(x / kTopDepth)); });
    const Grid tilt = transformedAtThePole(contact, GridTransform::Kind::Tilt);
    const int centre = kEdgeNodes / 2;
    const int depth = static_cast<int>(kTopDepth / kEdgeCell);
    for (const int j : centralRows()) {
        // The first change of sign from a depth west of the contact to a depth east.
        int crossing = -1;
        for (int i = centre - depth + 1; i <= centre + depth && crossing < 0; ++i) {
            if (std::signbit(tilt.at(i - 1, j)) != std::signbit(tilt.at(i, j))) {
                crossing = i;
            }
        }
        EXPECT_LE(std::abs(crossing - centre), 1) << j;
        EXPECT_NEAR(std::abs(tilt.at(centre + depth, j)), 45.0, 5.0) << j;
        EXPECT_NEAR(std::abs(tilt.at(centre - depth, j)), 45.0, 5.0) << j;
        EXPECT_NE(std::signbit(tilt.at(centre + depth, j)),
                  std::signbit(tilt.at(centre - depth, j)));
    }
}

}  // namespace velkor
