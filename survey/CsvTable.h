// What every CSV source of a survey (base values, position tracks) reads alike: the
// separator is the header's, a comma or a semicolon; fields may be quoted; columns are
// chosen by their names; a date-time is ISO 8601.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkor {

class CsvTable {
  public:
    // Spreadsheet programs begin a UTF-8 file with a byte-order mark: no part of the header.
    static std::string_view withoutMark(std::string_view text);
    // The header row's separator: a semicolon when it holds one, else a comma.
    static char separator(std::string_view header);
    // Fields of a row, blanks around each trimmed; a field in double quotes may hold the
    // separator, "" is a quote.
    static std::vector<std::string> fields(std::string_view row, char separator);
    // The first of the names (lower case, without a unit: "F (nT)" is "f") a column of the
    // header has.
    static std::optional<std::size_t> named(const std::vector<std::string>& header,
                                            std::initializer_list<const char*> names);
    // The column of exactly this name, ASCII case aside.
    static std::optional<std::size_t> column(const std::vector<std::string>& header,
                                             std::string_view name);
    // The first row that is no comment ("#") and not empty, among the text's first bytes.
    static std::optional<std::string_view> firstRow(std::string_view text);
    // "2026-07-06T08:05:31.5Z" (or a blank for the T) into its date and its time; what is
    // wrong with it, empty when nothing is.
    static std::string splitDateTime(std::string& date, std::string& time);
};

}  // namespace velkor
