// Dates as the field model takes them: a year with its fraction, 2026.5 for mid-2026.
#pragma once

#include <optional>
#include <string_view>

namespace velkor {

class DecimalYear {
  public:
    struct Date {
        int year;
        int month;
        int day;
    };

    // "YYYY-MM-DD", or "DD.MM.YYYY" as the Date column of a data line; nothing when
    // the text is not a day of the calendar.
    static std::optional<Date> readDate(std::string_view text);
    // A date as above or a decimal year such as 2026.5.
    static std::optional<double> read(std::string_view text);
    // The start of the day: 1 January is the year itself.
    static double of(const Date& date);
};

}  // namespace velkor
