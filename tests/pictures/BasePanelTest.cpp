#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictures/BaseCurvePainter.h"
#include "pictures/BasePanel.h"
#include "pictures/BasePanelPainter.h"
#include "support/RecordingSurface.h"
#include "support/TempDir.h"
#include "survey/Survey.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

std::string panelClock(int seconds) {
    return formatText("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

std::string panelReading(char mode, const std::string& date, int seconds) {
    return formatText("%c %s %s %5s %5s %s  0.7 7 1.5          Base ", mode, date.c_str(),
                      panelClock(seconds).c_str(), "1", "1", "48100.0");
}

constexpr int kHour = 3600;

class BasePanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SurveySettings s;
        s.days = {dir.write(
            "day.velkor", "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n" +
                              panelReading('S', "03.07.2026", 10 * kHour + 900) + "\r\n" +
                              panelReading('S', "03.07.2026", 9 * kHour + 1800) + "\r\n" +
                              panelReading('A', "03.07.2026", 11 * kHour) + "\r\n" +
                              panelReading('S', "04.07.2026", 10 * kHour) + "\r\n")};
        s.baseSources = {{dir.write("near.a",
                                    " Date       Time     Variations\r\n"
                                    " 03.07.2026 10:00:00 48000.0\r\n"
                                    " 03.07.2026 11:00:00 48010.0\r\n"
                                    " 03.07.2026 12:00:00 48004.0\r\n"),
                          0},
                         {dir.write("far.a",
                                    " Date       Time     Variations\r\n"
                                    " 04.07.2026 09:00:00 47990.0\r\n"
                                    " 04.07.2026 11:00:00 47995.0\r\n"),
                          0}};
        s.datum = 48000.0;
        std::string message;
        auto opened = Survey::open(s, message);
        ASSERT_TRUE(opened) << message;
        survey.emplace(std::move(*opened));
        ASSERT_TRUE(BasePanel::openSources(*survey, sources, message)) << message;
    }
    TempDir dir;
    std::optional<Survey> survey;
    std::vector<BaseSource> sources;
};

}  // namespace

TEST_F(BasePanelTest, CurvesPerSourceAndTheDatesReadings) {
    EXPECT_EQ(BasePanel::dates(*survey), (std::vector<std::string>{"03.07.2026", "04.07.2026"}));
    const BasePanel panel = BasePanel::of(*survey, sources, "03.07.2026");
    ASSERT_EQ(panel.curves().size(), 2u);
    const BasePanel::Curve& near = panel.curves()[0];
    EXPECT_EQ(near.name, "near.a");
    EXPECT_TRUE(near.holdsDate);
    // Values only strictly between the first and the last sample, as a reading gets them.
    ASSERT_EQ(near.runs.size(), 1u);
    EXPECT_EQ(near.runs[0].front().seconds, 10 * kHour + 60);
    EXPECT_EQ(near.runs[0].back().seconds, 12 * kHour - 60);
    EXPECT_EQ(near.runs[0].size(), 119u);
    EXPECT_NEAR(near.runs[0][59].value, 48010.0, 1e-3);  // 11:00
    EXPECT_TRUE(panel.curves()[1].runs.empty());
    EXPECT_FALSE(panel.curves()[1].holdsDate);
    // The base station's own reading is no survey reading.
    ASSERT_EQ(panel.readings().size(), 2u);
    EXPECT_EQ(panel.readings()[0].seconds, 10 * kHour + 900);
    EXPECT_TRUE(panel.readings()[0].based);
    EXPECT_EQ(panel.readings()[1].seconds, 9 * kHour + 1800);
    EXPECT_FALSE(panel.readings()[1].based);

    const BasePanel other = BasePanel::of(*survey, sources, "04.07.2026");
    EXPECT_FALSE(other.curves()[0].holdsDate);
    EXPECT_EQ(other.curves()[1].runs.size(), 1u);
    ASSERT_EQ(other.readings().size(), 1u);
    EXPECT_TRUE(other.readings()[0].based);
}

TEST_F(BasePanelTest, DrawsEachCurveNumberedTheReadingsMarkedAndTheKey) {
    const BasePanel panel = BasePanel::of(*survey, sources, "03.07.2026");
    RecordingSurface s;
    const int w = 800;
    const int h = 480;
    BasePanelPainter::draw(s, panel, w, h);

    EXPECT_NE(s.findText("03.07.2026: 2 readings, 1 without a base value"), nullptr);
    EXPECT_NE(s.findText("1: near.a"), nullptr);
    EXPECT_NE(s.findText("2: far.a: no samples on 03.07.2026"), nullptr);

    const BaseCurvePainter::Frame f = BaseCurvePainter::frame(w, h);
    const BaseCurvePainter::TimeAxis t = BasePanelPainter::timeAxis(panel);
    EXPECT_EQ(t.from, 9 * kHour);
    EXPECT_EQ(t.to, 12 * kHour);
    const GraphScale::Axis a = BasePanelPainter::valueAxis(panel);
    const auto& run = panel.curves()[0].runs[0];
    for (std::size_t k = 1; k < run.size(); ++k) {
        ASSERT_TRUE(s.hasSegment({BaseCurvePainter::x(f, t, run[k - 1].seconds),
                                  BaseCurvePainter::y(f, a, run[k - 1].value),
                                  BaseCurvePainter::x(f, t, run[k].seconds),
                                  BaseCurvePainter::y(f, a, run[k].value)}))
            << k;
    }
    EXPECT_NE(s.findText("1"), nullptr);
    EXPECT_EQ(s.findText("2"), nullptr);  // the far source draws nothing on this date

    const int based = BaseCurvePainter::x(f, t, 10 * kHour + 900);
    EXPECT_TRUE(s.hasSegment({based, f.bottom, based, f.bottom - h / 80}));
    const int lone = BaseCurvePainter::x(f, t, 9 * kHour + 1800);
    EXPECT_TRUE(s.hasSegment({lone, f.bottom, lone, f.bottom - h / 8}));
}

TEST_F(BasePanelTest, ADateNoSourceHoldsStillShowsItsReadings) {
    std::vector<BaseSource> none;
    const BasePanel panel = BasePanel::of(*survey, none, "04.07.2026");
    RecordingSurface s;
    BasePanelPainter::draw(s, panel, 800, 480);
    EXPECT_NE(s.findText("The survey has no base source."), nullptr);
    EXPECT_NE(s.findText("04.07.2026: 1 readings, 1 without a base value"), nullptr);
    EXPECT_FALSE(s.segments.empty());  // the axes and the reading's mark
}

}  // namespace velkor
