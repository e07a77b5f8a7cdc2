// A computed grid written as a raster file other gridding and GIS programs open, placed in
// the survey's coordinate system (or none), blanked nodes as the format's nodata value.
#pragma once

#include <optional>
#include <string>

#include "geo/CoordinateSystem.h"
#include "geo/RasterWriter.h"
#include "gridding/Grid.h"

namespace velkor {

class GridFile {
  public:
    using Format = RasterWriter::Format;

    // The format of a file name's extension: .tif or .tiff GeoTIFF, .grd Surfer 7, .asc
    // ESRI ASCII. Surfer 6 text grids share .grd and are only made when asked for.
    static std::optional<Format> formatOf(const std::string& path);

    // crs: null for local metres; unit: the values' unit, none declared when empty. False
    // and a message naming the file on failure, the old file then intact.
    static bool write(const Grid& grid, const CoordinateSystem* crs, Format format,
                      const std::string& path, std::string& message,
                      const std::string& unit = std::string());
};

}  // namespace velkor
