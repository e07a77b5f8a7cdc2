#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "pictures/GraphPainter.h"
#include "support/RecordingSurface.h"
#include "text/NumberText.h"

namespace velkor {
namespace {

using Seg = RecordingSurface::Segment;
using Txt = RecordingSurface::Text;

// A blank-separated reading line with the given mode, Line text (5), Field text (7) and
// Grad text (8).
std::string graphReading(char mode, const std::string& line, const std::string& field,
                         const std::string& grad = "        ") {
    std::string s = std::string(1, mode) + " 03.07.2026 10:15:42 " + line + "     1 " + field +
                    "  0.7 7 1.5 " + grad + " Base ";
    return s;
}

DataSet dataOf(const std::vector<std::string>& readings) {
    std::vector<std::string> lines{
        "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note "};
    lines.insert(lines.end(), readings.begin(), readings.end());
    DataSet d;
    d.replaceLines(lines);
    return d;
}

const GraphWindow kWindow{1000, 600, 0, 0};  // B = 480

}  // namespace

TEST(GraphPainter, ScreenPictureOfFourReadings) {
    const DataSet d =
        dataOf({graphReading('S', "    1", "48000.0"), graphReading('S', "    1", "52000.0"),
                graphReading('S', "    2", "50000.0"), graphReading('S', "    2", "49000.0")});
    ASSERT_EQ(d.field(3, Column::Line), "    2");
    GraphPainter painter(d);
    RecordingSurface s;
    const GraphScale::Spacing sp = painter.drawScreen(s, kWindow, 1.0f);
    EXPECT_EQ(sp.dx, 9);
    EXPECT_EQ(s.fonts, (std::vector<int>{12}));

    // Horizontal axis to one spacing beyond the last reading, field axis, caption.
    EXPECT_EQ(s.segments.front(), (Seg{100, 480, 145, 480}));
    EXPECT_TRUE(s.hasSegment({100, 480, 100, 60}));
    EXPECT_EQ(*s.findText("Field[nT]"), (Txt{50, 30, "Field[nT]"}));
    EXPECT_EQ(*s.findText("0"), (Txt{100, 504, "0"}));

    // Labels 49000 to 56000 with their ticks.
    EXPECT_EQ(*s.findText("49000"), (Txt{20, 432, "49000"}));
    EXPECT_EQ(*s.findText("56000"), (Txt{20, 96, "56000"}));
    EXPECT_EQ(s.findText("48000"), nullptr);
    EXPECT_EQ(s.findText("57000"), nullptr);
    EXPECT_TRUE(s.hasSegment({90, 432, 100, 432}));

    // Profile, then the separator where line 1 turns into line 2.
    EXPECT_TRUE(s.hasSegment({109, 480, 118, 288}));
    EXPECT_TRUE(s.hasSegment({118, 288, 127, 384}));
    EXPECT_TRUE(s.hasSegment({127, 384, 136, 432}));
    EXPECT_TRUE(s.hasSegment({127, 480, 127, 600}));
    EXPECT_EQ(*s.findText("    2"), (Txt{127, 570, "    2"}));

    // Captions last of the texts; no gradient part without 'G' readings.
    ASSERT_GE(s.texts.size(), 2u);
    EXPECT_EQ(s.texts[s.texts.size() - 2], (Txt{800, 504, "  Sequence Number  "}));
    EXPECT_EQ(s.texts.back(), (Txt{50, 570, "  Line  "}));
    EXPECT_EQ(s.segments.size(), 1u + 1u + 8u + 3u + 1u);
}

TEST(GraphPainter, SeparatorsCompareNumbersButWriteTheStoredText) {
    const DataSet d =
        dataOf({graphReading('S', "   12", "48000.0"), graphReading('S', "00012", "48001.0"),
                graphReading('S', "   13", "48002.0"), graphReading('S', "   12", "48003.0"),
                graphReading('S', "  abc", "48004.0"), graphReading('S', "    0", "48005.0")});
    GraphPainter painter(d);
    RecordingSurface s;
    painter.drawScreen(s, kWindow, 1.0f);
    std::vector<Txt> labels;
    for (const Txt& t : s.texts) {
        if (t.y == 570 && t.text != "  Line  ") {
            labels.push_back(t);
        }
    }
    // "00012" is line 12 again; 13, back to 12, then "  abc" (line 0); "    0" is 0 too.
    EXPECT_EQ(labels,
              (std::vector<Txt>{{127, 570, "   13"}, {136, 570, "   12"}, {145, 570, "  abc"}}));
}

TEST(GraphPainter, GradientPartOnlyWhereGradientsAre) {
    const DataSet d = dataOf({graphReading('S', "    1", "48000.0"),
                              graphReading('G', "    1", "48010.0", "    -3.2"),
                              graphReading('S', "    1", "48020.0", "   999.0"),
                              graphReading('G', "    1", "48030.0", "    12.5")});
    GraphPainter painter(d);
    RecordingSurface s;
    painter.drawScreen(s, GraphWindow{1000, 600, 40, 0}, 1.0f);
    // Fixed elements sit at Sx plus their window offset.
    EXPECT_TRUE(s.hasSegment({140, 480, 140, 60}));
    EXPECT_TRUE(s.hasSegment({938, 22, 943, 17}));  // legend cross at (940, 20)
    EXPECT_TRUE(s.hasSegment({938, 18, 943, 23}));
    EXPECT_TRUE(s.hasSegment({940, 480, 940, 60}));
    EXPECT_EQ(*s.findText("Gradient[nT]"), (Txt{898, 30, "Gradient[nT]"}));
    // Axis -5 to 45: labels 0.0 to 35.0 at the inner side.
    EXPECT_EQ(*s.findText("     0.0"), (Txt{960, 432, "     0.0"}));
    EXPECT_TRUE(s.hasSegment({930, 432, 940, 432}));
    EXPECT_NE(s.findText("    35.0"), nullptr);
    EXPECT_EQ(s.findText("    40.0"), nullptr);
    // Marks at readings 2 and 4 only; the 'S' reading's Grad text is not read.
    // y(-3.2) = trunc(48.2 * 480 / 50) = 462; y(12.5) = trunc(32.5 * 9.6) = 312.
    EXPECT_TRUE(s.hasSegment({116, 464, 121, 459}));
    EXPECT_TRUE(s.hasSegment({134, 314, 139, 309}));
    int crosses = 0;
    for (const Seg& seg : s.segments) {
        crosses += (seg.x2 - seg.x1 == 5 && std::abs(seg.y2 - seg.y1) == 5) ? 1 : 0;
    }
    EXPECT_EQ(crosses, 2 * 3);
}

TEST(GraphPainter, NoReadingDrawsNothing) {
    DataSet empty;
    GraphPainter painter(empty);
    RecordingSurface s;
    painter.drawScreen(s, kWindow, 1.0f);
    painter.drawPrinted(s, kWindow, 1.0f, 2000, 2800);
    EXPECT_TRUE(s.segments.empty());
    EXPECT_TRUE(s.texts.empty());
}

TEST(GraphPainter, PrintedPageAfterScrolling) {
    std::vector<std::string> readings;
    for (int i = 1; i <= 40; ++i) {
        const char* line = i <= 5 ? "    1" : (i <= 25 ? "    2" : "    3");
        readings.push_back(graphReading(i % 4 == 0 ? 'G' : 'S', line,
                                        "4800" + std::to_string(i % 10) + ".0", "     1.5"));
    }
    const DataSet d = dataOf(readings);
    GraphPainter painter(d);
    RecordingSurface s;
    painter.drawPrinted(s, GraphWindow{1000, 600, 200, 0}, 1.0f, 2000, 2800);
    EXPECT_EQ(s.fonts, (std::vector<int>{28}));
    EXPECT_EQ(s.segments.front(), (Seg{200, 960, 2200, 960}));
    EXPECT_TRUE(s.hasSegment({200, 960, 200, 120}));
    EXPECT_EQ(*s.findText("Field[nT]"), (Txt{100, 60, "Field[nT]"}));
    EXPECT_EQ(*s.findText("20"), (Txt{160, 1008, "20"}));
    EXPECT_EQ(s.findText("0"), nullptr);              // left of the page
    EXPECT_TRUE(s.hasSegment({340, 960, 340, 980}));  // tick 30: B + H/60 = 490
    EXPECT_FALSE(s.hasSegment({-20, 960, -20, 980}));

    // Line 2 began left of the page: its first printed reading (12) gets the separator.
    EXPECT_TRUE(s.hasSegment({16, 960, 16, 1200}));
    EXPECT_EQ(*s.findText("    2"), (Txt{16, 1140, "    2"}));
    EXPECT_TRUE(s.hasSegment({268, 960, 268, 1200}));
    EXPECT_EQ(*s.findText("    3"), (Txt{268, 1140, "    3"}));

    EXPECT_EQ(*s.findText("  Sequence Number  "), (Txt{1600, 1008, "  Sequence Number  "}));
    EXPECT_EQ(*s.findText("  Line  "), (Txt{100, 1140, "  Line  "}));
    EXPECT_EQ(*s.findText("Gradient[nT]"), (Txt{1716, 60, "Gradient[nT]"}));
    EXPECT_TRUE(s.hasSegment({1798, 42, 1803, 37}));  // legend around (1800, 40)

    // Every reading-tied x lies inside the page; the profile joins readings 12 to 40.
    int profile = 0;
    for (const Seg& seg : s.segments) {
        if (seg.x1 != seg.x2 && seg.y1 != seg.y2 && seg.x2 - seg.x1 == 18) {
            ++profile;
            EXPECT_GT(seg.x1, 0);
            EXPECT_LT(seg.x2, 2000);
        }
    }
    EXPECT_EQ(profile, 28);

    // Scrolled down too: ordinates move up by Sy before scaling.
    RecordingSurface down;
    painter.drawPrinted(down, GraphWindow{1000, 600, 200, 10}, 1.0f, 2000, 2800);
    EXPECT_EQ(down.segments.front(), (Seg{200, 940, 2200, 940}));
}

namespace {

// Keeps each polyline as handed over, beside the segments it stands for.
class PolylineRecorder : public RecordingSurface {
  public:
    void polyline(const std::vector<Point>& points) override {
        polylines.push_back(points);
        DrawingSurface::polyline(points);
    }
    std::vector<std::vector<Point>> polylines;
};

}  // namespace

TEST(GraphPainter, TheProfilePolylineHoldsTheFormerSegments) {
    std::vector<std::string> readings;
    for (int i = 1; i <= 700; ++i) {
        char field[16];
        std::snprintf(field, sizeof field, "%7.1f", 48000.0 + (i * 37 % 500) * 0.7);
        readings.push_back(graphReading(i % 4 == 0 ? 'G' : 'S', "    1", field, "    12.5"));
    }
    const DataSet d = dataOf(readings);
    for (const bool printed : {false, true}) {
        PolylineRecorder s;
        const GraphWindow w{1000, 600, printed ? 1500 : 0, 10};
        if (printed) {
            GraphPainter(d).drawPrinted(s, w, 1.0f, 4000, 5000);
        } else {
            GraphPainter(d).drawScreen(s, w, 1.0f);
        }
        ASSERT_EQ(s.polylines.size(), 1u);
        // The former drawing: a segment from each drawn reading to the next drawn one.
        const GraphScale::Axis axis = GraphScale::axis(48000.0f, 48000.0f + 499 * 0.7f);
        const double scale = 4000.0 / 1000;
        std::vector<Seg> former;
        bool started = false;
        int lastX = 0;
        int lastY = 0;
        for (int i = 1; i < d.lineCount(); ++i) {
            int X = 100 + i * 3;
            int Y = GraphScale::y(axis, static_cast<float>(readDecimal(d.field(i, Column::Field))),
                                  480);
            if (printed) {
                X = static_cast<int>(std::trunc((X - w.Sx) * scale));
                Y = static_cast<int>(std::trunc((Y - w.Sy) * scale));
                if (X <= 0 || X >= 4000) {
                    continue;
                }
            }
            if (started) {
                former.push_back({lastX, lastY, X, Y});
            }
            started = true;
            lastX = X;
            lastY = Y;
        }
        const std::vector<DrawingSurface::Point>& points = s.polylines.front();
        ASSERT_EQ(points.size(), former.size() + 1) << printed;
        for (std::size_t k = 0; k < former.size(); ++k) {
            ASSERT_EQ((Seg{points[k].x, points[k].y, points[k + 1].x, points[k + 1].y}), former[k])
                << printed;
        }
        // And the recorded segments hold them in the same place and order.
        const auto at =
            std::search(s.segments.begin(), s.segments.end(), former.begin(), former.end());
        EXPECT_NE(at, s.segments.end()) << printed;
    }
}

}  // namespace velkor

