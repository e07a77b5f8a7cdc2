// Coordinate systems through GDAL's spatial-reference API (PROJ underneath).
#include "geo/CoordinateSystem.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace velkor {
namespace {

struct ReleaseReference {
    void operator()(void* h) const { OSRRelease(static_cast<OGRSpatialReferenceH>(h)); }
};
struct DestroyTransformation {
    void operator()(void* h) const {
        OCTDestroyCoordinateTransformation(static_cast<OGRCoordinateTransformationH>(h));
    }
};
struct FreeText {
    void operator()(char* text) const { CPLFree(text); }
};
using Reference = std::unique_ptr<void, ReleaseReference>;
using Transformation = std::unique_ptr<void, DestroyTransformation>;

// GDAL reports failures through its own handler, which prints them; here they become our
// messages instead.
class QuietErrors {
  public:
    QuietErrors() { CPLPushErrorHandler(CPLQuietErrorHandler); }
    ~QuietErrors() { CPLPopErrorHandler(); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;
};

// Eastings before northings and longitudes before latitudes, whatever order the
// authority gives the axes.
Reference referenceOf(int epsg) {
    Reference r(OSRNewSpatialReference(nullptr));
    if (!r || OSRImportFromEPSG(static_cast<OGRSpatialReferenceH>(r.get()), epsg) != OGRERR_NONE) {
        return nullptr;
    }
    OSRSetAxisMappingStrategy(static_cast<OGRSpatialReferenceH>(r.get()),
                              OAMS_TRADITIONAL_GIS_ORDER);
    return r;
}

Transformation between(const Reference& from, const Reference& to) {
    return Transformation(
        OCTNewCoordinateTransformation(static_cast<OGRSpatialReferenceH>(from.get()),
                                       static_cast<OGRSpatialReferenceH>(to.get())));
}

constexpr int kWgs84 = 4326;

}  // namespace

struct CoordinateSystem::Handles {
    Reference projected;
    Transformation toWgs84;
    Transformation fromWgs84;
};

CoordinateSystem::CoordinateSystem(std::unique_ptr<Handles> handles)
    : handles_(std::move(handles)) {}
CoordinateSystem::~CoordinateSystem() = default;
CoordinateSystem::CoordinateSystem(CoordinateSystem&&) noexcept = default;
CoordinateSystem& CoordinateSystem::operator=(CoordinateSystem&&) noexcept = default;

std::optional<CoordinateSystem> CoordinateSystem::fromEpsg(int code, std::string& message) {
    const QuietErrors quiet;
    const std::string named = "EPSG:" + std::to_string(code);
    Reference projected = code > 0 ? referenceOf(code) : nullptr;
    if (!projected) {
        message = named + " names no coordinate system known here.";
        return std::nullopt;
    }
    const auto h = static_cast<OGRSpatialReferenceH>(projected.get());
    const char* name = OSRGetName(h);
    const std::string title = named + " (" + (name != nullptr ? name : "") + ")";
    if (!OSRIsProjected(h)) {
        message = title +
                  " is not a projected coordinate system; the survey needs eastings "
                  "and northings in metres.";
        return std::nullopt;
    }
    char* unit = nullptr;
    const double metres = OSRGetLinearUnits(h, &unit);
    if (std::fabs(metres - 1.0) > 1e-12) {
        message = title + " counts in " + (unit != nullptr ? unit : "another unit") +
                  ", not metres; the survey needs eastings and northings in metres.";
        return std::nullopt;
    }
    Reference wgs84 = referenceOf(kWgs84);
    auto handles = std::make_unique<Handles>();
    handles->toWgs84 = wgs84 ? between(projected, wgs84) : nullptr;
    handles->fromWgs84 = wgs84 ? between(wgs84, projected) : nullptr;
    if (!handles->toWgs84 || !handles->fromWgs84) {
        message = title + " cannot be converted to WGS 84 latitude and longitude here.";
        return std::nullopt;
    }
    handles->projected = std::move(projected);
    CoordinateSystem system(std::move(handles));
    system.epsg_ = code;
    system.name_ = name != nullptr ? name : "";
    return system;
}

std::string CoordinateSystem::wkt() const {
    char* text = nullptr;
    const char* const options[] = {"FORMAT=WKT2", nullptr};
    OSRExportToWktEx(static_cast<OGRSpatialReferenceH>(handles_->projected.get()), &text, options);
    const std::unique_ptr<char, FreeText> owned(text);
    return owned ? std::string(owned.get()) : std::string();
}

std::size_t CoordinateSystem::toLonLatInPlace(double* eastings, double* northings,
                                              std::size_t count) const {
    const QuietErrors quiet;
    std::vector<int> ok(count, 0);
    // The interface counts points in int: large batches go in pieces.
    constexpr std::size_t kPiece = 1 << 20;
    for (std::size_t from = 0; from < count; from += kPiece) {
        const int n = static_cast<int>(std::min(kPiece, count - from));
        OCTTransformEx(static_cast<OGRCoordinateTransformationH>(handles_->toWgs84.get()), n,
                       eastings + from, northings + from, nullptr, ok.data() + from);
    }
    std::size_t failed = 0;
    for (std::size_t k = 0; k < count; ++k) {
        if (!ok[k] || !std::isfinite(eastings[k]) || !std::isfinite(northings[k])) {
            eastings[k] = northings[k] = std::numeric_limits<double>::quiet_NaN();
            ++failed;
        }
    }
    return failed;
}

CoordinateSystem::LatLon CoordinateSystem::toLatLon(const EastNorth& point) const {
    double x = point.easting;
    double y = point.northing;
    toLonLatInPlace(&x, &y, 1);
    return {y, x};
}

CoordinateSystem::EastNorth CoordinateSystem::fromLatLon(const LatLon& point) const {
    const QuietErrors quiet;
    double x = point.longitude;
    double y = point.latitude;
    int ok = 0;
    OCTTransformEx(static_cast<OGRCoordinateTransformationH>(handles_->fromWgs84.get()), 1, &x, &y,
                   nullptr, &ok);
    if (!ok) {
        x = y = std::numeric_limits<double>::quiet_NaN();
    }
    return {x, y};
}

int CoordinateSystem::utmZoneCode(const LatLon& place) {
    const int zone =
        std::clamp(static_cast<int>(std::floor((place.longitude + 180.0) / 6.0)) + 1, 1, 60);
    return (place.latitude < 0.0 ? 32700 : 32600) + zone;
}

}  // namespace velkor
