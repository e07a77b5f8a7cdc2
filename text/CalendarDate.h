// A day of the calendar: read from the texts that name one, written as the Date column
// writes it, and counted in days for arithmetic and order.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velkor {

class CalendarDate {
  public:
    int year = 0;
    int month = 0;
    int day = 0;

    // "YYYY-MM-DD", or "DD.MM.YYYY" as the Date column of a data line; spaces around it
    // allowed. Nothing when the text is not a day of the calendar.
    static std::optional<CalendarDate> read(std::string_view text);
    // Whether the text has the Date column's shape, "06.07.2026": two digits, a point, two
    // digits, a point, four digits, nothing around them, whatever day they name. A line
    // with one is a reading of the instrument.
    static bool hasColumnShape(std::string_view text);
    // A date text as the printed title block orders dates: day, month and year as
    // scanf("%2d.%2d.%4d") reads them (blanks and a sign allowed, a short year taken as it
    // stands, the calendar not checked), as yyyymmdd; -1 for any other text.
    static long orderKey(const std::string& text);

    static bool leapYear(int year);
    // month 1 to 12.
    static int daysInMonth(int year, int month);

    // Days since 1 March of year 0, so that leap days fall at the end of a year: one more
    // for each next day, across months and years.
    long dayNumber() const;
    static CalendarDate ofDayNumber(long days);
    // "06.07.2026", as the Date column writes a day.
    std::string text() const;
};

}  // namespace velkor
