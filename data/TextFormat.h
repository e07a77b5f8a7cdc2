// printf-style formatting into a std::string of whatever length it needs.
#pragma once

#include <cstddef>
#include <string>

namespace velkor {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string
formatText(const char* format, ...);

// Appends value as printf's "%*.*f" with this width and precision writes it (right-
// aligned with blanks, correctly rounded), without a format string to parse.
void appendFixed(std::string& out, double value, int width, int precision);

// The same written at `at`, which must have fixedRoom(width, precision) bytes; returns
// the end.
char* writeFixed(char* at, double value, int width, int precision);
constexpr std::size_t fixedRoom(int width, int precision) {
    // The largest double in fixed notation has 309 digits before the point.
    return static_cast<std::size_t>(width > 0 ? width : 0) + 330 +
           static_cast<std::size_t>(precision > 0 ? precision : 0);
}

}  // namespace velkor
