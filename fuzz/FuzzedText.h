// The texts the fuzz targets put in data and variations lines: mostly what an
// instrument writes, sometimes any bytes, huge values or words that are no number.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <string>

namespace velkor {

class FuzzedText {
  public:
    // Any text of at most `most` characters, without line ends.
    static std::string piece(FuzzedDataProvider& in, std::size_t most);
    // One of two dates, a date with a letter O for a zero, or any text.
    static std::string date(FuzzedDataProvider& in);
    // "hh:mm:ss", now and then any text.
    static std::string time(FuzzedDataProvider& in);
    // A field or gradient of `width` columns: ordinary values, huge or tiny ones in
    // exponent form, spellings of no number ("nan", "inf", blanks) or any bytes.
    static std::string value(FuzzedDataProvider& in, int width);
    // A number mostly from lo to hi, now and then any double, NaN or minus infinity.
    static double number(FuzzedDataProvider& in, double lo, double hi);
};

}  // namespace velkor
