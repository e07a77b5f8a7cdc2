#include <gtest/gtest.h>

#include <string>

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

TEST(ColumnLayout, BlankSeparatedCutsTheImportLine) {
    const ColumnLayout l = ColumnLayout::blankSeparated();
    EXPECT_EQ(kBlankLine.size(), 67u);
    EXPECT_EQ(l.cut(kBlankLine, Column::Date), "03.07.2026");
    EXPECT_EQ(l.cut(kBlankLine, Column::Time), "10:15:42");
    EXPECT_EQ(l.cut(kBlankLine, Column::Line), "   12");
    EXPECT_EQ(l.cut(kBlankLine, Column::Pos), "    7");
    EXPECT_EQ(l.cut(kBlankLine, Column::Field), "48123.4");
    EXPECT_EQ(l.cut(kBlankLine, Column::Err), " 0.7");
    EXPECT_EQ(l.cut(kBlankLine, Column::A), "7");
    EXPECT_EQ(l.cut(kBlankLine, Column::D), "1.5");
    EXPECT_EQ(l.cut(kBlankLine, Column::Grad), "   124.0");
    EXPECT_EQ(l.cut(kBlankLine, Column::Note), "Base ");
}

TEST(ColumnLayout, CommaSeparatedHasNoNote) {
    const ColumnLayout l = ColumnLayout::commaSeparated();
    EXPECT_EQ(l.cut(kCommaLine, Column::Date), "03.07.2026");
    EXPECT_EQ(l.cut(kCommaLine, Column::Time), "10:15:42");
    EXPECT_EQ(l.cut(kCommaLine, Column::Line), "   12");
    EXPECT_EQ(l.cut(kCommaLine, Column::Field), "48123.4");
    EXPECT_EQ(l.cut(kCommaLine, Column::Err), " 0.7");
    EXPECT_EQ(l.cut(kCommaLine, Column::A), "  7");
    EXPECT_EQ(l.cut(kCommaLine, Column::D), " 1.5");
    EXPECT_EQ(l.cut(kCommaLine, Column::Grad), "   -12.5");
    EXPECT_EQ(l.cut(kCommaLine, Column::Note), "");
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
