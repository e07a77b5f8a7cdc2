// The two fixed column layouts of data lines.
#include "data/ColumnLayout.h"

namespace velkor {

ColumnLayout::ColumnLayout(Kind kind, const Row& starts, const Row& widths)
    : kind_(kind), starts_(starts), widths_(widths) {}

ColumnLayout ColumnLayout::blankSeparated() {
    //            Date Time Line Pos Field Err  A   D  Grad Note
    return {Kind::Blank, {2, 13, 22, 28, 34, 42, 47, 49, 53, 62}, {10, 8, 5, 5, 7, 4, 1, 3, 8, 5}};
}

ColumnLayout ColumnLayout::commaSeparated() {
    return {Kind::Comma, {3, 15, 25, 32, 39, 48, 54, 59, 65, 65}, {10, 8, 5, 5, 7, 4, 3, 4, 8, 0}};
}

ColumnLayout ColumnLayout::chooseFor(std::string_view firstReading) {
    if (firstReading.size() > 1 && firstReading[1] == ',') {
        return commaSeparated();
    }
    return blankSeparated();
}

std::string_view ColumnLayout::cut(std::string_view line, Column c) const {
    const std::size_t from = start(c);
    if (from >= line.size()) {
        return {};
    }
    return line.substr(from, width(c));
}

}  // namespace velkor
