// The field model against a reference built another way: the potential from the
// coefficient file itself, Legendre functions from their polynomials, and the field as
// minus its gradient by central differences in Earth-centred Cartesian coordinates.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "corrections/DecimalYear.h"
#include "corrections/GaussTable.h"
#include "corrections/GeomagneticModel.h"
#include "corrections/LegendreTable.h"

namespace velkor {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180.0;
constexpr double kEarthRadiusKm = 6371.2;

struct FileRow {
    char kind;
    int n;
    int m;
    std::vector<double> values;
    double sv;
};

struct FileTable {
    std::vector<double> epochs;
    std::vector<FileRow> rows;
};

FileTable readFile() {
    FileTable t;
    std::ifstream in(VELKOR_IGRF_FILE);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind;
        fields >> kind;
        if (kind == "g/h") {
            std::string word;
            fields >> word >> word;
            while (fields >> word) {
                t.epochs.push_back(std::atof(word.c_str()));  // "2025-30" reads as 2025
            }
            t.epochs.pop_back();
        } else if (kind == "g" || kind == "h") {
            FileRow row{kind[0], 0, 0, {}, 0.0};
            fields >> row.n >> row.m;
            double v = 0.0;
            while (fields >> v) {
                row.values.push_back(v);
            }
            row.sv = row.values.back();
            row.values.pop_back();
            t.rows.push_back(row);
        }
    }
    return t;
}

const FileTable& table() {
    static const FileTable t = readFile();
    return t;
}

double coefficient(const FileRow& row, double year) {
    const std::vector<double>& e = table().epochs;
    if (year >= e.back()) {
        return row.values.back() + row.sv * (year - e.back());
    }
    std::size_t k = e.size() - 2;
    while (e[k] > year) {
        --k;
    }
    return row.values[k] + (row.values[k + 1] - row.values[k]) * (year - e[k]) / 5.0;
}

double factorial(int n) {
    return n <= 1 ? 1.0 : n * factorial(n - 1);
}

// Schmidt semi-normalised P(n, m)(cos theta) = norm * sin^m * d^m/dx^m Pn(x), with Pn from
// its explicit sum 2^-n sum (-1)^k C(n,k) C(2n-2k,n) x^(n-2k).
double schmidt(int n, int m, double x) {
    std::vector<double> poly(static_cast<std::size_t>(n + 1), 0.0);  // by power of x
    for (int k = 0; 2 * k <= n; ++k) {
        const double c = factorial(n) / (factorial(k) * factorial(n - k)) *
                         factorial(2 * n - 2 * k) / (factorial(n) * factorial(n - 2 * k));
        poly[static_cast<std::size_t>(n - 2 * k)] = (k % 2 ? -c : c) / std::pow(2.0, n);
    }
    double derivative = 0.0;
    for (int p = m; p <= n; ++p) {
        derivative += poly[static_cast<std::size_t>(p)] * factorial(p) / factorial(p - m) *
                      std::pow(x, p - m);
    }
    const double norm = m == 0 ? 1.0 : std::sqrt(2.0 * factorial(n - m) / factorial(n + m));
    return norm * std::pow(std::sqrt(1.0 - x * x), m) * derivative;
}

struct Vec {
    double x, y, z;
};

Vec along(const Vec& p, const Vec& u, double s) {
    return {p.x + s * u.x, p.y + s * u.y, p.z + s * u.z};
}

// nT km: the scalar potential of degrees nmin to nmax at an Earth-centred point (km).
double potential(const Vec& p, double year, int nmin, int nmax) {
    const double r = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    const double lambda = std::atan2(p.y, p.x);
    double v = 0.0;
    for (const FileRow& row : table().rows) {
        if (row.n < nmin || row.n > nmax) {
            continue;
        }
        const double trig = row.kind == 'g' ? std::cos(row.m * lambda) : std::sin(row.m * lambda);
        v += kEarthRadiusKm * std::pow(kEarthRadiusKm / r, row.n + 1) * coefficient(row, year) *
             trig * schmidt(row.n, row.m, p.z / r);
    }
    return v;
}

struct Components {
    double x, y, z;
};

// North, east and down along the WGS84 geodetic axes: B = -grad V.
Components reference(double lat, double lon, double height, double year, int nmin, int nmax) {
    const double a = 6378.137;
    const double f = 1.0 / 298.257223563;
    const double e2 = f * (2.0 - f);
    const double phi = lat * kRad;
    const double lam = lon * kRad;
    const double h = height / 1000.0;
    const double nu = a / std::sqrt(1.0 - e2 * std::sin(phi) * std::sin(phi));
    const Vec p{(nu + h) * std::cos(phi) * std::cos(lam), (nu + h) * std::cos(phi) * std::sin(lam),
                (nu * (1.0 - e2) + h) * std::sin(phi)};
    const Vec north{-std::sin(phi) * std::cos(lam), -std::sin(phi) * std::sin(lam), std::cos(phi)};
    const Vec east{-std::sin(lam), std::cos(lam), 0.0};
    const Vec down{-std::cos(phi) * std::cos(lam), -std::cos(phi) * std::sin(lam), -std::sin(phi)};
    const double step = 0.1;  // km
    const auto slope = [&](const Vec& u) {
        return -(potential(along(p, u, step), year, nmin, nmax) -
                 potential(along(p, u, -step), year, nmin, nmax)) /
               (2.0 * step);
    };
    return {slope(north), slope(east), slope(down)};
}

