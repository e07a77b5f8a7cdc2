// Writes one layer of points or lines with typed attributes as a GIS file GDAL reads back:
// GeoPackage, ESRI Shapefile, KML (latitude and longitude on WGS 84, converted by GDAL from
// the layer's coordinate system) or DXF (no attributes: a height and a CAD layer instead).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "core/StagedOutput.h"
#include "geo/GdalErrors.h"

namespace velkor {

class VectorWriter {
  public:
    enum class Format { GeoPackage, Shapefile, Kml, Dxf };
    enum class Geometry { Point, Line };
    enum class FieldType { Text, Integer, Real };
    struct Field {
        std::string name;
        FieldType type;
    };
    // Nothing, a text, an integer or a real number, as its field's type says.
    using Value = std::variant<std::monostate, std::string, long long, double>;
    using Point = std::array<double, 2>;

    struct Layer {
        std::string name;
        Geometry geometry = Geometry::Point;
        std::vector<Field> fields;
        std::string wkt;  // the coordinate system of the coordinates; empty: none
        // For a format without attributes: the real field whose value is each feature's
        // height, and the text field whose value names its CAD layer (-1: none).
        int heightField = -1;
        int cadLayerField = -1;
    };

    static const char* driverName(Format format);
    // Every file an output at path is made of: path itself, then the sidecars GDAL writes
    // beside it for the format.
    static std::vector<std::string> parts(const std::string& path, Format format);

    VectorWriter(std::string path, Format format, Layer layer);
    ~VectorWriter();
    VectorWriter(const VectorWriter&) = delete;
    VectorWriter& operator=(const VectorWriter&) = delete;

    // Creates the staged file and its layer; false and a message when it cannot.
    bool open(std::string& message);
    // One feature, its values in the order of the layer's fields. False once anything
    // failed; finish then tells why.
    bool addPoint(const Point& at, const std::vector<Value>& values);
    bool addLine(const std::vector<Point>& points, const std::vector<Value>& values);
    // Closes the file and moves it and its sidecars over the old ones as one set; false and
    // "Write error: <file>: <reason>" when anything failed, the old file or files then intact.
    bool finish(std::string& message);

  private:
    struct Handles;
    bool add(void* geometry, const std::vector<Value>& values);
    double heightOf(const std::vector<Value>& values) const;

    std::string path_;
    Format format_;
    Layer layer_;
    GdalErrors errors_;
    StagedOutput staged_;
    std::unique_ptr<Handles> handles_;
};

}  // namespace velkor
