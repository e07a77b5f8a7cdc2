#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "data/ColumnLayout.h"

namespace velkor {
namespace {

// A reading line as the import writes it.
const std::string kBlankLine =
    "G 03.07.2026 10:15:42    12     7 48123.4  0.7 7 1.5    124.0 Base ";
const std::string kCommaLine =
    "S, 03.07.2026, 10:15:42,    12,     7, 48123.4,  0.7,   7,  1.5,    -12.5";

}  // namespace

TEST(ColumnLayout, AllZeroBeforeFirstLoad) {
    const ColumnLayout none;
    EXPECT_EQ(none.kind(), ColumnLayout::Kind::None);
    for (int c = 0; c < kColumnCount; ++c) {
        EXPECT_EQ(none.start(static_cast<Column>(c)), 0);
        EXPECT_EQ(none.width(static_cast<Column>(c)), 0);
        EXPECT_EQ(none.cut(kBlankLine, static_cast<Column>(c)), "");
    }
}

// Each column's text as the blank-separated layout cuts it from the import's line, and as
// the comma-separated one cuts it from a comma-separated line, which has no note.
TEST(ColumnLayout, EachLayoutCutsItsLine) {
    EXPECT_EQ(kBlankLine.size(), 67u);
    const ColumnLayout blank = ColumnLayout::blankSeparated();
    const ColumnLayout comma = ColumnLayout::commaSeparated();
    const std::vector<std::tuple<Column, std::string, std::string>> cuts{
        {Column::Date, "03.07.2026", "03.07.2026"},
        {Column::Time, "10:15:42", "10:15:42"},
        {Column::Line, "   12", "   12"},
        {Column::Pos, "    7", "    7"},
        {Column::Field, "48123.4", "48123.4"},
        {Column::Err, " 0.7", " 0.7"},
        {Column::A, "7", "  7"},
        {Column::D, "1.5", " 1.5"},
        {Column::Grad, "   124.0", "   -12.5"},
        {Column::Note, "Base ", ""}};
    for (const auto& [column, blankText, commaText] : cuts) {
        EXPECT_EQ(blank.cut(kBlankLine, column), blankText) << static_cast<int>(column);
        EXPECT_EQ(comma.cut(kCommaLine, column), commaText) << static_cast<int>(column);
    }
}

TEST(ColumnLayout, ShortLinesGiveShortOrEmptyTexts) {
    const ColumnLayout l = ColumnLayout::blankSeparated();
    const std::string forty = kBlankLine.substr(0, 40);
    EXPECT_EQ(l.cut(forty, Column::Date), "03.07.2026");
    EXPECT_EQ(l.cut(forty, Column::Field), "48123.");
    for (Column c : {Column::Err, Column::A, Column::D, Column::Grad, Column::Note}) {
        EXPECT_EQ(l.cut(forty, c), "");
    }
    EXPECT_EQ(l.cut("", Column::Date), "");
}

TEST(ColumnLayout, ChoiceLooksOnlyAtTheSecondCharacter) {
    EXPECT_EQ(ColumnLayout::chooseFor(kCommaLine).kind(), ColumnLayout::Kind::Comma);
    EXPECT_EQ(ColumnLayout::chooseFor(kBlankLine).kind(), ColumnLayout::Kind::Blank);
    EXPECT_EQ(ColumnLayout::chooseFor(",").kind(), ColumnLayout::Kind::Blank);
    EXPECT_EQ(ColumnLayout::chooseFor("").kind(), ColumnLayout::Kind::Blank);
    EXPECT_EQ(ColumnLayout::chooseFor("S ,").kind(), ColumnLayout::Kind::Blank);
}

}  // namespace velkor
