#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <random>
#include <vector>

#include "gridding/BriggsCoefficients.h"
#include "gridding/CurvatureLevel.h"
#include "gridding/GridBlanking.h"
#include "gridding/MinimumCurvature.h"
#include "gridding/TensionStencil.h"

namespace velkor {
namespace {

std::atomic<bool> griddingNotCancelled{false};

MinimumCurvature::Result grid(const std::vector<GridPoint>& points, GriddingOptions options = {}) {
    return MinimumCurvature::run(points, options, griddingNotCancelled);
}

// Readings scattered over [0, size]^2 with values from f.
template <typename F>
std::vector<GridPoint> scattered(int count, double size, F f, unsigned seed = 7) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> at(0.0, size);
    std::vector<GridPoint> points;
    for (int k = 0; k < count; ++k) {
        const double x = at(rng);
        const double y = at(rng);
        points.push_back({x, y, f(x, y), 0});
    }
    return points;
}

TEST(Gridding, StencilIsTensionTimesLaplacianAndCurvatureTimesBiharmonic) {
    const TensionStencil curvature(0.0);
    EXPECT_DOUBLE_EQ(curvature.centre, 20.0);
    EXPECT_DOUBLE_EQ(curvature.side, -8.0);
    EXPECT_DOUBLE_EQ(curvature.diagonal, 2.0);
    EXPECT_DOUBLE_EQ(curvature.far, 1.0);
    const TensionStencil harmonic(1.0);
    EXPECT_DOUBLE_EQ(harmonic.centre, 4.0);
    EXPECT_DOUBLE_EQ(harmonic.side, -1.0);
    EXPECT_DOUBLE_EQ(harmonic.diagonal, 0.0);
    EXPECT_DOUBLE_EQ(harmonic.far, 0.0);
    // x^2 - y^2 + 3xy is harmonic, so it solves the equation at every tension; x^3 solves
    // only the biharmonic part.
    for (double t : {0.0, 0.25, 0.6, 1.0}) {
        const TensionStencil s(t);
        auto apply = [&](auto f) {
            return s.centre * f(0, 0) + s.side * (f(1, 0) + f(-1, 0) + f(0, 1) + f(0, -1)) +
                   s.diagonal * (f(1, 1) + f(-1, 1) + f(1, -1) + f(-1, -1)) +
                   s.far * (f(2, 0) + f(-2, 0) + f(0, 2) + f(0, -2));
        };
        EXPECT_NEAR(apply([](double x, double y) { return x * x - y * y + 3 * x * y + 5; }), 0.0,
                    1e-12);
        EXPECT_NEAR(apply([](double x, double) { return (x + 2) * (x + 2) * (x + 2); }), -t * 12.0,
                    1e-12);  // -T del^2 (x + 2)^3 at x = 0
        // The node outside the edge satisfies (1 - T) u'' + T du/dn = 0 (n outwards).
        const double u0 = 1.3, u1 = 0.4;
        const double out = s.edgeSelf * u0 + s.edgeInner * u1;
        EXPECT_NEAR((1 - t) * (u1 - 2 * u0 + out) + t * (out - u1) / 2, 0.0, 1e-12);
    }
    EXPECT_DOUBLE_EQ(curvature.edgeSelf, 2.0);  // straight on
    EXPECT_DOUBLE_EQ(curvature.edgeInner, -1.0);
    EXPECT_DOUBLE_EQ(harmonic.edgeSelf, 0.0);  // mirrored: no slope across the edge
    EXPECT_DOUBLE_EQ(harmonic.edgeInner, 1.0);
}

TEST(Gridding, BriggsCoefficientsAreExactForQuadraticsAndFavourTheNearestNode) {
    auto quadratic = [](double x, double y) {
        return 2.0 - 0.7 * x + 1.1 * y + 0.3 * x * x - 0.8 * x * y + 0.45 * y * y;
    };
    for (double xi : {-0.5, -0.31, 0.0, 0.12, 0.5}) {
        for (double eta : {-0.5, -0.2, 0.0, 0.37, 0.49}) {
            const auto terms = BriggsCoefficients::at(xi, eta);
            double value = 0.0;
            double sum = 0.0;
            for (const BriggsTerm& t : terms) {
                value += t.weight * quadratic(t.di, t.dj);
                sum += t.weight;
                EXPECT_LE(std::fabs(t.weight), terms[0].weight + 1e-12);
            }
            EXPECT_NEAR(value, quadratic(xi, eta), 1e-12) << xi << " " << eta;
            EXPECT_NEAR(sum, 1.0, 1e-12);
        }
    }
    const auto onNode = BriggsCoefficients::at(0.0, 0.0);
    EXPECT_DOUBLE_EQ(onNode[0].weight, 1.0);
    // Hand-worked: a reading half a cell east and a quarter north.
    const auto t = BriggsCoefficients::at(0.5, -0.25);
    EXPECT_DOUBLE_EQ(t[0].weight, 1.0 - 0.25 - 0.0625 + 0.125);
    EXPECT_EQ(t[5].di, 1);
    EXPECT_EQ(t[5].dj, -1);
    EXPECT_DOUBLE_EQ(t[5].weight, 0.125);
}

TEST(Gridding, PlaneComesBackExactlyAndAQuadraticAsFarAsItsReadingsHoldIt) {
    auto plane = [](double x, double y) { return 48000.0 + 0.8 * x - 1.7 * y; };
    GriddingOptions options;
    options.cell = 1.0;
    options.blankDistance = std::numeric_limits<double>::infinity();
    const auto flat = grid(scattered(60, 30.0, plane), options);
    ASSERT_TRUE(flat.report.error.empty()) << flat.report.error;
    for (int j = 0; j < flat.grid.lattice.ny; ++j) {
        for (int i = 0; i < flat.grid.lattice.nx; ++i) {
            ASSERT_NEAR(flat.grid.at(i, j), plane(flat.grid.lattice.x(i), flat.grid.lattice.y(j)),
                        1e-9);
        }
    }
    EXPECT_NEAR(flat.report.rmsMisfit, 0.0, 1e-9);

    // A reading off every node (beyond the radius that fixes a node): the quadratic is the
    // only surface through them all.
    auto quadratic = [](double x, double y) {
        return 10.0 + 0.5 * x - 0.2 * y + 0.03 * x * x - 0.05 * x * y + 0.02 * y * y;
    };
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> off(0.08, 0.45);
    auto offset = [&](int at) { return at + (rng() % 2 ? off(rng) : -off(rng)); };
    std::vector<GridPoint> dense;
    for (int j = 0; j <= 24; ++j) {
        for (int i = 0; i <= 24; ++i) {
            const double x = std::clamp(offset(i), 0.0, 24.0);
            const double y = std::clamp(offset(j), 0.0, 24.0);
            dense.push_back({x, y, quadratic(x, y), j});
        }
    }
    options.convergence = 1e-10;
    options.maxIterations = 5000;
    const auto curved = grid(dense, options);
    ASSERT_EQ(curved.grid.lattice.nx, 25);
    // The edge conditions ask for no curvature across the edges, which a quadratic has: the
    // readings on the edge rows lean on them, and a little of that reaches inside (a few
    // thousandths here, on values of 10 to 40).
    double worst = 0.0;
    for (int j = 2; j < 23; ++j) {
        for (int i = 2; i < 23; ++i) {
            worst = std::max(worst, std::fabs(curved.grid.at(i, j) - quadratic(i, j)));
        }
    }
    EXPECT_LT(worst, 5e-3);
    EXPECT_LT(curved.report.rmsMisfit, 1e-7);
}

TEST(Gridding, AReadingWithinAtwentiethOfACellFixesItsNode) {
    const std::vector<LevelReading> readings{{3.03, 2.98, 77.0}, {5.1, 5.0, 12.0}};
    CurvatureLevel level(8, 8, 0.25, std::vector<double>(64, 0.0), readings);
    EXPECT_EQ(level.constrainedNodes(), 2);
    for (int k = 0; k < 500; ++k) {
        level.sweep(1.4);
    }
    EXPECT_DOUBLE_EQ(level.values()[3 * 8 + 3], 77.0);
    EXPECT_NE(level.values()[5 * 8 + 5], 12.0);  // held off-node: passes through the reading
    EXPECT_NEAR(level.valueAt(5.1, 5.0), 12.0, 1e-4);
}

TEST(Gridding, CoarseToFineSeriesConvergesAndAnUnconvergedLevelStillGivesAGrid) {
    auto field = [](double x, double y) {
        return 300.0 * std::exp(-((x - 40) * (x - 40) + (y - 25) * (y - 25)) / 90.0) + 0.1 * x;
    };
    std::vector<GridPoint> lines;
    for (int l = 0; l < 10; ++l) {
        for (int k = 0; k <= 60; ++k) {
            lines.push_back({k * 1.5, l * 6.0 + 0.3, field(k * 1.5, l * 6.0 + 0.3), l});
        }
    }
    GriddingOptions options;
    options.lineSpacing = 6.0;
    const auto done = grid(lines, options);
    ASSERT_TRUE(done.report.error.empty());
    EXPECT_DOUBLE_EQ(done.report.cell, 0.75);  // half the station spacing
    ASSERT_GE(done.report.levels.size(), 3u);
    for (std::size_t l = 0; l < done.report.levels.size(); ++l) {
        const LevelReport& level = done.report.levels[l];
        EXPECT_TRUE(level.converged) << l;
        EXPECT_LE(level.lastChange, done.report.convergenceLimit);
        EXPECT_DOUBLE_EQ(level.cell, done.report.cell * (1 << (done.report.levels.size() - 1 - l)));
    }
    EXPECT_EQ(done.report.levels.back().nx, done.grid.lattice.nx);
    EXPECT_LT(done.report.rmsMisfit, 0.01);

    options.maxIterations = 3;
    const auto capped = grid(lines, options);
    ASSERT_TRUE(capped.report.error.empty());
    EXPECT_FALSE(capped.report.converged());
    for (const LevelReport& level : capped.report.levels) {
        EXPECT_EQ(level.iterations, 3);
        EXPECT_GT(level.lastChange, 0.0);
    }
    ASSERT_EQ(capped.grid.values.size(), done.grid.values.size());
    for (double v : capped.grid.values) {
        EXPECT_TRUE(std::isfinite(v) || Grid::isNoData(v));
    }
}

TEST(Gridding, FullTensionNeverOvershootsItsReadingsWhereMinimumCurvatureDoes) {
    // A saddle of four readings on nodes, inside a larger grid.
    const std::vector<GridPoint> saddle{
        {10, 10, 0.0, 0}, {20, 10, 1.0, 0}, {10, 20, 1.0, 1}, {20, 20, 0.0, 1}};
    GriddingOptions options;
    options.extent = GridLattice{0.0, 0.0, 1.0, 31, 31};
    options.blankDistance = std::numeric_limits<double>::infinity();
    options.convergence = 1e-9;
    options.maxIterations = 20000;
    auto range = [&](double tension) {
        options.tension = tension;
        const auto r = grid(saddle, options);
        const auto [lo, hi] = std::minmax_element(r.grid.values.begin(), r.grid.values.end());
        return std::make_pair(*lo, *hi);
    };
    const auto harmonic = range(1.0);
    EXPECT_GE(harmonic.first, -1e-6);
    EXPECT_LE(harmonic.second, 1.0 + 1e-6);
    const auto curvature = range(0.0);
    EXPECT_TRUE(curvature.first < -0.05 || curvature.second > 1.05);
}

TEST(Gridding, NodesBeyondTheBlankingDistanceOfEveryReadingHaveNoValue) {
    const auto points = scattered(
        25, 40.0, [](double x, double) { return x; }, 11);
    GriddingOptions options;
    options.cell = 0.5;
    options.blankDistance = 3.3;
    const auto r = grid(points, options);
    ASSERT_TRUE(r.report.error.empty());
    int blanked = 0;
    for (int j = 0; j < r.grid.lattice.ny; ++j) {
        for (int i = 0; i < r.grid.lattice.nx; ++i) {
            double nearest = 1e9;
            for (const GridPoint& p : points) {
                nearest = std::min(
                    nearest, std::hypot(p.x - r.grid.lattice.x(i), p.y - r.grid.lattice.y(j)));
            }
            EXPECT_EQ(Grid::isNoData(r.grid.at(i, j)), nearest > 3.3) << i << " " << j;
            blanked += nearest > 3.3;
        }
    }
    EXPECT_GT(blanked, 0);
    EXPECT_EQ(r.report.blankedNodes, blanked);

    // By default 2.5 line spacings.
    options.blankDistance.reset();
    options.lineSpacing = 2.0;
    EXPECT_DOUBLE_EQ(grid(points, options).report.blankDistance, 5.0);
}

TEST(Gridding, UnusableReadingsAreLeftOutAndBadRequestsSayWhy) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<GridPoint> points = scattered(30, 10.0, [](double x, double y) { return x * y; });
    points.push_back({nan, 1.0, 2.0, 0});
    points.push_back({1.0, 1.0, std::numeric_limits<double>::infinity(), 0});
    // A finite value too large to be a measurement would overflow the plane's sums.
    points.push_back({2.0, 1.0, 1e300, 0});
    const auto r = grid(points);
    EXPECT_TRUE(r.report.error.empty());
    EXPECT_EQ(r.report.readingsUsed, 30);
    EXPECT_EQ(r.report.readingsLeftOut, 3);
    for (double v : r.grid.values) {
        EXPECT_TRUE(std::isfinite(v) || Grid::isNoData(v));
    }

