// printf-style formatting into a std::string of whatever length it needs.
#pragma once

#include <string>

namespace velkor {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string
formatText(const char* format, ...);

// The same appended to out.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
void appendFormatted(std::string& out, const char* format, ...);

// Appends value as printf's "%*.*f" with this width and precision writes it: right-aligned
// with blanks, correctly rounded. Many rows of an export are written this way, and printf
// would take most of the export's time.
void appendFixed(std::string& out, double value, int width, int precision);

}  // namespace velkor
