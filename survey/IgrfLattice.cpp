// The normal field of a survey day on a lattice.
#include "survey/IgrfLattice.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace velkor {

std::optional<IgrfLattice> IgrfLattice::build(const GeomagneticModel::AtYear& model,
                                              const CoordinateSystem& crs, double height, double e0,
                                              double e1, double n0, double n1, long most) {
    if (!(e1 >= e0 && n1 >= n0) || !std::isfinite(e1 - e0) || !std::isfinite(n1 - n0)) {
        return std::nullopt;
    }
    // One node beyond the readings on every side, so that curvature is known everywhere.
    const double columns = std::floor((e1 - e0) / kStep) + 3.0;
    const double rows = std::floor((n1 - n0) / kStep) + 3.0;
    if (columns * rows > static_cast<double>(most)) {
        return std::nullopt;
    }
    const int nc = static_cast<int>(columns);
    const int nr = static_cast<int>(rows);
    const double left = e0 - kStep;
    const double bottom = n0 - kStep;
    std::vector<double> lon;
    std::vector<double> lat;
    for (int r = 0; r < nr; ++r) {
        for (int c = 0; c < nc; ++c) {
            lon.push_back(left + c * kStep);
            lat.push_back(bottom + r * kStep);
        }
    }
    crs.toLonLatInPlace(lon.data(), lat.data(), lon.size());
    std::vector<double> f(lon.size());
    for (std::size_t k = 0; k < f.size(); ++k) {
        const GeomagneticModel::Result m = model.compute({lat[k], lon[k], height});
        if (!m.ok) {
            return std::nullopt;
        }
        f[k] = m.field.f;
    }
    return IgrfLattice(left, bottom, nc, nr, std::move(f));
}

IgrfLattice::IgrfLattice(double e0, double n0, int columns, int rows, std::vector<double> f)
    : e0_(e0), n0_(n0), columns_(columns), rows_(rows), f_(std::move(f)) {
    // Bilinear interpolation is off by at most step^2 / 8 (|f_ee| + |f_nn|) within a
    // cell; the field's curvature hardly changes over a lattice, so the largest second
    // differences of the nodes, doubled, bound it, and a hair more covers the rounding.
    double ee = 0.0;
    double nn = 0.0;
    for (int r = 0; r < rows_; ++r) {
        for (int c = 1; c + 1 < columns_; ++c) {
            ee = std::max(ee, std::fabs(node(c - 1, r) - 2.0 * node(c, r) + node(c + 1, r)));
        }
    }
    for (int r = 1; r + 1 < rows_; ++r) {
        for (int c = 0; c < columns_; ++c) {
            nn = std::max(nn, std::fabs(node(c, r - 1) - 2.0 * node(c, r) + node(c, r + 1)));
        }
    }
    slack_ = 2.0 * (ee + nn) / 8.0 + 1e-9;
}

double IgrfLattice::node(int column, int row) const {
    return f_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
              static_cast<std::size_t>(column)];
}

std::optional<float> IgrfLattice::totalField(double easting, double northing) const {
    const double x = (easting - e0_) / kStep;
    const double y = (northing - n0_) / kStep;
    if (!(x >= 0.0 && y >= 0.0 && x < columns_ - 1 && y < rows_ - 1)) {
        return std::nullopt;
    }
    const int c = static_cast<int>(x);
    const int r = static_cast<int>(y);
    const double u = x - c;
    const double v = y - r;
    const double f = (1.0 - v) * ((1.0 - u) * node(c, r) + u * node(c + 1, r)) +
                     v * ((1.0 - u) * node(c, r + 1) + u * node(c + 1, r + 1));
    // The model's own value lies within the slack: when both ends round alike, so does it.
    const float low = static_cast<float>(f - slack_);
    const float high = static_cast<float>(f + slack_);
    if (low != high) {
        return std::nullopt;
    }
    return low;
}

}  // namespace velkor
