// Short numbers.
#include "text/ShortNumber.h"

#include <cmath>

#include "text/TextFormat.h"

namespace velkor {

std::string ShortNumber::sixDigits(double value) {
    return formatText("%g", value);
}

std::string ShortNumber::sixDecimals(double value, Zero zero) {
    std::string text = formatText("%.6f", value);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    return zero == Zero::Unsigned && text == "-0" ? "0" : text;
}

double ShortNumber::unsignedZero(double value) {
    return value == 0.0 ? 0.0 : value;
}

double ShortNumber::roundedTo(double value, double unit) {
    return unsignedZero(std::round(value / unit) * unit);
}

double ShortNumber::nearZeroAsZero(double value, double within) {
    return std::fabs(value) < within ? 0.0 : value;
}

}  // namespace velkor
