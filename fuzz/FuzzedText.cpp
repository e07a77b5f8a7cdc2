// The fuzz targets' line texts.
#include "fuzz/FuzzedText.h"

#include <cmath>

#include "text/TextFormat.h"

namespace velkor {
namespace {

const char* const kDates[] = {"03.07.2026", "04.07.2026", "03.07.2O26"};
const char* const kNoNumbers[] = {"nan", "-inf", "", "  .  ", "1e999"};

}  // namespace

std::string FuzzedText::piece(FuzzedDataProvider& in, std::size_t most) {
    std::string s = in.ConsumeRandomLengthString(most);
    for (char& c : s) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return s;
}

std::string FuzzedText::date(FuzzedDataProvider& in) {
    const int which = in.ConsumeIntegralInRange(0, 3);
    return which < 3 ? kDates[which] : piece(in, 10);
}

std::string FuzzedText::time(FuzzedDataProvider& in) {
    if (in.ConsumeIntegralInRange(0, 7) == 0) {
        return piece(in, 8);
    }
    const int h = in.ConsumeIntegralInRange(0, 23);
    const int m = in.ConsumeIntegralInRange(0, 59);
    const int s = in.ConsumeIntegralInRange(0, 59);
    return formatText("%02d:%02d:%02d", h, m, s);
}

std::string FuzzedText::value(FuzzedDataProvider& in, int width) {
    switch (in.ConsumeIntegralInRange(0, 4)) {
        case 0:
            return piece(in, static_cast<std::size_t>(width));
        case 1:
            return formatText("%*.1e", width,
                              static_cast<double>(in.ConsumeFloatingPoint<float>()));
        case 2:
            return formatText("%*s", width, kNoNumbers[in.ConsumeIntegralInRange(0, 4)]);
        default:
            return formatText("%*.1f", width, in.ConsumeFloatingPointInRange(-99999.0, 99999.0));
    }
}

double FuzzedText::number(FuzzedDataProvider& in, double lo, double hi) {
    switch (in.ConsumeIntegralInRange(0, 7)) {
        case 0:
            return in.ConsumeFloatingPoint<double>();
        case 1:
            return in.ConsumeBool() ? NAN : -INFINITY;
        default:
            return in.ConsumeFloatingPointInRange(lo, hi);
    }
}

}  // namespace velkor
