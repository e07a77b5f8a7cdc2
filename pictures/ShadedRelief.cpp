// Shaded relief.
#include "pictures/ShadedRelief.h"

#include <algorithm>
#include <cmath>

namespace velkor {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Slope {
    double east = 0.0;
    double north = 0.0;
    bool ok = false;
};

// Central differences, one-sided beside a node without a value.
// east: along the rows, else along the columns.
double difference(const Grid& g, int i, int j, bool east) {
    const int n = east ? g.lattice.nx : g.lattice.ny;
    const int at = east ? i : j;
    const auto value = [&](int k) {
        return k < 0 || k >= n ? Grid::kNoData : (east ? g.at(k, j) : g.at(i, k));
    };
    const double here = value(at);
    const double before = value(at - 1);
    const double after = value(at + 1);
    if (!Grid::isNoData(before) && !Grid::isNoData(after)) {
        return (after - before) / (2.0 * g.lattice.cell);
    }
    if (!Grid::isNoData(after)) {
        return (after - here) / g.lattice.cell;
    }
    if (!Grid::isNoData(before)) {
        return (here - before) / g.lattice.cell;
    }
    return 0.0;
}

std::vector<Slope> slopes(const Grid& g) {
    std::vector<Slope> out(g.lattice.size());
    for (int j = 0; j < g.lattice.ny; ++j) {
        for (int i = 0; i < g.lattice.nx; ++i) {
            if (!Grid::isNoData(g.at(i, j))) {
                out[static_cast<std::size_t>(j) * g.lattice.nx + i] = {
                    difference(g, i, j, true), difference(g, i, j, false), true};
            }
        }
    }
    return out;
}

// The steepness of the steepest tenth: the slope that is drawn at 45 degrees.
double steepTenth(const std::vector<Slope>& s) {
    std::vector<double> steep;
    steep.reserve(s.size());
    for (const Slope& v : s) {
        if (v.ok) {
            steep.push_back(std::hypot(v.east, v.north));
        }
    }
    if (steep.empty()) {
        return 1.0;
    }
    const auto at = steep.begin() + static_cast<std::ptrdiff_t>(steep.size() * 9 / 10);
    std::nth_element(steep.begin(), at, steep.end());
    return *at > 0.0 && std::isfinite(*at) ? *at : 1.0;
}

}  // namespace

std::vector<float> ShadedRelief::of(const Grid& grid, Light light) {
    std::vector<float> out(grid.lattice.size(), static_cast<float>(Grid::kNoData));
    if (grid.lattice.empty() || grid.values.size() < grid.lattice.size()) {
        return out;
    }
    const std::vector<Slope> s = slopes(grid);
    const double stretch = 1.0 / steepTenth(s);
    const double az = light.azimuth * kPi / 180.0;
    const double el = light.elevation * kPi / 180.0;
    // Towards the light: east, north, up.
    const double le = std::cos(el) * std::sin(az);
    const double ln = std::cos(el) * std::cos(az);
    const double lu = std::sin(el);
    for (std::size_t k = 0; k < s.size(); ++k) {
        if (!s[k].ok) {
            continue;
        }
        const double de = s[k].east * stretch;
        const double dn = s[k].north * stretch;
        // The surface's normal is (-de, -dn, 1) over its length.
        const double lit = (-de * le - dn * ln + lu) / std::sqrt(de * de + dn * dn + 1.0);
        out[k] = static_cast<float>(std::clamp(lit, 0.0, 1.0));
    }
    return out;
}

}  // namespace velkor
