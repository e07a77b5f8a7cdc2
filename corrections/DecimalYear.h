// Dates as the field model takes them: a year with its fraction, 2026.5 for mid-2026.
#pragma once

#include <optional>
#include <string_view>

#include "text/CalendarDate.h"

namespace velkor {

class DecimalYear {
  public:
    using Date = CalendarDate;

    // A date as CalendarDate::read reads it; cli/ still reads dates by this name.
    static std::optional<Date> readDate(std::string_view text) { return CalendarDate::read(text); }
    // A date as above or a decimal year such as 2026.5.
    static std::optional<double> read(std::string_view text);
    // The start of the day: 1 January is the year itself.
    static double of(const Date& date);
};

}  // namespace velkor
