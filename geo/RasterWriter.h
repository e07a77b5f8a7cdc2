// Writes a grid of values as a raster file GDAL reads back: GeoTIFF, Surfer 7 binary,
// Surfer 6 text or ESRI ASCII, its coordinate system, place and nodata value declared.
#pragma once

#include <string>
#include <vector>

namespace velkor {

class RasterWriter {
  public:
    enum class Format { GeoTiff, Surfer7, Surfer6, EsriAscii };

    // Nodes at (west + i * cell, south + j * cell); values row by row from the south,
    // index j * columns + i, NaN where a node has no value.
    struct Raster {
        double west = 0.0;
        double south = 0.0;
        double cell = 1.0;
        int columns = 0;
        int rows = 0;
        std::vector<double> values;
        std::string wkt;   // the coordinate system; empty: none declared
        std::string unit;  // the values' unit ("nT/m"); empty: none declared
    };

    // The GDAL driver of a format, and the nodata value the file is given in it.
    static const char* driverName(Format format);
    static double noData(Format format);

    // Every file an output at path is made of: path itself, then the sidecars GDAL may
    // write beside it for the format.
    static std::vector<std::string> parts(const std::string& path, Format format);

    // Writes the file and its sidecars as one set; false and "Write error: <file>:
    // <reason>" when anything fails, the old files then intact.
    static bool write(const Raster& raster, Format format, const std::string& path,
                      std::string& message);
};

}  // namespace velkor
