#include <gtest/gtest.h>

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "geo/CoordinateSystem.h"
#include "geo/VectorWriter.h"
#include "support/ForkedChild.h"
#include "support/GdalHandles.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

using VectorFormat = VectorWriter::Format;
using Type = VectorWriter::FieldType;
using Value = VectorWriter::Value;

std::string utmWkt() {
    std::string message;
    const auto utm = CoordinateSystem::fromEpsg(32632, message);
    return utm ? utm->wkt() : "";
}

VectorWriter::Layer pointLayer(const std::string& wkt) {
    return {"stations",
            VectorWriter::Geometry::Point,
            {{"station", Type::Text}, {"reading", Type::Integer}, {"field", Type::Real}},
            wkt};
}

bool write(const std::string& path, VectorFormat format, const VectorWriter::Layer& layer,
           std::string& message) {
    VectorWriter w(path, format, layer);
    if (!w.open(message)) {
        return false;
    }
    w.addPoint({500100.0, 5400200.0}, {std::string("first"), 1LL, 48123.45});
    w.addPoint({500110.0, 5400190.0}, {std::string("second"), 2LL, Value{}});
    return w.finish(message);
}

TEST(VectorWriter, PointLayersReadBackWithTheirAttributesAndSystem) {
    const TempDir dir;
    const std::string wkt = utmWkt();
    ASSERT_FALSE(wkt.empty());
    std::string message;
    const auto utm = CoordinateSystem::fromEpsg(32632, message);
    for (const auto& [format, name] :
         {std::pair{VectorFormat::GeoPackage, "p.gpkg"},
          std::pair{VectorFormat::Shapefile, "p.shp"}, std::pair{VectorFormat::Kml, "p.kml"}}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(write(dir.path(name), format, pointLayer(wkt), message)) << message;
        const Dataset ds = openVector(dir.path(name));
        ASSERT_TRUE(ds);
        OGRLayerH layer = firstLayer(ds);
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(OGR_L_GetFeatureCount(layer, TRUE), 2);
        EXPECT_EQ(systemCodeOf(layer), format == VectorFormat::Kml ? "4326" : "32632");
        OGR_L_ResetReading(layer);
        const Feature first(OGR_L_GetNextFeature(layer));
        const Feature second(OGR_L_GetNextFeature(layer));
        ASSERT_TRUE(first && second);
        const auto f = static_cast<OGRFeatureH>(first.get());
        const auto g = static_cast<OGRFeatureH>(second.get());
        EXPECT_STREQ(OGR_F_GetFieldAsString(f, OGR_F_GetFieldIndex(f, "station")), "first");
        EXPECT_EQ(OGR_F_GetFieldAsInteger(f, OGR_F_GetFieldIndex(f, "reading")), 1);
        EXPECT_DOUBLE_EQ(OGR_F_GetFieldAsDouble(f, OGR_F_GetFieldIndex(f, "field")), 48123.45);
        EXPECT_FALSE(OGR_F_IsFieldSetAndNotNull(g, OGR_F_GetFieldIndex(g, "field")));
        OGRGeometryH at = OGR_F_GetGeometryRef(f);
        if (format == VectorFormat::Kml) {
            const CoordinateSystem::LatLon ll = utm->toLatLon({500100.0, 5400200.0});
            EXPECT_NEAR(OGR_G_GetX(at, 0), ll.longitude, 1e-7);
            EXPECT_NEAR(OGR_G_GetY(at, 0), ll.latitude, 1e-7);
        } else {
            EXPECT_DOUBLE_EQ(OGR_G_GetX(at, 0), 500100.0);
            EXPECT_DOUBLE_EQ(OGR_G_GetY(at, 0), 5400200.0);
        }
    }
}