GeomagneticModel::Field field(double lat, double lon, double height, double year) {
    const GeomagneticModel::Result r = GeomagneticModel::compute({lat, lon, height}, year);
    EXPECT_TRUE(r.ok) << r.message;
    return r.field;
}

void expectNear(const GeomagneticModel::Field& a, const GeomagneticModel::Field& b, double nT,
                const std::string& where) {
    EXPECT_NEAR(a.x, b.x, nT) << where;
    EXPECT_NEAR(a.y, b.y, nT) << where;
    EXPECT_NEAR(a.z, b.z, nT) << where;
    EXPECT_NEAR(a.f, b.f, nT) << where;
}

}  // namespace

TEST(GeomagneticModel, CompiledTableEqualsTheCoefficientFile) {
    const FileTable& t = table();
    ASSERT_EQ(t.epochs.size(), gauss::kEpochs.size());
    for (std::size_t e = 0; e < t.epochs.size(); ++e) {
        EXPECT_EQ(gauss::kEpochs[e], t.epochs[e]);
    }
    ASSERT_EQ(t.rows.size(), gauss::kRows.size());
    for (std::size_t i = 0; i < t.rows.size(); ++i) {
        const FileRow& file = t.rows[i];
        const gauss::Row& compiled = gauss::kRows[i];
        const std::string where =
            std::string(1, file.kind) + std::to_string(file.n) + "," + std::to_string(file.m);
        ASSERT_EQ(file.values.size(), compiled.values.size()) << where;
        EXPECT_EQ(compiled.kind, file.kind) << where;
        EXPECT_EQ(compiled.n, file.n) << where;
        EXPECT_EQ(compiled.m, file.m) << where;
        for (std::size_t e = 0; e < file.values.size(); ++e) {
            EXPECT_EQ(compiled.values[e], file.values[e]) << where << " epoch " << e;
        }
        EXPECT_EQ(compiled.sv, file.sv) << where;
    }
}

// The addition theorem: sum over m of P(n, m)^2 is 1, and of dP^2 + (m P / sin)^2 is
// n(n + 1), at every colatitude, the poles included.
TEST(GeomagneticModel, LegendreFunctionsKeepTheirSumsOfSquares) {
    for (const double theta : {0.0, 1e-9, 0.3, 1.0, kPi / 2, 2.5, kPi - 1e-7, kPi}) {
        const LegendreTable t(13, std::cos(theta), std::abs(std::sin(theta)));
        for (int n = 1; n <= 13; ++n) {
            double squares = 0.0;
            double slopes = 0.0;
            for (int m = 0; m <= n; ++m) {
                squares += t.p(n, m) * t.p(n, m);
                slopes += t.dp(n, m) * t.dp(n, m) +
                          (m == 0 ? 0.0 : m * m * t.pOverSin(n, m) * t.pOverSin(n, m));
            }
            EXPECT_NEAR(squares, 1.0, 1e-12) << "n " << n << " theta " << theta;
            EXPECT_NEAR(slopes, n * (n + 1.0), 1e-9) << "n " << n << " theta " << theta;
        }
    }
}

TEST(GeomagneticModel, FieldIsMinusTheGradientOfThePotential) {
    struct Place {
        double lat, lon, height;
    };
    const Place places[] = {{55.0, 37.0, 200.0},   {-33.9, 18.4, 0.0},   {89.5, -120.0, 0.0},
                            {-89.9, 45.0, 3000.0}, {0.0, -179.9, -50.0}, {21.3, 202.2, 400000.0},
                            {-12.0, 300.0, 50.0}};
    for (const double year :
         {1900.0, 1912.3, 1947.5, 1999.99, 2000.0, 2003.7, 2024.99, 2025.0, 2026.5, 2030.0}) {
        for (const Place& p : places) {
            const Components ref =
                reference(p.lat, p.lon, p.height, year, 1, year < 2000.0 ? 10 : 13);
            const GeomagneticModel::Field m = field(p.lat, p.lon, p.height, year);
            const std::string where = std::to_string(p.lat) + " " + std::to_string(p.lon) + " " +
                                      std::to_string(p.height) + " " + std::to_string(year);
            EXPECT_NEAR(m.x, ref.x, 0.01) << where;
            EXPECT_NEAR(m.y, ref.y, 0.01) << where;
            EXPECT_NEAR(m.z, ref.z, 0.01) << where;
            const double h = std::hypot(ref.x, ref.y);
            EXPECT_NEAR(m.h, h, 0.01) << where;
            EXPECT_NEAR(m.f, std::hypot(h, ref.z), 0.01) << where;
            EXPECT_NEAR(m.d, std::atan2(ref.y, ref.x) / kRad, 1e-4) << where;
            EXPECT_NEAR(m.i, std::atan2(ref.z, h) / kRad, 1e-4) << where;
        }
    }
}

