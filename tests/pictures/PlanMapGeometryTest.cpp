#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "pictures/PlanMap.h"
#include "pictures/PlanMapGeometry.h"
#include "pictures/PlanMapPainter.h"
#include "support/RecordingSurface.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

using Cell = PlanMapGeometry::Cell;

struct Box {
    double x0, x1, y0, y1;
};
void expectBox(const Cell& c, Box b) {
    EXPECT_DOUBLE_EQ(c.x0, b.x0) << "reading " << c.reading;
    EXPECT_DOUBLE_EQ(c.x1, b.x1) << "reading " << c.reading;
    EXPECT_DOUBLE_EQ(c.y0, b.y0) << "reading " << c.reading;
    EXPECT_DOUBLE_EQ(c.y1, b.y1) << "reading " << c.reading;
}

TEST(PlanMapGeometry, EvenGridFillsThePlaneWithoutGaps) {
    std::vector<PlanMapGeometry::Point> pts;
    int k = 1;
    for (int line = 1; line <= 3; ++line) {
        for (int pos = 0; pos <= 20; pos += 10) {
            pts.push_back({k++, static_cast<double>(pos), static_cast<double>(line), 1.0});
        }
    }
    const std::vector<Cell> cells = PlanMapGeometry::cells(pts);
    ASSERT_EQ(cells.size(), 9u);
    expectBox(cells[0], {-5, 5, 0.5, 1.5});
    expectBox(cells[4], {5, 15, 1.5, 2.5});
    expectBox(cells[8], {15, 25, 2.5, 3.5});
    double area = 0;
    for (const Cell& c : cells) {
        area += (c.x1 - c.x0) * (c.y1 - c.y0);
        EXPECT_FALSE(c.stacked);
    }
    EXPECT_DOUBLE_EQ(area, 30.0 * 3.0);
}

TEST(PlanMapGeometry, UnevenLineReachesHalfwayToEachNeighbour) {
    // Walked backwards, unevenly; a lone reading on a second line takes the common gap.
    const std::vector<Cell> cells =
        PlanMapGeometry::cells({{1, 10, 2, 0}, {2, 4, 2, 0}, {3, 0, 2, 0}, {4, 6, 5, 0}});
    ASSERT_EQ(cells.size(), 4u);
    expectBox(cells[0], {7, 13, 0.5, 3.5});
    expectBox(cells[1], {2, 7, 0.5, 3.5});
    expectBox(cells[2], {-2, 2, 0.5, 3.5});
    // The gaps 4 and 6 occur once each: the smaller wins the tie.
    expectBox(cells[3], {4, 8, 3.5, 6.5});

    // Positions closer than the spacing can tell still give a single line some height.
    const std::vector<Cell> close = PlanMapGeometry::cells({{1, 0, 1, 0}, {2, 0.0001, 1, 0}});
    EXPECT_DOUBLE_EQ(close[0].y1 - close[0].y0, 1.0);
}

TEST(PlanMapGeometry, RepeatedPositionsAreStackedVisibly) {
    const std::vector<Cell> cells = PlanMapGeometry::cells(
        {{1, 0, 1, 0}, {2, 1, 1, 0}, {3, 1, 1, 0}, {4, 2, 1, 0}, {5, 1, 1, 0}});
    ASSERT_EQ(cells.size(), 5u);
    EXPECT_FALSE(cells[0].stacked);
    EXPECT_FALSE(cells[3].stacked);
    // Three readings at position 1 share its cell in three bands, none hidden.
    for (int i : {1, 2, 4}) {
        EXPECT_TRUE(cells[static_cast<std::size_t>(i)].stacked);
        EXPECT_DOUBLE_EQ(cells[static_cast<std::size_t>(i)].x0, 0.5);
        EXPECT_DOUBLE_EQ(cells[static_cast<std::size_t>(i)].x1, 1.5);
    }
    EXPECT_DOUBLE_EQ(cells[1].y0, 0.5);
    EXPECT_DOUBLE_EQ(cells[2].y0, 0.5 + 1.0 / 3);
    EXPECT_DOUBLE_EQ(cells[4].y0, 0.5 + 2.0 / 3);
    EXPECT_DOUBLE_EQ(cells[4].y1, 1.5);
}

