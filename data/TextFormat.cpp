// Formatting helper for the program's fixed text formats.
#include "data/TextFormat.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace velkor {

std::string formatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string out;
    if (size > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        out.assign(buffer.data(), static_cast<std::size_t>(size));
    }
    va_end(again);
    return out;
}

namespace {

// One decimal of a value that a float holds exactly (every corrected value is one):
// ten times it is then exact in a double, so rounding that product to an integer,
// ties to even, rounds the exact value as printf does. False for any other value.
bool appendOneDecimal(std::string& out, double value, int width) {
    constexpr double kLimit = 1e15;  // the tenths stay an exact integer below this
    if (!(std::fabs(value) < kLimit) || static_cast<double>(static_cast<float>(value)) != value) {
        return false;
    }
    const double tenths = std::nearbyint(std::fabs(value) * 10.0);
    auto whole = static_cast<std::uint64_t>(tenths);
    char buffer[32];
    char* end = buffer + sizeof buffer;
    char* at = end;
    *--at = static_cast<char>('0' + whole % 10);
    *--at = '.';
    whole /= 10;
    do {
        *--at = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole > 0);
    if (std::signbit(value)) {
        *--at = '-';  // printf keeps the sign of a negative value that rounds to zero
    }
    const std::size_t length = static_cast<std::size_t>(end - at);
    if (width > 0 && length < static_cast<std::size_t>(width)) {
        out.append(static_cast<std::size_t>(width) - length, ' ');
    }
    out.append(at, length);
    return true;
}

}  // namespace

void appendFixed(std::string& out, double value, int width, int precision) {
    if (precision == 1 && appendOneDecimal(out, value, width)) {
        return;
    }
    // The largest double in fixed notation has 309 digits before the point.
    char buffer[320 + 64];
    if (!std::isfinite(value) || precision < 0 || precision > 60) {
        out += formatText("%*.*f", width, precision, value);
        return;
    }
    // std::to_chars rounds the exact binary value to nearest, ties to even, as glibc's
    // printf does in the default rounding mode; the sign of a negative zero stays.
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    const std::size_t length = static_cast<std::size_t>(result.ptr - buffer);
    if (width > 0 && length < static_cast<std::size_t>(width)) {
        out.append(static_cast<std::size_t>(width) - length, ' ');
    }
    out.append(buffer, length);
}

}  // namespace velkor