namespace velkor {

TEST(GraphPainter, AnotherProfileSkipsReadingsWithoutAValue) {
    const DataSet d =
        dataOf({graphReading('S', "    1", "48000.0"), graphReading('S', "    1", "52000.0"),
                graphReading('S', "    1", "50000.0"), graphReading('S', "    1", "49000.0")});
    GraphPainter painter(d);
    painter.setProfile(
        [](int i) {
            const float values[] = {0.0f, 10.0f, 0.0f, 20.0f, 15.0f};
            return i == 2 ? std::nullopt : std::optional<float>(values[i]);
        },
        "Corrected[nT]");
    RecordingSurface s;
    painter.drawScreen(s, kWindow, 1.0f);
    EXPECT_EQ(*s.findText("Corrected[nT]"), (Txt{50, 30, "Corrected[nT]"}));
    EXPECT_EQ(s.findText("Field[nT]"), nullptr);
    // Axis 10 to 60 from the three values alone; reading 2 is left out and 1 joins 3.
    EXPECT_EQ(*s.findText("   15"), (Txt{20, 432, "   15"}));
    EXPECT_TRUE(s.hasSegment({109, 480, 127, 384}));
    EXPECT_TRUE(s.hasSegment({127, 384, 136, 432}));
    EXPECT_EQ(s.segments.size(), 1u + 1u + 8u + 2u);  // axes, ticks 15 to 50, profile

    RecordingSurface page;
    painter.drawPrinted(page, kWindow, 1.0f, 2000, 3000);
    EXPECT_NE(page.findText("Corrected[nT]"), nullptr);

    painter.setProfile({}, {});
    RecordingSurface plain;
    painter.drawScreen(plain, kWindow, 1.0f);
    EXPECT_NE(plain.findText("Field[nT]"), nullptr);
    EXPECT_TRUE(plain.hasSegment({109, 480, 118, 288}));
}

TEST(GraphPainter, ExtremeFieldsGiveBoundedCoordinatesOnScreenAndPaper) {
    const auto bounded = [](const RecordingSurface& s) {
        const auto inRange = [](int c) { return c > -20000000 && c < 20000000; };
        for (const Seg& seg : s.segments) {
            if (!inRange(seg.x1) || !inRange(seg.y1) || !inRange(seg.x2) || !inRange(seg.y2)) {
                return false;
            }
        }
        for (const Txt& t : s.texts) {
            if (!inRange(t.x) || !inRange(t.y)) {
                return false;
            }
        }
        return !s.segments.empty();
    };
    // An 18-pixel-wide view printed on a 4883-pixel page: the scale is 271, and a field
    // of 4.8e12 lies ten million pixels above the axis before scaling. Zoomed out, the
    // profile from it to the next reading falls on the page.
    const DataSet huge =
        dataOf({graphReading('S', "    1", " 4.8e12"), graphReading('S', "    1", "48000.0")});
    GraphPainter hugePainter(huge);
    RecordingSurface paper;
    hugePainter.drawPrinted(paper, GraphWindow{18, 600, 0, 0}, 0.5f, 4883, 6000);
    EXPECT_TRUE(bounded(paper));

    // Fields so far apart that the axis span overflows: its bottom becomes infinite, and a
    // view one pixel high multiplies that by a baseline of 0.
    const DataSet apart =
        dataOf({graphReading('S', "    1", "-1.8e38"), graphReading('S', "    1", " 1.8e38")});
    GraphPainter apartPainter(apart);
    RecordingSurface flat;
    apartPainter.drawScreen(flat, GraphWindow{1000, 1, 0, 0}, 1.0f);
    EXPECT_TRUE(bounded(flat));
    RecordingSurface flatPaper;
    apartPainter.drawPrinted(flatPaper, GraphWindow{1000, 1, 0, 0}, 1.0f, 4883, 6000);
    EXPECT_TRUE(bounded(flatPaper));
}

}  // namespace velkor
