#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "corrections/BaseDay.h"
#include "corrections/VariationSet.h"
#include "data/DataSet.h"
#include "pictures/BaseCurvePainter.h"
#include "support/RecordingPrompter.h"
#include "support/RecordingSurface.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

using Seg = RecordingSurface::Segment;
using Txt = RecordingSurface::Text;

std::string curveReading(char mode, const std::string& date, const std::string& time) {
    return std::string(1, mode) + " " + date + " " + time +
           "     1     1 48100.0  0.7 7 1.5          Base ";
}

class BaseCurveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(variations.load(dir.write("v.a",
                                              " Date       Time     Variations\r\n"
                                              " 04.07.2026 09:00:00 47990.0\r\n"
                                              " 03.07.2026 10:00:00 48000.0\r\n"
                                              " 03.07.2026 10:30:00 48010.0\r\n"
                                              " 03.07.2026 12:00:00 48005.0\r\n"
                                              " 03.07.2026 12:15:00 48020.0\r\n"),
                                    prompter));
        survey.replaceLines({"M header ", curveReading('S', "05.07.2026", "10:00:00"),
                             curveReading('S', "03.07.2026", "10:15:00"),
                             curveReading('S', "03.07.2026", "09:30:00"),
                             curveReading('A', "03.07.2026", "11:00:00"),
                             curveReading('S', "03.07.2026", "12:15:00")});
    }
    TempDir dir;
    RecordingPrompter prompter;
    VariationSet variations;
    DataSet survey;
};

}  // namespace

TEST_F(BaseCurveTest, DatesFiguresAndGaps) {
    EXPECT_EQ(BaseDay::dates(variations), (std::vector<std::string>{"04.07.2026", "03.07.2026"}));
    EXPECT_EQ(BaseDay::firstDate(variations, &survey), "03.07.2026");
    EXPECT_EQ(BaseDay::firstDate(variations, nullptr), "04.07.2026");

    const BaseDay day = BaseDay::of(variations, "03.07.2026", &survey);
    ASSERT_EQ(day.samples().size(), 4u);
    ASSERT_EQ(day.readings().size(), 3u);  // the 'A' reading is the base station's own
    EXPECT_EQ(day.readings()[0].number, 2);
    ASSERT_EQ(day.gaps().size(), 1u);
    EXPECT_EQ(day.gaps()[0].from, 10 * 3600 + 1800);
    EXPECT_EQ(day.gaps()[0].to, 12 * 3600);
    EXPECT_EQ(day.figures(),
              "03.07.2026: 4 samples, 10:00:00 to 12:15:00, 48000.0 to 48020.0 nT, largest gap "
              "01:30:00");
    EXPECT_EQ(day.readingFigures(), "3 survey readings, 2 outside the samples");
    EXPECT_EQ(BaseDay::of(variations, "04.07.2026", &survey).figures(),
              "04.07.2026: 1 sample, 09:00:00 to 09:00:00, 47990.0 to 47990.0 nT, largest gap "
              "00:00:00");
}

TEST_F(BaseCurveTest, PictureThroughTheSurface) {
    const BaseDay day = BaseDay::of(variations, "03.07.2026", &survey);
    RecordingSurface s;
    BaseCurvePainter::draw(s, day, 800, 400);
    // Plot from (100, 40) to (760, 300); time 09:00 to 13:00 in half hours; values
    // 48000 to 48020 in steps of 5, 13 pixels per nT.
    EXPECT_TRUE(s.hasSegment({100, 300, 760, 300}));
    EXPECT_TRUE(s.hasSegment({100, 300, 100, 40}));
    EXPECT_EQ(*s.findText("09:00"), (Txt{100, 310, "09:00"}));
    EXPECT_EQ(*s.findText("13:00"), (Txt{760, 310, "13:00"}));
    EXPECT_NE(s.findText("12:30"), nullptr);
    EXPECT_EQ(*s.findText("48005.0"), (Txt{8, 229, "48005.0"}));
    EXPECT_NE(s.findText("48020.0"), nullptr);
    EXPECT_EQ(s.findText("48025.0"), nullptr);
    // The curve, in file order.
    EXPECT_TRUE(s.hasSegment({265, 300, 347, 170}));
    EXPECT_TRUE(s.hasSegment({347, 170, 595, 235}));
    EXPECT_TRUE(s.hasSegment({595, 235, 636, 40}));
    // 10:15 lies inside the samples: a short mark; 09:30 and 12:15 do not.
    EXPECT_TRUE(s.hasSegment({306, 300, 306, 295}));
    EXPECT_TRUE(s.hasSegment({182, 300, 182, 250}));
    EXPECT_TRUE(s.hasSegment({179, 247, 186, 254}));
    EXPECT_TRUE(s.hasSegment({636, 300, 636, 250}));
    // The stretch from 10:30 to 12:00 is hatched, and nothing else is.
    const auto lines = BaseCurvePainter::hatch(347, 40, 595, 300);
    ASSERT_GT(lines.size(), 30u);
    int diagonal = 0;
    for (const Seg& g : s.segments) {
        diagonal += g.x2 - g.x1 == g.y2 - g.y1 && g.x1 >= 347 && g.x2 <= 595 ? 1 : 0;
    }
    EXPECT_EQ(diagonal, static_cast<int>(lines.size()));
    for (const auto& g : lines) {
        EXPECT_TRUE(s.hasSegment({g.x1, g.y1, g.x2, g.y2}));
        EXPECT_TRUE(g.x1 >= 347 && g.x2 <= 595 && g.y1 >= 40 && g.y2 <= 300)
            << g.x1 << "," << g.y1 << " " << g.x2 << "," << g.y2;
        EXPECT_TRUE(g.x1 == 347 || g.y1 == 40);
    }
    EXPECT_EQ(s.findText(day.figures())->y, 333);
    EXPECT_EQ(s.findText(day.readingFigures())->y, 351);
}

