// Reading the place typed for the field model: latitude, longitude and height.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "corrections/GeomagneticModel.h"

namespace velkor {

class PlaceEntry {
  public:
    struct Result {
        bool ok;
        GeomagneticModel::Place place;
        std::string message;  // what to show when not ok
    };

    // Decimal degrees, signed ("-33.9") or followed by the hemisphere ("33.9 S"); the
    // height in m. Only the form is checked here; the model checks the ranges.
    static Result read(std::string_view latitude, std::string_view longitude,
                       std::string_view height);
    // As the fields show them: "55.75 N", "37.6 E", "200".
    static std::string showLatitude(double degrees);
    static std::string showLongitude(double degrees);
    static std::string showHeight(double metres);
};

}  // namespace velkor
