// Turning column texts into numbers, the same way everywhere and in any locale.
#pragma once

#include <optional>
#include <string_view>

namespace velkor {

// Leading blanks, optional sign, digits, optional point and fraction, optional
// exponent; stops at the first character that does not belong. No number gives 0,
// and so does anything a single-precision value cannot hold: no NaN or infinity
// ever comes out.
double readDecimal(std::string_view text);

// The number readDecimal reads, or nothing where it gives 0 for want of one: no digits
// at all (blank, "nan", "inf", "."), or a value beyond single precision. A value too
// small for a double is a number, read as 0.
std::optional<double> readDecimalNumber(std::string_view text);

// Leading blanks, optional sign, digits. No number, or one outside int, gives 0.
int readInteger(std::string_view text);

// Seconds from midnight of a Time text: hours, minutes and seconds from the two
// characters at 0, 3 and 6, each read as readInteger reads it.
int readTimeOfDay(std::string_view time);

}  // namespace velkor
