// CSV tracks, read as the base CSV files are (CsvTable).
#include "survey/TrackCsvFile.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "survey/CsvRowReader.h"
#include "survey/CsvTable.h"
#include "survey/SourceText.h"
#include "text/NumberText.h"
#include "text/QuotedText.h"

namespace velkor {
namespace {

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

class Reader : public CsvRowReader {
  public:
    using CsvRowReader::CsvRowReader;

    TrackCsvFile::Result read(std::string_view text, const std::string& columns) {
        readRows(
            text, [&](std::string_view row) { head(row, columns); },
            [&](std::string_view row) { fix(row); });
        return std::move(result_);
    }

  private:
    void head(std::string_view row, const std::string& columns) {
        const std::vector<std::string> names = header(row);
        if (!columns.empty()) {
            choice_ = chosen(names, columns);
        } else if (const std::optional<Choice> c = automatic(names)) {
            choice_ = *c;
        } else {
            refuseHeader(row, "latitude and longitude (or easting and northing) columns");
        }
    }

    Choice chosen(const std::vector<std::string>& header, const std::string& columns) const {
        const std::vector<std::size_t> at =
            namedColumns(header, columns, {3, 4}, "DATE,TIME,A,B or DATETIME,A,B");
        const std::vector<std::string> names = CsvTable::fields(columns, ',');
        const std::size_t a = at.size() - 2;
        Choice c{at[0], std::nullopt, at[a], at[a + 1], true};
        if (at.size() == 4) {
            c.time = at[1];
        }
        const auto is = [&](std::size_t k, std::initializer_list<const char*> aliases) {
            return CsvTable::named({names[k]}, aliases).has_value();
        };
        if (is(a, kLongitude) && is(a + 1, kLatitude)) {
            std::swap(c.first, c.second);  // named longitude first, as GIS writes them
        } else {
            c.degrees = is(a, kLatitude) || is(a + 1, kLongitude);
        }
        return c;
    }

    double number(const std::vector<std::string>& f, std::size_t k) const {
        const std::string text = decimal(k < f.size() ? f[k] : std::string());
        const std::optional<double> v = readWholeNumber(text, WholeNumber::BaseFile);
        if (!v) {
            refuse("\"" + QuotedText::of(text) + "\" is no number");
        }
        return *v;
    }

    void fix(std::string_view row) {
        const std::vector<std::string> f = fields(row);
        const Moment m = moment(f, choice_.date, choice_.time);
        const double t = TrackFix::secondsOf(m.date, m.seconds + m.fraction);
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

    Choice choice_;
    TrackCsvFile::Result result_;
};

}  // namespace

std::optional<TrackCsvFile::Result> TrackCsvFile::read(const std::string& path,
                                                       const std::string& columns,
                                                       std::string& message) {
    return SourceText::parsed(path, message, [&](std::string_view text, const std::string& name) {
        return parse(text, name, columns, message);
    });
}

std::optional<TrackCsvFile::Result> TrackCsvFile::parse(std::string_view text,
                                                        const std::string& name,
                                                        const std::string& columns,
                                                        std::string& message) {
    return CsvRowReader::refusable(
        [&] { return Reader(name).read(CsvTable::withoutMark(text), columns); }, message);
}

bool TrackCsvFile::looksLike(std::string_view text) {
    const std::optional<std::string_view> row = CsvTable::firstRow(text);
    return row && automatic(CsvTable::fields(*row, CsvTable::separator(*row))).has_value();
}

}  // namespace velkor