TEST(GeomagneticModel, DegreesElevenToThirteenJoinAt2000) {
    for (const double lon : {0.0, 120.0, -100.0}) {
        const GeomagneticModel::Field before = field(-40.0, lon, 0.0, 1999.9999999);
        const GeomagneticModel::Field at = field(-40.0, lon, 0.0, 2000.0);
        const Components jump = reference(-40.0, lon, 0.0, 2000.0, 11, 13);
        EXPECT_GT(std::abs(jump.x) + std::abs(jump.y) + std::abs(jump.z), 1.0);
        EXPECT_NEAR(at.x - before.x, jump.x, 0.01) << lon;
        EXPECT_NEAR(at.y - before.y, jump.y, 0.01) << lon;
        EXPECT_NEAR(at.z - before.z, jump.z, 0.01) << lon;
    }
}

TEST(GeomagneticModel, ContinuousAcrossThePolesAndTheEpochs) {
    for (const double lon : {0.0, 37.0, -150.0}) {
        const std::string where = "lon " + std::to_string(lon);
        // At the pole itself, and just off it.
        expectNear(field(90.0, lon, 0.0, 2026.5), field(90.0 - 1e-7, lon, 0.0, 2026.5), 1e-3,
                   "north " + where);
        expectNear(field(-90.0, lon, 0.0, 1950.0), field(-90.0 + 1e-7, lon, 0.0, 1950.0), 1e-3,
                   "south " + where);
        // Over the pole north turns round: x and y change sign, z stays.
        const GeomagneticModel::Field here = field(90.0 - 1e-7, lon, 0.0, 2010.0);
        const GeomagneticModel::Field there = field(90.0 - 1e-7, lon + 180.0, 0.0, 2010.0);
        EXPECT_NEAR(here.x, -there.x, 1e-3) << where;
        EXPECT_NEAR(here.y, -there.y, 1e-3) << where;
        EXPECT_NEAR(here.z, there.z, 1e-3) << where;
    }
    for (const double epoch : {1905.0, 1995.0, 2005.0, 2020.0, 2025.0}) {
        const std::string where = "epoch " + std::to_string(epoch);
        expectNear(field(55.0, 37.0, 200.0, epoch - 1e-7), field(55.0, 37.0, 200.0, epoch), 1e-3,
                   where);
        expectNear(field(-20.0, -60.0, 0.0, epoch + 1e-7), field(-20.0, -60.0, 0.0, epoch), 1e-3,
                   where);
    }
}

TEST(GeomagneticModel, RefusesWhatItDoesNotCover) {
    const GeomagneticModel::Place moscow{55.0, 37.0, 200.0};
    EXPECT_TRUE(GeomagneticModel::compute(moscow, 1900.0).ok);
    EXPECT_TRUE(GeomagneticModel::compute(moscow, 2030.0).ok);
    const GeomagneticModel::Result late = GeomagneticModel::compute(moscow, 2030.01);
    EXPECT_FALSE(late.ok);
    EXPECT_EQ(late.message, "The field model IGRF-14 covers the dates from 1900.0 to 2030.0 only.");
    EXPECT_FALSE(GeomagneticModel::compute(moscow, 1899.99).ok);
    EXPECT_FALSE(GeomagneticModel::compute(moscow, std::nan("")).ok);
    EXPECT_EQ(GeomagneticModel::compute({90.5, 37.0, 0.0}, 2026.0).message,
              "The latitude must lie between -90 and 90 degrees.");
    EXPECT_FALSE(GeomagneticModel::compute({55.0, std::nan(""), 0.0}, 2026.0).ok);
}

TEST(GeomagneticModel, DatesBecomeDecimalYears) {
    EXPECT_DOUBLE_EQ(*DecimalYear::read("2026-07-03"), 2026.0 + 183.0 / 365.0);
    EXPECT_DOUBLE_EQ(*DecimalYear::read("03.07.2026"), 2026.0 + 183.0 / 365.0);
    EXPECT_DOUBLE_EQ(*DecimalYear::read("2024-12-31"), 2024.0 + 365.0 / 366.0);
    EXPECT_DOUBLE_EQ(*DecimalYear::read("1900-03-01"), 1900.0 + 59.0 / 365.0);
    EXPECT_DOUBLE_EQ(*DecimalYear::read("2027.5"), 2027.5);
    for (const char* bad :
         {"2026-02-29", "2026-13-01", "31.04.2026", "2026-7-3", "", "2027.5x", "nan", "inf"}) {
        EXPECT_FALSE(DecimalYear::read(bad).has_value()) << bad;
    }
}

}  // namespace velkor
