// Reading dates and decimal years.
#include "corrections/DecimalYear.h"

#include "corrections/PlaceEntry.h"

namespace velkor {
namespace {

bool leapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A field of exactly `digits` decimal digits.
std::optional<int> digitsField(std::string_view text, std::size_t digits) {
    int value = 0;
    if (text.size() != digits) {
        return std::nullopt;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<DecimalYear::Date> calendarDay(std::optional<int> y, std::optional<int> m,
                                             std::optional<int> d) {
    if (!y || !m || !d || *y < 1 || *m < 1 || *m > 12 || *d < 1 || *d > daysInMonth(*y, *m)) {
        return std::nullopt;
    }
    return DecimalYear::Date{*y, *m, *d};
}

}  // namespace

std::optional<DecimalYear::Date> DecimalYear::readDate(std::string_view text) {
    text = trimmed(text);
    if (text.size() != 10) {
        return std::nullopt;
    }
    if (text[4] == '-' && text[7] == '-') {
        return calendarDay(digitsField(text.substr(0, 4), 4), digitsField(text.substr(5, 2), 2),
                           digitsField(text.substr(8, 2), 2));
    }
    if (text[2] == '.' && text[5] == '.') {
        return calendarDay(digitsField(text.substr(6, 4), 4), digitsField(text.substr(3, 2), 2),
                           digitsField(text.substr(0, 2), 2));
    }
    return std::nullopt;
}

std::optional<double> DecimalYear::read(std::string_view text) {
    if (const auto date = readDate(text)) {
        return of(*date);
    }
    return PlaceEntry::readNumber(text);
}

double DecimalYear::of(const Date& date) {
    int dayOfYear = date.day - 1;
    for (int m = 1; m < date.month; ++m) {
        dayOfYear += daysInMonth(date.year, m);
    }
    return date.year + dayOfYear / (leapYear(date.year) ? 366.0 : 365.0);
}

}  // namespace velkor
