#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <vector>

#include "gridding/ContourLevels.h"
#include "gridding/Contours.h"

namespace velkor {
namespace {

Grid gridOf(int nx, int ny, const std::vector<double>& values) {
    return Grid{GridLattice{100.0, 200.0, 2.0, nx, ny}, values};
}

template <typename F>
Grid gridOf(int nx, int ny, F f) {
    std::vector<double> v;
    for (int j = 0; j < ny; ++j) {
        for (int i = 0; i < nx; ++i) {
            v.push_back(f(i, j));
        }
    }
    return gridOf(nx, ny, v);
}

// The edge a contour point lies on, as (i, j, horizontal), or none.
struct EdgeKey {
    int i;
    int j;
    bool horizontal;
    bool operator<(const EdgeKey& o) const {
        return std::tie(i, j, horizontal) < std::tie(o.i, o.j, o.horizontal);
    }
};

std::map<EdgeKey, int> crossedEdges(const Grid& g, const ContourSet& set, double level) {
    std::map<EdgeKey, int> count;
    for (const ContourLine& line : set.lines) {
        if (line.level != level) {
            continue;
        }
        const std::size_t n = line.points.size() - (line.closed ? 1 : 0);
        for (std::size_t k = 0; k < n; ++k) {
            const double fx = (line.points[k].x - g.lattice.x0) / g.lattice.cell;
            const double fy = (line.points[k].y - g.lattice.y0) / g.lattice.cell;
            const bool onRow = std::fabs(fy - std::round(fy)) < 1e-9;
            EdgeKey key{static_cast<int>(std::floor(fx + (onRow ? 0.0 : 1e-9))),
                        static_cast<int>(std::floor(fy + (onRow ? 1e-9 : 0.0))), onRow};
            if (onRow) {
                key.j = static_cast<int>(std::round(fy));
                const double a = g.at(key.i, key.j);
                const double b = g.at(key.i + 1, key.j);
                EXPECT_NEAR(fx - key.i, (level - a) / (b - a), 1e-9);
            } else {
                key.i = static_cast<int>(std::round(fx));
                const double a = g.at(key.i, key.j);
                const double b = g.at(key.i, key.j + 1);
                EXPECT_NEAR(fy - key.j, (level - a) / (b - a), 1e-9);
            }
            ++count[key];
        }
    }
    return count;
}

TEST(ContourLevels, RoundIntervalAboutTwentyLevelsAndEveryFifthAnIndex) {
    EXPECT_DOUBLE_EQ(ContourLevels::roundInterval(0.13), 0.1);
    EXPECT_DOUBLE_EQ(ContourLevels::roundInterval(0.16), 0.2);
    EXPECT_DOUBLE_EQ(ContourLevels::roundInterval(35.0), 50.0);
    EXPECT_DOUBLE_EQ(ContourLevels::roundInterval(7.2), 10.0);
    EXPECT_DOUBLE_EQ(ContourLevels::roundInterval(0.0), 0.0);

    // 0 .. 1000 with two wild nodes: the default interval spans them too.
    std::vector<double> v;
    for (int k = 0; k <= 1000; ++k) {
        v.push_back(k);
    }
    v.back() = 1.0e6;
    v.push_back(Grid::kNoData);
    v.push_back(-3.0e5);
    const Grid g = gridOf(1003, 1, v);
    EXPECT_DOUBLE_EQ(ContourLevels::defaultInterval(g), 1.0e5);
    const Grid plain = gridOf(101, 1, [](int i, int) { return 10.0 * i; });
    const auto levels = ContourLevels::at(plain, 50.0);
    ASSERT_EQ(levels.size(), 21u);
    for (std::size_t k = 0; k < levels.size(); ++k) {
        EXPECT_DOUBLE_EQ(levels[k].value, 50.0 * k);
        EXPECT_EQ(levels[k].index, k % 5 == 0) << k;
    }
    // Levels beyond the cap fall back to the 2nd to 98th percentile.
    EXPECT_LE(ContourLevels::at(g, 1.0).size(), std::size_t(ContourLevels::kMaxLevels));
    EXPECT_GE(ContourLevels::at(g, 1.0).front().value, 0.0);
}

TEST(Contours, CrossEveryEdgeWhoseNodesLieEitherSideOfTheLevelAndNoOther) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> value(0.0, 10.0);
    const Grid g = gridOf(9, 7, [&](int, int) { return value(rng); });
    std::vector<ContourLevel> levels;
    for (double l = 0.5; l < 10.0; l += 0.75) {
        levels.push_back({l, false});
    }
    const ContourSet set = Contours::trace(g, levels);
    for (const ContourLevel& level : levels) {
        const auto crossed = crossedEdges(g, set, level.value);
        for (int j = 0; j < g.lattice.ny; ++j) {
            for (int i = 0; i < g.lattice.nx; ++i) {
                const bool here = g.at(i, j) >= level.value;
                if (i + 1 < g.lattice.nx) {
                    const bool straddles = here != (g.at(i + 1, j) >= level.value);
                    const auto it = crossed.find({i, j, true});
                    EXPECT_EQ(it == crossed.end() ? 0 : it->second, straddles ? 1 : 0);
                }
                if (j + 1 < g.lattice.ny) {
                    const bool straddles = here != (g.at(i, j + 1) >= level.value);
                    const auto it = crossed.find({i, j, false});
                    EXPECT_EQ(it == crossed.end() ? 0 : it->second, straddles ? 1 : 0);
                }
            }
        }
    }
}

TEST(Contours, SaddleFollowsTheCentreAndLinesRunWithHighOnTheRight) {
    // South-west and north-east high, centre 0.5.
    const Grid saddle = gridOf(2, 2, {1.0, 0.0, 0.0, 1.0});
    auto cornerCut = [&](double level) {
        const ContourSet set = Contours::trace(saddle, {{level, false}});
        EXPECT_EQ(set.lines.size(), 2u);
        std::vector<std::pair<double, double>> mids;
        for (const ContourLine& l : set.lines) {
            mids.push_back({(l.points.front().x + l.points.back().x) / 2 - 101.0,
                            (l.points.front().y + l.points.back().y) / 2 - 201.0});
        }
        return mids;
    };
    // Below the centre the high corners join: the segments cut off the low corners
    // (south-east, north-west), and the other way round above it.
    for (const auto& [x, y] : cornerCut(0.4)) {
        EXPECT_LT(x * y, 0.0);
    }
    for (const auto& [x, y] : cornerCut(0.6)) {
        EXPECT_GT(x * y, 0.0);
    }
    // Rising eastwards: the line walks north.
    const ContourSet ramp =
        Contours::trace(gridOf(4, 4, [](int i, int) { return double(i); }), {{1.5, false}});
    ASSERT_EQ(ramp.lines.size(), 1u);
    EXPECT_LT(ramp.lines[0].points.front().y, ramp.lines[0].points.back().y);
    EXPECT_EQ(ramp.lines[0].points.size(), 4u);
}

TEST(Contours, CellsWithoutValuesAreLeftOut) {
    Grid g = gridOf(6, 6, [](int i, int j) { return double(i + j); });
    g.at(2, 3) = Grid::kNoData;
    const ContourSet set = Contours::trace(g, {{4.5, false}, {5.5, false}});
    for (const ContourLine& line : set.lines) {
        EXPECT_FALSE(line.closed);
        for (const ContourPoint& p : line.points) {
            // No point on an edge that ends at the blank node.
            const double fx = (p.x - g.lattice.x0) / g.lattice.cell;
            const double fy = (p.y - g.lattice.y0) / g.lattice.cell;
            const bool onBlankRow = std::fabs(fy - 3.0) < 1e-9 && fx > 1.0 && fx < 3.0;
            const bool onBlankColumn = std::fabs(fx - 2.0) < 1e-9 && fy > 2.0 && fy < 4.0;
            EXPECT_FALSE(onBlankRow || onBlankColumn) << p.x << " " << p.y;
        }
    }
    // The diagonal at 4.5 runs through the blank node's cells: it is cut in two.
    int pieces = 0;
    for (const ContourLine& line : set.lines) {
        pieces += line.level == 4.5;
    }
    EXPECT_EQ(pieces, 2);
}

TEST(Contours, RingsAroundAPeakAreClosedAndIndexRingsCarryUprightLabels) {
    const Grid cone =
        gridOf(21, 21, [](int i, int j) { return 100.0 - 10.0 * std::hypot(i - 10.2, j - 9.7); });
    std::vector<ContourLevel> levels;
    for (int k = 1; k <= 8; ++k) {
        levels.push_back({10.0 * k, k % 5 == 0});
    }
    const ContourSet set = Contours::trace(cone, levels);
    ASSERT_EQ(set.lines.size(), levels.size());
    for (const ContourLine& line : set.lines) {
        EXPECT_TRUE(line.closed);
        EXPECT_DOUBLE_EQ(line.points.front().x, line.points.back().x);
        EXPECT_DOUBLE_EQ(line.points.front().y, line.points.back().y);
    }
    ASSERT_FALSE(set.labels.empty());
    for (const ContourLabel& label : set.labels) {
        EXPECT_DOUBLE_EQ(label.level, 50.0);
        EXPECT_GT(label.angle, -90.0);
        EXPECT_LE(label.angle, 90.0);
        // On the ring: 5 cells of 2 m from the peak.
        EXPECT_NEAR(std::hypot(label.at.x - 120.4, label.at.y - 219.4), 10.0, 0.2);
    }
}

}  // namespace
}  // namespace velkor
