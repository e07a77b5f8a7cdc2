#include <gtest/gtest.h>

#include <gdal.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "geo/CoordinateSystem.h"
#include "geo/RasterWriter.h"
#include "support/GdalHandles.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

using RasterFormat = RasterWriter::Format;

// 4 x 3 nodes, one without a value, on UTM 32N.
RasterWriter::Raster sampleRaster() {
    std::string message;
    const auto utm = CoordinateSystem::fromEpsg(32632, message);
    RasterWriter::Raster r;
    r.west = 500000.0;
    r.south = 5400000.0;
    r.cell = 2.5;
    r.columns = 4;
    r.rows = 3;
    for (int k = 0; k < 12; ++k) {
        r.values.push_back(48000.0 + 10.123456789 * k);
    }
    r.values[5] = std::numeric_limits<double>::quiet_NaN();
    r.wkt = utm ? utm->wkt() : "";
    return r;
}

bool sameSystem(const char* wkt, const std::string& expected) {
    OGRSpatialReferenceH a = OSRNewSpatialReference(wkt);
    OGRSpatialReferenceH b = OSRNewSpatialReference(expected.c_str());
    const bool same = a != nullptr && b != nullptr && OSRIsSame(a, b) != 0;
    OSRRelease(a);
    OSRRelease(b);
    return same;
}

TEST(RasterWriter, EveryFormatReadsBackWithItsPlaceSystemNodataAndValues) {
    const TempDir dir;
    const RasterWriter::Raster r = sampleRaster();
    ASSERT_FALSE(r.wkt.empty());
    for (const auto& [format, name] :
         {std::pair{RasterFormat::GeoTiff, "g.tif"}, std::pair{RasterFormat::Surfer7, "s7.grd"},
          std::pair{RasterFormat::Surfer6, "s6.grd"},
          std::pair{RasterFormat::EsriAscii, "e.asc"}}) {
        SCOPED_TRACE(name);
        std::string message;
        ASSERT_TRUE(RasterWriter::write(r, format, dir.path(name), message)) << message;
        // GDAL reads ESRI ASCII decimals as single precision unless told.
        const char* const wide[] = {"DATATYPE=Float64", nullptr};
        const Dataset ds(GDALOpenEx(dir.path(name).c_str(), GDAL_OF_RASTER, nullptr,
                                    format == RasterFormat::EsriAscii ? wide : nullptr, nullptr));
        ASSERT_TRUE(ds);
        const auto h = static_cast<GDALDatasetH>(ds.get());
        EXPECT_STREQ(GDALGetDriverShortName(GDALGetDatasetDriver(h)),
                     RasterWriter::driverName(format));
        ASSERT_EQ(GDALGetRasterXSize(h), 4);
        ASSERT_EQ(GDALGetRasterYSize(h), 3);
        double t[6] = {};
        ASSERT_EQ(GDALGetGeoTransform(h, t), CE_None);
        EXPECT_NEAR(t[0], 500000.0 - 1.25, 1e-6);
        EXPECT_NEAR(t[1], 2.5, 1e-9);
        EXPECT_NEAR(t[3], 5400000.0 + 2.5 * 2.5, 1e-6);
        EXPECT_NEAR(t[5], -2.5, 1e-9);
        EXPECT_TRUE(sameSystem(GDALGetProjectionRef(h), r.wkt)) << GDALGetProjectionRef(h);
        GDALRasterBandH band = GDALGetRasterBand(h, 1);
        int hasNoData = 0;
        const double noData = GDALGetRasterNoDataValue(band, &hasNoData);
        EXPECT_TRUE(hasNoData);
        std::vector<double> top(12);
        ASSERT_EQ(GDALRasterIO(band, GF_Read, 0, 0, 4, 3, top.data(), 4, 3, GDT_Float64, 0, 0),
                  CE_None);
        for (int j = 0; j < 3; ++j) {
            for (int i = 0; i < 4; ++i) {
                const double want = r.values[static_cast<std::size_t>(j * 4 + i)];
                const double got = top[static_cast<std::size_t>((2 - j) * 4 + i)];
                if (std::isnan(want)) {
                    EXPECT_FLOAT_EQ(got, noData);
                } else {
                    EXPECT_NEAR(got, want, 1e-6) << i << "," << j;
                }
            }
        }
    }
}

TEST(RasterWriter, AGridWithoutASystemDeclaresNone) {
    const TempDir dir;
    RasterWriter::Raster r = sampleRaster();
    r.wkt.clear();
    std::string message;
    ASSERT_TRUE(RasterWriter::write(r, RasterFormat::GeoTiff, dir.path("local.tif"), message));
    const Dataset ds(GDALOpen(dir.path("local.tif").c_str(), GA_ReadOnly));
    ASSERT_TRUE(ds);
    EXPECT_STREQ(GDALGetProjectionRef(static_cast<GDALDatasetH>(ds.get())), "");
}

TEST(RasterWriter, AFailureNamesTheFileAndGdalsReasonAndKeepsTheOldFile) {
    const TempDir dir;
    const std::string old = dir.write("old.asc", "the old grid");
    RasterWriter::Raster r = sampleRaster();
    // ESRI ASCII grids hold square cells only as one cell size; a broken WKT fails earlier.
    r.wkt = "not a coordinate system";
    std::string message;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(RasterWriter::write(r, RasterFormat::EsriAscii, old, message));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(message.rfind("Write error: " + old + ": ", 0), 0u) << message;
    EXPECT_GT(message.size(), ("Write error: " + old + ": ").size());
    EXPECT_EQ(TempDir::read(old), "the old grid");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.dir()), {}), 1);

    const std::string nowhere = dir.path("missing/x.tif");
    EXPECT_FALSE(RasterWriter::write(sampleRaster(), RasterFormat::GeoTiff, nowhere, message));
    EXPECT_EQ(message.rfind("Write error: " + nowhere, 0), 0u) << message;
}

}  // namespace
}  // namespace velkor
