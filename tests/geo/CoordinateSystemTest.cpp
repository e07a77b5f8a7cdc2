#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geo/CoordinateSystem.h"

namespace velkor {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Length of the WGS 84 meridian from the equator to latitude phi (degrees), by Helmert's
// series in the third flattening; its first left-out term is below a micrometre.
double meridianArc(double phiDegrees) {
    const double a = 6378137.0;
    const double f = 1.0 / 298.257223563;
    const double n = f / (2.0 - f);
    const double p = phiDegrees * kPi / 180.0;
    const double n2 = n * n, n3 = n2 * n, n4 = n3 * n;
    return a / (1.0 + n) *
           ((1.0 + n2 / 4.0 + n4 / 64.0) * p - 1.5 * (n - n3 / 8.0) * std::sin(2.0 * p) +
            15.0 / 16.0 * (n2 - n4 / 4.0) * std::sin(4.0 * p) -
            35.0 / 48.0 * n3 * std::sin(6.0 * p) + 315.0 / 512.0 * n4 * std::sin(8.0 * p));
}

}  // namespace

TEST(CoordinateSystem, UtmPointsToLatitudeAndLongitudeAndBack) {
    std::string message;
    const auto utm33 = CoordinateSystem::fromEpsg(32633, message);
    ASSERT_TRUE(utm33) << message;
    EXPECT_EQ(utm33->epsg(), 32633);
    EXPECT_NE(utm33->name().find("UTM zone 33N"), std::string::npos);

    // On the central meridian (15 E) the northing is 0.9996 times the meridian arc.
    EXPECT_NEAR(meridianArc(45.0), 4984944.378, 0.001);
    const double northing = 0.9996 * meridianArc(45.0);
    const CoordinateSystem::LatLon at = utm33->toLatLon({500000.0, northing});
    EXPECT_NEAR(at.latitude, 45.0, 1e-9);
    EXPECT_NEAR(at.longitude, 15.0, 1e-9);
    const CoordinateSystem::LatLon equator = utm33->toLatLon({500000.0, 0.0});
    EXPECT_NEAR(equator.latitude, 0.0, 1e-9);
    EXPECT_NEAR(equator.longitude, 15.0, 1e-9);

    // Back again; and a degree either side of the meridian lies equally far from it.
    const CoordinateSystem::EastNorth back = utm33->fromLatLon({45.0, 15.0});
    EXPECT_NEAR(back.easting, 500000.0, 1e-4);
    EXPECT_NEAR(back.northing, northing, 1e-4);
    const double east = utm33->fromLatLon({45.0, 16.0}).easting;
    const double west = utm33->fromLatLon({45.0, 14.0}).easting;
    EXPECT_GT(east, 500000.0 + 70000.0);
    EXPECT_NEAR(east + west, 1000000.0, 1e-4);

    double e[] = {500000.0, east};
    double n[] = {northing, utm33->fromLatLon({45.0, 16.0}).northing};
    EXPECT_EQ(utm33->toLonLatInPlace(e, n, 2), 0u);
    EXPECT_NEAR(e[1], 16.0, 1e-9);
    EXPECT_NEAR(n[1], 45.0, 1e-9);
}

TEST(CoordinateSystem, OnlyProjectedSystemsInMetres) {
    std::string message;
    EXPECT_FALSE(CoordinateSystem::fromEpsg(4326, message));
    EXPECT_NE(message.find("EPSG:4326 (WGS 84) is not a projected coordinate system"),
              std::string::npos)
        << message;
    EXPECT_FALSE(CoordinateSystem::fromEpsg(2227, message));  // California zone 3, US feet
    EXPECT_NE(message.find("not metres"), std::string::npos) << message;
    EXPECT_FALSE(CoordinateSystem::fromEpsg(999999, message));
    EXPECT_EQ(message, "EPSG:999999 names no coordinate system known here.");
}

TEST(CoordinateSystem, TheUtmZoneOfAPlace) {
    EXPECT_EQ(CoordinateSystem::utmZoneCode({48.1, 11.5}), 32632);
    EXPECT_EQ(CoordinateSystem::utmZoneCode({-33.9, 151.2}), 32756);
    EXPECT_EQ(CoordinateSystem::utmZoneCode({0.5, -180.0}), 32601);
    EXPECT_EQ(CoordinateSystem::utmZoneCode({10.0, 180.0}), 32660);
    EXPECT_EQ(CoordinateSystem::utmZoneCode({-0.1, -0.1}), 32730);
}

}  // namespace velkor
