// The ranges the info command prints.
#include "cli/ReadingRanges.h"

#include <optional>
#include <string_view>
#include <tuple>

#include "data/DataSet.h"
#include "text/CalendarDate.h"
#include "text/NumberText.h"
#include "text/TextFormat.h"
#include "text/TimeOfDay.h"

namespace velkor {
namespace {

using Moment = std::tuple<int, int, int, int>;  // year, month, day, second of the day

std::optional<Moment> momentOf(const DataSet& data, int i) {
    const auto date = CalendarDate::read(data.field(i, Column::Date));
    if (!date) {
        return std::nullopt;
    }
    return Moment{date->year, date->month, date->day,
                  TimeOfDay::ofColumn(data.field(i, Column::Time))};
}

std::string taken(const DataSet& data, int i) {
    return std::string(data.field(i, Column::Date)) + " " +
           std::string(data.field(i, Column::Time));
}

}  // namespace

void ReadingRanges::Span::add(double value) {
    lo = count == 0 || value < lo ? value : lo;
    hi = count == 0 || value > hi ? value : hi;
    ++count;
}

ReadingRanges ReadingRanges::of(const DataSet& data) {
    ReadingRanges r;
    Moment first{};
    Moment last{};
    for (int i = 1; i < data.lineCount(); ++i) {
        if (const std::optional<Moment> m = momentOf(data, i)) {
            // The earliest of equal moments is the first in the file, the latest the last.
            if (r.dated_ == 0 || *m < first) {
                first = *m;
                r.firstTaken_ = taken(data, i);
            }
            if (r.dated_ == 0 || !(*m < last)) {
                last = *m;
                r.lastTaken_ = taken(data, i);
            }
            ++r.dated_;
        } else {
            ++r.undated_;
        }
        if (data.mode(i) == 'A') {
            continue;
        }
        const std::pair<Column, Span*> spans[] = {
            {Column::Line, &r.line_}, {Column::Pos, &r.position_}, {Column::Field, &r.field_}};
        for (const auto& [column, span] : spans) {
            if (const std::optional<double> v = readDecimalNumber(data.field(i, column))) {
                span->add(*v);
            } else {
                ++span->without;
            }
        }
    }
    return r;
}

std::string ReadingRanges::describe(const Span& span, const char* format, const char* unit,
                                    const char* missing) {
    std::string text =
        span.count == 0 ? std::string("none")
                        : formatText(format, span.lo) + " to " + formatText(format, span.hi) + unit;
    if (span.without > 0) {
        text += " (" + std::to_string(span.without) + " " + missing + ")";
    }
    return text;
}

std::vector<std::string> ReadingRanges::lines() const {
    std::string dates = dated_ == 0 ? std::string("none") : firstTaken_ + " to " + lastTaken_;
    if (undated_ > 0) {
        dates += " (" + std::to_string(undated_) + " without a date)";
    }
    return {"dates: " + dates, "line numbers: " + describe(line_, "%.10g", "", "without a number"),
            "positions: " + describe(position_, "%.10g", "", "without a number"),
            "field: " + describe(field_, "%.1f", " nT", "without a number")};
}

}  // namespace velkor
