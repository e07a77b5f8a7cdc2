// Calendar days and their texts.
#include "text/CalendarDate.h"

#include <cstdio>

#include "text/TextFormat.h"
#include "text/Trim.h"

namespace velkor {
namespace {

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

std::optional<CalendarDate> calendarDay(std::optional<int> y, std::optional<int> m,
                                        std::optional<int> d) {
    if (!y || !m || !d || *y < 1 || *m < 1 || *m > 12 || *d < 1 ||
        *d > CalendarDate::daysInMonth(*y, *m)) {
        return std::nullopt;
    }
    return CalendarDate{*y, *m, *d};
}

}  // namespace

std::optional<CalendarDate> CalendarDate::read(std::string_view text) {
    text = Trim::spaces(text);
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

bool CalendarDate::hasColumnShape(std::string_view text) {
    if (text.size() != 10 || text[2] != '.' || text[5] != '.') {
        return false;
    }
    for (std::size_t k : {0, 1, 3, 4, 6, 7, 8, 9}) {
        if (text[k] < '0' || text[k] > '9') {
            return false;
        }
    }
    return true;
}

long CalendarDate::orderKey(const std::string& text) {
    int d = 0;
    int m = 0;
    int y = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%2d.%2d.%4d%c", &d, &m, &y, &tail) != 3) {
        return -1;
    }
    return y * 10000L + m * 100L + d;
}

bool CalendarDate::leapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int CalendarDate::daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

long CalendarDate::dayNumber() const {
    const long y = month <= 2 ? year - 1 : year;
    const long m = month <= 2 ? month + 9 : month - 3;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * m + 2) / 5 + day - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy;
}

CalendarDate CalendarDate::ofDayNumber(long days) {
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long doe = days - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
    return {y, m, d};
}

std::string CalendarDate::text() const {
    return formatText("%02d.%02d.%04d", day, month, year);
}

}  // namespace velkor
