// Column numbers read by the program against the C library: readDecimal against strtod
// and readInteger against strtoll, wherever the two grammars agree (no hexadecimal,
// infinity or NaN spellings, which the columns never accept).
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "fuzz/FuzzPrompter.h"
#include "text/NumberText.h"

namespace {

using velkor::FuzzPrompter;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// True when the text after blanks and a sign starts like a C-only spelling.
bool cOnlySpelling(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    if (i >= text.size()) {
        return false;
    }
    const char c = text[i];
    if (c == 'i' || c == 'I' || c == 'n' || c == 'N') {
        return true;
    }
    return c == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(bytes), size);
    text = text.substr(0, text.find('\0'));  // the C functions stop there
    if (cOnlySpelling(text)) {
        return 0;
    }

    errno = 0;
    char* end = nullptr;
    double c = std::strtod(text.c_str(), &end);
    const bool range = errno == ERANGE;
    // A number is there when strtod finds one that single precision holds, or one too
    // small for a double.
    const bool number = end != text.c_str() && std::isfinite(c) && std::fabs(c) <= FLT_MAX;
    const std::optional<double> found = velkor::readDecimalNumber(text);
    FuzzPrompter::require(found.has_value() == number, "readDecimalNumber finds what strtod finds");
    if (end == text.c_str() || !std::isfinite(c) || std::fabs(c) > FLT_MAX) {
        c = 0.0;
    }
    const double ours = velkor::readDecimal(text);
    if (range) {
        // Under- and overflow: both must come to the same single-precision value.
        FuzzPrompter::require(static_cast<float>(ours) == static_cast<float>(c),
                              "readDecimal as strtod past the double range");
    } else {
        FuzzPrompter::require(ours == c, "readDecimal as strtod");
    }
    FuzzPrompter::require(std::isfinite(ours) && std::fabs(ours) <= FLT_MAX,
                          "readDecimal always fits single precision");
    FuzzPrompter::require(found.value_or(0.0) == ours, "readDecimalNumber reads as readDecimal");

    errno = 0;
    long long n = std::strtoll(text.c_str(), &end, 10);
    if (errno == ERANGE || n < INT_MIN || n > INT_MAX) {
        n = 0;
    }
    FuzzPrompter::require(velkor::readInteger(text) == n, "readInteger as strtoll");
    return 0;
}