    EXPECT_EQ(grid({{nan, 0, 0, 0}}).report.error, "There are no readings to grid.");
    GriddingOptions bad;
    bad.tension = 1.5;
    EXPECT_EQ(grid(points, bad).report.error, "The tension must lie between 0 and 1.");
    bad = {};
    bad.cell = 1e-6;
    const auto huge = grid(points, bad);
    EXPECT_NE(huge.report.error.find("choose a larger cell"), std::string::npos);
    EXPECT_TRUE(huge.grid.values.empty());
}

TEST(Gridding, ExtentIsTheReadingsRoundedOutToWholeCells) {
    const std::vector<GridPoint> points{{10.3, -4.2, 1, 0}, {13.9, 2.0, 2, 0}};
    const GridLattice s = GridLattice::covering(points, 0.5);
    EXPECT_DOUBLE_EQ(s.x0, 10.0);
    EXPECT_DOUBLE_EQ(s.y0, -4.5);
    EXPECT_EQ(s.nx, 9);   // 10 .. 14
    EXPECT_EQ(s.ny, 14);  // -4.5 .. 2
    EXPECT_DOUBLE_EQ(GridLattice::defaultCell(2.0, 10.0), 1.0);
    EXPECT_DOUBLE_EQ(GridLattice::defaultCell(12.0, 10.0), 5.0);
    // Spacings measured between placed readings: the cell the surveyor set out.
    EXPECT_EQ(GridLattice::defaultCell(4.99999999964, 10.0000000002), 2.5);
    EXPECT_EQ(GridLattice::defaultCell(24691.3, 1e9), 12300.0);
}

