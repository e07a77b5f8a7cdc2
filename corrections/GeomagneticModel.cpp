// Spherical-harmonic synthesis of the main field from the compiled-in Gauss coefficients.
#include "corrections/GeomagneticModel.h"

#include <array>
#include <cmath>
#include <vector>

#include "corrections/GaussTable.h"
#include "corrections/LegendreTable.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;
constexpr double kEquatorRadius = 6378.137;          // km, WGS84
constexpr double kFlattening = 1.0 / 298.257223563;  // WGS84

constexpr int kFullDegree = 13;
constexpr int kEarlyDegree = 10;

// Gauss coefficients g and h in force at one date, indexed n(n+1)/2 + m.
struct Coefficients {
    int degree;
    std::vector<double> g;
    std::vector<double> h;
};

std::size_t slot(int n, int m) {
    return static_cast<std::size_t>(n * (n + 1) / 2 + m);
}

// Linear between the epochs; from the last epoch on, its secular variation.
Coefficients coefficientsAt(double year) {
    Coefficients c{year < GeomagneticModel::kFullDegreeFrom ? kEarlyDegree : kFullDegree,
                   std::vector<double>(slot(kFullDegree + 1, 0), 0.0),
                   std::vector<double>(slot(kFullDegree + 1, 0), 0.0)};
    const auto& epochs = gauss::kEpochs;
    std::size_t i = 0;  // the last epoch not after the date
    while (i + 1 < epochs.size() && epochs[i + 1] <= year) {
        ++i;
    }
    const bool extrapolate = i + 1 == epochs.size();
    const double w =
        extrapolate ? year - epochs[i] : (year - epochs[i]) / (epochs[i + 1] - epochs[i]);
    for (const gauss::Row& row : gauss::kRows) {
        const double at = row.values[i];
        const double change = extrapolate ? row.sv : row.values[i + 1] - at;
        (row.kind == 'g' ? c.g : c.h)[slot(row.n, row.m)] = at + w * change;
    }
    return c;
}

// Where the place lies in the Earth-centred sphere: radius, colatitude and the angle
// from the geocentric to the geodetic vertical.
struct Geocentric {
    double radius;  // km
    double cosTheta;
    double sinTheta;
    double tilt;  // rad, geodetic minus geocentric latitude
};

Geocentric geocentric(double latitude, double height) {
    const double e2 = kFlattening * (2.0 - kFlattening);
    const double phi = latitude * kDegree;
    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    const double normal = kEquatorRadius / std::sqrt(1.0 - e2 * sinPhi * sinPhi);
    const double h = height / 1000.0;
    const double axis = (normal + h) * cosPhi;
    const double up = (normal * (1.0 - e2) + h) * sinPhi;
    const double r = std::hypot(axis, up);
    return {r, up / r, axis / r, phi - std::atan2(up, axis)};
}

}  // namespace

GeomagneticModel::Result GeomagneticModel::compute(const Place& place, double year) {
    return AtYear(year).compute(place);
}

GeomagneticModel::AtYear::AtYear(double year) : year_(year) {
    Coefficients c = coefficientsAt(year);
    degree_ = c.degree;
    g_ = std::move(c.g);
    h_ = std::move(c.h);
}

GeomagneticModel::Result GeomagneticModel::AtYear::compute(const Place& place) const {
    const double year = year_;
    Result result{false, {}, {}};
    if (!(year >= kFirstYear && year <= kLastYear)) {
        result.message =
            formatText("The field model IGRF-14 covers the dates from %.1f to %.1f only.",
                       kFirstYear, kLastYear);
        return result;
    }
    if (!(place.latitude >= -90.0 && place.latitude <= 90.0)) {
        result.message = "The latitude must lie between -90 and 90 degrees.";
        return result;
    }
    if (!(place.longitude >= -180.0 && place.longitude <= 360.0)) {
        result.message = "The longitude must lie between -180 and 360 degrees.";
        return result;
    }
    if (!(place.height >= -1000.0 && place.height <= 1000000.0)) {
        result.message = "The height must lie between -1000 and 1000000 m.";
        return result;
    }

    const Geocentric at = geocentric(place.latitude, place.height);
    const LegendreTable legendre(degree_, at.cosTheta, at.sinTheta);
    const double lambda = place.longitude * kDegree;
    const double ratio = kReferenceRadius / at.radius;

    // Components on the sphere: north, east, down, from B = -grad V with
    // V = a sum (a/r)^(n+1) (g cos m lambda + h sin m lambda) P(n, m).
    double north = 0.0;
    double east = 0.0;
    double down = 0.0;
    double scale = ratio * ratio;
    std::array<double, kFullDegree + 1> cosMs{};
    std::array<double, kFullDegree + 1> sinMs{};
    for (int m = 0; m <= degree_; ++m) {
        cosMs[static_cast<std::size_t>(m)] = std::cos(m * lambda);
        sinMs[static_cast<std::size_t>(m)] = std::sin(m * lambda);
    }
    for (int n = 1; n <= degree_; ++n) {
        scale *= ratio;  // (a/r)^(n+2)
        for (int m = 0; m <= n; ++m) {
            const double cosM = cosMs[static_cast<std::size_t>(m)];
            const double sinM = sinMs[static_cast<std::size_t>(m)];
            const double g = g_[slot(n, m)];
            const double h = h_[slot(n, m)];
            const double along = g * cosM + h * sinM;
            north += scale * along * legendre.dp(n, m);
            if (m > 0) {
                east += scale * m * (g * sinM - h * cosM) * legendre.pOverSin(n, m);
            }
            down -= scale * (n + 1) * along * legendre.p(n, m);
        }
    }

    Field& f = result.field;
    const double cosTilt = std::cos(at.tilt);
    const double sinTilt = std::sin(at.tilt);
    f.x = north * cosTilt + down * sinTilt;
    f.y = east;
    f.z = down * cosTilt - north * sinTilt;
    f.h = std::hypot(f.x, f.y);
    f.f = std::hypot(f.h, f.z);
    f.d = std::atan2(f.y, f.x) / kDegree;
    f.i = std::atan2(f.z, f.h) / kDegree;
    result.ok = true;
    return result;
}

float GeomagneticModel::roundedIntensity(const Field& field) {
    return static_cast<float>(std::round(field.f * 10.0) / 10.0);
}

std::string GeomagneticModel::describe(const Field& f) {
    return formatText("%.1f %.1f %.1f %.1f %.1f %.2f %.2f", f.x, f.y, f.z, f.h, f.f, f.d, f.i);
}

}  // namespace velkor
