// A projected coordinate system in metres named by its EPSG code, and the way between its
// eastings and northings and WGS 84 latitude and longitude.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace velkor {

class CoordinateSystem {
  public:
    struct LatLon {
        double latitude;   // degrees north
        double longitude;  // degrees east
    };
    struct EastNorth {
        double easting;   // m
        double northing;  // m
    };

    // The system of an EPSG code; nothing and a message when the code names none, or one
    // whose coordinates are not metres on a projection.
    static std::optional<CoordinateSystem> fromEpsg(int code, std::string& message);

    // The EPSG code of the WGS 84 UTM zone a place lies in (326zz north of the equator,
    // 327zz south), by the regular 6-degree zones.
    static int utmZoneCode(const LatLon& place);

    ~CoordinateSystem();
    CoordinateSystem(CoordinateSystem&&) noexcept;
    CoordinateSystem& operator=(CoordinateSystem&&) noexcept;

    int epsg() const { return epsg_; }
    const std::string& name() const { return name_; }
    // The system in OGC WKT, as files that declare it carry it.
    std::string wkt() const;

    // Point by point; a point the projection cannot take gives NaN for both values.
    LatLon toLatLon(const EastNorth& point) const;
    EastNorth fromLatLon(const LatLon& point) const;
    // Many points at once, in place: eastings become longitudes and northings latitudes.
    // Returns how many could not be transformed (those become NaN).
    std::size_t toLonLatInPlace(double* eastings, double* northings, std::size_t count) const;

  private:
    struct Handles;
    explicit CoordinateSystem(std::unique_ptr<Handles> handles);

    std::unique_ptr<Handles> handles_;
    int epsg_ = 0;
    std::string name_;
};

}  // namespace velkor
