// CSV rows, columns and date-times.
#include "survey/CsvTable.h"

#include "survey/SourceText.h"
#include "text/QuotedText.h"
#include "text/Trim.h"

namespace velkor {
namespace {

// A column's name as the automatic choice compares it: lower case, a unit in brackets
// dropped ("F (nT)" is "f").
std::string plain(std::string_view name) {
    std::string s(Trim::spacesAndTabs(name));
    const std::size_t unit = s.find_first_of("([");
    if (unit != std::string::npos && unit > 0) {
        s = std::string(Trim::spacesAndTabs(std::string_view(s).substr(0, unit)));
    }
    for (char& c : s) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return s;
}

}  // namespace

std::string_view CsvTable::withoutMark(std::string_view text) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    return text.substr(0, kMark.size()) == kMark ? text.substr(kMark.size()) : text;
}

char CsvTable::separator(std::string_view header) {
    return header.find(';') != std::string_view::npos ? ';' : ',';
}

std::vector<std::string> CsvTable::fields(std::string_view row, char separator) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t k = 0; k < row.size(); ++k) {
        const char c = row[k];
        if (quoted && c == '"' && k + 1 < row.size() && row[k + 1] == '"') {
            out.back() += '"';
            ++k;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == separator && !quoted) {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    for (std::string& f : out) {
        f = std::string(Trim::spacesAndTabs(f));
    }
    return out;
}

std::optional<std::size_t> CsvTable::named(const std::vector<std::string>& header,
                                           std::initializer_list<const char*> names) {
    for (const char* n : names) {
        for (std::size_t k = 0; k < header.size(); ++k) {
            if (plain(header[k]) == n) {
                return k;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> CsvTable::column(const std::vector<std::string>& header,
                                            std::string_view name) {
    for (std::size_t k = 0; k < header.size(); ++k) {
        if (SourceText::sameName(header[k], name)) {
            return k;
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> CsvTable::firstRow(std::string_view text) {
    for (std::string_view line : SourceText::lines(withoutMark(text).substr(0, 4096))) {
        line = Trim::spacesAndTabs(line);
        if (!line.empty() && line.front() != '#') {
            return line;
        }
    }
    return std::nullopt;
}

std::string CsvTable::splitDateTime(std::string& date, std::string& time) {
    const std::string whole = date;
    if (whole.size() < 16 || (whole[10] != 'T' && whole[10] != ' ')) {
        return "\"" + QuotedText::of(whole) + "\" is no date and time (2026-07-06T08:05:31)";
    }
    date = whole.substr(0, 10);
    time = std::string(Trim::spacesAndTabs(std::string_view(whole).substr(11)));
    if (!time.empty() && time.back() == 'Z') {
        time.pop_back();
    } else if (time.size() > 8 && time.find_first_of("+-", 8) != std::string::npos) {
        return "\"" + QuotedText::of(whole) +
               "\": a time zone other than Z; give the source an offset";
    }
    return std::string();
}

}  // namespace velkor
