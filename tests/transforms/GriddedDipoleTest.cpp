// The transforms on the program's own grid of readings rather than on an exact one:
// readings every 0.25 m on lines 0.5 m apart over a dipole 5 m deep, gridded at 0.25 m
// with the default tension, then reduced to the pole and differentiated.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "gridding/MinimumCurvature.h"
#include "transforms/DipoleField.h"
#include "transforms/GridTransform.h"

namespace velkor {
namespace {

constexpr double kDipoleDepth = 5.0;
using Dir = GridTransform::Direction;

// The program's grid of readings every 0.25 m on lines 0.5 m apart over the dipole.
Grid griddedOver(const Dir& f, const Dir& m) {
    std::vector<GridPoint> readings;
    for (int line = 0; line <= 200; ++line) {
        for (int k = 0; k <= 400; ++k) {
            const double x = -50.0 + 0.5 * line;
            const double y = -50.0 + 0.25 * k;
            readings.push_back({x, y, dipoleField(x, y, 0.0, kDipoleDepth, f, m), line});
        }
    }
    GriddingOptions options;
    options.cell = 0.25;
    const std::atomic<bool> cancel{false};
    return MinimumCurvature::run(readings, options, cancel).grid;
}

// The largest difference from the truth more than 10 m inside the grid, as a share of
// the truth's peak there.
double worstShareInside(const Grid& g, const GridTransform::Parameters& p,
                        const std::function<double(double, double)>& truth) {
    std::string message;
    const auto r = GridTransform::apply(g, g, p, message);
    EXPECT_TRUE(r) << message;
    if (!r) {
        return 1.0;
    }
    const GridLattice& l = r->grid.lattice;
    double worst = 0.0;
    double peak = 0.0;
    for (int j = 0; j < l.ny; ++j) {
        for (int i = 0; i < l.nx; ++i) {
            if (std::abs(l.x(i)) <= 40.0 && std::abs(l.y(j)) <= 40.0) {
                const double t = truth(l.x(i), l.y(j));
                worst = std::max(worst, std::abs(r->grid.at(i, j) - t));
                peak = std::max(peak, std::abs(t));
            }
        }
    }
    return worst / peak;
}

}  // namespace

TEST(GriddedDipole, ReducedToThePoleWithinTwoPercentOfItsPeak) {
    const Dir pole{90.0, 0.0};
    for (const auto& [f, m] : std::vector<std::pair<Dir, Dir>>{{{65, 3}, {65, 3}},
                                                               {{30, -5}, {30, -5}},
                                                               {{-45, 13}, {-45, 13}},
                                                               {{65, 3}, {-20, 40}}}) {
        const Grid g = griddedOver(f, m);
        ASSERT_FALSE(g.values.empty());
        GridTransform::Parameters p;
        p.kind = GridTransform::Kind::Rtp;
        p.field = f;
        p.magnetisation = m;
        EXPECT_LT(worstShareInside(g, p,
                                   [&](double x, double y) {
                                       return dipoleField(x, y, 0.0, kDipoleDepth, pole, pole);
                                   }),
                  0.02)
            << f.inclination << " " << m.inclination;
    }
}

TEST(GriddedDipole, ContinuedAndDifferentiatedWithinTheirShares) {
    const Dir f{65, 3};
    const Grid g = griddedOver(f, f);
    ASSERT_FALSE(g.values.empty());
    const auto at = [&](double x, double y, double z) {
        return dipoleField(x, y, z, kDipoleDepth, f, f);
    };
    GridTransform::Parameters p;
    p.kind = GridTransform::Kind::Continue;
    p.height = 2.0;
    EXPECT_LT(worstShareInside(g, p, [&](double x, double y) { return at(x, y, -2.0); }), 0.01);
    p.kind = GridTransform::Kind::Dz;
    const double h = 1e-4;
    EXPECT_LT(worstShareInside(
                  g, p, [&](double x, double y) { return (at(x, y, h) - at(x, y, -h)) / (2 * h); }),
              0.03);
    p.kind = GridTransform::Kind::Dx;
    EXPECT_LT(worstShareInside(g, p,
                               [&](double x, double y) {
                                   return (at(x + h, y, 0) - at(x - h, y, 0)) / (2 * h);
                               }),
              0.03);
}

}  // namespace velkor