TEST(VectorWriter, DxfLinesCarryTheirHeightAndCadLayer) {
    const TempDir dir;
    VectorWriter::Layer layer{"contours",
                              VectorWriter::Geometry::Line,
                              {{"level", Type::Real}, {"kind", Type::Text}},
                              "",
                              0,
                              1};
    std::string message;
    VectorWriter w(dir.path("c.dxf"), VectorFormat::Dxf, layer);
    ASSERT_TRUE(w.open(message)) << message;
    ASSERT_TRUE(w.addLine({{0.0, 0.0}, {10.0, 5.0}, {20.0, 5.0}}, {25.0, std::string("INDEX")}));
    ASSERT_TRUE(w.finish(message)) << message;
    const Dataset ds = openVector(dir.path("c.dxf"));
    ASSERT_TRUE(ds);
    OGRLayerH read = GDALDatasetGetLayer(static_cast<GDALDatasetH>(ds.get()), 0);
    ASSERT_EQ(OGR_L_GetFeatureCount(read, TRUE), 1);
    OGR_L_ResetReading(read);
    const Feature feature(OGR_L_GetNextFeature(read));
    const auto f = static_cast<OGRFeatureH>(feature.get());
    EXPECT_STREQ(OGR_F_GetFieldAsString(f, OGR_F_GetFieldIndex(f, "Layer")), "INDEX");
    OGRGeometryH g = OGR_F_GetGeometryRef(f);
    ASSERT_EQ(OGR_G_GetPointCount(g), 3);
    EXPECT_DOUBLE_EQ(OGR_G_GetX(g, 1), 10.0);
    EXPECT_DOUBLE_EQ(OGR_G_GetZ(g, 2), 25.0);
}

TEST(VectorWriter, FailuresAreToldAndLeaveTheOldFilesAlone) {
    const TempDir dir;
    const std::string shp = dir.write("p.shp", "old shp");
    dir.write("p.dbf", "old dbf");
    std::string message;
    // A KML of coordinates in no known system cannot be placed.
    VectorWriter::Layer local = pointLayer("");
    EXPECT_FALSE(write(dir.path("p.kml"), VectorFormat::Kml, local, message));
    EXPECT_EQ(message.rfind("Write error: " + dir.path("p.kml") + ": ", 0), 0u) << message;
    // A point in a layer of lines fails in GDAL; its message is ours, not on stderr.
    VectorWriter::Layer bad = pointLayer(utmWkt());
    bad.geometry = VectorWriter::Geometry::Line;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(write(shp, VectorFormat::Shapefile, bad, message));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(message.rfind("Write error: " + shp + ": ", 0), 0u) << message;
    EXPECT_NE(message.find("geometry"), std::string::npos) << message;
    EXPECT_EQ(TempDir::read(shp), "old shp");
    EXPECT_EQ(TempDir::read(dir.path("p.dbf")), "old dbf");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.dir()), {}), 2);
    // Written at last, every sidecar replaces its old one.
    ASSERT_TRUE(write(shp, VectorFormat::Shapefile, pointLayer(utmWkt()), message)) << message;
    EXPECT_NE(TempDir::read(dir.path("p.dbf")), "old dbf");
    EXPECT_TRUE(std::filesystem::exists(dir.path("p.prj")));
    // A full disk, where every file may hold 1000 bytes: KML and DXF, whose drivers never
    // check their writes, fail as the others do, and the old file stays.
    for (const auto& [name, format] :
         {std::pair{"full.kml", VectorFormat::Kml}, {"full.dxf", VectorFormat::Dxf}}) {
        const std::string target = dir.write(name, "old");
        EXPECT_TRUE(ForkedChild::run(
            [&, format = format] {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit small{1000, 1000};
                VectorWriter w(target, format, pointLayer(utmWkt()));
                std::string why;
                bool ok = ::setrlimit(RLIMIT_FSIZE, &small) == 0 && w.open(why);
                for (int k = 0; ok && k < 100; ++k) {
                    ok = w.addPoint({500000.0 + k, 5400000.0}, {std::string("s"), 1LL, 48000.5});
                }
                return ok && !w.finish(why) && why.rfind("Write error: " + target + ": ", 0) == 0;
            },
            20))
            << name;
        EXPECT_EQ(TempDir::read(target), "old") << name;
    }
    // A target that is there but no regular file is never renamed over.
    std::filesystem::create_directory(dir.path("folder.gpkg"));
    EXPECT_FALSE(
        write(dir.path("folder.gpkg"), VectorFormat::GeoPackage, pointLayer(utmWkt()), message));
    EXPECT_EQ(message, "Write error: " + dir.path("folder.gpkg") + ": not a regular file");
    EXPECT_TRUE(std::filesystem::is_directory(dir.path("folder.gpkg")));
}

}  // namespace
}  // namespace velkor
