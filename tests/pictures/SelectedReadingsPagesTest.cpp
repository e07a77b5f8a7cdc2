#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/DataSet.h"
#include "pictures/SelectedReadingsPages.h"
#include "support/RecordingSurface.h"

namespace velkor {
namespace {

DataSet numbered(int readings) {
    std::vector<std::string> lines{"M header "};
    for (int i = 1; i <= readings; ++i) {
        lines.push_back("S reading " + std::to_string(i));
    }
    DataSet d;
    d.replaceLines(lines);
    return d;
}

}  // namespace

TEST(SelectedReadingsPages, PageCounts) {
    EXPECT_EQ(SelectedReadingsPages::pageCount(0), 0);
    EXPECT_EQ(SelectedReadingsPages::pageCount(1), 1);
    EXPECT_EQ(SelectedReadingsPages::pageCount(40), 1);
    EXPECT_EQ(SelectedReadingsPages::pageCount(41), 2);
    EXPECT_EQ(SelectedReadingsPages::pageCount(80), 2);
    EXPECT_EQ(SelectedReadingsPages::pageCount(20000), 500);
}

TEST(SelectedReadingsPages, OneReadingOnAPage) {
    const DataSet d = numbered(10);
    RecordingSurface s;
    SelectedReadingsPages::drawPage(s, d, {6}, "day1", 3200, 1);
    const int h = (3200 * 19) / 800;  // 76
    EXPECT_EQ(s.fonts, (std::vector<int>{h / 2}));
    ASSERT_EQ(s.texts.size(), 2u);
    EXPECT_EQ(s.texts[0],
              (RecordingSurface::Text{0, h, "Velkor1 Data - selected items,  file day1 - page 1"}));
    EXPECT_EQ(s.texts[1], (RecordingSurface::Text{0, 2 * h, "    7  S reading 7"}));
}

TEST(SelectedReadingsPages, FortyOneReadingsAndTheirOrder) {
    const DataSet d = numbered(60);
    std::vector<int> rows;
    for (int r = 0; r < 41; ++r) {
        rows.push_back(r + 2);
    }
    RecordingSurface first;
    SelectedReadingsPages::drawPage(first, d, rows, "t", 800, 1);
    EXPECT_EQ(first.texts.size(), 41u);
    EXPECT_EQ(first.texts[1].text, "    3  S reading 3");
    EXPECT_EQ(first.texts[40], (RecordingSurface::Text{0, 19 * 41, "   42  S reading 42"}));

    RecordingSurface second;
    SelectedReadingsPages::drawPage(second, d, rows, "t", 800, 2);
    ASSERT_EQ(second.texts.size(), 2u);
    EXPECT_EQ(second.texts[0].text, "Velkor1 Data - selected items,  file t - page 2");
    EXPECT_EQ(second.texts[1], (RecordingSurface::Text{0, 38, "   43  S reading 43"}));

    RecordingSurface two;
    SelectedReadingsPages::drawPage(two, d, {2, 9}, "t", 800, 1);
    EXPECT_EQ(two.textsOnly(),
              (std::vector<std::string>{"Velkor1 Data - selected items,  file t - page 1",
                                        "    3  S reading 3", "   10  S reading 10"}));
    EXPECT_EQ(two.texts[2].y, 3 * 19);
}

}  // namespace velkor