TEST(PlanMapGeometry, PercentilesClipTheSpike) {
    std::vector<double> v;
    for (int i = 0; i <= 100; ++i) {
        v.push_back(i);
    }
    EXPECT_DOUBLE_EQ(PlanMapGeometry::percentile(v, 0), 0);
    EXPECT_DOUBLE_EQ(PlanMapGeometry::percentile(v, 50), 50);
    EXPECT_DOUBLE_EQ(PlanMapGeometry::percentile({1, 2}, 25), 1.25);
    v.back() = 1e6;
    const PlanMapGeometry::Range r = PlanMapGeometry::clipRange(v);
    EXPECT_DOUBLE_EQ(r.lo, 2);
    EXPECT_DOUBLE_EQ(r.hi, 98);
    const PlanMapGeometry::Range flat = PlanMapGeometry::clipRange({5, 5, 5});
    EXPECT_LT(flat.lo, 5);
    EXPECT_GT(flat.hi, 5);
}

TEST(PlanMapGeometry, ColourRunsFromDarkBlueToYellow) {
    EXPECT_EQ(PlanMapGeometry::colourAt(0.0), 0x440154u);
    EXPECT_EQ(PlanMapGeometry::colourAt(-3.0), 0x440154u);
    EXPECT_EQ(PlanMapGeometry::colourAt(1.0), 0xfde725u);
    EXPECT_EQ(PlanMapGeometry::colourAt(7.0), 0xfde725u);
    // The middle lies halfway between the fifth and sixth samples.
    EXPECT_EQ(PlanMapGeometry::colourAt(0.5), 0x23908cu);
    const PlanMapGeometry::Range r{100, 200};
    EXPECT_EQ(PlanMapGeometry::colourOf(150, r), 0x23908cu);
    EXPECT_EQ(PlanMapGeometry::colourOf(1e9, r), 0xfde725u);
    // Brightness grows along the scale.
    auto green = [](std::uint32_t c) { return (c >> 8) & 0xff; };
    for (double t = 0.1; t <= 1.0; t += 0.1) {
        EXPECT_GT(green(PlanMapGeometry::colourAt(t)), green(PlanMapGeometry::colourAt(t - 0.1)));
    }
}

TEST(PlanMapGeometry, TicksAreRoundSteps) {
    EXPECT_EQ(PlanMapGeometry::ticks(0, 10, 5), (std::vector<double>{0, 2, 4, 6, 8, 10}));
    EXPECT_EQ(PlanMapGeometry::ticks(48213, 48391, 4), (std::vector<double>{48250, 48300, 48350}));
    EXPECT_EQ(PlanMapGeometry::ticks(-0.5, 40.5, 4), (std::vector<double>{0, 20, 40}));
    EXPECT_EQ(PlanMapGeometry::ticks(-0.5, 40.5, 5), (std::vector<double>{0, 10, 20, 30, 40}));
    EXPECT_EQ(PlanMapGeometry::ticks(-1.2, 1.2, 3), (std::vector<double>{-1, 0, 1}));
    EXPECT_TRUE(PlanMapGeometry::ticks(3, 3, 5).empty());
    // Whole line numbers keep whole ticks however deep the zoom.
    EXPECT_EQ(PlanMapGeometry::ticks(16.2, 18.9, 10),
              (std::vector<double>{16.5, 17, 17.5, 18, 18.5}));
    EXPECT_EQ(PlanMapGeometry::ticks(16.2, 18.9, 10, 1.0), (std::vector<double>{17, 18}));
}

