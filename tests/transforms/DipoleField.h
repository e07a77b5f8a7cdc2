// The total-field anomaly of a point dipole, the analytic answer the transforms are held
// to: seen at (x, y, z) with z down, the dipole depth below the origin, the field along f,
// magnetised along m; scaled to 1000 at its depth.
#pragma once

#include <cmath>

#include "transforms/GridTransform.h"

namespace velkor {

inline double dipoleField(double x, double y, double z, double depth,
                          const GridTransform::Direction& f, const GridTransform::Direction& m) {
    constexpr double kRadian = 3.14159265358979323846 / 180.0;
    struct Unit {
        double x, y, z;
    };
    const auto unitOf = [](const GridTransform::Direction& d) {
        return Unit{std::cos(d.inclination * kRadian) * std::sin(d.declination * kRadian),
                    std::cos(d.inclination * kRadian) * std::cos(d.declination * kRadian),
                    std::sin(d.inclination * kRadian)};
    };
    const Unit fu = unitOf(f);
    const Unit mu = unitOf(m);
    const Unit r{x, y, z - depth};
    const double d = std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z);
    const double mr = (mu.x * r.x + mu.y * r.y + mu.z * r.z) / d;
    const double fr = (fu.x * r.x + fu.y * r.y + fu.z * r.z) / d;
    const double fm = fu.x * mu.x + fu.y * mu.y + fu.z * mu.z;
    return 1000.0 * depth * depth * depth * (3.0 * mr * fr - fm) / (d * d * d);
}

}  // namespace velkor
