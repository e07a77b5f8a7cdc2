// One feature per contour line.
#include "survey/ContourFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

namespace velkor {

std::optional<ContourFile::Format> ContourFile::formatOf(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".gpkg") {
        return Format::GeoPackage;
    }
    if (ext == ".shp") {
        return Format::Shapefile;
    }
    if (ext == ".dxf") {
        return Format::Dxf;
    }
    if (ext == ".kml") {
        return Format::Kml;
    }
    return std::nullopt;
}

bool ContourFile::write(const ContourSet& contours, const CoordinateSystem* crs, Format format,
                        const std::string& path, std::string& message) {
    using T = VectorWriter::FieldType;
    const bool cad = format == Format::Dxf;
    VectorWriter::Layer layer;
    layer.name = std::filesystem::path(path).stem().string();
    layer.geometry = VectorWriter::Geometry::Line;
    if (cad) {
        layer.fields = {{"level", T::Real}, {"layer", T::Text}};
        layer.heightField = 0;
        layer.cadLayerField = 1;
    } else {
        layer.fields = {{"level", T::Real}, {"index", T::Integer}};
    }
    if (crs != nullptr) {
        layer.wkt = crs->wkt();
    }
    VectorWriter writer(path, format, std::move(layer));
    if (!writer.open(message)) {
        return false;
    }
    std::vector<VectorWriter::Point> points;
    for (const ContourLine& line : contours.lines) {
        points.clear();
        for (const ContourPoint& p : line.points) {
            points.push_back({p.x, p.y});
        }
        const VectorWriter::Value kind =
            cad ? VectorWriter::Value{std::string(line.index ? "INDEX" : "CONTOUR")}
                : VectorWriter::Value{static_cast<long long>(line.index ? 1 : 0)};
        if (!writer.addLine(points, {line.level, kind})) {
            break;
        }
    }
    return writer.finish(message);
}

}  // namespace velkor
