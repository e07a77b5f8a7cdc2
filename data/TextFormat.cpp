// Formatting helper for the program's fixed text formats.
#include "data/TextFormat.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
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

// Writes the length characters at from, right-aligned in width.
char* padded(char* at, const char* from, std::size_t length, int width) {
    if (width > 0 && length < static_cast<std::size_t>(width)) {
        const std::size_t blanks = static_cast<std::size_t>(width) - length;
        std::memset(at, ' ', blanks);
        at += blanks;
    }
    std::memcpy(at, from, length);
    return at + length;
}

// Writes whole tenths as digits, a point and the last digit, backwards from at; returns
// where they begin.
template <typename Unsigned>
char* tenthsBackward(char* at, Unsigned whole) {
    *--at = static_cast<char>('0' + whole % 10);
    *--at = '.';
    whole /= 10;
    do {
        *--at = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole > 0);
    return at;
}

// One decimal of a value that a float holds exactly (every corrected value is one):
// ten times it is then exact in a double, so rounding that product to an integer,
// ties to even, rounds the exact value as printf does. Written in place, from its last
// digit back; null for any other value.
char* writeOneDecimal(char* out, double value, int width) {
    constexpr double kLimit = 1e15;  // the tenths stay an exact integer below this
    if (!(std::fabs(value) < kLimit) || static_cast<double>(static_cast<float>(value)) != value) {
        return nullptr;
    }
    // Rounded to an integer in the current rounding mode, as nearbyint() does: adding and
    // taking away 2^52 leaves no fraction bits; from 2^52 on there are none to round.
    constexpr double kNoFraction = 4503599627370496.0;
    const double scaled = std::fabs(value) * 10.0;
    const double rounded = scaled < kNoFraction ? (scaled + kNoFraction) - kNoFraction : scaled;
    const auto tenths = static_cast<std::uint64_t>(rounded);
    // Digits from the last one back into a scratch buffer, then moved into place.
    char digits[32];
    char* const last = digits + sizeof digits;
    // Thirty-two bits divide faster, and every field value fits them.
    char* at = tenths <= 0xFFFFFFFFu ? tenthsBackward(last, static_cast<std::uint32_t>(tenths))
                                     : tenthsBackward(last, tenths);
    if (std::signbit(value)) {
        *--at = '-';  // printf keeps the sign of a negative value that rounds to zero
    }
    return padded(out, at, static_cast<std::size_t>(last - at), width);
}

}  // namespace

char* writeFixed(char* at, double value, int width, int precision) {
    if (precision == 1) {
        if (char* end = writeOneDecimal(at, value, width)) {
            return end;
        }
    }
    if (!std::isfinite(value) || precision < 0 || precision > 60) {
        const std::string text = formatText("%*.*f", width, precision, value);
        return padded(at, text.data(), text.size(), 0);
    }
    // std::to_chars rounds the exact binary value to nearest, ties to even, as glibc's
    // printf does in the default rounding mode; the sign of a negative zero stays.
    char buffer[320 + 64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    return padded(at, buffer, static_cast<std::size_t>(result.ptr - buffer), width);
}

void appendFixed(std::string& out, double value, int width, int precision) {
    const std::size_t had = out.size();
    out.resize(had + fixedRoom(width, precision));
    char* const end = writeFixed(out.data() + had, value, width, precision);
    out.resize(static_cast<std::size_t>(end - out.data()));
}

}  // namespace velkor