TEST_F(BaseCurveTest, FarValuesStayDrawable) {
    // Equal samples of 10^15 (whose float axis ends round past them) and the widest
    // values a sample may hold.
    VariationSet far;
    ASSERT_TRUE(far.load(dir.write("far.a",
                                   " Date       Time     Variations\r\n"
                                   " 05.07.2026 10:00:00 1.0e+15\r\n"
                                   " 05.07.2026 10:10:00 1.0e+15\r\n"
                                   " 06.07.2026 10:00:00 -3.4e+38\r\n"
                                   " 06.07.2026 10:10:00 3.4e+38\r\n"),
                         prompter));
    const auto drawable = [](int v) { return v >= -10000000 && v <= 10000000; };
    for (const char* date : {"05.07.2026", "06.07.2026"}) {
        const BaseDay day = BaseDay::of(far, date, nullptr);
        ASSERT_EQ(day.samples().size(), 2u);
        const BaseCurvePainter::Frame f = BaseCurvePainter::frame(800, 400);
        const GraphScale::Axis a = BaseCurvePainter::valueAxis(day);
        for (double v : {day.lowest(), day.highest(), std::nan(""), 1e300, -1e300}) {
            EXPECT_TRUE(drawable(BaseCurvePainter::y(f, a, v))) << date << " " << v;
        }
        const std::vector<double> labels = BaseCurvePainter::labelValues(a);
        EXPECT_LE(labels.size(), static_cast<std::size_t>(BaseCurvePainter::kMaxLabels) + 1);
        RecordingSurface s;
        BaseCurvePainter::draw(s, day, 800, 400);
        for (const Seg& g : s.segments) {
            EXPECT_TRUE(drawable(g.x1) && drawable(g.y1) && drawable(g.x2) && drawable(g.y2))
                << date << ": " << g.x1 << "," << g.y1 << " " << g.x2 << "," << g.y2;
        }
    }
}

TEST_F(BaseCurveTest, ASampleWithoutANumberIsNoSampleOfZero) {
    VariationSet blank;
    ASSERT_TRUE(blank.load(dir.write("blank.a",
                                     " Date       Time     Variations\r\n"
                                     " 03.07.2026 10:00:00 48000.0\r\n"
                                     " 03.07.2026 10:30:00        \r\n"
                                     " 03.07.2026 11:00:00     nan\r\n"
                                     " 03.07.2026 12:00:00 48010.0\r\n"),
                           prompter));
    const BaseDay day = BaseDay::of(blank, "03.07.2026", nullptr);
    // Its time still bounds the day as the correction sees it; its value is no value.
    ASSERT_EQ(day.samples().size(), 4u);
    EXPECT_EQ(day.lowest(), 48000.0);
    EXPECT_EQ(day.highest(), 48010.0);
    RecordingSurface s;
    BaseCurvePainter::draw(s, day, 800, 600);
    const BaseCurvePainter::Frame f = BaseCurvePainter::frame(800, 600);
    const BaseCurvePainter::TimeAxis t = BaseCurvePainter::timeAxis(day);
    // The curve stops at the samples without a number: no piece of it joins them.
    const int times[] = {10 * 3600, 10 * 3600 + 1800, 11 * 3600, 12 * 3600};
    for (int k = 1; k < 4; ++k) {
        const int from = BaseCurvePainter::x(f, t, times[k - 1]);
        const int to = BaseCurvePainter::x(f, t, times[k]);
        for (const Seg& g : s.segments) {
            EXPECT_FALSE(g.x1 == from && g.x2 == to) << g.y1 << " " << g.y2;
        }
    }
}

}  // namespace velkor
