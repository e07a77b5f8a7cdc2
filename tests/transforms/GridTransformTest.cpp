#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "transforms/DipoleField.h"
#include "transforms/GridTransform.h"

namespace velkor {
namespace {

constexpr double kDepth = 5.0;
constexpr double kCell = 0.5;
constexpr int kDipoleNodes = 201;  // 100 m a side, the dipole under the middle
constexpr double kDegree = 3.14159265358979323846 / 180.0;

using Direction = GridTransform::Direction;

// The dipole kDepth below the origin.
double dipole(double x, double y, double z, const Direction& f, const Direction& m) {
    return dipoleField(x, y, z, kDepth, f, m);
}

Grid gridOf(const std::function<double(double, double)>& value) {
    Grid g;
    g.lattice = {-50.0, -50.0, kCell, kDipoleNodes, kDipoleNodes};
    for (int j = 0; j < kDipoleNodes; ++j) {
        for (int i = 0; i < kDipoleNodes; ++i) {
            g.values.push_back(value(g.lattice.x(i), g.lattice.y(j)));
        }
    }
    return g;
}

// The largest difference more than 10 m inside the grid, as a share of the truth's peak.
double worstShareOfTruth(const Grid& got, const Grid& truth) {
    double worst = 0.0;
    double peak = 0.0;
    const int inside = static_cast<int>(10.0 / kCell);
    for (int j = inside; j < kDipoleNodes - inside; ++j) {
        for (int i = inside; i < kDipoleNodes - inside; ++i) {
            worst = std::max(worst, std::abs(got.at(i, j) - truth.at(i, j)));
            peak = std::max(peak, std::abs(truth.at(i, j)));
        }
    }
    return worst / peak;
}

Grid transformed(const Grid& g, const GridTransform::Parameters& p) {
    std::string message;
    const auto r = GridTransform::apply(g, g, p, message);
    EXPECT_TRUE(r) << message;
    return r ? r->grid : Grid{};
}

}  // namespace

TEST(GridTransform, ReductionToThePoleAndContinuationMatchTheDipole) {
    const Direction pole{90.0, 0.0};
    for (const auto& directions : {std::pair<Direction, Direction>{{65, 3}, {65, 3}},
                                   {{30, -5}, {30, -5}},
                                   {{-45, 13}, {-45, 13}},
                                   {{65, 3}, {-20, 40}}}) {
        // Named copies: a lambda may not capture a structured binding in C++17.
        const Direction f = directions.first;
        const Direction m = directions.second;
        const Grid anomaly = gridOf([&](double x, double y) { return dipole(x, y, 0, f, m); });
        GridTransform::Parameters p;
        p.kind = GridTransform::Kind::Rtp;
        p.field = f;
        p.magnetisation = m;
        const Grid rtp = transformed(anomaly, p);
        EXPECT_LT(worstShareOfTruth(
                      rtp, gridOf([&](double x, double y) { return dipole(x, y, 0, pole, pole); })),
                  0.02)
            << f.inclination << " " << m.inclination;
        const auto top = std::max_element(rtp.values.begin(), rtp.values.end());
        const auto at = static_cast<int>(top - rtp.values.begin());
        EXPECT_LE(std::abs(at % kDipoleNodes - kDipoleNodes / 2), 1);
        EXPECT_LE(std::abs(at / kDipoleNodes - kDipoleNodes / 2), 1);

        p.kind = GridTransform::Kind::Continue;
        p.height = 2.0;
        EXPECT_LT(worstShareOfTruth(transformed(anomaly, p), gridOf([&](double x, double y) {
                                        return dipole(x, y, -2.0, f, m);
                                    })),
                  0.01);
    }
}

TEST(GridTransform, DerivativesMatchTheDipoles) {
    const Direction f{65, 3};
    const auto at = [&](double x, double y, double z) { return dipole(x, y, z, f, f); };
    const Grid anomaly = gridOf([&](double x, double y) { return at(x, y, 0); });
    const double h = 1e-4;
    const Grid dx =
        gridOf([&](double x, double y) { return (at(x + h, y, 0) - at(x - h, y, 0)) / (2 * h); });
    const Grid dy =
        gridOf([&](double x, double y) { return (at(x, y + h, 0) - at(x, y - h, 0)) / (2 * h); });
    const Grid dz =
        gridOf([&](double x, double y) { return (at(x, y, h) - at(x, y, -h)) / (2 * h); });
    GridTransform::Parameters p;
    p.kind = GridTransform::Kind::Dx;
    EXPECT_LT(worstShareOfTruth(transformed(anomaly, p), dx), 0.03);
    p.kind = GridTransform::Kind::Dy;
    EXPECT_LT(worstShareOfTruth(transformed(anomaly, p), dy), 0.03);
    p.kind = GridTransform::Kind::Dz;
    EXPECT_LT(worstShareOfTruth(transformed(anomaly, p), dz), 0.03);
    p.kind = GridTransform::Kind::Thg;
    Grid thg = dx;
    for (std::size_t k = 0; k < thg.values.size(); ++k) {
        thg.values[k] = std::hypot(dx.values[k], dy.values[k]);
    }
    EXPECT_LT(worstShareOfTruth(transformed(anomaly, p), thg), 0.03);
    p.kind = GridTransform::Kind::Tilt;
    const Grid tilt = transformed(anomaly, p);
    EXPECT_NEAR(tilt.at(kDipoleNodes / 2, kDipoleNodes / 2),
                std::atan2(dz.at(kDipoleNodes / 2, kDipoleNodes / 2),
                           thg.at(kDipoleNodes / 2, kDipoleNodes / 2)) /
                    kDegree,
                2.0);
}

TEST(GridTransform, BlankedAgainAndRefusedInPlainWords) {
    Grid anomaly = gridOf([](double x, double y) { return dipole(x, y, 0, {60, 0}, {60, 0}); });
    Grid blanked = anomaly;
    blanked.at(3, 4) = Grid::kNoData;
    GridTransform::Parameters p;
    std::string message;
    const auto r = GridTransform::apply(anomaly, blanked, p, message);
    ASSERT_TRUE(r) << message;
    EXPECT_TRUE(Grid::isNoData(r->grid.at(3, 4)));
    EXPECT_FALSE(Grid::isNoData(r->grid.at(4, 4)));
    EXPECT_EQ(r->unit, "nT/m");
    EXPECT_GE(r->borderX, 20);
    EXPECT_GE(r->paddedX, kDipoleNodes + 2 * r->borderX - 1);

    p.kind = GridTransform::Kind::Continue;
    p.height = -1.5;
    EXPECT_FALSE(GridTransform::apply(anomaly, anomaly, p, message));
    EXPECT_EQ(message,
              "A downward continuation deeper than twice the cell (1 m) is refused: it would "
              "show noise, not the field.");
    p.height = -0.5;
    EXPECT_NE(GridTransform::apply(anomaly, anomaly, p, message)->warning, "");

    p.kind = GridTransform::Kind::Rtp;
    p.field = {0.0, 10.0};
    p.rtpLimitInclination = 0.0;
    EXPECT_FALSE(GridTransform::apply(anomaly, anomaly, p, message));
    EXPECT_NE(message.find("limit inclination"), std::string::npos);
    p.rtpLimitInclination = 20.0;
    EXPECT_TRUE(GridTransform::apply(anomaly, anomaly, p, message));

    anomaly.at(0, 0) = Grid::kNoData;
    EXPECT_FALSE(GridTransform::apply(anomaly, anomaly, p, message));
    EXPECT_EQ(message, "The grid to transform has nodes without a value; fill them first.");
}

}  // namespace velkor
