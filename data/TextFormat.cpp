// Formatting helper for the program's fixed text formats.
#include "data/TextFormat.h"

#include <cstdarg>
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

}  // namespace velkor
