// GPX through GDAL's vector C API.
#include "geo/GpxFile.h"

#include <gdal.h>
#include <ogr_api.h>

#include <cmath>
#include <memory>
#include <mutex>

#include "geo/GdalErrors.h"
#include "text/CalendarDate.h"

namespace velkor {
namespace {

struct CloseDataset {
    void operator()(void* h) const { GDALClose(static_cast<GDALDatasetH>(h)); }
};
struct DestroyFeature {
    void operator()(void* h) const { OGR_F_Destroy(static_cast<OGRFeatureH>(h)); }
};
using Dataset = std::unique_ptr<void, CloseDataset>;
using Feature = std::unique_ptr<void, DestroyFeature>;

void registerDrivers() {
    static std::once_flag once;
    std::call_once(once, [] { GDALAllRegister(); });
}

// A feature's time in UTC seconds of the day numbering, or nothing where it has none.
std::optional<double> utcSeconds(OGRFeatureH f, int field) {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    float second = 0.0f;
    int zone = 0;
    if (field < 0 || !OGR_F_IsFieldSetAndNotNull(f, field) ||
        !OGR_F_GetFieldAsDateTimeEx(f, field, &year, &month, &day, &hour, &minute, &second,
                                    &zone) ||
        month < 1 || month > 12 || day < 1 || day > CalendarDate::daysInMonth(year, month)) {
        return std::nullopt;
    }
    // GDAL's zone: 100 is UTC, each step from it a quarter hour; below it unknown or local,
    // which in a GPX file can only be UTC.
    const double zoneSeconds = zone > 100 || (zone > 1 && zone < 100) ? (zone - 100) * 900.0 : 0.0;
    const double seconds = TrackFix::secondsOf(
        CalendarDate{year, month, day}, hour * 3600.0 + minute * 60.0 + second - zoneSeconds);
    return std::isfinite(seconds) ? std::optional<double>(seconds) : std::nullopt;
}

GpxFile::Result readLayer(OGRLayerH layer) {
    GpxFile::Result r;
    OGR_L_ResetReading(layer);
    for (Feature feature(OGR_L_GetNextFeature(layer)); feature;
         feature.reset(OGR_L_GetNextFeature(layer))) {
        const auto f = static_cast<OGRFeatureH>(feature.get());
        const OGRGeometryH point = OGR_F_GetGeometryRef(f);
        const double lon = point != nullptr ? OGR_G_GetX(point, 0) : NAN;
        const double lat = point != nullptr ? OGR_G_GetY(point, 0) : NAN;
        if (!(std::abs(lat) <= 90.0 && std::abs(lon) <= 180.0)) {
            ++r.badPosition;
            continue;
        }
        const std::optional<double> seconds = utcSeconds(f, OGR_F_GetFieldIndex(f, "time"));
        if (!seconds) {
            ++r.noTime;
            continue;
        }
        const int ele = OGR_F_GetFieldIndex(f, "ele");
        const double height = ele >= 0 && OGR_F_IsFieldSetAndNotNull(f, ele)
                                  ? OGR_F_GetFieldAsDouble(f, ele)
                                  : std::nan("");
        r.fixes.push_back({*seconds, lat, lon, height});
    }
    return r;
}

}  // namespace

std::optional<GpxFile::Result> GpxFile::read(const std::string& path, std::string& message) {
    registerDrivers();
    GdalErrors errors;
    const char* const drivers[] = {"GPX", nullptr};
    const Dataset dataset(
        GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers, nullptr, nullptr));
    if (!dataset) {
        message = path + ": not a GPX file";
        return std::nullopt;
    }
    for (const char* name : {"track_points", "route_points", "waypoints"}) {
        const OGRLayerH layer = GDALDatasetGetLayerByName(dataset.get(), name);
        if (layer == nullptr) {
            continue;
        }
        Result r = readLayer(layer);
        if (!r.fixes.empty() || r.noTime + r.badPosition > 0) {
            r.layer = name;
            return r;
        }
    }
    message = path + ": no track, route or waypoint in it";
    return std::nullopt;
}

}  // namespace velkor
