// Formatting helper for the program's fixed text formats.
#include "text/TextFormat.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>

namespace velkor {
namespace {

// Most texts fit a small buffer on the stack and are formatted once; a longer one is
// formatted again into room of its length.
void appendFormattedList(std::string& out, const char* format, va_list args) {
    va_list again;
    va_copy(again, args);
    char buffer[256];
    const int size = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (size > 0 && static_cast<std::size_t>(size) < sizeof buffer) {
        out.append(buffer, static_cast<std::size_t>(size));
    } else if (size > 0) {
        const std::size_t had = out.size();
        out.resize(had + static_cast<std::size_t>(size) + 1);
        std::vsnprintf(out.data() + had, static_cast<std::size_t>(size) + 1, format, again);
        out.resize(had + static_cast<std::size_t>(size));
    }
    va_end(again);
}

}  // namespace

std::string formatText(const char* format, ...) {
    std::string out;
    va_list args;
    va_start(args, format);
    appendFormattedList(out, format, args);
    va_end(args);
    return out;
}

void appendFormatted(std::string& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    appendFormattedList(out, format, args);
    va_end(args);
}

void appendFixed(std::string& out, double value, int width, int precision) {
    // std::to_chars rounds the exact binary value to nearest, ties to even, as glibc's printf
    // does in the default rounding mode, and writes infinities, NaNs and the sign of a
    // negative zero as printf does. Room for any double with 60 decimals.
    char digits[400];
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision);
    if (error != std::errc()) {
        appendFormatted(out, "%*.*f", width, precision, value);
        return;
    }
    const auto length = static_cast<std::size_t>(end - digits);
    if (width > 0 && length < static_cast<std::size_t>(width)) {
        out.append(static_cast<std::size_t>(width) - length, ' ');
    }
    out.append(digits, length);
}

}  // namespace velkor
