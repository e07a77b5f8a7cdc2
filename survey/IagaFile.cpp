// IAGA-2002: 70-character records; header and comment records closed by '|', the
// DATE TIME DOY record naming the four elements, then one data record per sample.
#include "survey/IagaFile.h"

#include <cmath>
#include <utility>

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

class Reader {
  public:
    Reader(std::string name) : name_(std::move(name)) {}

    IagaFile::Content read(std::string_view text) {
        const std::vector<std::string_view> lines = SourceText::lines(text);
        for (std::size_t k = 0; k < lines.size(); ++k) {
            line_ = k + 1;
            take(Trim::spacesAndTabs(lines[k]));
        }
        if (!headed_) {
            throw Refusal{name_ + ": no DATE TIME DOY record: not an IAGA-2002 file"};
        }
        if (content_.samples.empty()) {
            throw Refusal{name_ + ": no data records"};
        }
        return std::move(content_);
    }

  private:
    [[noreturn]] void refuse(const std::string& what) const {
        throw Refusal{name_ + " line " + std::to_string(line_) + ": " + what};
    }

    void take(std::string_view record) {
        if (record.empty()) {
            return;
        }
        if (record.substr(0, 4) == "DATE") {
            columns(record);
        } else if (record.back() == '|') {
            header(record);
        } else if (!headed_) {
            refuse(record.front() >= '0' && record.front() <= '9'
                       ? "a data record before the DATE TIME DOY record"
                       : "neither a header, a comment nor a data record");
        } else {
            data(record);
        }
    }

    void header(std::string_view record) {
        record.remove_suffix(1);
        const std::vector<std::string_view> words = SourceText::words(record);
        if (words.size() == 2 && SourceText::sameName(words[0], "Reported") &&
            words[1].size() == 4) {
            reported_ = std::string(words[1]);
        }
    }

    void columns(std::string_view record) {
        if (headed_) {
            refuse("a second DATE TIME DOY record");
        }
        if (record.back() == '|') {
            record.remove_suffix(1);
        }
        const std::vector<std::string_view> words = SourceText::words(record);
        if (words.size() != 7 || words[1] != "TIME" || words[2] != "DOY") {
            refuse("expected DATE, TIME, DOY and the names of four elements");
        }
        std::string letters;
        for (std::size_t k = 3; k < 7; ++k) {
            letters += upper(words[k].back());
        }
        if (!choose(letters) && !(reported_.size() == 4 && choose(upperAll(reported_)))) {
            refuse("elements " + letters +
                   ": no F, and neither X, Y, Z nor H, Z to compute it from");
        }
        headed_ = true;
    }

    static char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
    static std::string upperAll(std::string s) {
        for (char& c : s) {
            c = upper(c);
        }
        return s;
    }

    // Where F is found: its own column, or the components it is the length of.
    bool choose(const std::string& letters) {
        const auto at = [&](char c) { return letters.find(c); };
        content_.elements = letters;
        if (at('F') != std::string::npos) {
            use_ = {at('F')};
        } else if (at('X') != std::string::npos && at('Y') != std::string::npos &&
                   at('Z') != std::string::npos) {
            use_ = {at('X'), at('Y'), at('Z')};
        } else if (at('H') != std::string::npos && at('Z') != std::string::npos) {
            use_ = {at('H'), at('Z')};
        } else {
            return false;
        }
        return true;
    }

    void data(std::string_view record) {
        const std::vector<std::string_view> words = SourceText::words(record);
        if (words.size() != 7) {
            refuse("expected a date, a time, the day of the year and four values");
        }
        const std::optional<CalendarDate> date = CalendarDate::read(words[0]);
        if (!date || words[0][4] != '-') {
            refuse("\"" + QuotedText::of(words[0]) + "\" is no date (YYYY-MM-DD)");
        }
        const std::optional<int> seconds = TimeOfDay::read(words[1]);
        if (!seconds || words[1].size() < 8) {
            refuse("\"" + QuotedText::of(words[1]) + "\" is no time of day (hh:mm:ss.sss)");
        }
        if (words[2].size() > 3 || words[2].find_first_not_of("0123456789") != std::string::npos) {
            refuse("\"" + QuotedText::of(words[2]) + "\" is no day of the year");
        }
        double sum = 0.0;
        bool present = true;
        for (std::size_t k = 0; k < 4; ++k) {
            const std::optional<double> v = readWholeNumber(words[3 + k], WholeNumber::BaseFile);
            if (!v) {
                refuse("\"" + QuotedText::of(words[3 + k]) + "\" is no number");
            }
            if (std::abs(*v) >= SourceText::kMaxValue && !IagaFile::missing(words[3 + k])) {
                refuse("\"" + QuotedText::of(words[3 + k]) + "\" is out of range");
            }
            bool used = false;
            for (std::size_t u : use_) {
                used = used || u == k;
            }
            if (used) {
                present = present && !IagaFile::missing(words[3 + k]);
                sum += *v * *v;
            }
        }
        // One F column is its own value; components give the length of the vector.
        double value = std::nan("");
        if (present) {
            value = use_.size() == 1 ? *readWholeNumber(words[3 + use_[0]], WholeNumber::BaseFile)
                                     : std::sqrt(sum);
        }
        content_.samples.push_back({date->text(), *seconds, value});
    }

    std::string name_;
    std::size_t line_ = 0;
    bool headed_ = false;
    std::string reported_;
    std::vector<std::size_t> use_;
    IagaFile::Content content_;
};

}  // namespace

std::optional<IagaFile::Content> IagaFile::read(const std::string& path, std::string& message) {
    return SourceText::parsed(path, message, [&](std::string_view text, const std::string& name) {
        return parse(text, name, message);
    });
}

std::optional<IagaFile::Content> IagaFile::parse(std::string_view text, const std::string& name,
                                                 std::string& message) {
    try {
        return Reader(name).read(text);
    } catch (const Refusal& r) {
        message = r.message;
        return std::nullopt;
    }
}

bool IagaFile::looksLike(std::string_view text) {
    const std::vector<std::string_view> lines = SourceText::lines(text.substr(0, 4096));
    for (std::string_view line : lines) {
        line = Trim::spacesAndTabs(line);
        if (!line.empty()) {
            const std::vector<std::string_view> words = SourceText::words(line);
            return line.back() == '|' || (words.size() > 3 && words[0] == "DATE" &&
                                          words[1] == "TIME" && words[2] == "DOY");
        }
    }
    return false;
}

bool IagaFile::missing(std::string_view value) {
    value = Trim::spacesAndTabs(value);
    if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
        value.remove_prefix(1);
    }
    const std::string_view whole = value.substr(0, value.find('.'));
    return whole.size() >= 5 && (whole.find_first_not_of('8') == std::string_view::npos ||
                                 whole.find_first_not_of('9') == std::string_view::npos);
}

}  // namespace velkor
