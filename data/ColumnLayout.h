// Where each field of a data line starts and how wide it is.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace velkor {

enum class Column { Date, Time, Line, Pos, Field, Err, A, D, Grad, Note };
constexpr int kColumnCount = 10;

class ColumnLayout {
  public:
    enum class Kind { None, Blank, Comma };

    // All starts and widths zero: the state before the first load.
    ColumnLayout() = default;

    static ColumnLayout blankSeparated();
    static ColumnLayout commaSeparated();
    // Picks the layout from data line 1: a comma at position 1 means comma-separated.
    static ColumnLayout chooseFor(std::string_view firstReading);

    Kind kind() const { return kind_; }
    std::uint8_t start(Column c) const { return starts_[index(c)]; }
    std::uint8_t width(Column c) const { return widths_[index(c)]; }

    // The column's text exactly as it stands, cut short at the line's end.
    std::string_view cut(std::string_view line, Column c) const;

  private:
    using Row = std::array<std::uint8_t, kColumnCount>;
    ColumnLayout(Kind kind, const Row& starts, const Row& widths);
    static constexpr std::size_t index(Column c) { return static_cast<std::size_t>(c); }

    Kind kind_ = Kind::None;
    Row starts_{};
    Row widths_{};
};

}  // namespace velkor
