// A plane z = a + bx (x - xc) + by (y - yc), fitted to the readings by least squares: the
// trend the gridder takes out before it solves and puts back after.
#pragma once

#include <vector>

#include "gridding/GridPoint.h"

namespace velkor {

struct Plane {
    double a = 0.0;
    double bx = 0.0;
    double by = 0.0;
    double xc = 0.0;
    double yc = 0.0;

    double at(double x, double y) const { return a + bx * (x - xc) + by * (y - yc); }

    // With the readings all on one line (or one point) the slopes stay zero: the mean.
    static Plane fit(const std::vector<GridPoint>& points);
};

}  // namespace velkor