TEST(PlanMapGeometry, TicksStayFewFiniteAndInOrderForAnyInput) {
    const double big = 3.4e38;
    const struct {
        double lo, hi, minStep;
    } cases[] = {{1e15, 1e15 + 40, 1.0},
                 {9.007199254740992e15, 9.007199254740992e15 + 64, 1.0},
                 {1e17, 1e17 + 100, 0.0},
                 {1e17, 1e17 + 100, 1.0},
                 {-big, big, 0.0},
                 {-big, big, 1.0},
                 {1e30, 1e30 * (1 + 1e-15), 1.0},
                 {48000.0, 48000.0 + 1e-12, 0.0},
                 {1e308, 1.7976931348623157e308, 0.0}};
    for (const auto& c : cases) {
        const std::vector<double> t = PlanMapGeometry::ticks(c.lo, c.hi, 10, c.minStep);
        EXPECT_LE(t.size(), 12u) << c.lo;
        for (std::size_t k = 0; k < t.size(); ++k) {
            EXPECT_TRUE(std::isfinite(t[k])) << c.lo;
            EXPECT_TRUE(k == 0 || t[k] > t[k - 1]) << c.lo;
        }
    }
    EXPECT_LE(PlanMapGeometry::ticks(0, 1e9, 2000000000).size(),
              static_cast<std::size_t>(PlanMapGeometry::kMaxTicks) + 2);
    const double nan = std::nan("");
    const double inf = HUGE_VAL;
    EXPECT_TRUE(PlanMapGeometry::ticks(nan, 1, 5).empty());
    EXPECT_TRUE(PlanMapGeometry::ticks(0, nan, 5).empty());
    EXPECT_TRUE(PlanMapGeometry::ticks(0, inf, 5).empty());
    EXPECT_TRUE(PlanMapGeometry::ticks(-inf, inf, 5).empty());
    // A range clipped from equal huge values is still a range.
    const PlanMapGeometry::Range r = PlanMapGeometry::clipRange({1e17, 1e17});
    EXPECT_GT(r.hi, r.lo);
}

PlanMapPainter::View view(const PlanMap::Bounds& window, const PlanMapGeometry::Scale& scale = {},
                          PlanMapPainter::Style style = PlanMapPainter::Style::Colours,
                          std::vector<int> marked = {}) {
    return {window, scale, style, std::move(marked)};
}

std::string mapReading(char mode, int line, int pos, const char* field, const char* grad = "") {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%c 03.07.2026 09:02:10 %5d %5d %7s  0.7 7 1.5 %8s      ", mode,
                  line, pos, field, grad);
    return buf;
}

TEST(PlanMap, LeavesOutBaseReadingsAndColoursGradientsOnlyWhereMeasured) {
    DataSet data;
    data.replaceLines({"M Date      Time      Line  Pos  Field  Err  A D    Grad    Note ",
                       mapReading('S', 1, 1, "48100.0"), mapReading('A', 0, 0, "99999.0"),
                       mapReading('G', 1, 2, "48200.0", "12.5"), mapReading('S', 2, 1, "48300.0")});
    const PlanMap field = PlanMap::build(data, PlanMap::By::Field);
    ASSERT_EQ(field.cells().size(), 3u);
    EXPECT_EQ(field.cells()[1].reading, 3);
    EXPECT_DOUBLE_EQ(field.cells()[2].value, 48300.0);
    EXPECT_EQ(field.colours()[2], 0xfde725u);
    EXPECT_EQ(field.cellAt(2.0, 1.0), 1);
    EXPECT_EQ(field.cellAt(9.0, 1.0), -1);
    EXPECT_EQ(PlanMap::describe(data, 3),
              "Reading 3   Line 1   Position 2   Field 48200.0 nT   Gradient 12.5");
    EXPECT_EQ(PlanMap::describe(data, 1),
              "Reading 1   Line 1   Position 1   Field 48100.0 nT   Gradient -");
    const PlanMap grad = PlanMap::build(data, PlanMap::By::Gradient);
    DataSet corrected = data;
    corrected.geomagDone = true;
    corrected.geomag = 48000.0f;
    EXPECT_EQ(
        PlanMap::describe(corrected, 4),
        "Reading 4   Line 2   Position 1   Field 48300.0 nT   Gradient -   Corrected 300.0 nT");
    const PlanMap byCorrected = PlanMap::build(corrected, PlanMap::By::Corrected);
    ASSERT_EQ(byCorrected.cells().size(), 3u);
    EXPECT_DOUBLE_EQ(byCorrected.cells()[0].value, 100.0);
    ASSERT_EQ(grad.cells().size(), 1u);
    EXPECT_DOUBLE_EQ(grad.cells()[0].value, 12.5);
}

