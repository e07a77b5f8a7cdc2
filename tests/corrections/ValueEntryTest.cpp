#include <gtest/gtest.h>

#include "corrections/ValueEntry.h"

namespace velkor {

TEST(ValueEntry, ChecksNumberAndRange) {
    EXPECT_TRUE(ValueEntry::check("48000", 0, 99000).ok);
    EXPECT_EQ(ValueEntry::check(" 48000.5 ", 0, 99000).value, 48000.5f);
    EXPECT_TRUE(ValueEntry::check("0", 0, 99000).ok);
    EXPECT_TRUE(ValueEntry::check("99000", 0, 99000).ok);
    for (const char* bad : {"", "  ", "abc", "12a", "nan", "inf", "0x10", "+-3", "1,5"}) {
        const ValueEntry::Result r = ValueEntry::check(bad, 0, 99000);
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_EQ(r.message, "Enter a number.") << bad;
    }
    const ValueEntry::Result high = ValueEntry::check("99001", 0, 99000);
    EXPECT_FALSE(high.ok);
    EXPECT_EQ(high.message, "Enter a number between 0 and 99000.");
    EXPECT_EQ(ValueEntry::check("90000.1", 0, 90000).message,
              "Enter a number between 0 and 90000.");
    EXPECT_FALSE(ValueEntry::check("-1", 0, 90000).ok);
}

TEST(ValueEntry, ShowsSixSignificantDigits) {
    EXPECT_EQ(ValueEntry::show(0.0f), "0");
    EXPECT_EQ(ValueEntry::show(48000.0f), "48000");
    EXPECT_EQ(ValueEntry::show(48123.4f), "48123.4");
    EXPECT_EQ(ValueEntry::show(48123.45f), "48123.4");
}

}  // namespace velkor
