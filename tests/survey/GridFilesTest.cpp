#include <gtest/gtest.h>

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "geo/CoordinateSystem.h"
#include "gridding/ContourLevels.h"
#include "gridding/Contours.h"
#include "support/GdalHandles.h"
#include "support/TempDir.h"
#include "survey/ContourFile.h"
#include "survey/GridFile.h"

namespace velkor {
namespace {

// A slope rising 1 a metre to the east and 0.1 to the north, one corner blanked.
Grid slope() {
    Grid g;
    g.lattice = {500000.0, 5400000.0, 10.0, 6, 5};
    for (int j = 0; j < g.lattice.ny; ++j) {
        for (int i = 0; i < g.lattice.nx; ++i) {
            g.values.push_back(10.0 * i + 1.0 * j);
        }
    }
    g.at(5, 4) = Grid::kNoData;
    return g;
}

CoordinateSystem utm() {
    std::string message;
    return std::move(*CoordinateSystem::fromEpsg(32632, message));
}

const char* code(OGRSpatialReferenceH srs) {
    return srs != nullptr ? OSRGetAuthorityCode(srs, nullptr) : "";
}

}  // namespace

TEST(GridFile, EveryNodeReadsBackAtItsPlaceWithTheSurveysSystem) {
    const TempDir dir;
    const Grid grid = slope();
    const CoordinateSystem crs = utm();
    using F = GridFile::Format;
    EXPECT_EQ(GridFile::formatOf("a.TIF"), F::GeoTiff);
    EXPECT_EQ(GridFile::formatOf("a.grd"), F::Surfer7);
    EXPECT_EQ(GridFile::formatOf("a.asc"), F::EsriAscii);
    EXPECT_FALSE(GridFile::formatOf("a.png"));
    for (const auto& [format, name] :
         {std::pair{F::GeoTiff, "g.tif"}, std::pair{F::Surfer7, "s.grd"},
          std::pair{F::Surfer6, "t.grd"}, std::pair{F::EsriAscii, "e.asc"}}) {
        SCOPED_TRACE(name);
        std::string message;
        ASSERT_TRUE(GridFile::write(grid, &crs, format, dir.path(name), message)) << message;
        const Dataset ds(GDALOpen(dir.path(name).c_str(), GA_ReadOnly));
        ASSERT_TRUE(ds);
        const auto h = static_cast<GDALDatasetH>(ds.get());
        // An ESRI .prj names no authority: the same system, whatever it is called.
        OGRSpatialReferenceH srs = OSRNewSpatialReference(GDALGetProjectionRef(h));
        OGRSpatialReferenceH want = OSRNewSpatialReference(crs.wkt().c_str());
        EXPECT_TRUE(srs != nullptr && OSRIsSame(srs, want));
        OSRRelease(srs);
        OSRRelease(want);
        double t[6] = {};
        ASSERT_EQ(GDALGetGeoTransform(h, t), CE_None);
        GDALRasterBandH band = GDALGetRasterBand(h, 1);
        int hasNoData = 0;
        const double noData = GDALGetRasterNoDataValue(band, &hasNoData);
        ASSERT_TRUE(hasNoData);
        // Each pixel's centre is a node: its value is the grid's there.
        for (int row = 0; row < GDALGetRasterYSize(h); ++row) {
            for (int col = 0; col < GDALGetRasterXSize(h); ++col) {
                double v = 0.0;
                ASSERT_EQ(GDALRasterIO(band, GF_Read, col, row, 1, 1, &v, 1, 1, GDT_Float64, 0, 0),
                          CE_None);
                const double x = t[0] + (col + 0.5) * t[1];
                const double y = t[3] + (row + 0.5) * t[5];
                const int i =
                    static_cast<int>(std::lround((x - grid.lattice.x0) / grid.lattice.cell));
                const int j =
                    static_cast<int>(std::lround((y - grid.lattice.y0) / grid.lattice.cell));
                ASSERT_NEAR(grid.lattice.x(i), x, 1e-6);
                ASSERT_NEAR(grid.lattice.y(j), y, 1e-6);
                if (Grid::isNoData(grid.at(i, j))) {
                    EXPECT_FLOAT_EQ(v, noData);
                } else {
                    EXPECT_NEAR(v, grid.at(i, j), 1e-6) << i << "," << j;
                }
            }
        }
    }
}

TEST(ContourFile, EveryLineReadsBackWithItsLevelAndIndex) {
    const TempDir dir;
    const Grid grid = slope();
    const CoordinateSystem crs = utm();
    const ContourSet set = Contours::trace(grid, ContourLevels::at(grid, 5.0));
    ASSERT_GT(set.lines.size(), 3u);
    int indexLines = 0;
    for (const ContourLine& l : set.lines) {
        indexLines += l.index ? 1 : 0;
    }
    ASSERT_GT(indexLines, 0);
    for (const char* name : {"c.gpkg", "c.shp", "c.kml", "c.dxf"}) {
        SCOPED_TRACE(name);
        const auto format = ContourFile::formatOf(dir.path(name));
        ASSERT_TRUE(format);
        std::string message;
        ASSERT_TRUE(ContourFile::write(set, &crs, *format, dir.path(name), message)) << message;
        const Dataset ds(
            GDALOpenEx(dir.path(name).c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
        ASSERT_TRUE(ds);
        OGRLayerH layer = GDALDatasetGetLayer(static_cast<GDALDatasetH>(ds.get()), 0);
        ASSERT_EQ(OGR_L_GetFeatureCount(layer, TRUE), static_cast<GIntBig>(set.lines.size()));
        const bool cad = *format == ContourFile::Format::Dxf;
        if (!cad) {
            EXPECT_STREQ(code(OGR_L_GetSpatialRef(layer)),
                         *format == ContourFile::Format::Kml ? "4326" : "32632");
        }
        OGR_L_ResetReading(layer);
        for (const ContourLine& line : set.lines) {
            const Feature feature(OGR_L_GetNextFeature(layer));
            ASSERT_TRUE(feature);
            const auto f = static_cast<OGRFeatureH>(feature.get());
            OGRGeometryH g = OGR_F_GetGeometryRef(f);
            ASSERT_EQ(OGR_G_GetPointCount(g), static_cast<int>(line.points.size()));
            if (cad) {
                EXPECT_DOUBLE_EQ(OGR_G_GetZ(g, 0), line.level);
                EXPECT_STREQ(OGR_F_GetFieldAsString(f, OGR_F_GetFieldIndex(f, "Layer")),
                             line.index ? "INDEX" : "CONTOUR");
                EXPECT_NEAR(OGR_G_GetX(g, 0), line.points[0].x, 1e-6);
            } else {
                EXPECT_DOUBLE_EQ(OGR_F_GetFieldAsDouble(f, OGR_F_GetFieldIndex(f, "level")),
                                 line.level);
                EXPECT_EQ(OGR_F_GetFieldAsInteger(f, OGR_F_GetFieldIndex(f, "index")),
                          line.index ? 1 : 0);
            }
        }
    }
    // Local metres cannot become latitude and longitude.
    std::string message;
    EXPECT_FALSE(
        ContourFile::write(set, nullptr, ContourFile::Format::Kml, dir.path("l.kml"), message));
    EXPECT_EQ(message.rfind("Write error: " + dir.path("l.kml") + ": ", 0), 0u) << message;
}

}  // namespace velkor