TEST(PlanMap, ReadingsWhoseFieldHoldsNoNumberAreLeftOut) {
    DataSet data;
    data.replaceLines({"M header ", mapReading('S', 1, 1, "48100.9"), mapReading('S', 1, 2, ""),
                       mapReading('G', 1, 3, "nan", "12.5"), mapReading('S', 1, 4, "48000.0"),
                       mapReading('G', 1, 5, "48050.0", "nan")});
    const PlanMap field = PlanMap::build(data, PlanMap::By::Field);
    ASSERT_EQ(field.cells().size(), 3u);
    EXPECT_EQ(field.cells()[1].reading, 4);
    EXPECT_GE(field.range().lo, 48000.0);  // not 0 nT
    EXPECT_EQ(field.cells()[2].reading, 5);
    EXPECT_EQ(PlanMap::build(data, PlanMap::By::Gradient).cells().size(), 0u);
    DataSet corrected = data;
    corrected.geomagDone = true;
    corrected.geomag = 48000.0f;
    EXPECT_EQ(PlanMap::build(corrected, PlanMap::By::Corrected).cells().size(), 3u);
    EXPECT_EQ(PlanMap::describe(data, 3),
              "Reading 3   Line 1   Position 3   Field -   Gradient 12.5");
    EXPECT_EQ(PlanMap::describe(data, 5),
              "Reading 5   Line 1   Position 5   Field 48050.0 nT   Gradient -");
}

TEST(PlanMapPainter, CellsFillTheirPlaceUpwardsWithScaleAxesAndTitle) {
    DataSet data;
    data.replaceLines({"M header ", mapReading('S', 1, 0, "48100.0"),
                       mapReading('S', 1, 10, "48200.0"), mapReading('S', 2, 0, "48300.0"),
                       mapReading('S', 2, 10, "48400.0")});
    const PlanMap map = PlanMap::build(data, PlanMap::By::Field);
    RecordingSurface s;
    // Lines 10 m apart, positions 1 m: a square of 20 m, drawn square in the middle.
    PlanMapPainter::draw(s, map, view(map.bounds(), {10.0, 1.0}), 600, 400, "survey.velkor");
    const PlanMapPainter::Frame f = PlanMapPainter::frame(600, 400, PlanMapPainter::kScreenEm);
    ASSERT_GE(s.fills.size(), 4u);
    // The first reading (line 1, lowest) is at the bottom-left, the last at the top-right.
    const int side = f.bottom - f.top;
    const int left = (f.left + f.right - side) / 2;
    EXPECT_EQ(s.fills[0].x, left);
    EXPECT_EQ(s.fills[0].y, f.top + side / 2);
    EXPECT_EQ(s.fills[0].y + s.fills[0].height, f.bottom);
    EXPECT_EQ(s.fills[3].x, left + side / 2);
    EXPECT_EQ(s.fills[3].x + s.fills[3].width, left + side);
    EXPECT_EQ(s.fills[3].y, f.top);
    EXPECT_EQ(s.fills[0].rgb, 0x440154u);
    EXPECT_EQ(s.fills[3].rgb, 0xfde725u);
    for (const char* t : {"Position", "Line", "survey.velkor", "Field[nT]", "0", "10"}) {
        EXPECT_NE(s.findText(t), nullptr) << t;
    }
    EXPECT_EQ(s.findText("1.2"), nullptr);  // lines are whole numbers
    // The scale bar is coloured beside the plot, from dark at the bottom to yellow on top.
    const auto bar = std::find_if(s.fills.begin(), s.fills.end(),
                                  [&](const RecordingSurface::Fill& x) { return x.x > f.right; });
    ASSERT_NE(bar, s.fills.end());
    EXPECT_EQ(bar->rgb, 0xfde725u);
    EXPECT_EQ(s.fills.back().rgb, PlanMapGeometry::colourAt(0.0));
}

