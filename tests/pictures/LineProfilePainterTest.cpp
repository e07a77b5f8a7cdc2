#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "pictures/LineProfilePages.h"
#include "pictures/LineProfilePainter.h"
#include "support/RecordingSurface.h"

namespace velkor {
namespace {

using P = LineProfilePainter;
constexpr float kNoProfileValue = std::numeric_limits<float>::quiet_NaN();
const P::Area kArea{0, 0, 800, 500};
constexpr int kEm = 12;

LineProfileSet::Point point(int reading, double position, float field,
                            const std::string& word = {}) {
    return {reading, position, {field, kNoProfileValue, field - 48000.0f, kNoProfileValue}, word};
}

// Line 2 walked backwards, line 1 forwards; reading 6 has no anomaly.
std::shared_ptr<const LineProfileSet> twoLines() {
    return std::make_shared<LineProfileSet>(std::vector<LineProfileSet::Line>{
        {2.0,
         {point(10, 40.0, 48010.0f), point(11, 30.0, 48012.0f), point(12, 20.0, 48011.0f),
          point(13, 10.0, 48009.0f)}},
        {1.0,
         {point(0, 0.0, 48000.0f),
          point(1, 10.0, 48002.0f),
          point(2, 20.0, 48090.0f, "spike"),
          point(3, 30.0, 48004.0f),
          point(4, 40.0, 48003.0f),
          {5, 50.0, {48001.0f, kNoProfileValue, kNoProfileValue, kNoProfileValue}, {}}}}});
}

bool filledAt(const RecordingSurface& s, int x, int y) {
    return std::any_of(s.fills.begin(), s.fills.end(), [&](const RecordingSurface::Fill& f) {
        return f.x <= x && x < f.x + f.width && f.y <= y && y < f.y + f.height;
    });
}

}  // namespace

TEST(LineProfilePainter, ALineInPositionOrderFlaggedHollowCandidatesInADiamond) {
    P painter(twoLines());
    ASSERT_EQ(painter.set().lineCount(), 2);
    EXPECT_EQ(painter.set().line(0).number, 1.0);  // lines by number
    EXPECT_EQ(painter.set().lineOf(12), 1);
    std::vector<int> order;
    for (const LineProfileSet::Point& p : painter.set().line(1).points) {
        order.push_back(p.reading);
    }
    EXPECT_EQ(order, (std::vector<int>{13, 12, 11, 10}));

    painter.setLines({0});
    painter.setCandidates({3, 2});
    RecordingSurface s;
    painter.draw(s, kArea, kEm);
    const P::Scales sc = painter.scales(kArea, kEm);
    EXPECT_NE(s.findText("Line 1: Field[nT]"), nullptr);
    EXPECT_NE(s.findText(P::kLegend), nullptr);
    // The profile joins the unflagged readings by position; the spike stands beside it.
    const int x1 = P::x(sc, 10.0), x3 = P::x(sc, 30.0);
    const int y1 = P::y(sc, 48002.0), y3 = P::y(sc, 48004.0);
    EXPECT_TRUE(s.hasSegment({x1, y1, x3, y3}));
    EXPECT_TRUE(filledAt(s, x1, y1));
    const int xs = P::x(sc, 20.0), ys = P::y(sc, 48090.0);
    EXPECT_FALSE(filledAt(s, xs, ys));
    const int h = kEm / 4;
    EXPECT_TRUE(s.hasSegment({xs - h, ys - h, xs + h, ys - h}));
    EXPECT_TRUE(s.hasSegment({xs + h, ys - h, xs + h, ys + h}));
    const RecordingSurface::Text* word = s.findText("spike");
    ASSERT_NE(word, nullptr);
    EXPECT_GT(word->x, xs);
    // Candidates, flagged or not, get a diamond; other readings none.
    EXPECT_TRUE(s.hasSegment({xs, ys - 2 * h - 3, xs + 2 * h + 3, ys}));
    EXPECT_TRUE(s.hasSegment({x3, y3 - 2 * h - 3, x3 + 2 * h + 3, y3}));
    EXPECT_FALSE(s.hasSegment({x1, y1 - 2 * h - 3, x1 + 2 * h + 3, y1}));
    EXPECT_FALSE(s.hasSegment({x3, y3 - 2 * h - 7, x3 + 2 * h + 7, y3}));
    painter.setCurrent(3);
    RecordingSurface reviewed;
    painter.draw(reviewed, kArea, kEm);
    EXPECT_TRUE(reviewed.hasSegment({x3, y3 - 2 * h - 7, x3 + 2 * h + 7, y3}));
    // The axis holds every value, the spike included.
    EXPECT_LE(sc.value.bottom, 48000.0f);
    EXPECT_GE(sc.value.top, 48090.0f);
    EXPECT_EQ(painter.readingAt(kArea, kEm, xs + 2, ys - 1), 2);
    EXPECT_EQ(painter.readingAt(kArea, kEm, xs, ys + 40), -1);

    // A reading without the chosen value is left out; a line without any says so.
    painter.setValue(P::Value::Anomaly);
    EXPECT_EQ(painter.readingAt(kArea, kEm, P::x(painter.scales(kArea, kEm), 50.0),
                                P::y(painter.scales(kArea, kEm), 1.0)),
              -1);
    painter.setValue(P::Value::Gradient);
    RecordingSurface noGradient;
    painter.draw(noGradient, kArea, kEm);
    EXPECT_NE(noGradient.findText("No reading of this line has a Gradient value."), nullptr);
    painter.setLines({});
    RecordingSurface none;
    painter.draw(none, kArea, kEm);
    EXPECT_NE(none.findText(P::kNoLine), nullptr);
}

TEST(LineProfilePainter, StackedLinesAreOffsetAndARangeBoxFlagsWhatLiesOutside) {
    P painter(twoLines());
    painter.setValue(P::Value::Anomaly);
    painter.setLines({0, 1});
    painter.setOffset(50.0);
    const P::Scales sc = painter.scales(kArea, kEm);
    EXPECT_GE(sc.value.top, 62.0f);  // line 2's 12 nT lies 50 nT up
    RecordingSurface s;
    painter.draw(s, kArea, kEm);
    EXPECT_NE(s.findText("Anomaly[nT], lines stacked 50 nT apart from the lowest"), nullptr);
    // Line 2 at position 40 (10 nT) is drawn where 60 nT of the first line would be.
    EXPECT_TRUE(filledAt(s, P::x(sc, 40.0), P::y(sc, 60.0)));
    EXPECT_TRUE(filledAt(s, P::x(sc, 40.0), P::y(sc, 3.0)));
    EXPECT_EQ(painter.readingAt(kArea, kEm, P::x(sc, 40.0), P::y(sc, 60.0)), 10);
    const RecordingSurface::Text* name = s.findText("Line 2");
    ASSERT_NE(name, nullptr);
    EXPECT_GT(name->x, sc.frame.right);

    // A box from 1 to 5 nT over the first line: its spike goes, the second line is left
    // alone.
    const P::Box box{P::x(sc, -1.0), P::y(sc, 5.0), P::x(sc, 45.0), P::y(sc, 1.0)};
    EXPECT_EQ(painter.outside(kArea, kEm, box), (std::vector<int>{0, 2}));
    // A box over both: each line against the same drawn range.
    const P::Box both{P::x(sc, 5.0), P::y(sc, 61.5), P::x(sc, 45.0), P::y(sc, 1.5)};
    EXPECT_EQ(painter.outside(kArea, kEm, both), (std::vector<int>{0, 2, 11}));
}

TEST(LineProfilePages, ALineCountToAPageStackedOrOneUnderTheOther) {
    EXPECT_EQ(LineProfilePages::pageCount(0, 4), 0);
    EXPECT_EQ(LineProfilePages::pageCount(4, 4), 1);
    EXPECT_EQ(LineProfilePages::pageCount(9, 4), 3);
    P painter(twoLines());
    EXPECT_EQ(LineProfilePages::header("week", painter.set(), 1, 2),
              "week   Page 2 of 2   Line 2 to 2");

    RecordingSurface stacked;
    LineProfilePages::drawPage(stacked, painter, true, "week", 4, 1000, 1400, 1);
    EXPECT_NE(stacked.findText("Field[nT], lines stacked 20 nT apart from the lowest"), nullptr);
    EXPECT_NE(stacked.findText("Line 1"), nullptr);
    EXPECT_NE(stacked.findText("Line 2"), nullptr);

    RecordingSurface apart;
    LineProfilePages::drawPage(apart, painter, false, "week", 4, 1000, 1400, 1);
    const RecordingSurface::Text* first = apart.findText("Line 1: Field[nT]");
    const RecordingSurface::Text* second = apart.findText("Line 2: Field[nT]");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->y - first->y, (1400 - 2 * LineProfilePages::em(1400)) / 4);
    EXPECT_EQ(std::count_if(apart.texts.begin(), apart.texts.end(),
                            [](const RecordingSurface::Text& t) { return t.text == P::kLegend; }),
              1);
}

}  // namespace velkor
