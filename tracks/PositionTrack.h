// A walk's positions in a projected coordinate system, in time order: where the sensor
// was at a moment, interpolated between the two fixes around it, never across a gap and
// never beyond the track's ends, and moved from the antenna to the sensor along the way
// walked.
#pragma once

#include <cstddef>
#include <vector>

namespace velkor {

class PositionTrack {
  public:
    struct Point {
        double seconds = 0.0;
        double x = 0.0;  // easting, metres
        double y = 0.0;  // northing, metres
    };
    enum class Where { Placed, InGap, Outside };
    struct Position {
        Where where = Where::Outside;
        double x = 0.0;
        double y = 0.0;
    };
    // From the antenna to the sensor, metres: ahead in the direction of travel, and to
    // its right.
    struct Offset {
        double along = 0.0;
        double across = 0.0;
    };

    // The points sorted by time; of points at one time the first is kept.
    explicit PositionTrack(std::vector<Point> points);

    const std::vector<Point>& points() const { return points_; }
    bool empty() const { return points_.empty(); }

    // Where the sensor was at the moment: Outside before the first point and after the
    // last, InGap when the two points around it are more than maxGap seconds apart.
    Position at(double seconds, double maxGap, Offset offset) const;

  private:
    // The place on the path at a distance walked from the first point, sought outward from
    // point near (the distances asked lie a few points from it).
    Point atDistance(double distance, std::size_t near) const;
    // The direction walked at a distance along the path (near point near), over the path
    // within kHeadingReach either side of it; false where the walk has not moved at all.
    bool heading(double distance, std::size_t near, double& ux, double& uy) const;

    std::vector<Point> points_;
    std::vector<double> walked_;  // path length from the first point to each point
};

}  // namespace velkor