TEST(PlanMapGeometry, ToScaleWidensAboutTheCentre) {
    const PlanMapGeometry::Rect wanted{0, 40, 0.5, 6.5};
    // 40 positions 1 m apart and 6 lines 1 m apart on 400 x 400 pixels: 10 pixels a metre.
    const PlanMapGeometry::Rect r = PlanMapGeometry::toScale(wanted, 400, 400, {});
    EXPECT_DOUBLE_EQ(r.x0, 0);
    EXPECT_DOUBLE_EQ(r.x1, 40);
    EXPECT_DOUBLE_EQ(r.y0, 3.5 - 20);
    EXPECT_DOUBLE_EQ(r.y1, 3.5 + 20);
    // Lines 20 m apart make the survey 120 m tall: 3 1/3 metres a pixel both ways.
    const PlanMapGeometry::Rect tall = PlanMapGeometry::toScale(wanted, 400, 400, {20.0, 1.0});
    EXPECT_DOUBLE_EQ(tall.y1 - tall.y0, 6);
    EXPECT_DOUBLE_EQ((tall.x1 - tall.x0) * 1.0, 120);
    EXPECT_DOUBLE_EQ(tall.x0 + tall.x1, 40);
    // What cannot be drawn to scale is left as it is.
    for (const PlanMapGeometry::Scale bad :
         {PlanMapGeometry::Scale{0, 1}, PlanMapGeometry::Scale{1, -1},
          PlanMapGeometry::Scale{1, std::nan("")}}) {
        EXPECT_DOUBLE_EQ(PlanMapGeometry::toScale(wanted, 400, 400, bad).y1, 6.5);
    }
    EXPECT_DOUBLE_EQ(PlanMapGeometry::toScale({0, 0, 0, 1}, 400, 400, {}).x1, 0);
    EXPECT_DOUBLE_EQ(PlanMapGeometry::toScale({-1e308, 1e308, 0, 1}, 400, 400, {}).y1, 1);

    EXPECT_TRUE(PlanMapGeometry::readSpacing(" 0.01").ok);
    EXPECT_DOUBLE_EQ(PlanMapGeometry::readSpacing("0.01").metres, 0.01);
    EXPECT_DOUBLE_EQ(PlanMapGeometry::readSpacing("12.5").metres, 12.5);
    EXPECT_EQ(PlanMapGeometry::readSpacing("0").message, "Enter a number between 0.01 and 10000.");
    EXPECT_EQ(PlanMapGeometry::readSpacing("20000").message,
              "Enter a number between 0.01 and 10000.");
    EXPECT_EQ(PlanMapGeometry::readSpacing("2 m").message, "Enter a number.");
}

TEST(PlanMapPainter, AMetreAcrossTheLinesIsAsLongAsOneAlongThem) {
    // 6 lines of 40 positions; the cells are as tall as the lines are apart in metres, and
    // as wide as the positions are, in any window, zoomed or not.
    DataSet data;
    std::vector<std::string> lines{"M header "};
    for (int line = 1; line <= 6; ++line) {
        for (int pos = 1; pos <= 40; ++pos) {
            lines.push_back(mapReading('S', line, pos, "48100.0"));
        }
    }
    data.replaceLines(lines);
    const PlanMap map = PlanMap::build(data, PlanMap::By::Field);
    const PlanMap::Bounds whole = map.bounds();
    const PlanMap::Bounds zoomed = PlanMapPainter::zoomed(whole, 3.0, {30, 2}, whole);
    for (const PlanMapGeometry::Scale scale :
         {PlanMapGeometry::Scale{1, 1}, PlanMapGeometry::Scale{2, 0.5}}) {
        for (const PlanMap::Bounds& window : {whole, zoomed}) {
            for (const auto& [width, height] : {std::pair{900, 560}, std::pair{400, 900}}) {
                RecordingSurface s;
                PlanMapPainter::draw(s, map, view(window, scale), width, height, "t");
                // A cell in the middle of the survey, wholly shown.
                const RecordingSurface::Fill& c = s.fills[2 * 40 + 30];
                const double ratio = static_cast<double>(c.height) / c.width;
                const double wanted = scale.lineSpacing / scale.stationInterval;
                EXPECT_NEAR(ratio, wanted, wanted * 2.0 / std::min(c.width, c.height))
                    << width << "x" << height << " " << c.width << "x" << c.height;
                const PlanMapPainter::Frame f = PlanMapPainter::frame(width, height, 12);
                // The whole window is seen, and it touches two opposite sides of the frame.
                const PlanMap::Bounds w = PlanMapPainter::shown(f, window, scale);
                EXPECT_LE(w.x0, window.x0 + 1e-9);
                EXPECT_GE(w.x1, window.x1 - 1e-9);
                EXPECT_LE(w.y0, window.y0 + 1e-9);
                EXPECT_GE(w.y1, window.y1 - 1e-9);
                EXPECT_TRUE(std::fabs(w.x1 - w.x0 - (window.x1 - window.x0)) < 1e-9 ||
                            std::fabs(w.y1 - w.y0 - (window.y1 - window.y0)) < 1e-9);
            }
        }
    }
}

