// printf-style formatting into a std::string of whatever length it needs.
#pragma once

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

}  // namespace velkor
