#include "gridding/Plane.h"

#include <cmath>

namespace velkor {

Plane Plane::fit(const std::vector<GridPoint>& points) {
    Plane plane;
    if (points.empty()) {
        return plane;
    }
    const double n = static_cast<double>(points.size());
    for (const GridPoint& p : points) {
        plane.xc += p.x / n;
        plane.yc += p.y / n;
        plane.a += p.value / n;
    }
    double sxx = 0.0;
    double sxy = 0.0;
    double syy = 0.0;
    double sxz = 0.0;
    double syz = 0.0;
    for (const GridPoint& p : points) {
        const double x = p.x - plane.xc;
        const double y = p.y - plane.yc;
        const double z = p.value - plane.a;
        sxx += x * x;
        sxy += x * y;
        syy += y * y;
        sxz += x * z;
        syz += y * z;
    }
    const double det = sxx * syy - sxy * sxy;
    // Relative to the spread: readings on one line leave det at rounding noise.
    if (!(det > 1e-9 * sxx * syy) || !std::isfinite(det)) {
        return plane;
    }
    plane.bx = (sxz * syy - syz * sxy) / det;
    plane.by = (syz * sxx - sxz * sxy) / det;
    return plane;
}

}  // namespace velkor
