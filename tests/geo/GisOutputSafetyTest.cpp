// Every GIS and grid output keeps the rules of a one-file output, for every file it is
// made of: sidecars replace only their own output's files, read-only files and links are
// treated as CSV treats them, and a full disk fails the write with the old set intact.
#include <gtest/gtest.h>

#include <gdal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "geo/CoordinateSystem.h"
#include "geo/RasterWriter.h"
#include "geo/VectorWriter.h"
#include "support/ForkedChild.h"
#include "support/GdalHandles.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;
using Type = VectorWriter::FieldType;

std::string wktOf(int epsg) {
    std::string message;
    const auto crs = CoordinateSystem::fromEpsg(epsg, message);
    return crs ? crs->wkt() : "";
}

// points stations with a long text each, so that the attributes outgrow the shapes.
bool writePoints(const std::string& path, int points, std::string& message) {
    VectorWriter w(
        path, VectorWriter::Format::Shapefile,
        {"stations", VectorWriter::Geometry::Point, {{"note", Type::Text}}, wktOf(32632)});
    bool ok = w.open(message);
    for (int k = 0; ok && k < points; ++k) {
        ok = w.addPoint({500000.0 + k, 5400000.0}, {std::string(60, 'n')});
    }
    return w.finish(message) && ok;
}

bool writeGrid(const std::string& path, RasterWriter::Format format, std::string& message) {
    RasterWriter::Raster r;
    r.west = 500000.0;
    r.south = 5400000.0;
    r.columns = 4;
    r.rows = 3;
    r.values.assign(12, 48000.0);
    r.wkt = wktOf(32633);
    return RasterWriter::write(r, format, path, message);
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

int hidden(const fs::path& folder) {
    return static_cast<int>(std::count_if(
        fs::directory_iterator(folder), {},
        [](const fs::directory_entry& e) { return e.path().filename().string().front() == '.'; }));
}

int gisFolderEntries(const fs::path& folder) {
    return static_cast<int>(std::distance(fs::directory_iterator(folder), {}));
}

}  // namespace

TEST(GisOutputSafety, ASidecarReplacesOnlyAFileOfTheOutputBeingReplaced) {
    const TempDir dir;
    std::string message;
    ASSERT_TRUE(writePoints(dir.path("site.shp"), 2, message)) << message;
    const std::string prj = TempDir::read(dir.path("site.prj"));
    // An ESRI ASCII grid of the shapefile's name would take its .prj.
    EXPECT_FALSE(writeGrid(dir.path("site.asc"), RasterWriter::Format::EsriAscii, message));
    EXPECT_TRUE(has(message, dir.path("site.prj") + " would be lost")) << message;
    EXPECT_EQ(TempDir::read(dir.path("site.prj")), prj);
    EXPECT_FALSE(fs::exists(dir.path("site.asc")));
    // A grid written again replaces its own .prj; a shapefile of its name may not.
    ASSERT_TRUE(writeGrid(dir.path("grid.asc"), RasterWriter::Format::EsriAscii, message));
    EXPECT_TRUE(writeGrid(dir.path("grid.asc"), RasterWriter::Format::EsriAscii, message))
        << message;
    EXPECT_FALSE(writePoints(dir.path("grid.shp"), 2, message));
    EXPECT_TRUE(has(message, dir.path("grid.prj"))) << message;
    EXPECT_EQ(hidden(dir.dir()), 0);  // nothing of a refused write left behind
}

TEST(GisOutputSafety, ReadOnlyFilesAndLinksAreTreatedAsCsvTreatsThem) {
    TempDir dir;
    fs::permissions(dir.dir(), fs::perms::all);  // the unprivileged child writes here
    EXPECT_TRUE(ForkedChild::run(
        [&] {
            std::string message;
            bool ok = writePoints(dir.path("p.shp"), 2, message) &&
                      writeGrid(dir.path("g.asc"), RasterWriter::Format::EsriAscii, message);
            const std::string shp = TempDir::read(dir.path("p.shp"));
            ::chmod(dir.path("p.dbf").c_str(), 0444);
            ::chmod(dir.path("g.asc").c_str(), 0444);
            ok = ok && !writePoints(dir.path("p.shp"), 3, message) &&
                 has(message, "Write error: " + dir.path("p.dbf") + ": Permission denied");
            ok = ok && !writeGrid(dir.path("g.asc"), RasterWriter::Format::EsriAscii, message) &&
                 has(message, "Write error: " + dir.path("g.asc"));
            return ok && TempDir::read(dir.path("p.shp")) == shp;
        },
        20, ForkedChild::kNobody));
    EXPECT_EQ(fs::status(dir.path("g.asc")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    // A link stays a link; the file it names is written.
    fs::create_directory(dir.path("real"));
    fs::create_symlink("real/grid.tif", dir.path("link.tif"));
    std::string message;
    ASSERT_TRUE(writeGrid(dir.path("link.tif"), RasterWriter::Format::GeoTiff, message)) << message;
    EXPECT_TRUE(fs::is_symlink(dir.path("link.tif")));
    EXPECT_TRUE(Dataset(GDALOpen(dir.path("real/grid.tif").c_str(), GA_ReadOnly)));
}

TEST(GisOutputSafety, AnotherUsersLinkInASharedFolderIsNeverFollowed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a link to another user takes root";
    }
    const TempDir dir;
    const std::string precious = dir.write("precious.shp", "mine");
    const fs::path shared = dir.dir() / "tmp";
    fs::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    const std::string planted = (shared / "site.shp").string();
    fs::create_symlink(precious, planted);
    ASSERT_EQ(::lchown(planted.c_str(), ForkedChild::kNobody, ForkedChild::kNobody), 0);
    std::string message;
    EXPECT_FALSE(writePoints(planted, 2, message));
    EXPECT_TRUE(has(message, "Write error: ")) << message;
    EXPECT_TRUE(has(message, "not following " + planted)) << message;
    EXPECT_EQ(TempDir::read(precious), "mine");
    EXPECT_EQ(gisFolderEntries(shared), 1);
}

TEST(GisOutputSafety, AFullDiskFailsTheWriteAndKeepsTheOldSet) {
    const TempDir dir;
    const std::vector<std::string> shapefile = {"p.shp", "p.shx", "p.dbf"};
    for (const std::string& name : shapefile) {
        dir.write(name, "old");
    }
    dir.write("s.grd", "old");
    // Every file may hold 8000 bytes: the shapes fit, their attributes do not. Then 500: the
    // Surfer grid fits, the coordinate system GDAL keeps beside it does not.
    EXPECT_TRUE(ForkedChild::run(
        [&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit small{8000, 8000};
            std::string message;
            bool ok = ::setrlimit(RLIMIT_FSIZE, &small) == 0 &&
                      !writePoints(dir.path("p.shp"), 200, message) &&
                      message.rfind("Write error: ", 0) == 0;
            const rlimit tiny{500, 500};
            return ok && ::setrlimit(RLIMIT_FSIZE, &tiny) == 0 &&
                   !writeGrid(dir.path("s.grd"), RasterWriter::Format::Surfer7, message) &&
                   message.rfind("Write error: ", 0) == 0;
        },
        20));
    for (const char* name : {"p.shp", "p.shx", "p.dbf", "s.grd"}) {
        EXPECT_EQ(TempDir::read(dir.path(name)), "old") << name;
    }
    EXPECT_EQ(gisFolderEntries(dir.dir()), 4);
}

}  // namespace velkor
