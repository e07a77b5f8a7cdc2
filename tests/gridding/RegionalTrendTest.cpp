// The regional trend: a plane or a second-order surface fitted by least squares.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "gridding/RegionalTrend.h"

namespace velkor {
namespace {

// Readings on lines 1 m apart, 0.5 m along, at map coordinates far from the origin.
std::vector<GridPoint> surveyOf(double (*value)(double x, double y)) {
    std::vector<GridPoint> points;
    for (int line = 0; line < 30; ++line) {
        for (int k = 0; k < 80; ++k) {
            const double x = 500000.0 + line;
            const double y = 6200000.0 + 0.5 * k;
            points.push_back({x, y, value(x - 500000.0, y - 6200000.0), line});
        }
    }
    return points;
}

double quadratic(double x, double y) {
    return 48000.0 + 3.0 * x - 2.0 * y + 0.05 * x * x - 0.02 * x * y + 0.03 * y * y;
}

// A shallow body's anomaly on a plane regional.
double dipoleOnPlane(double x, double y) {
    const double r2 = (x - 15.0) * (x - 15.0) + (y - 20.0) * (y - 20.0) + 4.0;
    return 48000.0 + 1.5 * x + 0.8 * y + 2000.0 / (r2 * std::sqrt(r2));
}

}  // namespace

TEST(RegionalTrend, TakesAwayThePlaneOrSurfaceItFitsAndLeavesTheAnomaly) {
    const std::vector<GridPoint> curved = surveyOf(quadratic);
    const std::vector<GridPoint> flat =
        RegionalTrend::removed(curved, RegionalTrend::Kind::Quadratic);
    for (const GridPoint& p : flat) {
        ASSERT_NEAR(p.value, 0.0, 1e-6) << p.x << ", " << p.y;
    }
    // A plane cannot take the curvature away.
    double planeLeft = 0.0;
    for (const GridPoint& p : RegionalTrend::removed(curved, RegionalTrend::Kind::Plane)) {
        planeLeft = std::max(planeLeft, std::fabs(p.value));
    }
    EXPECT_GT(planeLeft, 1.0);

    const std::vector<GridPoint> body = surveyOf(dipoleOnPlane);
    const std::vector<GridPoint> left = RegionalTrend::removed(body, RegionalTrend::Kind::Plane);
    ASSERT_EQ(left.size(), body.size());
    double peak = 0.0;
    double far = 0.0;
    for (std::size_t k = 0; k < left.size(); ++k) {
        const double x = body[k].x - 500000.0;
        const double y = body[k].y - 6200000.0;
        const double anomaly = body[k].value - 48000.0 - 1.5 * x - 0.8 * y;
        peak = std::max(peak, left[k].value);
        if (anomaly < 1.0) {
            far = std::max(far, std::fabs(left[k].value - anomaly));
        }
    }
    EXPECT_GT(peak, 200.0);  // the body's 250 nT peak stays
    EXPECT_LT(far, 10.0);    // and away from it the 75 nT regional is gone
    // None leaves every value as it was.
    const std::vector<GridPoint> same = RegionalTrend::removed(body, RegionalTrend::Kind::None);
    for (std::size_t k = 0; k < body.size(); ++k) {
        ASSERT_EQ(same[k].value, body[k].value);
    }
}

TEST(RegionalTrend, ReadingsOnOneLineGiveWhatTheyCanTell) {
    std::vector<GridPoint> line;
    for (int k = 0; k < 50; ++k) {
        line.push_back({100.0, 0.5 * k, 10.0 + 0.2 * k, 0});
    }
    for (const RegionalTrend::Kind kind :
         {RegionalTrend::Kind::Plane, RegionalTrend::Kind::Quadratic}) {
        for (const GridPoint& p : RegionalTrend::removed(line, kind)) {
            ASSERT_NEAR(p.value, 0.0, 1e-6) << RegionalTrend::name(kind);
        }
    }
    EXPECT_TRUE(RegionalTrend::removed({}, RegionalTrend::Kind::Quadratic).empty());
    EXPECT_EQ(RegionalTrend::named("quadratic"), RegionalTrend::Kind::Quadratic);
    EXPECT_FALSE(RegionalTrend::named("cubic"));
}

}  // namespace velkor
