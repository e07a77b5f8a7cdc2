// GMT's grdfft on a dipole's grid is a measurement kept in tests/fixtures/gmt_grdfft: the
// vertical derivatives and the upward continuation agree with it well inside the grid,
// where the two programs' different padding no longer shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "transforms/GridTransform.h"

namespace velkor {
namespace {

constexpr int kGmtNodes = 81;
constexpr int kInside = 10;

std::vector<double> gmt(const std::string& name) {
    std::ifstream in(std::string(VELKOR_FIXTURES) + "/gmt_grdfft/" + name);
    std::vector<double> values;
    for (double v = 0.0; in >> v;) {
        values.push_back(v);
    }
    return values;
}

// As dipole.py writes it.
Grid dipoleGrid() {
    const double i = 65.0 * M_PI / 180.0;
    const double d = 3.0 * M_PI / 180.0;
    const double u[3] = {std::cos(i) * std::sin(d), std::cos(i) * std::cos(d), std::sin(i)};
    const double depth = 5.0;
    Grid g;
    g.lattice = {0.0, 0.0, 1.0, kGmtNodes, kGmtNodes};
    for (int y = 0; y < kGmtNodes; ++y) {
        for (int x = 0; x < kGmtNodes; ++x) {
            const double r[3] = {x - 40.0, y - 40.0, -depth};
            const double len = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
            const double ur = (u[0] * r[0] + u[1] * r[1] + u[2] * r[2]) / len;
            g.values.push_back(1000.0 * depth * depth * depth * (3.0 * ur * ur - 1.0) /
                               (len * len * len));
        }
    }
    return g;
}

double worstShareOfGmt(const std::vector<double>& ours, const std::vector<double>& theirs) {
    double worst = 0.0;
    double peak = 0.0;
    for (int y = kInside; y < kGmtNodes - kInside; ++y) {
        for (int x = kInside; x < kGmtNodes - kInside; ++x) {
            const auto k = static_cast<std::size_t>(y * kGmtNodes + x);
            worst = std::max(worst, std::abs(ours[k] - theirs[k]));
            peak = std::max(peak, std::abs(theirs[k]));
        }
    }
    return worst / peak;
}

}  // namespace

TEST(GmtGrdfft, DerivativesAndContinuationAgreeWithGmt) {
    const Grid g = dipoleGrid();
    struct Case {
        GridTransform::Kind kind;
        int order;
        const char* file;
    };
    for (const Case c :
         {Case{GridTransform::Kind::Dz, 1, "dz.txt"}, Case{GridTransform::Kind::Dz, 2, "dz2.txt"},
          Case{GridTransform::Kind::Continue, 1, "up.txt"}}) {
        const std::vector<double> theirs = gmt(c.file);
        ASSERT_EQ(theirs.size(), g.values.size()) << c.file;
        GridTransform::Parameters p;
        p.kind = c.kind;
        p.order = c.order;
        p.height = 2.0;
        std::string message;
        const auto ours = GridTransform::apply(g, g, p, message);
        ASSERT_TRUE(ours) << message;
        EXPECT_LT(worstShareOfGmt(ours->grid.values, theirs), 0.01) << c.file;
    }
}

}  // namespace velkor
