// Number entry checks.
#include "corrections/ValueEntry.h"

#include <charconv>
#include <cmath>

#include "data/TextFormat.h"

namespace velkor {
namespace {

// A number and nothing else but blanks around it; decimal forms only, in any locale.
bool parseWhole(const std::string& text, double& value) {
    std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) {
        return false;
    }
    const std::size_t end = text.find_last_not_of(' ') + 1;
    if (text[begin] == '+') {
        ++begin;
        if (begin == end || text[begin] == '-') {
            return false;
        }
    }
    const char* last = text.data() + end;
    const auto [ptr, ec] =
        std::from_chars(text.data() + begin, last, value, std::chars_format::general);
    return ec == std::errc() && ptr == last && std::isfinite(value);
}

}  // namespace

std::string ValueEntry::rangeMessage(float minimum, float maximum) {
    return formatText("Enter a number between %g and %g.", static_cast<double>(minimum),
                      static_cast<double>(maximum));
}

ValueEntry::Result ValueEntry::check(const std::string& text, float minimum, float maximum) {
    double value = 0.0;
    if (!parseWhole(text, value)) {
        return {false, 0.0f, kNotANumber};
    }
    if (value < minimum || value > maximum) {
        return {false, 0.0f, rangeMessage(minimum, maximum)};
    }
    return {true, static_cast<float>(value), {}};
}

std::string ValueEntry::show(float value) {
    return formatText("%g", static_cast<double>(value));
}

}  // namespace velkor
