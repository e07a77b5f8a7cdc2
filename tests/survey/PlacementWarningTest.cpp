// A control-point fit that does not hold is told: the point farthest from its place, and
// the other side of the lines when they were given to the wrong one.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "survey/Placement.h"

namespace velkor {
namespace {

using Side = Placement::Side;

// Points of lines 1 m apart, stations 0.5 m apart, the lines to the left of the positions
// running north.
std::vector<Placement::ControlPoint> leftHandedPoints() {
    std::vector<Placement::ControlPoint> points;
    for (const auto& [line, position] : std::vector<std::pair<double, double>>{
             {0.0, 0.0}, {40.0, 0.0}, {0.0, 120.0}, {40.0, 120.0}, {20.0, 60.0}}) {
        points.push_back({line, position, 500000.0 - line, 6000000.0 + 0.5 * position});
    }
    return points;
}

std::string warningOf(const std::vector<Placement::ControlPoint>& points, Side side) {
    std::string message;
    const std::optional<Placement> p = Placement::byControlPoints(points, side, 1.0, 0.5, message);
    EXPECT_TRUE(p) << message;
    return p ? p->fitWarning() : std::string("none");
}

TEST(PlacementWarningTest, AFitThatDoesNotHoldNamesItsPointAndTheOtherSide) {
    std::vector<Placement::ControlPoint> points = leftHandedPoints();
    EXPECT_EQ(warningOf(points, Side::Left), "");

    // Given to the wrong side: only a mirror image would fit.
    const std::string wrongSide = warningOf(points, Side::Right);
    EXPECT_EQ(wrongSide.substr(0, 14), "Control point ") << wrongSide;
    EXPECT_NE(wrongSide.find("more than half the line spacing"), std::string::npos);
    EXPECT_NE(wrongSide.find(" With the lines to the left the largest residual is 0.000 m"),
              std::string::npos)
        << wrongSide;

    // One point's easting mistyped by 3 m: that point is named, no other side offered.
    points[4].easting += 3.0;
    const std::string typo = warningOf(points, Side::Left);
    EXPECT_EQ(typo.substr(0, 38), "Control point 5 (line 20, position 60)") << typo;
    EXPECT_EQ(typo.find("With the lines to the"), std::string::npos) << typo;
}

}  // namespace
}  // namespace velkor
