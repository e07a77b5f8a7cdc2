// What counts as a number in a text, the same way everywhere and in any locale. Two rules:
// a column of the day's data or variations file starts with its number and may run on
// past it; a typed entry or a base file's value is a number only as a whole.
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

// Whether readDecimal finds digits at the text's start: blanks, a sign, then a digit, or a
// point and a digit. A number beyond single precision counts, though readDecimal reads it
// as 0: the survey leaves out only readings whose texts hold no digits.
bool startsWithDigits(std::string_view text);

// Leading blanks, optional sign, digits. No number, or one outside int, gives 0.
int readInteger(std::string_view text);

// The forms a whole-text number takes. Every one allows blanks around it and a plus sign
// before it, and refuses anything that is not a finite double ("12abc", "nan", "inf").
enum class WholeNumber {
    // Typed into a dialog or given on the command line: "12.5", "-3", "+3", "1e3".
    Typed,
    // Typed as degrees, a height or a year: no exponent ("1e3" is refused).
    TypedWithoutExponent,
    // A value of a base file (IAGA-2002, CSV): tabs count as blanks too, and the plus may
    // stand before a minus ("+-5" is -5), as these files have always been read.
    BaseFile
};

// The whole text, blanks around it aside, as one number of that form; nothing for any other
// text. Typed forms take only spaces as blanks, and refuse a sign after the plus.
std::optional<double> readWholeNumber(std::string_view text, WholeNumber form);

}  // namespace velkor
