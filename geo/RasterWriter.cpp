// Every format is made the same way: a MEM dataset filled north row first, then CreateCopy
// into a file in memory, since the text formats and Surfer 7 can only be made that way; the
// file and its sidecars then go to disk as one set.
#include "geo/RasterWriter.h"

#include <gdal.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <mutex>

#include "core/StagedOutput.h"
#include "geo/GdalErrors.h"
#include "geo/MemoryFolder.h"

namespace velkor {
namespace {

struct CloseDataset {
    void operator()(void* h) const { GDALClose(static_cast<GDALDatasetH>(h)); }
};
using Dataset = std::unique_ptr<void, CloseDataset>;

void registerDrivers() {
    static std::once_flag once;
    std::call_once(once, [] { GDALAllRegister(); });
}

// Filled in memory: geotransform with pixel corners half a cell outside the outer nodes.
Dataset memoryCopy(const RasterWriter::Raster& r, double noData) {
    GDALDriverH mem = GDALGetDriverByName("MEM");
    if (mem == nullptr) {
        return nullptr;
    }
    Dataset ds(GDALCreate(mem, "", r.columns, r.rows, 1, GDT_Float64, nullptr));
    if (!ds) {
        return nullptr;
    }
    const auto h = static_cast<GDALDatasetH>(ds.get());
    double transform[6] = {
        r.west - r.cell / 2.0, r.cell, 0.0, r.south + (r.rows - 0.5) * r.cell, 0.0, -r.cell};
    if (GDALSetGeoTransform(h, transform) != CE_None ||
        (!r.wkt.empty() && GDALSetProjection(h, r.wkt.c_str()) != CE_None)) {
        return nullptr;
    }
    GDALRasterBandH band = GDALGetRasterBand(h, 1);
    if (GDALSetRasterNoDataValue(band, noData) != CE_None ||
        (!r.unit.empty() && GDALSetRasterUnitType(band, r.unit.c_str()) != CE_None)) {
        return nullptr;
    }
    std::vector<double> row(static_cast<std::size_t>(r.columns));
    for (int line = 0; line < r.rows; ++line) {
        const std::size_t from = static_cast<std::size_t>(r.rows - 1 - line) * row.size();
        for (std::size_t i = 0; i < row.size(); ++i) {
            const double v = r.values[from + i];
            row[i] = std::isfinite(v) ? v : noData;
        }
        if (GDALRasterIO(band, GF_Write, 0, line, r.columns, 1, row.data(), r.columns, 1,
                         GDT_Float64, 0, 0) != CE_None) {
            return nullptr;
        }
    }
    return ds;
}

}  // namespace

const char* RasterWriter::driverName(Format format) {
    switch (format) {
        case Format::GeoTiff:
            return "GTiff";
        case Format::Surfer7:
            return "GS7BG";
        case Format::Surfer6:
            return "GSAG";
        case Format::EsriAscii:
            return "AAIGrid";
    }
    return "";
}

double RasterWriter::noData(Format format) {
    // Surfer's own blank value; the others take a value no field or anomaly reaches.
    return format == Format::Surfer7 || format == Format::Surfer6 ? 1.70141e38 : -99999.0;
}

bool RasterWriter::write(const Raster& raster, Format format, const std::string& path,
                         std::string& message) {
    if (raster.columns < 2 || raster.rows < 2 || !(raster.cell > 0.0) ||
        raster.values.size() != static_cast<std::size_t>(raster.columns) * raster.rows) {
        message = StagedOutput::failure(path, "the grid has fewer than two rows or columns");
        return false;
    }
    registerDrivers();
    StagedOutput staged(path);
    if (!staged.open(message)) {
        return false;
    }
    const std::string name = std::filesystem::path(path).filename().string();
    const MemoryFolder memoryFolder(&staged);
    const GdalErrors errors;
    GDALDriverH driver = GDALGetDriverByName(driverName(format));
    if (driver == nullptr) {
        message = StagedOutput::failure(
            path, std::string("GDAL has no ") + driverName(format) + " driver here");
        return false;
    }
    {
        const Dataset memory = memoryCopy(raster, noData(format));
        const char* const tiffOptions[] = {"COMPRESS=DEFLATE", nullptr};
        const Dataset file(memory ? GDALCreateCopy(driver, memoryFolder.file(name).c_str(),
                                                   static_cast<GDALDatasetH>(memory.get()), FALSE,
                                                   format == Format::GeoTiff
                                                       ? const_cast<char**>(tiffOptions)
                                                       : nullptr,
                                                   nullptr, nullptr)
                                  : nullptr);
        if (!file && !errors.failed()) {
            message = StagedOutput::failure(path, "GDAL could not make the file");
            return false;
        }
    }
    if (errors.failed()) {
        message = StagedOutput::failure(path, errors.message());
        return false;
    }
    std::vector<std::string> names;
    for (const std::string& part : parts(path, format)) {
        names.push_back(std::filesystem::path(part).filename().string());
    }
    return memoryFolder.stage(staged, names, path, message) && staged.commit(message);
}

std::vector<std::string> RasterWriter::parts(const std::string& path, Format format) {
    // GDAL keeps what a format cannot hold in a .aux.xml; ESRI ASCII has a .prj besides.
    std::vector<std::string> files{path, path + ".aux.xml"};
    if (format == Format::EsriAscii) {
        files.push_back(std::filesystem::path(path).replace_extension(".prj").string());
    }
    return files;
}

}  // namespace velkor
