// CSV base files: the separator is the header's, a comma or a semicolon (then a decimal
// comma is read too); dates YYYY-MM-DD or DD.MM.YYYY, times of day or ISO 8601 date-times.
#include "survey/BaseCsvFile.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
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

class Reader : public CsvRowReader {
  public:
    using CsvRowReader::CsvRowReader;

    std::vector<TemporalCorrection::Sample> read(std::string_view text,
                                                 const std::string& columns) {
        readRows(
            text, [&](std::string_view row) { head(row, columns); },
            [&](std::string_view row) { sample(row); });
        if (samples_.empty()) {
            refuseFile("no rows of values");
        }
        return std::move(samples_);
    }

  private:
    void head(std::string_view row, const std::string& columns) {
        const std::vector<std::string> names = header(row);
        if (names.size() < 2) {
            refuse("a header of columns separated by commas or semicolons was expected");
        }
        if (!columns.empty()) {
            const std::vector<std::size_t> at =
                namedColumns(names, columns, {2, 3}, "DATE,TIME,VALUE or DATETIME,VALUE");
            choice_ =
                at.size() == 3 ? Choice{at[0], at[1], at[2]} : Choice{at[0], std::nullopt, at[1]};
        } else if (const std::optional<Choice> c = automatic(names)) {
            choice_ = *c;
        } else {
            refuseHeader(row, "value column (value, F, field, nT)");
        }
    }

    void sample(std::string_view row) {
        const std::vector<std::string> f = fields(row);
        const Moment m = moment(f, choice_.date, choice_.time);
        const std::string value =
            decimal(choice_.value < f.size() ? f[choice_.value] : std::string());
        const std::optional<double> number = readWholeNumber(value, WholeNumber::BaseFile);
        if (number && std::abs(*number) >= SourceText::kMaxValue) {
            refuse("\"" + QuotedText::of(value) + "\" is out of range");
        }
        samples_.push_back({m.date.text(), m.seconds, number.value_or(std::nan(""))});
    }

    Choice choice_;
    std::vector<TemporalCorrection::Sample> samples_;
};

}  // namespace

std::optional<std::vector<TemporalCorrection::Sample>> BaseCsvFile::read(const std::string& path,
                                                                         const std::string& columns,
                                                                         std::string& message) {
    return SourceText::parsed(path, message, [&](std::string_view text, const std::string& name) {
        return parse(text, name, columns, message);
    });
}

std::optional<std::vector<TemporalCorrection::Sample>> BaseCsvFile::parse(
    std::string_view text, const std::string& name, const std::string& columns,
    std::string& message) {
    return CsvRowReader::refusable(
        [&] { return Reader(name).read(CsvTable::withoutMark(text), columns); }, message);
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
