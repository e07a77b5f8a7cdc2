// Decimal years.
#include "corrections/DecimalYear.h"

#include "text/NumberText.h"

namespace velkor {

std::optional<double> DecimalYear::read(std::string_view text) {
    if (const auto date = CalendarDate::read(text)) {
        return of(*date);
    }
    return readWholeNumber(text, WholeNumber::TypedWithoutExponent);
}

double DecimalYear::of(const Date& date) {
    int dayOfYear = date.day - 1;
    for (int m = 1; m < date.month; ++m) {
        dayOfYear += CalendarDate::daysInMonth(date.year, m);
    }
    return date.year + dayOfYear / (CalendarDate::leapYear(date.year) ? 366.0 : 365.0);
}

}  // namespace velkor
