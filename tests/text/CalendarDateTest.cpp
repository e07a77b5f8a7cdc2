#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "text/CalendarDate.h"

namespace velkor {

TEST(CalendarDate, ReadsBothFormsOfACalendarDay) {
    for (const char* text : {"2026-07-06", "06.07.2026", "  06.07.2026 "}) {
        const std::optional<CalendarDate> d = CalendarDate::read(text);
        ASSERT_TRUE(d.has_value()) << text;
        EXPECT_EQ(d->year, 2026);
        EXPECT_EQ(d->month, 7);
        EXPECT_EQ(d->day, 6);
    }
    EXPECT_TRUE(CalendarDate::read("29.02.2024").has_value());
    for (const char* text : {"29.02.2026", "31.04.2026", "2026-13-01", "00.07.2026", "2026-7-6",
                             "6.7.2026", "\t06.07.2026", "06-07-2026", "06.07.26", ""}) {
        EXPECT_FALSE(CalendarDate::read(text).has_value()) << text;
    }
}

// Three readings of a date text, each where it has always been used: the calendar's, the
// Date column's shape that makes a line a reading, and the title block's order.
TEST(CalendarDate, ShapeAndOrderAreLooserThanTheCalendar) {
    EXPECT_TRUE(CalendarDate::hasColumnShape("31.02.2026"));
    EXPECT_FALSE(CalendarDate::read("31.02.2026").has_value());
    for (const char* text : {" 06.07.2026", "2026-07-06", "6.7.2026", "06.07.202x"}) {
        EXPECT_FALSE(CalendarDate::hasColumnShape(text)) << text;
    }
    EXPECT_EQ(CalendarDate::orderKey("06.07.2026"), 20260706L);
    EXPECT_EQ(CalendarDate::orderKey("6.7.2026"), 20260706L);
    EXPECT_EQ(CalendarDate::orderKey("31.02.2026"), 20260231L);
    EXPECT_EQ(CalendarDate::orderKey("2026-07-06"), -1L);
    EXPECT_EQ(CalendarDate::orderKey("06.07.2026x"), -1L);
}

TEST(CalendarDate, DayNumbersCountEveryDayOnce) {
    CalendarDate d{1999, 12, 25};
    long n = d.dayNumber();
    // Across the leap days of 2000 (a leap year) and 2100 (none).
    for (int k = 0; k < 40000; ++k) {
        const CalendarDate next = CalendarDate::ofDayNumber(n + 1);
        ASSERT_EQ(next.dayNumber(), n + 1);
        const bool sameMonth =
            next.year == d.year && next.month == d.month && next.day == d.day + 1;
        const bool nextMonth = next.day == 1 &&
                               d.day == CalendarDate::daysInMonth(d.year, d.month) &&
                               (next.month == d.month + 1 ||
                                (next.month == 1 && d.month == 12 && next.year == d.year + 1));
        ASSERT_TRUE(sameMonth || nextMonth) << d.text() << " then " << next.text();
        d = next;
        ++n;
    }
    EXPECT_EQ(d.text(), "01.07.2109");
}

}  // namespace velkor
