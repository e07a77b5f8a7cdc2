// Grids no solve could make are refused before the solve, in words that hold true.
#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <vector>

#include "gridding/MinimumCurvature.h"

namespace velkor {
namespace {

std::atomic<bool> refusalsNotCancelled{false};

// Five lines of five readings over 100 m by 100 m.
std::vector<GridPoint> square() {
    std::vector<GridPoint> points;
    for (int line = 0; line < 5; ++line) {
        for (int k = 0; k < 5; ++k) {
            points.push_back({k * 25.0, line * 25.0, 48000.0 + k + line, line});
        }
    }
    return points;
}

}  // namespace

TEST(GridRefusals, ACellSoSmallTheNodesCannotBeCountedIsRefusedAsSuch) {
    const std::string expected =
        "The grid would have more than 16000000 nodes: choose a larger cell.";
    for (const double cell : {1e-300, std::numeric_limits<double>::denorm_min()}) {
        GriddingOptions options;
        options.cell = cell;
        const MinimumCurvature::Result r =
            MinimumCurvature::run(square(), options, refusalsNotCancelled);
        EXPECT_EQ(r.report.error, expected) << cell;
        EXPECT_TRUE(r.grid.values.empty());
    }
}

TEST(GridRefusals, AGridOneNodeWideIsRefusedBeforeTheSolve) {
    // Every reading on one line along x, exactly on a row of nodes.
    std::vector<GridPoint> row;
    for (int k = 0; k < 40; ++k) {
        row.push_back({k * 2.5, 0.0, 48000.0 + k, 0});
    }
    const MinimumCurvature::Result along = MinimumCurvature::run(row, {}, refusalsNotCancelled);
    EXPECT_EQ(along.report.error,
              "The grid would be 1 node wide (79 x 1 nodes): the readings lie along one row or "
              "column of nodes, and a grid needs two each way.");
    EXPECT_TRUE(along.report.levels.empty());
    for (GridPoint& p : row) {
        std::swap(p.x, p.y);
    }
    const MinimumCurvature::Result across = MinimumCurvature::run(row, {}, refusalsNotCancelled);
    EXPECT_NE(across.report.error.find("(1 x 79 nodes)"), std::string::npos) << across.report.error;
}

}  // namespace velkor
