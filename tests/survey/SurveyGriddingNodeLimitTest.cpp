#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gridding/Extent.h"
#include "gridding/MinimumCurvature.h"
#include "survey/SurveyGridding.h"

namespace velkor {
namespace {

// lines survey lines 2 m apart, a reading every metre along 200 m of each.
std::vector<GridPoint> linesOfReadings(int lines) {
    std::vector<GridPoint> points;
    for (int line = 0; line < lines; ++line) {
        for (int s = 0; s <= 200; ++s) {
            points.push_back({s * 1.0, line * 2.0, std::sin(s * 0.1) + line * 0.01, line});
        }
    }
    return points;
}

// The nodes of a grid over the points at this cell, rounded outwards as the gridder does.
double nodesAt(const std::vector<GridPoint>& points, double cell) {
    Extent e;
    for (const GridPoint& p : points) {
        e.add(p.x, p.y);
    }
    return (std::ceil(e.x1 / cell) - std::floor(e.x0 / cell) + 1.0) *
           (std::ceil(e.y1 / cell) - std::floor(e.y0 / cell) + 1.0);
}

GriddingOptions spacedTwoMetres() {
    GriddingOptions o;
    o.lineSpacing = 2.0;
    return o;
}

}  // namespace

TEST(SurveyGriddingNodeLimit, BelowTheLimitTheToolsDefaultCellStands) {
    const std::vector<GridPoint> points = linesOfReadings(50);
    const GriddingOptions limited =
        SurveyGridding::withNodeLimit(points, spacedTwoMetres(), SurveyGridding::kWindowNodes);
    EXPECT_FALSE(limited.cell.has_value());
    // A cell the survey sets is its own, whatever the nodes.
    GriddingOptions set = spacedTwoMetres();
    set.cell = 0.01;
    EXPECT_EQ(SurveyGridding::withNodeLimit(points, set, 1000.0).cell, 0.01);
}

TEST(SurveyGriddingNodeLimit, AboveTheLimitARoundCellKeepsTheNodesUnderIt) {
    const std::vector<GridPoint> points = linesOfReadings(400);
    const double toolCell = MinimumCurvature::defaults(points, spacedTwoMetres()).cell;
    ASSERT_GT(nodesAt(points, toolCell), 200000.0);
    const GriddingOptions limited =
        SurveyGridding::withNodeLimit(points, spacedTwoMetres(), 50000.0);
    ASSERT_TRUE(limited.cell.has_value());
    const double cell = *limited.cell;
    EXPECT_LE(nodesAt(points, cell), 50000.0);
    EXPECT_GT(cell, toolCell);
    // 1, 2, 2.5 or 5 times a power of ten, and no coarser than the limit needs.
    const double mantissa = cell / std::pow(10.0, std::floor(std::log10(cell)));
    EXPECT_TRUE(mantissa == 1.0 || mantissa == 2.0 || mantissa == 2.5 || mantissa == 5.0) << cell;
    EXPECT_GT(nodesAt(points, cell / 2.5), 50000.0);
}

}  // namespace velkor
