// The transforms as filters of the grid's spectrum.
#include "transforms/GridTransform.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "transforms/FourierGrid.h"

namespace velkor {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;
// nT: no field comes near it, and a grid within it cannot overflow in the transforms.
constexpr double kLargestValue = 1e9;
constexpr const char* kNames[] = {"rtp", "continue", "dx", "dy", "dz", "thg", "asig", "tilt"};

using Complex = std::complex<double>;
using Kind = GridTransform::Kind;

// A direction's unit vector: east, north, down.
struct Unit {
    double x;
    double y;
    double z;
};

Unit unitOf(const GridTransform::Direction& d) {
    const double i = d.inclination * kDegree;
    const double decl = d.declination * kDegree;
    return {std::cos(i) * std::sin(decl), std::cos(i) * std::cos(decl), std::sin(i)};
}

// The same direction with its inclination at least limit from the equator, same sign.
GridTransform::Direction limited(GridTransform::Direction d, double limit) {
    if (std::abs(d.inclination) < limit) {
        d.inclination = d.inclination < 0.0 ? -limit : limit;
    }
    return d;
}

// A direction's factor in the wavenumber domain: its vertical part and, in quadrature,
// its horizontal part along the wavenumber.
Complex theta(const Unit& u, double kx, double ky, double k) {
    return {u.z, (u.x * kx + u.y * ky) / k};
}

struct Rtp {
    Unit field;
    Unit magnetisation;
    Unit fieldLimited;
    Unit magnetisationLimited;

