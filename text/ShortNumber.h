// Numbers written short for people to read, and the sign of nought kept out of them.
#pragma once

#include <string>

namespace velkor {

class ShortNumber {
  public:
    // What a value that rounds to nought from below is written as: "-0", as printf writes
    // it, or "0".
    enum class Zero { AsPrinted, Unsigned };

    // Up to six significant digits, as "%g" writes them: "48123.4", "0.25", "1e+07".
    static std::string sixDigits(double value);
    // Up to six decimals, without trailing zeros or a bare point: "12", "3.5", "-0.25".
    static std::string sixDecimals(double value, Zero zero);

    // Nought without its sign; every other value as it is.
    static double unsignedZero(double value);
    // The value rounded to a whole number of units, nought without its sign: a figure that
    // is exact only to rounding (359.99999999 degrees, -0.0000001 m) says 0.
    static double roundedTo(double value, double unit);
    // Nought for a value nearer to it than within, else the value: a tick worked out as a
    // multiple of its step may miss nought by a rounding.
    static double nearZeroAsZero(double value, double within);
};

}  // namespace velkor
