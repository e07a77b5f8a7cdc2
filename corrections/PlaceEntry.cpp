// Latitude, longitude and height as typed.
#include "corrections/PlaceEntry.h"

#include <charconv>
#include <cmath>

#include "data/TextFormat.h"

namespace velkor {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A number with an optional hemisphere letter after it; a sign and a letter together
// would contradict each other, so they are refused.
std::optional<double> readAngle(std::string_view text, char positive, char negative) {
    text = trimmed(text);
    if (text.empty()) {
        return std::nullopt;
    }
    const char last = static_cast<char>(text.back() & ~0x20);  // upper case
    double sign = 1.0;
    if (last == positive || last == negative) {
        sign = last == negative ? -1.0 : 1.0;
        text.remove_suffix(1);
        text = trimmed(text);
        if (text.empty() || text.front() == '-' || text.front() == '+') {
            return std::nullopt;
        }
    }
    const auto value = PlaceEntry::readNumber(text);
    if (!value) {
        return std::nullopt;
    }
    return sign * *value;
}

// Up to six decimals, without trailing zeros.
std::string shortNumber(double value) {
    std::string text = formatText("%.6f", value);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

std::string showAngle(double degrees, char positive, char negative) {
    return shortNumber(std::abs(degrees)) + " " + (degrees < 0.0 ? negative : positive);
}

}  // namespace

PlaceEntry::Result PlaceEntry::read(std::string_view latitude, std::string_view longitude,
                                    std::string_view height) {
    Result r{false, {0.0, 0.0, 0.0}, {}};
    const auto lat = readAngle(latitude, 'N', 'S');
    const auto lon = readAngle(longitude, 'E', 'W');
    const auto metres = readNumber(height);
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

std::optional<double> PlaceEntry::readNumber(std::string_view text) {
    text = trimmed(text);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string PlaceEntry::showLatitude(double degrees) {
    return showAngle(degrees, 'N', 'S');
}

std::string PlaceEntry::showLongitude(double degrees) {
    return showAngle(degrees, 'E', 'W');
}

std::string PlaceEntry::showHeight(double metres) {
    return shortNumber(metres);
}

}  // namespace velkor
