// Dates as the field model takes them: a year with its fraction, 2026.5 for mid-2026.
#pragma once

#include <optional>
#include <string_view>

#include "text/CalendarDate.h"

namespace velkor {

class DecimalYear {
  public:
    using Date = CalendarDate;

    // A date as CalendarDate reads it, or a decimal year such as 2026.5.
    static std::optional<double> read(std::string_view text);
    // The start of the day: 1 January is the year itself.
    static double of(const Date& date);
};

}  // namespace velkor
