#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "support/ParametricPlacement.h"
#include "survey/Placement.h"

namespace velkor {
namespace {

using Side = Placement::Side;

const double kR = std::sqrt(0.5);  // 1 / sqrt 2

Placement byParameters(double azimuth, Side side) {
    Placement::Parameters p = placementParameters(1000.0, 2000.0, azimuth, 20.0, 5.0);
    p.firstLine = 10.0;
    p.firstPosition = 100.0;
    p.side = side;
    std::string message;
    const auto placement = Placement::byParameters(p, message);
    EXPECT_TRUE(placement) << message;
    return placement.value_or(Placement());
}

}  // namespace

TEST(Placement, ByParametersOnEveryQuadrantAndBothSides) {
    // Line 12, position 106: 30 m along the positions, 40 m across the lines. Worked out
    // on paper: NE, SE, SW, NW for the positions, with the lines a quarter turn clockwise
    // of them on the right and anticlockwise on the left.
    struct Case {
        double azimuth;
        Side side;
        double dE;  // times 1/sqrt 2
        double dN;
    };
    const Case cases[] = {
        {45, Side::Right, 70, -10}, {45, Side::Left, -10, 70},   {135, Side::Right, -10, -70},
        {135, Side::Left, 70, 10},  {225, Side::Right, -70, 10}, {225, Side::Left, 10, -70},
        {315, Side::Right, 10, 70}, {315, Side::Left, -70, -10},
    };
    for (const Case& c : cases) {
        const Placement::Point at = byParameters(c.azimuth, c.side).place(12.0, 106.0);
        EXPECT_NEAR(at.easting, 1000.0 + c.dE * kR, 1e-9) << c.azimuth;
        EXPECT_NEAR(at.northing, 2000.0 + c.dN * kR, 1e-9) << c.azimuth;
    }
    // Along the axes exactly: positions north, lines to the right lie east.
    const Placement::Point north = byParameters(0.0, Side::Right).place(12.0, 106.0);
    EXPECT_EQ(north.easting, 1040.0);
    EXPECT_EQ(north.northing, 2030.0);

    // No placement: the day's map, E = position and N = line.
    const Placement::Point plain = Placement().place(3.0, 7.5);
    EXPECT_EQ(plain.easting, 7.5);
    EXPECT_EQ(plain.northing, 3.0);

    std::string message;
    Placement::Parameters flat;
    flat.lineSpacing = 0.0;
    EXPECT_FALSE(Placement::byParameters(flat, message));
    EXPECT_EQ(message, "The line spacing must be a number of metres greater than 0.");
}

TEST(Placement, TwoControlPointsGiveTheirPlacementBack) {
    const Placement given = parametricPlacement(612345.0, 5432100.0, 30.0, 25.0, 12.5);
    std::string message;
    std::vector<Placement::ControlPoint> points;
    for (const auto& [line, position] : {std::pair{2.0, 3.0}, std::pair{7.0, 40.0}}) {
        const Placement::Point at = given.place(line, position);
        points.push_back({line, position, at.easting, at.northing});
    }
    const auto fitted = Placement::byControlPoints(points, Side::Left, 25.0, 12.5, message);
    ASSERT_TRUE(fitted) << message;
    EXPECT_NEAR(fitted->parameters().azimuth, 30.0, 1e-9);
    EXPECT_NEAR(fitted->scale(), 1.0, 1e-12);
    for (const Placement::Residual& r : fitted->residuals()) {
        EXPECT_LT(r.distance(), 1e-6);
    }
    for (const auto& [line, position] : {std::pair{0.0, 0.0}, std::pair{-5.0, 81.0}}) {
        EXPECT_NEAR(fitted->place(line, position).easting, given.place(line, position).easting,
                    1e-6);
        EXPECT_NEAR(fitted->place(line, position).northing, given.place(line, position).northing,
                    1e-6);
    }

    // Never a mirror image: three points of a left-hand survey fitted as right-hand ones
    // do not fit.
    points.push_back({9.0, 3.0, given.place(9.0, 3.0).easting, given.place(9.0, 3.0).northing});
    const auto mirrored = Placement::byControlPoints(points, Side::Right, 25.0, 12.5, message);
    ASSERT_TRUE(mirrored);
    double worst = 0.0;
    for (const Placement::Residual& r : mirrored->residuals()) {
        worst = std::max(worst, r.distance());
    }
    EXPECT_GT(worst, 10.0);

    EXPECT_FALSE(Placement::byControlPoints({points[0]}, Side::Left, 1.0, 1.0, message));
    EXPECT_EQ(message, "A placement by control points needs two or more points.");
    EXPECT_FALSE(Placement::byControlPoints({points[0], points[0]}, Side::Left, 1.0, 1.0, message));
}

TEST(Placement, FourControlPointsWithOneMovedShowTheirResiduals) {
    // A unit square placed at (500, 700) without a turn; the fourth corner moved 0.4 m
    // east. Worked out on paper, the least-squares similarity leaves the residuals
    // 0, (-d/4, -d/4), (-d/4, d/4) and (d/2, 0).
    const double d = 0.4;
    const std::vector<Placement::ControlPoint> points{
        {0, 0, 500.0, 700.0}, {0, 1, 500.0, 701.0}, {1, 0, 501.0, 700.0}, {1, 1, 501.0 + d, 701.0}};
    std::string message;
    const auto fitted = Placement::byControlPoints(points, Side::Right, 1.0, 1.0, message);
    ASSERT_TRUE(fitted) << message;
    const double expected[][2] = {{0, 0}, {-d / 4, -d / 4}, {-d / 4, d / 4}, {d / 2, 0}};
    ASSERT_EQ(fitted->residuals().size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_NEAR(fitted->residuals()[k].easting, expected[k][0], 1e-9) << k;
        EXPECT_NEAR(fitted->residuals()[k].northing, expected[k][1], 1e-9) << k;
    }
}

}  // namespace velkor
