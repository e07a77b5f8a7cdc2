#include <gtest/gtest.h>

#include <cmath>

#include "text/ShortNumber.h"

namespace velkor {

TEST(ShortNumber, SixDecimalsWithoutTrailingZeros) {
    using Zero = ShortNumber::Zero;
    EXPECT_EQ(ShortNumber::sixDecimals(12.0, Zero::AsPrinted), "12");
    EXPECT_EQ(ShortNumber::sixDecimals(100.0, Zero::AsPrinted), "100");
    EXPECT_EQ(ShortNumber::sixDecimals(3.5, Zero::AsPrinted), "3.5");
    EXPECT_EQ(ShortNumber::sixDecimals(-0.25, Zero::Unsigned), "-0.25");
    EXPECT_EQ(ShortNumber::sixDecimals(55.7512345678, Zero::Unsigned), "55.751235");
    // Nought from below: printed with its sign, or without.
    for (const double v : {-0.0, -0.0000004}) {
        EXPECT_EQ(ShortNumber::sixDecimals(v, Zero::AsPrinted), "-0") << v;
        EXPECT_EQ(ShortNumber::sixDecimals(v, Zero::Unsigned), "0") << v;
    }
    EXPECT_EQ(ShortNumber::sixDigits(48123.4), "48123.4");
    EXPECT_EQ(ShortNumber::sixDigits(0.25), "0.25");
    EXPECT_EQ(ShortNumber::sixDigits(1234567.0), "1.23457e+06");
}

TEST(ShortNumber, NoughtLosesItsSign) {
    EXPECT_FALSE(std::signbit(ShortNumber::unsignedZero(-0.0)));
    EXPECT_EQ(ShortNumber::unsignedZero(-2.5), -2.5);
    EXPECT_TRUE(std::isnan(ShortNumber::unsignedZero(std::nan(""))));
    EXPECT_FALSE(std::signbit(ShortNumber::roundedTo(-0.0004, 1e-3)));
    EXPECT_DOUBLE_EQ(ShortNumber::roundedTo(359.99999999, 1e-4), 360.0);
    EXPECT_DOUBLE_EQ(ShortNumber::roundedTo(1.2346, 1e-3), 1.235);
    EXPECT_FALSE(std::signbit(ShortNumber::nearZeroAsZero(-1e-12, 1e-9)));
    EXPECT_EQ(ShortNumber::nearZeroAsZero(-1e-9, 1e-9), -1e-9);
}

}  // namespace velkor
