#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "gridding/MinimumCurvature.h"
#include "transforms/GriddedTransform.h"

namespace velkor {
namespace {

constexpr double kFillDegree = 3.14159265358979323846 / 180.0;
constexpr double kFillDepth = 5.0;
constexpr double kFillDatum = 48000.0;

// A dipole kFillDepth below the origin magnetised along a field of inclination 60, seen
// z metres below the readings, on a regional level sloping 1.5 nT/m east and 0.8 nT/m
// north: a blanking edge across the slope is a step to any fill but a smooth one.
double fillField(double x, double y, double z) {
    const double c = std::cos(60.0 * kFillDegree);
    const double s = std::sin(60.0 * kFillDegree);
    const double rx = x;
    const double ry = y;
    const double rz = z - kFillDepth;
    const double d = std::sqrt(rx * rx + ry * ry + rz * rz);
    const double along = (c * ry + s * rz) / d;
    const double dipole = 1000.0 * std::pow(kFillDepth / d, 3) * (3.0 * along * along - 1.0);
    return kFillDatum + 1.5 * x + 0.8 * y + dipole;
}

// Lines 1 m apart, readings every 0.25 m, over 80 m x 80 m; with a hole, none in a 20 m
// square north-east of the dipole, which the blanking leaves without nodes.
MinimumCurvature::Result fillGridded(bool hole) {
    std::vector<GridPoint> points;
    for (int line = 0; line <= 80; ++line) {
        const double y = -40.0 + line;
        for (int k = 0; k <= 320; ++k) {
            const double x = -40.0 + 0.25 * k;
            if (hole && x > 8.0 && x < 28.0 && y > 8.0 && y < 28.0) {
                continue;
            }
            points.push_back({x, y, fillField(x, y, 0.0), line});
        }
    }
    GriddingOptions options;
    options.cell = 0.5;
    options.lineSpacing = 1.0;
    const std::atomic<bool> never{false};
    return MinimumCurvature::run(points, options, never);
}

// The largest difference from the truth at the nodes with a value within two cells of a
// blanked node.
double fillEdgeError(const Grid& got, const Grid& truth) {
    const GridLattice& l = got.lattice;
    double worst = 0.0;
    for (int j = 2; j < l.ny - 2; ++j) {
        for (int i = 2; i < l.nx - 2; ++i) {
            bool edge = false;
            for (int b = -2; b <= 2; ++b) {
                for (int a = -2; a <= 2; ++a) {
                    edge = edge || Grid::isNoData(got.at(i + a, j + b));
                }
            }
            if (edge && !Grid::isNoData(got.at(i, j))) {
                worst = std::max(worst, std::abs(got.at(i, j) - truth.at(i, j)));
            }
        }
    }
    return worst;
}

}  // namespace

// Measured against the same transform of the survey without the hole, so that what
// differs is the hole's doing alone.
TEST(GriddedTransform, TheGriddersSurfaceFillsTheBlankingWithoutRinging) {
    const MinimumCurvature::Result holed = fillGridded(true);
    const MinimumCurvature::Result whole = fillGridded(false);
    ASSERT_TRUE(holed.report.error.empty()) << holed.report.error;
    ASSERT_GT(holed.report.blankedNodes, 100);
    ASSERT_EQ(whole.report.blankedNodes, 0);
    GridTransform::Parameters p;
    for (const GridTransform::Kind kind :
         {GridTransform::Kind::Continue, GridTransform::Kind::Dz}) {
        p.kind = kind;
        p.height = 2.0;
        std::string message;
        const auto got = GriddedTransform::apply(holed, p, message);
        const auto truth = GriddedTransform::apply(whole, p, message);
        ASSERT_TRUE(got && truth) << message;
        const auto blanked = std::count_if(got->grid.values.begin(), got->grid.values.end(),
                                           [](double v) { return Grid::isNoData(v); });
        EXPECT_EQ(blanked, holed.report.blankedNodes);
        const Grid& t = truth->grid;
        const double peak = *std::max_element(t.values.begin(), t.values.end()) -
                            *std::min_element(t.values.begin(), t.values.end());
        EXPECT_LT(fillEdgeError(got->grid, t), 0.01 * peak) << GridTransform::name(kind);

        // The hole filled by the grid's mean instead rings at its edge: the test sees it.
        Grid meanFilled = holed.grid;
        for (double& v : meanFilled.values) {
            v = Grid::isNoData(v) ? kFillDatum : v;
        }
        const auto ringing = GridTransform::apply(meanFilled, holed.grid, p, message);
        ASSERT_TRUE(ringing) << message;
        EXPECT_GT(fillEdgeError(ringing->grid, t), 0.01 * peak) << GridTransform::name(kind);
    }
}

TEST(GriddedTransform, NoGridIsRefusedInPlainWords) {
    MinimumCurvature::Result none;
    none.report.error = "There are no readings to grid.";
    std::string message;
    EXPECT_FALSE(GriddedTransform::apply(none, GridTransform::Parameters(), message));
    EXPECT_EQ(message, "There is no grid to transform: There are no readings to grid.");
}

}  // namespace velkor
