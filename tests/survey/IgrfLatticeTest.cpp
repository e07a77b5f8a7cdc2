#include <gtest/gtest.h>

#include <random>
#include <string>

#include "corrections/GeomagneticModel.h"
#include "geo/CoordinateSystem.h"
#include "survey/IgrfLattice.h"

namespace velkor {
namespace {

CoordinateSystem utm33() {
    std::string message;
    auto crs = CoordinateSystem::fromEpsg(32633, message);
    EXPECT_TRUE(crs) << message;
    return std::move(*crs);
}

TEST(IgrfLattice, GivesTheModelsOwnValueAndSettlesMostPlaces) {
    const CoordinateSystem crs = utm33();
    const GeomagneticModel::AtYear model(2026.5);
    const auto lattice =
        IgrfLattice::build(model, crs, 300.0, 480000.0, 482500.0, 5300000.0, 5301200.0, 1000);
    ASSERT_TRUE(lattice);

    std::mt19937 random(11);
    std::uniform_real_distribution<double> east(480000.0, 482500.0);
    std::uniform_real_distribution<double> north(5300000.0, 5301200.0);
    int settled = 0;
    constexpr int kPlaces = 3000;
    for (int k = 0; k < kPlaces; ++k) {
        const double e = east(random);
        const double n = north(random);
        const std::optional<float> f = lattice->totalField(e, n);
        if (!f) {
            continue;
        }
        ++settled;
        const CoordinateSystem::LatLon at = crs.toLatLon({e, n});
        const GeomagneticModel::Result m = model.compute({at.latitude, at.longitude, 300.0});
        ASSERT_TRUE(m.ok);
        ASSERT_EQ(*f, static_cast<float>(m.field.f)) << e << " " << n;
    }
    EXPECT_GT(settled, kPlaces * 9 / 10) << settled;

    // Far outside it, nothing: the model is asked there.
    EXPECT_FALSE(lattice->totalField(470000.0, 5300500.0));
}

TEST(IgrfLattice, NoneWhenTooLargeOrTheModelFails) {
    const CoordinateSystem crs = utm33();
    const GeomagneticModel::AtYear model(2026.5);
    // 100 km across is four thousand nodes: more than the readings asked.
    EXPECT_FALSE(
        IgrfLattice::build(model, crs, 0.0, 400000.0, 500000.0, 5300000.0, 5300100.0, 3000));
    // A height the model does not take, and a date it does not cover.
    EXPECT_FALSE(
        IgrfLattice::build(model, crs, 2.0e6, 480000.0, 480100.0, 5300000.0, 5300100.0, 1000));
    EXPECT_FALSE(IgrfLattice::build(GeomagneticModel::AtYear(2040.0), crs, 0.0, 480000.0, 480100.0,
                                    5300000.0, 5300100.0, 1000));
}

}  // namespace
}  // namespace velkor