    Complex operator()(double kx, double ky) const {
        const double k = std::hypot(kx, ky);
        if (k == 0.0) {
            return 0.0;
        }
        const double amplitude = std::norm(theta(fieldLimited, kx, ky, k)) *
                                 std::norm(theta(magnetisationLimited, kx, ky, k));
        return std::conj(theta(field, kx, ky, k)) * std::conj(theta(magnetisation, kx, ky, k)) /
               amplitude;
    }
};

std::vector<double> vertical(const FourierGrid& s, int order) {
    if (order == 2) {
        return s.filtered([](double kx, double ky) { return Complex(kx * kx + ky * ky, 0.0); });
    }
    return s.filtered(
        [](double kx, double ky) { return Complex(std::sqrt(kx * kx + ky * ky), 0.0); });
}

std::vector<double> alongX(const FourierGrid& s) {
    return s.filtered([](double kx, double) { return Complex(0.0, kx); });
}

std::vector<double> alongY(const FourierGrid& s) {
    return s.filtered([](double, double ky) { return Complex(0.0, ky); });
}

std::string metres(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

bool directionsValid(const GridTransform::Parameters& p) {
    const GridTransform::Direction m = p.magnetisation.value_or(p.field);
    for (const GridTransform::Direction& d : {p.field, m}) {
        if (!(std::abs(d.inclination) <= 90.0) || !std::isfinite(d.declination)) {
            return false;
        }
    }
    return p.rtpLimitInclination >= 0.0 && p.rtpLimitInclination <= 90.0;
}

bool refused(const Grid& filled, const Grid& blanked, const GridTransform::Parameters& p,
             std::string& message) {
    const GridLattice& l = filled.lattice;
    if (l.nx < 4 || l.ny < 4 || filled.values.size() != l.size()) {
        message = "The grid is too small to transform: it needs at least 4 x 4 nodes.";
    } else if (blanked.lattice.nx != l.nx || blanked.lattice.ny != l.ny ||
               blanked.values.size() != l.size() || !(l.cell > 0.0)) {
        message = "The grid to blank again does not match the grid transformed.";
    } else if (std::any_of(filled.values.begin(), filled.values.end(),
                           [](double v) { return !std::isfinite(v); })) {
        message = "The grid to transform has nodes without a value; fill them first.";
    } else if (std::any_of(filled.values.begin(), filled.values.end(),
                           [](double v) { return std::abs(v) > kLargestValue; })) {
        message = "The grid holds values far beyond any magnetic field; it was not transformed.";
    } else if (p.kind == Kind::Continue && !std::isfinite(p.height)) {
        message = "The continuation height must be a number of metres.";
    } else if (p.kind == Kind::Continue && p.height < -2.0 * l.cell) {
        message = "A downward continuation deeper than twice the cell (" + metres(2.0 * l.cell) +
                  " m) is refused: it would show noise, not the field.";
    } else if (p.kind == Kind::Rtp && !directionsValid(p)) {
        message =
            "The inclinations and declinations must be numbers of degrees, inclinations "
            "from -90 to 90, and the limit inclination from 0 to 90.";
    } else if (p.kind == Kind::Dz && p.order != 1 && p.order != 2) {
        message = "The order of the vertical derivative must be 1 or 2.";
    } else if (p.kind == Kind::Rtp &&
               (std::abs(limited(p.field, p.rtpLimitInclination).inclination) < 1e-3 ||
                std::abs(
                    limited(p.magnetisation.value_or(p.field), p.rtpLimitInclination).inclination) <
                    1e-3)) {
        message =
            "An inclination of 0 cannot be reduced to the pole without a limit inclination "
            "above 0.";
    } else {
        return false;
    }
    return true;
}

// The transform's values at every node, before blanking; the unit alongside.
std::vector<double> values(const FourierGrid& s, const GridTransform::Parameters& p,
                           std::string& unit) {
    unit = "nT/m";
    switch (p.kind) {
        case Kind::Rtp: {
            unit = "nT";
            const GridTransform::Direction m = p.magnetisation.value_or(p.field);
            const double limit = p.rtpLimitInclination;
            return s.filtered(Rtp{unitOf(p.field), unitOf(m), unitOf(limited(p.field, limit)),
                                  unitOf(limited(m, limit))});
        }
        case Kind::Continue:
            unit = "nT";
            return s.filtered([h = p.height](double kx, double ky) {
                return Complex(std::exp(-std::hypot(kx, ky) * h), 0.0);
            });
        case Kind::Dx:
            return alongX(s);
        case Kind::Dy:
            return alongY(s);
        case Kind::Dz:
            unit = p.order == 2 ? "nT/m2" : "nT/m";
            return vertical(s, p.order);
        case Kind::Thg:
        case Kind::Asig:
        case Kind::Tilt:
            break;
    }
    std::vector<double> x = alongX(s);
    const std::vector<double> y = alongY(s);
    const std::vector<double> z = p.kind == Kind::Thg ? std::vector<double>() : vertical(s, 1);
    for (std::size_t k = 0; k < x.size(); ++k) {
        const double horizontal = std::hypot(x[k], y[k]);
        if (p.kind == Kind::Thg) {
            x[k] = horizontal;
        } else if (p.kind == Kind::Asig) {
            x[k] = std::hypot(horizontal, z[k]);
        } else {
            x[k] = std::atan2(z[k], horizontal) / kDegree;
        }
    }
    unit = p.kind == Kind::Tilt ? "degrees" : unit;
    return x;
}

}  // namespace

std::optional<GridTransform::Result> GridTransform::apply(const Grid& filled, const Grid& blanked,
                                                          const Parameters& p,
                                                          std::string& message) {
    if (refused(filled, blanked, p, message)) {
        return std::nullopt;
    }
    const GridLattice& l = filled.lattice;
    const FourierGrid spectrum(filled.values, l.nx, l.ny, l.cell, l.cell);
    Result r;
    r.grid.lattice = l;
    r.grid.values = values(spectrum, p, r.unit);
    // A field keeps its level; a derivative of a level is nothing.
    const double level = p.kind == Kind::Rtp || p.kind == Kind::Continue ? spectrum.mean() : 0.0;
    for (std::size_t k = 0; k < r.grid.values.size(); ++k) {
        r.grid.values[k] =
            Grid::isNoData(blanked.values[k]) ? Grid::kNoData : r.grid.values[k] + level;
    }
    r.paddedX = spectrum.paddedX();
    r.paddedY = spectrum.paddedY();
    r.borderX = spectrum.borderX();
    r.borderY = spectrum.borderY();
    if (p.kind == Kind::Continue && p.height < 0.0) {
        r.warning = "Downward continuation by " + metres(-p.height) +
                    " m sharpens the anomalies and the noise alike: read it with care.";
    }
    return r;
}

const char* GridTransform::name(Kind kind) {
    return kNames[static_cast<std::size_t>(kind)];
}

std::optional<GridTransform::Kind> GridTransform::kindNamed(std::string_view name) {
    for (std::size_t k = 0; k < std::size(kNames); ++k) {
        if (name == kNames[k]) {
            return static_cast<Kind>(k);
        }
    }
    return std::nullopt;
}

}  // namespace velkor
