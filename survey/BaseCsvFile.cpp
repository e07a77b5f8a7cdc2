// CSV base files: the separator is the header's, a comma or a semicolon (then a decimal
// comma is read too); dates YYYY-MM-DD or DD.MM.YYYY, times of day or ISO 8601 date-times.
#include "survey/BaseCsvFile.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
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
    std::size_t value = 0;
};

std::optional<Choice> automatic(const std::vector<std::string>& header) {
    const auto date = CsvTable::named(header, {"date"});
    const auto time = CsvTable::named(header, {"time"});
    const auto dateTime =
        CsvTable::named(header, {"datetime", "date_time", "date-time", "date time", "timestamp"});
    const auto value = CsvTable::named(header, {"value", "f", "field", "nt"});
    if (!value) {
        return std::nullopt;
    }
    if (date && time) {
        return Choice{*date, time, *value};
    }
    // One column of dates and times, whatever it is called among these.
    if (dateTime || date || time) {
        return Choice{dateTime ? *dateTime : date ? *date : *time, std::nullopt, *value};
    }
    return std::nullopt;
}

class Reader {
  public:
    explicit Reader(std::string name) : name_(std::move(name)) {}

    std::vector<TemporalCorrection::Sample> read(std::string_view text,
                                                 const std::string& columns) {
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
                sample(row);
            }
        }
        if (!headed) {
            throw Refusal{name_ + ": no header"};
        }
        if (samples_.empty()) {
            throw Refusal{name_ + ": no rows of values"};
        }
        return std::move(samples_);
    }

  private:
    [[noreturn]] void refuse(const std::string& what) const {
        throw Refusal{name_ + " line " + std::to_string(line_) + ": " + what};
    }

    void head(std::string_view row, const std::string& columns) {
        separator_ = CsvTable::separator(row);
        const std::vector<std::string> header = CsvTable::fields(row, separator_);
        if (header.size() < 2) {
            refuse("a header of columns separated by commas or semicolons was expected");
        }
        if (columns.empty()) {
            const std::optional<Choice> c = automatic(header);
            if (!c) {
                refuse(
                    "no date, time or date-time column and value column (value, F, field, "
                    "nT) among \"" +
                    QuotedText::of(row) + "\": name the columns to take");
            }
            choice_ = *c;
        } else {
            choice_ = chosen(header, columns);
        }
    }

    Choice chosen(const std::vector<std::string>& header, const std::string& columns) const {
        const std::vector<std::string> names = CsvTable::fields(columns, ',');
        if (names.size() != 2 && names.size() != 3) {
            throw Refusal{name_ + ": columns \"" + QuotedText::of(columns) +
                          "\": expected DATE,TIME,VALUE or DATETIME,VALUE"};
        }
        std::vector<std::size_t> at;
        for (const std::string& n : names) {
            const std::optional<std::size_t> k = CsvTable::column(header, n);
            if (!k) {
                refuse("no column named \"" + QuotedText::of(n) + "\" in the header");
            }
            at.push_back(*k);
        }
        if (names.size() == 3) {
            return Choice{at[0], at[1], at[2]};
        }
        return Choice{at[0], std::nullopt, at[1]};
    }

    void sample(std::string_view row) {
        const std::vector<std::string> f = CsvTable::fields(row, separator_);
        const std::size_t needed = std::max(choice_.date, choice_.time.value_or(0)) + 1;
        if (f.size() < needed) {
            refuse("expected at least " + std::to_string(needed) + " fields");
        }
        std::string dateText = f[choice_.date];
        std::string timeText;
        if (choice_.time) {
            timeText = f[*choice_.time];
        } else {
            splitDateTime(dateText, timeText);
        }
        const std::optional<CalendarDate> date = CalendarDate::read(dateText);
        if (!date) {
            refuse("\"" + QuotedText::of(dateText) + "\" is no date (YYYY-MM-DD or DD.MM.YYYY)");
        }
        const std::optional<int> seconds = TimeOfDay::read(timeText);
        if (!seconds) {
            refuse("\"" + QuotedText::of(timeText) + "\" is no time of day (hh:mm:ss)");
        }
        std::string value = choice_.value < f.size() ? f[choice_.value] : std::string();
        if (separator_ == ';') {
            for (char& c : value) {
                c = c == ',' ? '.' : c;
            }
        }
        const std::optional<double> number = readWholeNumber(value, WholeNumber::BaseFile);
        if (number && std::abs(*number) >= SourceText::kMaxValue) {
            refuse("\"" + QuotedText::of(value) + "\" is out of range");
        }
        samples_.push_back({date->text(), *seconds, number.value_or(std::nan(""))});
    }

    void splitDateTime(std::string& date, std::string& time) const {
        if (const std::string problem = CsvTable::splitDateTime(date, time); !problem.empty()) {
            refuse(problem);
        }
    }

    std::string name_;
    std::size_t line_ = 0;
    char separator_ = ',';
    Choice choice_;
    std::vector<TemporalCorrection::Sample> samples_;
};

}  // namespace

std::optional<std::vector<TemporalCorrection::Sample>> BaseCsvFile::read(const std::string& path,
                                                                         const std::string& columns,
                                                                         std::string& message) {
    const std::optional<std::string> text = SourceText::read(path, message);
    if (!text) {
        return std::nullopt;
    }
    return parse(*text, SourceText::name(path), columns, message);
}

std::optional<std::vector<TemporalCorrection::Sample>> BaseCsvFile::parse(
    std::string_view text, const std::string& name, const std::string& columns,
    std::string& message) {
    try {
        return Reader(name).read(CsvTable::withoutMark(text), columns);
    } catch (const Refusal& r) {
        message = r.message;
        return std::nullopt;
    }
}

bool BaseCsvFile::looksLike(std::string_view text) {
    const std::optional<std::string_view> row = CsvTable::firstRow(text);
    if (!row) {
        return false;
    }
    const std::vector<std::string> header = CsvTable::fields(*row, CsvTable::separator(*row));
    return header.size() >= 2 && automatic(header).has_value();
}

}  // namespace velkor
