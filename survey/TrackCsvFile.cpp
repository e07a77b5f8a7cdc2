// CSV tracks, read as the base CSV files are (CsvTable).
#include "survey/TrackCsvFile.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "survey/CsvTable.h"
#include "survey/SourceText.h"
#include "text/CalendarDate.h"
#include "text/NumberText.h"
#include "text/QuotedText.h"
#include "text/TimeOfDay.h"
#include "text/Trim.h"

namespace velkor {
namespace {

struct Refusal {
    std::string message;
};

struct Choice {
    std::size_t date = 0;  // the date-time column when time is none
    std::optional<std::size_t> time;
    std::size_t first = 0;   // latitude or easting
    std::size_t second = 0;  // longitude or northing
    bool degrees = true;
};

constexpr std::initializer_list<const char*> kLatitude = {"lat", "latitude"};
constexpr std::initializer_list<const char*> kLongitude = {"lon", "long", "longitude", "lng"};

std::optional<Choice> automatic(const std::vector<std::string>& header) {
    const auto date = CsvTable::named(header, {"date"});
    const auto time = CsvTable::named(header, {"time"});
    const auto dateTime = CsvTable::named(
        header, {"datetime", "date_time", "date-time", "date time", "timestamp", "utc"});
    const auto lat = CsvTable::named(header, kLatitude);
    const auto lon = CsvTable::named(header, kLongitude);
    const auto east = CsvTable::named(header, {"easting", "east", "e", "x"});
    const auto north = CsvTable::named(header, {"northing", "north", "n", "y"});
    Choice c;
    if (lat && lon) {
        c.first = *lat;
        c.second = *lon;
    } else if (east && north) {
        c.first = *east;
        c.second = *north;
        c.degrees = false;
    } else {
        return std::nullopt;
    }
    if (date && time) {
        c.date = *date;
        c.time = time;
    } else if (dateTime || date || time) {
        c.date = dateTime ? *dateTime : date ? *date : *time;
    } else {
        return std::nullopt;
    }
    return c;
}

class Reader {
  public:
    explicit Reader(std::string name) : name_(std::move(name)) {}

    TrackCsvFile::Result read(std::string_view text, const std::string& columns) {
        const std::vector<std::string_view> lines = SourceText::lines(text);
        bool headed = false;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            line_ = k + 1;
            const std::string_view row = Trim::spacesAndTabs(lines[k]);
            if (row.empty() || row.front() == '#') {
                continue;
            }
            if (!headed) {
                head(row, columns);
                headed = true;
            } else {
                fix(row);
            }
        }
        if (!headed) {
            throw Refusal{name_ + ": no header"};
        }
        return std::move(result_);
    }

  private:
    [[noreturn]] void refuse(const std::string& what) const {
        throw Refusal{name_ + " line " + std::to_string(line_) + ": " + what};
    }

    void head(std::string_view row, const std::string& columns) {
        separator_ = CsvTable::separator(row);
        const std::vector<std::string> header = CsvTable::fields(row, separator_);
        if (columns.empty()) {
            const std::optional<Choice> c = automatic(header);
            if (!c) {
                refuse(
                    "no date, time or date-time column and latitude and longitude (or "
                    "easting and northing) columns among \"" +
                    QuotedText::of(row) + "\": name the columns to take");
            }
            choice_ = *c;
        } else {
            choice_ = chosen(header, columns);
        }
    }

    Choice chosen(const std::vector<std::string>& header, const std::string& columns) const {
        const std::vector<std::string> names = CsvTable::fields(columns, ',');
        if (names.size() != 3 && names.size() != 4) {
            throw Refusal{name_ + ": columns \"" + QuotedText::of(columns) +
                          "\": expected DATE,TIME,A,B or DATETIME,A,B"};
        }
        std::vector<std::size_t> at;
        for (const std::string& n : names) {
            const std::optional<std::size_t> k = CsvTable::column(header, n);
            if (!k) {
                refuse("no column named \"" + QuotedText::of(n) + "\" in the header");
            }
            at.push_back(*k);
        }
        const std::size_t a = at.size() - 2;
        Choice c{at[0], std::nullopt, at[a], at[a + 1], true};
        if (at.size() == 4) {
            c.time = at[1];
        }
        c.degrees = CsvTable::named({names[a]}, kLatitude).has_value() ||
                    CsvTable::named({names[a + 1]}, kLongitude).has_value();
        return c;
    }

    double number(const std::vector<std::string>& f, std::size_t k) const {
        std::string text = k < f.size() ? f[k] : std::string();
        if (separator_ == ';') {
            std::replace(text.begin(), text.end(), ',', '.');
        }
        const std::optional<double> v = readWholeNumber(text, WholeNumber::BaseFile);
        if (!v) {
            refuse("\"" + QuotedText::of(text) + "\" is no number");
        }
        return *v;
    }

    double seconds(const std::vector<std::string>& f) const {
        if (f.size() <= std::max(choice_.date, choice_.time.value_or(0))) {
            refuse("too few fields");
        }
        std::string dateText = f[choice_.date];
        std::string timeText;
        if (choice_.time) {
            timeText = f[*choice_.time];
        } else if (const std::string problem = CsvTable::splitDateTime(dateText, timeText);
                   !problem.empty()) {
            refuse(problem);
        }
        const std::optional<CalendarDate> date = CalendarDate::read(dateText);
        if (!date) {
            refuse("\"" + QuotedText::of(dateText) + "\" is no date (YYYY-MM-DD or DD.MM.YYYY)");
        }
        const std::optional<int> tod = TimeOfDay::read(timeText);
        if (!tod) {
            refuse("\"" + QuotedText::of(timeText) + "\" is no time of day (hh:mm:ss)");
        }
        return static_cast<double>(date->dayNumber()) * 86400.0 + *tod;
    }

    void fix(std::string_view row) {
        const std::vector<std::string> f = CsvTable::fields(row, separator_);
        const double t = seconds(f);
        const double a = number(f, choice_.first);
        const double b = number(f, choice_.second);
        if (!choice_.degrees) {
            result_.planned.push_back({t, a, b});
        } else if (std::abs(a) <= 90.0 && std::abs(b) <= 180.0) {
            result_.fixes.push_back({t, a, b, std::nan("")});
        } else {
            refuse("a latitude and longitude off the globe");
        }
    }

    std::string name_;
    std::size_t line_ = 0;
    char separator_ = ',';
    Choice choice_;
    TrackCsvFile::Result result_;
};

}  // namespace

std::optional<TrackCsvFile::Result> TrackCsvFile::read(const std::string& path,
                                                       const std::string& columns,
                                                       std::string& message) {
    const std::optional<std::string> text = SourceText::read(path, message);
    if (!text) {
        return std::nullopt;
    }
    return parse(*text, SourceText::name(path), columns, message);
}

std::optional<TrackCsvFile::Result> TrackCsvFile::parse(std::string_view text,
                                                        const std::string& name,
                                                        const std::string& columns,
                                                        std::string& message) {
    try {
        return Reader(name).read(CsvTable::withoutMark(text), columns);
    } catch (const Refusal& r) {
        message = r.message;
        return std::nullopt;
    }
}

bool TrackCsvFile::looksLike(std::string_view text) {
    const std::optional<std::string_view> row = CsvTable::firstRow(text);
    return row && automatic(CsvTable::fields(*row, CsvTable::separator(*row))).has_value();
}

}  // namespace velkor
