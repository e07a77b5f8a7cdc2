#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "data/NumberReading.h"

namespace velkor {

TEST(NumberReading, DecimalStopsAtFirstForeignCharacter) {
    EXPECT_DOUBLE_EQ(readDecimal("  48123.4xyz"), 48123.4);
    EXPECT_DOUBLE_EQ(readDecimal("-0.5"), -0.5);
    EXPECT_DOUBLE_EQ(readDecimal("+2.25,7"), 2.25);
    EXPECT_DOUBLE_EQ(readDecimal("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(readDecimal("1.5E-1 "), 0.15);
    EXPECT_DOUBLE_EQ(readDecimal("12e"), 12.0);  // no exponent digits: the 'e' is not taken
    EXPECT_DOUBLE_EQ(readDecimal("12e+x"), 12.0);
    EXPECT_DOUBLE_EQ(readDecimal(".5"), 0.5);
    EXPECT_DOUBLE_EQ(readDecimal("7."), 7.0);
    EXPECT_DOUBLE_EQ(readDecimal("00012"), 12.0);
}

TEST(NumberReading, NoNumberAndNonDecimalFormsGiveZero) {
    for (const char* text : {"", "   ", "nan", "NAN", "inf", "-infinity", "0x1A", "x12", ".", "-",
                             "+.", "1e999", "-1e39"}) {
        const double v = readDecimal(text);
        EXPECT_TRUE(std::isfinite(v)) << text;
        EXPECT_EQ(v, 0.0) << text;
    }
    // The "0" before the x is a number of its own.
    EXPECT_EQ(readDecimal("0x1A"), 0.0);
}

TEST(NumberReading, IgnoresTheLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        std::setlocale(LC_NUMERIC, "C.UTF-8");
    }
    EXPECT_DOUBLE_EQ(readDecimal("48123.4"), 48123.4);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberReading, Integers) {
    EXPECT_EQ(readInteger("   12"), 12);
    EXPECT_EQ(readInteger("00012"), 12);
    EXPECT_EQ(readInteger("-7x"), -7);
    EXPECT_EQ(readInteger("+3"), 3);
    EXPECT_EQ(readInteger("12.9"), 12);
    EXPECT_EQ(readInteger("   "), 0);
    EXPECT_EQ(readInteger("abc"), 0);
    EXPECT_EQ(readInteger("2147483647"), 2147483647);
    EXPECT_EQ(readInteger("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(readInteger("2147483648"), 0);
    EXPECT_EQ(readInteger("99999999999999999999"), 0);
}

}  // namespace velkor

namespace velkor {

TEST(NumberReading, TimeOfDayFromTheThreeGroups) {
    EXPECT_EQ(readTimeOfDay("10:05:30"), 36330);
    EXPECT_EQ(readTimeOfDay(" 9:5"), 9 * 3600 + 5 * 60);  // a short text ends early
    EXPECT_EQ(readTimeOfDay("xx:01:02"), 62);
    EXPECT_EQ(readTimeOfDay(""), 0);
}

}  // namespace velkor
