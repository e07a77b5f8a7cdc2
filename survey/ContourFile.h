// Contour lines written as a GIS line layer: each line with its level and whether it is an
// index contour. DXF holds no attributes: there the level is the line's height and index
// contours lie on the CAD layer INDEX, the others on CONTOUR.
#pragma once

#include <optional>
#include <string>

#include "geo/CoordinateSystem.h"
#include "geo/VectorWriter.h"
#include "gridding/Contours.h"

namespace velkor {

class ContourFile {
  public:
    using Format = VectorWriter::Format;

    // The format of a file name's extension: .gpkg, .shp, .dxf, .kml (any case).
    static std::optional<Format> formatOf(const std::string& path);

    // crs: null for local metres (no KML then). False and a message naming the file on
    // failure, the old file or files then intact.
    static bool write(const ContourSet& contours, const CoordinateSystem* crs, Format format,
                      const std::string& path, std::string& message);
};

}  // namespace velkor
