#include <gtest/gtest.h>

#include "text/LineTitle.h"

namespace velkor {

// The profiles name a line with six significant digits, the XYZ export with six decimals:
// the same for the usual numbers, apart for long ones.
TEST(LineTitle, TheTwoFormsAgreeOnUsualNumbersOnly) {
    using Form = LineTitle::Form;
    for (const double n : {0.0, 12.0, 3.5, -2.25, 100.0}) {
        EXPECT_EQ(LineTitle::of(n, Form::SixDigits), LineTitle::of(n, Form::SixDecimals)) << n;
    }
    EXPECT_EQ(LineTitle::of(12.0, Form::SixDigits), "Line 12");
    EXPECT_EQ(LineTitle::of(1234567.0, Form::SixDigits), "Line 1.23457e+06");
    EXPECT_EQ(LineTitle::of(1234567.0, Form::SixDecimals), "Line 1234567");
    EXPECT_EQ(LineTitle::of(0.0000001, Form::SixDigits), "Line 1e-07");
    EXPECT_EQ(LineTitle::of(0.0000001, Form::SixDecimals), "Line 0");
    EXPECT_EQ(LineTitle::of(-0.0, Form::SixDecimals), "Line -0");
}

}  // namespace velkor