TEST(PlanMapPainter, PostedValuesStandAtTheirReadingsWithoutOverlapping) {
    DataSet data;
    std::vector<std::string> lines{"M header "};
    for (int line = 1; line <= 6; ++line) {
        for (int pos = 1; pos <= 40; ++pos) {
            const std::string field = formatText("%7.1f", 48000.0 + line * 100 + pos);
            lines.push_back(mapReading('S', line, pos, field.c_str()));
        }
    }
    lines.push_back(mapReading('S', 3, 20, "47000.0"));  // stacked on another reading
    data.replaceLines(lines);
    const PlanMap map = PlanMap::build(data, PlanMap::By::Field);
    const PlanMap::Bounds whole = map.bounds();
    const int em = PlanMapPainter::kScreenEm;
    const int cw = (em * 3) / 5;
    // The whole survey, the same moved half off the plot, and a deep zoom.
    const PlanMap::Bounds moved{whole.x0 + 25, whole.x1 + 25, whole.y0 - 2, whole.y1 - 2};
    const PlanMap::Bounds deep = PlanMapPainter::zoomed(whole, 8.0, {20, 3}, whole);
    for (const PlanMap::Bounds& window : {whole, moved, deep}) {
        const bool zoomedIn = window.x1 - window.x0 < whole.x1 - whole.x0;
        RecordingSurface s;
        PlanMapPainter::draw(s, map, view(window, {}, PlanMapPainter::Style::Values), 900, 560, "t",
                             em);
        const PlanMapPainter::Frame f = PlanMapPainter::frame(900, 560, em);
        const PlanMap::Bounds w = PlanMapPainter::shown(f, window, {});
        std::vector<RecordingSurface::Text> posted;
        for (const RecordingSurface::Text& t : s.texts) {
            if (t.text.size() == 7 && t.text[5] == '.' && t.y > f.top && t.y < f.bottom &&
                t.x > f.left && t.x < f.right) {
                posted.push_back(t);
            }
        }
        // Several at the whole survey's scale, every one seen when zoomed in deep.
        int seen = 0;
        for (const PlanMapGeometry::Cell& c : map.cells()) {
            const int x = PlanMapPainter::deviceX(f, w, c.atX);
            const int y = PlanMapPainter::deviceY(f, w, c.atY);
            seen +=
                x > f.left + 4 * cw && x < f.right - 4 * cw && y > f.top + em && y < f.bottom - em;
        }
        EXPECT_GE(posted.size(), zoomedIn ? static_cast<std::size_t>(seen) : 20u);
        for (std::size_t i = 0; i < posted.size(); ++i) {
            const RecordingSurface::Text& t = posted[i];
            const int width = static_cast<int>(t.text.size()) * cw;
            // Centred on the place of the reading whose value it is.
            const bool atItsReading =
                std::any_of(map.cells().begin(), map.cells().end(), [&](const auto& c) {
                    return formatText("%.1f", c.value) == t.text &&
                           std::abs(t.x + width / 2 - PlanMapPainter::deviceX(f, w, c.atX)) <= 1 &&
                           std::abs(t.y + em / 2 - PlanMapPainter::deviceY(f, w, c.atY)) <= 1;
                });
            EXPECT_TRUE(atItsReading) << t.text << " at " << t.x << "," << t.y;
            for (std::size_t j = 0; j < i; ++j) {
                const RecordingSurface::Text& u = posted[j];
                const bool apart =
                    t.x + width <= u.x || u.x + width <= t.x || t.y + em <= u.y || u.y + em <= t.y;
                EXPECT_TRUE(apart) << t.text << " and " << u.text;
            }
        }
    }
}

