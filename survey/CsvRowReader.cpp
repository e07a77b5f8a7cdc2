#include "survey/CsvRowReader.h"

#include <algorithm>
#include <utility>

#include "survey/CsvTable.h"
#include "survey/SourceText.h"
#include "text/QuotedText.h"
#include "text/TimeOfDay.h"
#include "text/Trim.h"

namespace velkor {

void CsvRowReader::readRows(std::string_view text,
                            const std::function<void(std::string_view)>& head,
                            const std::function<void(std::string_view)>& row) {
    const std::vector<std::string_view> lines = SourceText::lines(text);
    bool headed = false;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        line_ = k + 1;
        const std::string_view r = Trim::spacesAndTabs(lines[k]);
        if (r.empty() || r.front() == '#') {
            continue;
        }
        if (headed) {
            row(r);
        } else {
            head(r);
            headed = true;
        }
    }
    if (!headed) {
        refuseFile("no header");
    }
}

void CsvRowReader::refuse(const std::string& what) const {
    throw Refusal{name_ + " line " + std::to_string(line_) + ": " + what};
}

void CsvRowReader::refuseFile(const std::string& what) const {
    throw Refusal{name_ + ": " + what};
}

std::vector<std::string> CsvRowReader::header(std::string_view row) {
    separator_ = CsvTable::separator(row);
    return fields(row);
}

std::vector<std::string> CsvRowReader::fields(std::string_view row) const {
    return CsvTable::fields(row, separator_);
}

std::vector<std::size_t> CsvRowReader::namedColumns(const std::vector<std::string>& header,
                                                    const std::string& columns,
                                                    std::initializer_list<std::size_t> counts,
                                                    const std::string& expected) const {
    const std::vector<std::string> names = CsvTable::fields(columns, ',');
    if (std::find(counts.begin(), counts.end(), names.size()) == counts.end()) {
        refuseFile("columns \"" + QuotedText::of(columns) + "\": expected " + expected);
    }
    std::vector<std::size_t> at;
    for (const std::string& n : names) {
        const std::optional<std::size_t> k = CsvTable::column(header, n);
        if (!k) {
            refuse("no column named \"" + QuotedText::of(n) + "\" in the header");
        }
        at.push_back(*k);
    }
    return at;
}

void CsvRowReader::refuseHeader(std::string_view row, const std::string& wanted) const {
    refuse("no date, time or date-time column and " + wanted + " among \"" + QuotedText::of(row) +
           "\": name the columns to take");
}

// The digits after the point of "hh:mm:ss.fff" (a time of day read already), as a fraction.
double CsvRowReader::fractionOf(std::string_view time) {
    double fraction = 0.0;
    double unit = 0.1;
    for (std::size_t k = 9; time.size() > 9 && time[8] == '.' && k < time.size(); ++k) {
        fraction += (time[k] - '0') * unit;
        unit /= 10.0;
    }
    return fraction;
}

CsvRowReader::Moment CsvRowReader::moment(const std::vector<std::string>& f, std::size_t date,
                                          std::optional<std::size_t> time) const {
    const std::size_t needed = std::max(date, time.value_or(0)) + 1;
    if (f.size() < needed) {
        refuse("expected at least " + std::to_string(needed) + " fields");
    }
    std::string dateText = f[date];
    std::string timeText;
    if (time) {
        timeText = f[*time];
    } else if (const std::string problem = CsvTable::splitDateTime(dateText, timeText);
               !problem.empty()) {
        refuse(problem);
    }
    const std::optional<CalendarDate> d = CalendarDate::read(dateText);
    if (!d) {
        refuse("\"" + QuotedText::of(dateText) + "\" is no date (YYYY-MM-DD or DD.MM.YYYY)");
    }
    const std::optional<int> seconds = TimeOfDay::read(timeText);
    if (!seconds) {
        refuse("\"" + QuotedText::of(timeText) + "\" is no time of day (hh:mm:ss)");
    }
    return {*d, *seconds, fractionOf(timeText)};
}

std::string CsvRowReader::decimal(std::string text) const {
    if (separator_ == ';') {
        std::replace(text.begin(), text.end(), ',', '.');
    }
    return text;
}

}  // namespace velkor