TEST(Gridding, CancelStopsWithoutAGridAndProgressRunsToTheEnd) {
    const auto points = scattered(200, 100.0, [](double x, double y) { return std::sin(x) * y; });
    GriddingOptions options;
    options.cell = 0.5;
    std::vector<double> seen;
    const auto done = MinimumCurvature::run(points, options, griddingNotCancelled,
                                            [&](double f) { seen.push_back(f); });
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_DOUBLE_EQ(seen.back(), 1.0);
    EXPECT_FALSE(done.report.cancelled);

    std::atomic<bool> cancel{false};
    const auto stopped =
        MinimumCurvature::run(points, options, cancel, [&](double) { cancel = true; });
    EXPECT_TRUE(stopped.report.cancelled);
    EXPECT_TRUE(stopped.grid.values.empty());
}

}  // namespace
}  // namespace velkor

namespace velkor {

TEST(Gridding, AgainAfterAChangeOfValuesIsTheFreshGridWithFewerSweeps) {
    const auto field = [](double x, double y) {
        return 100.0 * std::exp(-((x - 40) * (x - 40) + (y - 60) * (y - 60)) / 300.0) + 0.3 * x;
    };
    const std::vector<GridPoint> points = scattered(400, 100.0, field);
    const std::atomic<bool> cancel{false};
    const MinimumCurvature::Result first = grid(points);
    ASSERT_TRUE(first.report.error.empty());

    // A change by a constant: the same surface shifted, without a second sweep anywhere.
    std::vector<GridPoint> shifted = points;
    for (GridPoint& p : shifted) {
        p.value += 7.5;
    }
    const MinimumCurvature::Result moved = MinimumCurvature::regrid(first, shifted, {}, cancel);
    for (const LevelReport& l : moved.report.levels) {
        EXPECT_EQ(l.iterations, 1);
    }
    ASSERT_EQ(moved.grid.values.size(), first.grid.values.size());
    for (std::size_t k = 0; k < moved.grid.values.size(); ++k) {
        if (Grid::isNoData(first.grid.values[k])) {
            EXPECT_TRUE(Grid::isNoData(moved.grid.values[k]));
        } else {
            EXPECT_NEAR(moved.grid.values[k], first.grid.values[k] + 7.5, 1e-9);
        }
    }
    EXPECT_NEAR(moved.report.rmsMisfit, first.report.rmsMisfit, 1e-9);
    EXPECT_TRUE(moved.report.fromPrevious);
    // No change at all: the grid and the report of its own making, not of a sweep of noughts.
    const MinimumCurvature::Result same = MinimumCurvature::regrid(first, points, {}, cancel);
    EXPECT_EQ(same.grid.values, first.grid.values);
    EXPECT_FALSE(same.report.fromPrevious);
    EXPECT_EQ(same.report.levels.back().iterations, first.report.levels.back().iterations);

    // A smooth change: what gridding afresh gives, in fewer sweeps.
    std::vector<GridPoint> changed = points;
    for (GridPoint& p : changed) {
        p.value += 2.0 * std::sin(p.x / 30.0) * std::cos(p.y / 40.0);
    }
    const MinimumCurvature::Result fresh = grid(changed);
    const MinimumCurvature::Result again = MinimumCurvature::regrid(first, changed, {}, cancel);
    int freshSweeps = 0;
    int againSweeps = 0;
    for (const LevelReport& l : fresh.report.levels) {
        freshSweeps += l.iterations;
    }
    for (const LevelReport& l : again.report.levels) {
        againSweeps += l.iterations;
    }
    EXPECT_LT(againSweeps, freshSweeps);
    double largest = 0.0;
    for (std::size_t k = 0; k < fresh.grid.values.size(); ++k) {
        if (!Grid::isNoData(fresh.grid.values[k])) {
            largest = std::max(largest, std::fabs(again.grid.values[k] - fresh.grid.values[k]));
        }
    }
    EXPECT_LT(largest, 10.0 * first.report.convergenceLimit);

    // A reading moved: gridded afresh.
    std::vector<GridPoint> elsewhere = changed;
    elsewhere[3].x += 1.0;
    const MinimumCurvature::Result other = MinimumCurvature::regrid(first, elsewhere, {}, cancel);
    EXPECT_EQ(other.report.levels.size(), fresh.report.levels.size());
    EXPECT_NE(other.grid.values, again.grid.values);
}

}  // namespace velkor
