// Locale-free number reading: the columns of the day's files, and whole texts.
#include "text/NumberText.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "text/Trim.h"

namespace velkor {
namespace {

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

inline bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline std::size_t skipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    return i;
}

inline std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    return i;
}

// Returns the length of the optional sign at i.
inline std::size_t signLength(std::string_view text, std::size_t i) {
    return i < text.size() && (text[i] == '+' || text[i] == '-') ? 1 : 0;
}

// Whether digits and exponent the full conversion found out of range stand for a value
// too small for a double rather than too large: their first significant digit's power of
// ten, with the exponent, is negative.
bool belowRange(std::string_view mantissa, std::string_view exponent) {
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_not_of("0.");
    if (first == std::string_view::npos) {
        return true;  // all zeros
    }
    // The power of ten of the first significant digit: digits before the point count up
    // from 0, those after it down from -1.
    const long long power = first < point ? static_cast<long long>(point - first) - 1
                                          : -static_cast<long long>(first - point);
    const bool negative = !exponent.empty() && exponent[0] == '-';
    long long e = 0;
    for (std::size_t i = signLength(exponent, 0); i < exponent.size() && e < 100000; ++i) {
        e = e * 10 + (exponent[i] - '0');
    }
    return power + (negative ? -e : e) < 0;
}

}  // namespace

double readDecimal(std::string_view text) {
    return readDecimalNumber(text).value_or(0.0);
}

std::optional<double> readDecimalNumber(std::string_view text) {
    // The usual Field text, five digits, a point and one, blanks before it allowed: straight
    // to its value, by the same one division as the short path below.
    const std::string_view t =
        text.size() > 7 && text[0] == ' ' ? text.substr(skipBlanks(text)) : text;
    if (t.size() == 7 && t[5] == '.' && isDigit(t[0]) && isDigit(t[1]) && isDigit(t[2]) &&
        isDigit(t[3]) && isDigit(t[4]) && isDigit(t[6])) {
        const int tenths = (t[0] - '0') * 100000 + (t[1] - '0') * 10000 + (t[2] - '0') * 1000 +
                           (t[3] - '0') * 100 + (t[4] - '0') * 10 + (t[6] - '0');
        return static_cast<double>(tenths) / 10.0;
    }
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr std::uint64_t kExactLimit = std::uint64_t{1} << 53;
    constexpr std::size_t kMaxDigits = 19;  // any 19 digits fit 64 bits
    std::size_t i = skipBlanks(text);
    const bool negative = i < text.size() && text[i] == '-';
    i += signLength(text, i);
    const std::size_t begin = i;
    // The digits are gathered on the way, for the short path below.
    std::uint64_t mantissa = 0;
    std::size_t digits = 0;
    std::size_t fraction = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (digits >= kMaxDigits) {
            mantissa = kExactLimit + 1;  // too many: the full conversion decides
        }
    }
    std::size_t end = i;
    bool anyDigit = digits > 0;
    if (end < text.size() && text[end] == '.') {
        for (i = end + 1; i < text.size() && isDigit(text[i]); ++i, ++digits, ++fraction) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
            if (digits >= kMaxDigits) {
                mantissa = kExactLimit + 1;
            }
        }
        anyDigit = anyDigit || fraction > 0;
        end = i;
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    const std::size_t mantissaEnd = end;
    bool exponent = false;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        e += signLength(text, e);
        const std::size_t exponentEnd = skipDigits(text, e);
        if (exponentEnd > e) {
            end = exponentEnd;
            exponent = true;
        }
    }
    double value = 0.0;
    if (!exponent && digits <= kMaxDigits && mantissa <= kExactLimit) {
        // Digits that a double holds exactly, divided by an exact power of ten: the one
        // division is correctly rounded, so it gives the full conversion's value.
        value = static_cast<double>(mantissa) / kPowers[fraction];
        return negative ? -value : value;
    }
    const auto [ptr, ec] =
        std::from_chars(text.data() + begin, text.data() + end, value, std::chars_format::general);
    (void)ptr;
    const std::string_view exponentText =
        exponent ? text.substr(mantissaEnd + 1, end - mantissaEnd - 1) : std::string_view();
    if (ec == std::errc::result_out_of_range &&
        belowRange(text.substr(begin, mantissaEnd - begin), exponentText)) {
        return 0.0;  // too small for a double: a number all the same, read as 0
    }
    if (ec != std::errc() || !std::isfinite(value) || std::fabs(value) > FLT_MAX) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

bool startsWithDigits(std::string_view text) {
    std::size_t i = skipBlanks(text);
    i += signLength(text, i);
    const auto digit = [&](std::size_t k) { return k < text.size() && isDigit(text[k]); };
    return digit(i) || (i < text.size() && text[i] == '.' && digit(i + 1));
}

int readInteger(std::string_view text) {
    // Two digits, the groups of a time of day: straight to their value.
    if (text.size() == 2 && isDigit(text[0]) && isDigit(text[1])) {
        return (text[0] - '0') * 10 + (text[1] - '0');
    }
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

std::optional<double> readWholeNumber(std::string_view text, WholeNumber form) {
    const bool typed = form != WholeNumber::BaseFile;
    text = typed ? Trim::spaces(text) : Trim::spacesAndTabs(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (typed && !text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    // std::from_chars takes neither blanks nor a plus sign, and reads the same in any locale;
    // "inf" and "nan" it does read, and the finite test refuses.
    const std::chars_format format = form == WholeNumber::TypedWithoutExponent
                                         ? std::chars_format::fixed
                                         : std::chars_format::general;
    double value = 0.0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, format);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace velkor