TEST(PlanMapPainter, StackedReadingsAreDividedByLines) {
    DataSet data;
    data.replaceLines({"M header ", mapReading('S', 1, 0, "48100.0"),
                       mapReading('S', 1, 10, "48200.0"), mapReading('S', 1, 10, "48300.0")});
    const PlanMap map = PlanMap::build(data, PlanMap::By::Field);
    RecordingSurface s;
    PlanMapPainter::draw(s, map, view(map.bounds()), 600, 400, "t");
    // The two readings at position 10 each fill half of its cell, a line above and below.
    const RecordingSurface::Fill& lower = s.fills[1];
    const RecordingSurface::Fill& upper = s.fills[2];
    EXPECT_EQ(lower.x, upper.x);
    EXPECT_EQ(upper.y + upper.height, lower.y);
    EXPECT_NE(lower.rgb, upper.rgb);
    const int right = lower.x + lower.width;
    EXPECT_TRUE(s.hasSegment({lower.x, lower.y, right, lower.y}));
    EXPECT_TRUE(s.hasSegment({upper.x, upper.y, right, upper.y}));
    EXPECT_FALSE(s.hasSegment({s.fills[0].x, s.fills[0].y, lower.x, s.fills[0].y}));
}

TEST(PlanMapPainter, HugeLineNumbersAndValuesDrawFewTicks) {
    // Lines numbered about 10^16 and equal values about 5 * 10^15: the colour scale's
    // half-steps there lie past 2^53, where adding 1 to a double no longer changes it.
    DataSet data;
    std::vector<std::string> lines{"M header "};
    for (int k = 1; k <= 6; ++k) {
        std::string r = mapReading('S', 1, k, "5.0e+15");
        r.replace(22, 5, k < 4 ? " 1e16" : " 2e16");
        lines.push_back(r);
    }
    data.replaceLines(lines);
    const PlanMap map = PlanMap::build(data, PlanMap::By::Field);
    ASSERT_EQ(map.cells().size(), 6u);
    RecordingSurface s;
    PlanMapPainter::draw(s, map, view(map.bounds()), 600, 400, "far");
    EXPECT_LT(s.segments.size(), 400u);
    EXPECT_LT(s.texts.size(), 200u);
}

TEST(PlanMapPainter, AnEmptyMapSaysSo) {
    RecordingSurface s;
    PlanMapPainter::draw(s, PlanMap(), view({0, 1, 0, 1}), 600, 400, "empty");
    EXPECT_TRUE(s.fills.empty());
    EXPECT_EQ(s.textsOnly(), (std::vector<std::string>{"empty", PlanMapPainter::kNothingToMap}));
}

TEST(PlanMapPainter, ZoomKeepsThePointUnderThePointer) {
    const PlanMap::Bounds w{0, 100, 0, 40};
    const PlanMap::Bounds z = PlanMapPainter::zoomed(w, 2.0, {25, 10}, w);
    EXPECT_DOUBLE_EQ(z.x0, 12.5);
    EXPECT_DOUBLE_EQ(z.x1, 62.5);
    EXPECT_DOUBLE_EQ(z.y0, 5);
    EXPECT_DOUBLE_EQ(z.y1, 25);
    // Neither into a point nor out to nothing.
    const PlanMap::Bounds deep = PlanMapPainter::zoomed(w, 1e6, {25, 10}, w);
    EXPECT_DOUBLE_EQ(deep.x1 - deep.x0, 100);
    const PlanMap::Bounds far = PlanMapPainter::zoomed(w, 1e-6, {25, 10}, w);
    EXPECT_DOUBLE_EQ(far.x1 - far.x0, 100);
    const PlanMapPainter::Frame f = PlanMapPainter::frame(800, 600, 12);
    const PlanMapPainter::Point p = PlanMapPainter::planPoint(
        f, w, PlanMapPainter::deviceX(f, w, 25), PlanMapPainter::deviceY(f, w, 10));
    EXPECT_NEAR(p.x, 25, 0.2);
    EXPECT_NEAR(p.y, 10, 0.2);
}

}  // namespace
}  // namespace velkor
