// Locale-free number reading for column texts.
#include "data/NumberReading.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

namespace velkor {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::size_t skipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    return i;
}

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    return i;
}

// Returns the length of the optional sign at i.
std::size_t signLength(std::string_view text, std::size_t i) {
    return i < text.size() && (text[i] == '+' || text[i] == '-') ? 1 : 0;
}

}  // namespace

double readDecimal(std::string_view text) {
    std::size_t i = skipBlanks(text);
    const bool negative = i < text.size() && text[i] == '-';
    i += signLength(text, i);
    const std::size_t begin = i;
    std::size_t end = skipDigits(text, i);
    bool anyDigit = end > begin;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fractionEnd = skipDigits(text, end + 1);
        anyDigit = anyDigit || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!anyDigit) {
        return 0.0;
    }
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        e += signLength(text, e);
        const std::size_t exponentEnd = skipDigits(text, e);
        if (exponentEnd > e) {
            end = exponentEnd;
        }
    }
    double value = 0.0;
    const auto [ptr, ec] =
        std::from_chars(text.data() + begin, text.data() + end, value, std::chars_format::general);
    (void)ptr;
    if (ec != std::errc() || !std::isfinite(value) || std::fabs(value) > FLT_MAX) {
        return 0.0;
    }
    return negative ? -value : value;
}

int readInteger(std::string_view text) {
    std::size_t i = skipBlanks(text);
    const bool negative = i < text.size() && text[i] == '-';
    i += signLength(text, i);
    const std::size_t end = skipDigits(text, i);
    long long value = 0;
    for (std::size_t k = i; k < end; ++k) {
        value = value * 10 + (text[k] - '0');
        if (value > 2147483648LL) {
            return 0;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > 2147483647LL) {
        return 0;
    }
    return static_cast<int>(value);
}

int readTimeOfDay(std::string_view time) {
    auto group = [&](std::size_t from) {
        return from < time.size() ? readInteger(time.substr(from, 2)) : 0;
    };
    return group(0) * 3600 + group(3) * 60 + group(6);
}

}  // namespace velkor
