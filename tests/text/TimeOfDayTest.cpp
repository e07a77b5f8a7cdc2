#include <gtest/gtest.h>

#include <optional>

#include "text/TimeOfDay.h"

namespace velkor {

TEST(TimeOfDay, ColumnFromTheThreeGroups) {
    EXPECT_EQ(TimeOfDay::ofColumn("10:05:30"), 36330);
    EXPECT_EQ(TimeOfDay::ofColumn(" 9:5"), 9 * 3600 + 5 * 60);  // a short text ends early
    EXPECT_EQ(TimeOfDay::ofColumn("xx:01:02"), 62);
    EXPECT_EQ(TimeOfDay::ofColumn(""), 0);
}

// The day's files are read leniently and base files strictly: the same text can be a time
// for one and refused by the other.
TEST(TimeOfDay, ColumnsAreNeverRefusedBaseFileTimesAre) {
    EXPECT_EQ(TimeOfDay::read("10:05:30"), 36330);
    EXPECT_EQ(TimeOfDay::read("10:05"), 36300);
    EXPECT_EQ(TimeOfDay::read("10:05:30.75"), 36330);  // the fraction dropped
    EXPECT_EQ(TimeOfDay::read("23:59:60"), 86400);     // the leap second ends its day
    EXPECT_EQ(TimeOfDay::ofColumn("24:00:00"), 86400);
    EXPECT_EQ(TimeOfDay::ofColumn("9:05:30"), 9 * 3600 + 5 * 60);
    EXPECT_EQ(TimeOfDay::ofColumn("10:05:3x"), 36303);
    for (const char* text : {"24:00:00", "9:05:30", "10:05:3x", "10:60:00", "23:58:60",
                             "10:05:", "10:05:30.", "10:05:30.5Z", "10-05-30", " 10:05:30", ""}) {
        EXPECT_EQ(TimeOfDay::read(text), std::nullopt) << text;
    }
}

TEST(TimeOfDay, WrittenAsClockFaces) {
    EXPECT_EQ(TimeOfDay::hourMinute(36330), "10:05");
    EXPECT_EQ(TimeOfDay::clock(36330), "10:05:30");
    EXPECT_EQ(TimeOfDay::clock(7), "00:00:07");
}

}  // namespace velkor
