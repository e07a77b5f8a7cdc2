// The reading every CSV source of a survey shares: its rows one by one after the header,
// each refusal naming the file and the line, columns taken by name, a row's moment read
// from a date and a time column or one ISO 8601 column.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/CalendarDate.h"

namespace velkor {

class CsvRowReader {
  public:
    struct Refusal {
        std::string message;
    };
    struct Moment {
        CalendarDate date;
        int seconds = 0;        // of the day
        double fraction = 0.0;  // of the second, as its time wrote it after the point
    };

    explicit CsvRowReader(std::string name) : name_(std::move(name)) {}

    // What read() makes of the text, or nothing and the refusal's message.
    template <typename Read>
    static auto refusable(Read&& read, std::string& message) -> std::optional<decltype(read())> {
        try {
            return read();
        } catch (const Refusal& r) {
            message = r.message;
            return std::nullopt;
        }
    }

  protected:
    // head for the first row that is neither empty nor a comment ("#"), row for each
    // later one; "NAME: no header" when there is none.
    void readRows(std::string_view text, const std::function<void(std::string_view)>& head,
                  const std::function<void(std::string_view)>& row);
    [[noreturn]] void refuse(const std::string& what) const;  // at the line being read
    [[noreturn]] void refuseFile(const std::string& what) const;
    // The header's fields, the separator taken from it.
    std::vector<std::string> header(std::string_view row);
    std::vector<std::string> fields(std::string_view row) const;
    // The columns the user named ("A,B,..."), in their order: refused unless they are as
    // many as one of counts (expected tells the forms), or when one is not in the header.
    std::vector<std::size_t> namedColumns(const std::vector<std::string>& header,
                                          const std::string& columns,
                                          std::initializer_list<std::size_t> counts,
                                          const std::string& expected) const;
    // No columns named, and none found by their names: what was wanted, and the header.
    [[noreturn]] void refuseHeader(std::string_view row, const std::string& wanted) const;
    // The row's date and time, from the date-time column alone when time is none.
    Moment moment(const std::vector<std::string>& fields, std::size_t date,
                  std::optional<std::size_t> time) const;
    static double fractionOf(std::string_view time);
    // A number's text as read: with a semicolon separator, a decimal comma is a point.
    std::string decimal(std::string text) const;

  private:
    std::string name_;
    std::size_t line_ = 0;
    char separator_ = ',';
};

}  // namespace velkor
