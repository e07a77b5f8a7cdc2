// Latitude, longitude and height as typed.
#include "corrections/PlaceEntry.h"

#include <cmath>

#include "text/NumberText.h"
#include "text/ShortNumber.h"
#include "text/Trim.h"

namespace velkor {
namespace {

// A number with an optional hemisphere letter after it; a sign and a letter together
// would contradict each other, so they are refused.
std::optional<double> readAngle(std::string_view text, char positive, char negative) {
    text = Trim::spaces(text);
    if (text.empty()) {
        return std::nullopt;
    }
    const char last = static_cast<char>(text.back() & ~0x20);  // upper case
    double sign = 1.0;
    if (last == positive || last == negative) {
        sign = last == negative ? -1.0 : 1.0;
        text.remove_suffix(1);
        text = Trim::spaces(text);
        if (text.empty() || text.front() == '-' || text.front() == '+') {
            return std::nullopt;
        }
    }
    const auto value = readWholeNumber(text, WholeNumber::TypedWithoutExponent);
    if (!value) {
        return std::nullopt;
    }
    return sign * *value;
}

std::string showAngle(double degrees, char positive, char negative) {
    return ShortNumber::sixDecimals(std::abs(degrees), ShortNumber::Zero::Unsigned) + " " +
           (degrees < 0.0 ? negative : positive);
}

}  // namespace

PlaceEntry::Result PlaceEntry::read(std::string_view latitude, std::string_view longitude,
                                    std::string_view height) {
    Result r{false, {0.0, 0.0, 0.0}, {}};
    const auto lat = readAngle(latitude, 'N', 'S');
    const auto lon = readAngle(longitude, 'E', 'W');
    const auto metres = readWholeNumber(height, WholeNumber::TypedWithoutExponent);
    if (!lat) {
        r.message = "Enter the latitude in degrees, as 55.75 N or -33.9.";
    } else if (!lon) {
        r.message = "Enter the longitude in degrees, as 37.6 E or -70.5.";
    } else if (!metres) {
        r.message = "Enter the height above the ellipsoid in m.";
    } else {
        r = {true, {*lat, *lon, *metres}, {}};
    }
    return r;
}

std::string PlaceEntry::showLatitude(double degrees) {
    return showAngle(degrees, 'N', 'S');
}

std::string PlaceEntry::showLongitude(double degrees) {
    return showAngle(degrees, 'E', 'W');
}

std::string PlaceEntry::showHeight(double metres) {
    return ShortNumber::sixDecimals(metres, ShortNumber::Zero::Unsigned);
}

}  // namespace velkor
