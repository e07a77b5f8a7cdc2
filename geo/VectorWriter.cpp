// One layer through GDAL's vector C API; a GeoPackage is written in one transaction.
#include "geo/VectorWriter.h"

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <filesystem>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "geo/MemoryFolder.h"

namespace velkor {
namespace {

struct CloseDataset {
    void operator()(void* h) const { GDALClose(static_cast<GDALDatasetH>(h)); }
};
struct ReleaseReference {
    void operator()(void* h) const { OSRRelease(static_cast<OGRSpatialReferenceH>(h)); }
};
struct DestroyFeature {
    void operator()(void* h) const { OGR_F_Destroy(static_cast<OGRFeatureH>(h)); }
};
struct DestroyGeometry {
    void operator()(void* h) const { OGR_G_DestroyGeometry(static_cast<OGRGeometryH>(h)); }
};
struct DestroyFieldDefn {
    void operator()(void* h) const { OGR_Fld_Destroy(static_cast<OGRFieldDefnH>(h)); }
};
using Dataset = std::unique_ptr<void, CloseDataset>;
using Reference = std::unique_ptr<void, ReleaseReference>;
using Feature = std::unique_ptr<void, DestroyFeature>;
using OwnedGeometry = std::unique_ptr<void, DestroyGeometry>;
using FieldDefn = std::unique_ptr<void, DestroyFieldDefn>;

void registerDrivers() {
    static std::once_flag once;
    std::call_once(once, [] { GDALAllRegister(); });
}

OGRFieldType typeOf(VectorWriter::FieldType t) {
    switch (t) {
        case VectorWriter::FieldType::Text:
            return OFTString;
        case VectorWriter::FieldType::Integer:
            // 32 bits: every format keeps it as an integer (KML has no 64-bit one).
            return OFTInteger;
        case VectorWriter::FieldType::Real:
            return OFTReal;
    }
    return OFTString;
}

bool takesAttributes(VectorWriter::Format f) {
    return f != VectorWriter::Format::Dxf;
}

}  // namespace

struct VectorWriter::Handles {
    explicit Handles(const void* owner) : memory(owner) {}
    MemoryFolder memory;  // declared first: it goes after the dataset is closed
    Dataset dataset;
    Reference reference;
    OGRLayerH layer = nullptr;
    // Where each of the layer's fields is in a feature: a driver may put fields of its own
    // first (KML's Name and Description).
    std::vector<int> fieldIndex;
    bool transaction = false;
    bool failed = false;
};

std::vector<std::string> VectorWriter::parts(const std::string& path, Format format) {
    if (format != Format::Shapefile) {
        return {path};
    }
    // The shapes, their index, attributes, coordinate system and the attributes' encoding.
    std::vector<std::string> files{path};
    for (const char* ext : {".shx", ".dbf", ".prj", ".cpg"}) {
        files.push_back(std::filesystem::path(path).replace_extension(ext).string());
    }
    return files;
}

const char* VectorWriter::driverName(Format format) {
    switch (format) {
        case Format::GeoPackage:
            return "GPKG";
        case Format::Shapefile:
            return "ESRI Shapefile";
        case Format::Kml:
            // LIBKML of GDAL before 3.9 takes minutes to close a file of a few thousand
            // points; the plain driver writes the same schema and attributes at once.
            return "KML";
        case Format::Dxf:
            return "DXF";
    }
    return "";
}

VectorWriter::VectorWriter(std::string path, Format format, Layer layer)
    : path_(std::move(path)),
      format_(format),
      layer_(std::move(layer)),
      staged_(path_),
      handles_(std::make_unique<Handles>(this)) {}

// The dataset closes before the staging folder goes.
VectorWriter::~VectorWriter() {
    handles_.reset();
}

bool VectorWriter::open(std::string& message) {
    registerDrivers();
    if (format_ == Format::Kml && layer_.wkt.empty()) {
        message =
            StagedOutput::failure(path_,
                                  "KML holds latitude and longitude, and these coordinates name no "
                                  "coordinate system to convert them from");
        return false;
    }
    if (!staged_.open(message)) {
        return false;
    }
    GDALDriverH driver = GDALGetDriverByName(driverName(format_));
    if (driver == nullptr) {
        message = StagedOutput::failure(
            path_, std::string("GDAL has no ") + driverName(format_) + " driver here");
        return false;
    }
    Handles& h = *handles_;
    const std::string written = h.memory.file(std::filesystem::path(path_).filename().string());
    h.dataset.reset(GDALCreate(driver, written.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (h.dataset && !layer_.wkt.empty()) {
        h.reference.reset(OSRNewSpatialReference(layer_.wkt.c_str()));
        if (h.reference) {
            OSRSetAxisMappingStrategy(static_cast<OGRSpatialReferenceH>(h.reference.get()),
                                      OAMS_TRADITIONAL_GIS_ORDER);
        }
    }
    const auto ds = static_cast<GDALDatasetH>(h.dataset.get());
    const OGRwkbGeometryType type =
        layer_.geometry == Geometry::Point
            ? (format_ == Format::Dxf && layer_.heightField >= 0 ? wkbPoint25D : wkbPoint)
            : (format_ == Format::Dxf && layer_.heightField >= 0 ? wkbLineString25D
                                                                 : wkbLineString);
    if (ds != nullptr) {
        h.layer = GDALDatasetCreateLayer(ds, layer_.name.c_str(),
                                         static_cast<OGRSpatialReferenceH>(h.reference.get()), type,
                                         nullptr);
    }
    if (h.layer != nullptr && takesAttributes(format_)) {
        for (const Field& f : layer_.fields) {
            const FieldDefn defn(OGR_Fld_Create(f.name.c_str(), typeOf(f.type)));
            if (OGR_L_CreateField(h.layer, static_cast<OGRFieldDefnH>(defn.get()), TRUE) !=
                OGRERR_NONE) {
                h.layer = nullptr;
                break;
            }
            h.fieldIndex.push_back(
                OGR_FD_GetFieldIndex(OGR_L_GetLayerDefn(h.layer), f.name.c_str()));
        }
    }
    if (h.layer != nullptr && format_ == Format::GeoPackage) {
        h.transaction = GDALDatasetStartTransaction(ds, FALSE) == OGRERR_NONE;
    }
    if (h.layer == nullptr || errors_.failed()) {
        message = StagedOutput::failure(
            path_, errors_.failed() ? errors_.message() : "GDAL could not make the layer");
        h.failed = true;
        return false;
    }
    return true;
}

bool VectorWriter::add(void* geometry, const std::vector<Value>& values) {
    OwnedGeometry owned(geometry);
    Handles& h = *handles_;
    if (h.failed || h.layer == nullptr) {
        h.failed = true;
        return false;
    }
    const Feature feature(OGR_F_Create(OGR_L_GetLayerDefn(h.layer)));
    const auto f = static_cast<OGRFeatureH>(feature.get());
    if (takesAttributes(format_)) {
        for (std::size_t k = 0; k < values.size() && k < h.fieldIndex.size(); ++k) {
            const int i = h.fieldIndex[k];
            if (const auto* text = std::get_if<std::string>(&values[k])) {
                OGR_F_SetFieldString(f, i, text->c_str());
            } else if (const auto* whole = std::get_if<long long>(&values[k])) {
                OGR_F_SetFieldInteger64(f, i, *whole);
            } else if (const auto* real = std::get_if<double>(&values[k])) {
                OGR_F_SetFieldDouble(f, i, *real);
            } else {
                OGR_F_SetFieldNull(f, i);
            }
        }
    } else if (layer_.cadLayerField >= 0 &&
               static_cast<std::size_t>(layer_.cadLayerField) < values.size()) {
        if (const auto* text =
                std::get_if<std::string>(&values[static_cast<std::size_t>(layer_.cadLayerField)])) {
            OGR_F_SetFieldString(f, OGR_F_GetFieldIndex(f, "Layer"), text->c_str());
        }
    }
    OGR_F_SetGeometryDirectly(f, static_cast<OGRGeometryH>(owned.get()));
    // The feature owns the geometry from here on.
    owned.release();
    if (OGR_L_CreateFeature(h.layer, f) != OGRERR_NONE) {
        h.failed = true;
        return false;
    }
    return true;
}

bool VectorWriter::addPoint(const Point& at, const std::vector<Value>& values) {
    const double z = format_ == Format::Dxf ? heightOf(values) : 0.0;
    OGRGeometryH g = OGR_G_CreateGeometry(
        format_ == Format::Dxf && layer_.heightField >= 0 ? wkbPoint25D : wkbPoint);
    if (format_ == Format::Dxf && layer_.heightField >= 0) {
        OGR_G_SetPoint(g, 0, at[0], at[1], z);
    } else {
        OGR_G_SetPoint_2D(g, 0, at[0], at[1]);
    }
    return add(g, values);
}

bool VectorWriter::addLine(const std::vector<Point>& points, const std::vector<Value>& values) {
    const bool height = format_ == Format::Dxf && layer_.heightField >= 0;
    const double z = height ? heightOf(values) : 0.0;
    OGRGeometryH g = OGR_G_CreateGeometry(height ? wkbLineString25D : wkbLineString);
    for (std::size_t k = 0; k < points.size(); ++k) {
        if (height) {
            OGR_G_SetPoint(g, static_cast<int>(k), points[k][0], points[k][1], z);
        } else {
            OGR_G_SetPoint_2D(g, static_cast<int>(k), points[k][0], points[k][1]);
        }
    }
    return add(g, values);
}

double VectorWriter::heightOf(const std::vector<Value>& values) const {
    const auto k = static_cast<std::size_t>(layer_.heightField);
    const double* v = k < values.size() ? std::get_if<double>(&values[k]) : nullptr;
    return v != nullptr ? *v : 0.0;
}

bool VectorWriter::finish(std::string& message) {
    Handles& h = *handles_;
    if (h.transaction && !h.failed &&
        GDALDatasetCommitTransaction(static_cast<GDALDatasetH>(h.dataset.get())) != OGRERR_NONE) {
        h.failed = true;
    }
    h.layer = nullptr;
    h.dataset.reset();
    if (h.failed || errors_.failed()) {
        message = StagedOutput::failure(
            path_, errors_.failed() ? errors_.message() : "GDAL could not write a feature");
        return false;
    }
    std::vector<std::string> names;
    for (const std::string& part : parts(path_, format_)) {
        names.push_back(std::filesystem::path(part).filename().string());
    }
    return h.memory.stage(staged_, names, path_, message) && staged_.commit(message);
}

}  // namespace velkor
