#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string>

#include "text/NumberText.h"

namespace velkor {

TEST(NumberText, DecimalStopsAtFirstForeignCharacter) {
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

TEST(NumberText, NoNumberAndNonDecimalFormsGiveZero) {
    for (const char* text : {"", "   ", "nan", "NAN", "inf", "-infinity", "0x1A", "x12", ".", "-",
                             "+.", "1e999", "-1e39"}) {
        const double v = readDecimal(text);
        EXPECT_TRUE(std::isfinite(v)) << text;
        EXPECT_EQ(v, 0.0) << text;
    }
    // The "0" before the x is a number of its own.
    EXPECT_EQ(readDecimal("0x1A"), 0.0);
}

TEST(NumberText, TellsATextWithoutANumberFromAZero) {
    for (const char* text : {"", "       ", "nan", "    nan", "inf", "-infinity", "x12", ".", "-",
                             "+.", "e5", "1e999", "-1e39", "1e39", "99999999999999999999e30"}) {
        EXPECT_FALSE(readDecimalNumber(text).has_value()) << text;
    }
    for (const char* text : {"0", "   0.0", "-0", "0x1A", ".0", "1e-400", "0.000001e-400",
                             "48123.4", "12e", "3.4e38"}) {
        const std::optional<double> v = readDecimalNumber(text);
        ASSERT_TRUE(v.has_value()) << text;
        EXPECT_EQ(*v, readDecimal(text)) << text;
    }
    // Hundreds of digits without an exponent: beyond a double, so no number.
    EXPECT_FALSE(readDecimalNumber(std::string(400, '9')).has_value());
    EXPECT_TRUE(readDecimalNumber("0." + std::string(400, '0') + "1").has_value());
}

TEST(NumberText, IgnoresTheLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        std::setlocale(LC_NUMERIC, "C.UTF-8");
    }
    EXPECT_DOUBLE_EQ(readDecimal("48123.4"), 48123.4);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

// The full conversion of a plain number text: what every text read before the short
// path existed, and still the reference it must match bit for bit.
double fullConversion(const std::string& unsignedText, bool negative) {
    double value = 0.0;
    std::from_chars(unsignedText.data(), unsignedText.data() + unsignedText.size(), value);
    return negative ? -value : value;
}

void expectSameBits(const std::string& unsignedText, bool negative) {
    const double want = fullConversion(unsignedText, negative);
    const double got = readDecimal(std::string(negative ? " -" : " +") + unsignedText + " ");
    EXPECT_EQ(std::memcmp(&want, &got, sizeof want), 0)
        << unsignedText << " gives " << got << ", not " << want;
}

TEST(NumberText, ShortDecimalsGiveTheFullConversionsBits) {
    // Zeros of both signs, halfway and near-halfway values, the edge of exact integers
    // in a double, long fractions and many digits.
    for (const char* t : {"0",
                          "0.0",
                          ".0",
                          "0.",
                          "0.1",
                          "0.3",
                          "2.5",
                          "1.05",
                          "48123.4",
                          "99999.9",
                          "0.000000000000000001",
                          "9007199254740992",
                          "9007199254740993",
                          "9007199254740994",
                          "900719925474099.3",
                          "9007199254740993.0",
                          "1844674407370955161",
                          "18446744073709551616",
                          "123456789012345678.9",
                          "0.30000000000000004",
                          "340282346638528859811",
                          "1.7976931348623157",
                          "4.9406564584124654",
                          "0000000000000000001.5"}) {
        expectSameBits(t, false);
        expectSameBits(t, true);
    }
    std::mt19937_64 rnd(11);
    for (int n = 0; n < 200000; ++n) {
        std::string t;
        const int whole = static_cast<int>(rnd() % 21);
        const int fraction = static_cast<int>(rnd() % 21);
        for (int k = 0; k < whole; ++k) {
            t += static_cast<char>('0' + rnd() % 10);
        }
        if (fraction > 0 || rnd() % 2 == 0) {
            t += '.';
        }
        for (int k = 0; k < fraction; ++k) {
            t += static_cast<char>('0' + rnd() % 10);
        }
        if (t.find_first_of("0123456789") == std::string::npos) {
            continue;
        }
        expectSameBits(t, rnd() % 2 == 0);
    }
    // Field texts as the column holds them, five digits, a point and one, on their own
    // or after blanks (as a variations file's column has them), or with more after them.
    for (int n = 0; n < 100000; ++n) {
        char t[24];
        const char* lead[] = {"", " ", "  ", "\t"};
        std::snprintf(t, sizeof t, "%s%05u.%u%s", lead[n % 4],
                      static_cast<unsigned>(rnd() % 100000), static_cast<unsigned>(rnd() % 10),
                      n % 7 == 0 ? "5" : "");
        const double want = fullConversion(t + std::strlen(lead[n % 4]), false);
        const double got = readDecimal(t);
        ASSERT_EQ(std::memcmp(&want, &got, sizeof want), 0) << t;
    }
}

TEST(NumberText, Integers) {
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
    // Two characters, as the groups of a time of day.
    EXPECT_EQ(readInteger("07"), 7);
    EXPECT_EQ(readInteger("59"), 59);
    EXPECT_EQ(readInteger(" 7"), 7);
    EXPECT_EQ(readInteger("7:"), 7);
    EXPECT_EQ(readInteger("-7"), -7);
}

// The survey leaves out a reading whose text holds no digits, not one whose number is
// beyond single precision (read as 0): the two tests differ there only.
TEST(NumberText, DigitsAtTheStartAreLooserThanANumber) {
    for (const char* text : {"12", " -7x", "+.5", "\t3e2", "1e39", "99999999999999999999e30"}) {
        EXPECT_TRUE(startsWithDigits(text)) << text;
    }
    for (const char* text : {"", "   ", ".", "-", "+.", "x12", "nan", "inf", "e5", "- 5"}) {
        EXPECT_FALSE(startsWithDigits(text)) << text;
        EXPECT_FALSE(readDecimalNumber(text).has_value()) << text;
    }
    EXPECT_FALSE(readDecimalNumber("1e39").has_value());
}

// The whole-text forms differ only where each place has always differed; the column rule
// takes the leading number of any text.
TEST(NumberText, WholeNumbersInTheirThreeForms) {
    using Form = WholeNumber;
    for (const Form form : {Form::Typed, Form::TypedWithoutExponent, Form::BaseFile}) {
        EXPECT_EQ(readWholeNumber(" 48000.5 ", form), 48000.5);
        EXPECT_EQ(readWholeNumber("+3", form), 3.0);
        EXPECT_EQ(readWholeNumber("-.5", form), -0.5);
        for (const char* bad :
             {"", "  ", "+", "12abc", "1,5", "nan", "inf", "-inf", "0x10", "++3", "+ 3", "1e999"}) {
            EXPECT_FALSE(readWholeNumber(bad, form).has_value()) << bad;
        }
    }
    EXPECT_EQ(readDecimalNumber("12abc"), 12.0);
    // An exponent: typed values and base files, not degrees, heights and years.
    EXPECT_EQ(readWholeNumber("1e3", Form::Typed), 1000.0);
    EXPECT_EQ(readWholeNumber("1e3", Form::BaseFile), 1000.0);
    EXPECT_FALSE(readWholeNumber("1e3", Form::TypedWithoutExponent).has_value());
    // Tabs and a sign after the plus: base files only.
    EXPECT_EQ(readWholeNumber("\t5\t", Form::BaseFile), 5.0);
    EXPECT_EQ(readWholeNumber("+-5", Form::BaseFile), -5.0);
    for (const Form form : {Form::Typed, Form::TypedWithoutExponent}) {
        EXPECT_FALSE(readWholeNumber("\t5", form).has_value());
        EXPECT_FALSE(readWholeNumber("+-5", form).has_value());
    }
}

}  // namespace velkor
