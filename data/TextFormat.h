// printf-style formatting into a std::string of whatever length it needs.
#pragma once

#include <string>

namespace velkor {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string
formatText(const char* format, ...);

}  // namespace velkor
