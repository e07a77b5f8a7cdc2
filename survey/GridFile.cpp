// The grid's nodes are the raster's cell centres.
#include "survey/GridFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace velkor {

std::optional<GridFile::Format> GridFile::formatOf(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".tif" || ext == ".tiff") {
        return Format::GeoTiff;
    }
    if (ext == ".grd") {
        return Format::Surfer7;
    }
    if (ext == ".asc") {
        return Format::EsriAscii;
    }
    return std::nullopt;
}

bool GridFile::write(const Grid& grid, const CoordinateSystem* crs, Format format,
                     const std::string& path, std::string& message, const std::string& unit) {
    RasterWriter::Raster raster;
    raster.west = grid.lattice.x0;
    raster.south = grid.lattice.y0;
    raster.cell = grid.lattice.cell;
    raster.columns = grid.lattice.nx;
    raster.rows = grid.lattice.ny;
    raster.values = grid.values;
    if (crs != nullptr) {
        raster.wkt = crs->wkt();
    }
    raster.unit = unit;
    return RasterWriter::write(raster, format, path, message);
}

}  // namespace velkor
