// The levels of the gridder: one condition a node however many readings crowd its cell, and
// a level that stops once its change no longer falls.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "gridding/MinimumCurvature.h"

namespace velkor {
namespace {

std::atomic<bool> levelsNotCancelled{false};

double smoothField(double x, double y) {
    return 48000.0 + 0.4 * x + 80.0 * std::exp(-((x - 30) * (x - 30) + (y - 22) * (y - 22)) / 60.0);
}

// Lines 4 m apart, a reading every 0.3 m with scatter across the line and 0.2 nT of noise:
// several readings in each cell of a 1 m grid.
std::vector<GridPoint> crowdedLines(unsigned seed) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0.0, 0.2);
    std::uniform_real_distribution<double> across(-0.45, 0.45);
    std::vector<GridPoint> points;
    for (int l = 0; l <= 12; ++l) {
        for (int k = 0; k <= 160; ++k) {
            const double x = k * 0.3;
            const double y = l * 4.0 + across(rng);
            points.push_back({x, y, smoothField(x, y) + noise(rng), l});
        }
    }
    return points;
}

// The nearest reading of each node of the lattice, the first of equals: what the solver holds.
std::vector<GridPoint> nearestOfEachNode(const std::vector<GridPoint>& points,
                                         const GridLattice& lattice) {
    std::vector<int> nearest(lattice.size(), -1);
    auto offset = [&](const GridPoint& p, std::size_t& node) {
        const double fx = (p.x - lattice.x0) / lattice.cell;
        const double fy = (p.y - lattice.y0) / lattice.cell;
        node = static_cast<std::size_t>(std::lround(fy)) * lattice.nx +
               static_cast<std::size_t>(std::lround(fx));
        return std::hypot(fx - std::round(fx), fy - std::round(fy));
    };
    for (std::size_t n = 0; n < points.size(); ++n) {
        std::size_t node = 0;
        const double d = offset(points[n], node);
        std::size_t same = 0;
        if (nearest[node] < 0 ||
            d < offset(points[static_cast<std::size_t>(nearest[node])], same)) {
            nearest[node] = static_cast<int>(n);
        }
    }
    std::vector<GridPoint> kept;
    for (const int n : nearest) {
        if (n >= 0) {
            kept.push_back(points[static_cast<std::size_t>(n)]);
        }
    }
    return kept;
}

TEST(GriddingLevels, ReadingsCrowdingACellGiveTheGridOfTheNearestOfEachNode) {
    const std::vector<GridPoint> points = crowdedLines(11);
    GriddingOptions options;
    options.cell = 1.0;
    options.lineSpacing = 4.0;
    options.blankDistance = std::numeric_limits<double>::infinity();
    const MinimumCurvature::Result all = MinimumCurvature::run(points, options, levelsNotCancelled);
    ASSERT_TRUE(all.report.error.empty()) << all.report.error;
    EXPECT_EQ(all.report.readingsUsed, static_cast<int>(points.size()));

    const std::vector<GridPoint> kept = nearestOfEachNode(points, all.grid.lattice);
    ASSERT_LT(kept.size() * 3, points.size());  // most readings are not their node's nearest
    options.extent = all.grid.lattice;
    options.convergence = all.report.convergenceLimit;
    const MinimumCurvature::Result nearest =
        MinimumCurvature::run(kept, options, levelsNotCancelled);
    ASSERT_TRUE(nearest.report.error.empty()) << nearest.report.error;
    EXPECT_EQ(nearest.report.levels.back().heldNodes, all.report.levels.back().heldNodes);

    // The grids differ only by where each stopped (and the readings' plane): well under the
    // readings' own noise, on a field of 80 nT.
    double sum2 = 0.0;
    for (std::size_t k = 0; k < all.grid.values.size(); ++k) {
        const double d = all.grid.values[k] - nearest.grid.values[k];
        sum2 += d * d;
    }
    EXPECT_LT(std::sqrt(sum2 / all.grid.values.size()), 0.05);
    // The misfit is told at every reading, the held and the others: the noise between them.
    EXPECT_GT(all.report.rmsMisfit, 0.1);
    EXPECT_LT(all.report.rmsMisfit, 0.5);
    EXPECT_LT(nearest.report.rmsMisfit, 0.01);
}

TEST(GriddingLevels, ALevelWhoseChangeNoLongerFallsStopsAndSaysSo) {
    // A limit no level can reach: each sweeps on only while its change still falls.
    GriddingOptions options;
    options.cell = 1.0;
    options.lineSpacing = 4.0;
    options.convergence = 1e-300;
    const MinimumCurvature::Result r =
        MinimumCurvature::run(crowdedLines(12), options, levelsNotCancelled);
    ASSERT_TRUE(r.report.error.empty()) << r.report.error;
    ASSERT_FALSE(r.report.levels.empty());
    int stalled = 0;
    for (const LevelReport& level : r.report.levels) {
        EXPECT_FALSE(level.converged);
        if (level.stalled) {
            ++stalled;
            EXPECT_LT(level.iterations, options.maxIterations);
            EXPECT_EQ(level.iterations % 20, 0) << "judged over whole spans of sweeps";
        } else {
            EXPECT_EQ(level.iterations, options.maxIterations);
        }
    }
    EXPECT_TRUE(r.report.levels.back().stalled);
    EXPECT_GT(stalled, 0);
    EXPECT_FALSE(r.report.converged());

    // Stopped so, the grid is the field within the readings' noise (0.2 nT) and what
    // minimum curvature makes of a bump between lines 4 m apart.
    const GridLattice& lattice = r.grid.lattice;
    double sum2 = 0.0;
    int count = 0;
    for (int j = 0; j < lattice.ny; ++j) {
        for (int i = 0; i < lattice.nx; ++i) {
            if (!Grid::isNoData(r.grid.at(i, j))) {
                const double d = r.grid.at(i, j) - smoothField(lattice.x(i), lattice.y(j));
                sum2 += d * d;
                ++count;
            }
        }
    }
    ASSERT_GT(count, 0);
    EXPECT_LT(std::sqrt(sum2 / count), 0.3);
}

}  // namespace
}  // namespace velkor
