#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "gridding/ContourLevels.h"
#include "gridding/Contours.h"
#include "pictures/GridLayerPainter.h"
#include "pictures/GridStretch.h"
#include "pictures/PlanMapGeometry.h"
#include "pictures/ShadedRelief.h"
#include "pictures/SurveyPicture.h"
#include "support/RecordingSurface.h"

namespace velkor {
namespace {

constexpr int kNx = 8;
constexpr int kNy = 6;

// 8 x 6 nodes, 10 m apart, from (1000, 2000): the value rises 10 nT a node east and 1 nT
// a node north; the south-west and north-east corners have none.
SurveyGridding::Result handMade() {
    SurveyGridding::Result r;
    Grid& g = r.gridded.grid;
    g.lattice = {1000.0, 2000.0, 10.0, kNx, kNy};
    g.values.resize(g.lattice.size());
    for (int j = 0; j < kNy; ++j) {
        for (int i = 0; i < kNx; ++i) {
            g.at(i, j) = 10.0 * i + j;
        }
    }
    g.at(0, 0) = Grid::kNoData;
    g.at(kNx - 1, kNy - 1) = Grid::kNoData;
    r.interval = 5.0;
    r.contours = Contours::trace(g, ContourLevels::at(g, r.interval));
    r.gridded.report.cell = 10.0;
    return r;
}

Grid plane(double east, double north) {
    Grid g;
    g.lattice = {0.0, 0.0, 1.0, 6, 6};
    for (int j = 0; j < 6; ++j) {
        for (int i = 0; i < 6; ++i) {
            g.values.push_back(east * i + north * j);
        }
    }
    return g;
}

std::vector<double> numbersIn(const RecordingSurface& s) {
    std::vector<double> out;
    for (const auto& t : s.texts) {
        char* end = nullptr;
        const double v = std::strtod(t.text.c_str(), &end);
        if (end != t.text.c_str() && *end == '\0') {
            out.push_back(v);
        }
    }
    return out;
}

}  // namespace

TEST(GridPicture, GridIsOneImageOverItsCellsWithNoDataLeftBlank) {
    const SurveyGridding::Result r = handMade();
    const GridLayerPainter grid(r, GridStretch::Kind::Percentile);
    const SurveyMapPainter readings;  // no reading: the grid alone
    RecordingSurface s;
    SurveyPicture::Layers layers;
    layers.grid = true;
    SurveyPicture::draw(s, 800, 600, readings, &grid, layers, SurveyMapPainter::Value::Anomaly);

    ASSERT_EQ(s.pictures.size(), 1U);
    const RecordingSurface::Picture& p = s.pictures[0];
    ASSERT_EQ(p.image.width, kNx);
    ASSERT_EQ(p.image.height, kNy);
    // The image covers the cells, half a cell beyond the outer nodes, at the map's scale.
    const auto t =
        SurveyPicture::transform(800, 600, SurveyMapPainter::kScreenEm, readings, &grid, layers);
    const auto nw = t.toDevice(995.0, 2000.0 + 10.0 * kNy - 5.0);
    EXPECT_NEAR(p.x, nw.x, 1e-9);
    EXPECT_NEAR(p.y, nw.y, 1e-9);
    EXPECT_NEAR(p.width, 10.0 * kNx * t.pixelsPerMetre(), 1e-9);
    EXPECT_NEAR(p.height, 10.0 * kNy * t.pixelsPerMetre(), 1e-9);
    // Rows from the north: the south-west node is the bottom-left pixel, the north-east the
    // top-right; both blank, every other opaque.
    for (int row = 0; row < kNy; ++row) {
        for (int col = 0; col < kNx; ++col) {
            const std::uint32_t px = p.image.pixels[static_cast<std::size_t>(row) * kNx + col];
            const bool blank = (row == kNy - 1 && col == 0) || (row == 0 && col == kNx - 1);
            EXPECT_EQ(px == 0u, blank) << row << "," << col;
            EXPECT_EQ(px >> 24, blank ? 0u : 0xffu);
        }
    }
    // Higher values take colours further along the scale (viridis grows brighter).
    const auto green = [&](int row, int col) {
        return (p.image.pixels[static_cast<std::size_t>(row) * kNx + col] >> 8) & 0xff;
    };
    EXPECT_LT(green(3, 1), green(3, 3));

    // The colour bar: titled in nT, its labels round values inside the 2nd to 98th
    // percentile of the nodes with a value; no contour drawn, as none was asked for.
    EXPECT_NE(s.findText("Anomaly (nT)"), nullptr);
    const std::vector<double> labels = numbersIn(s);
    const std::vector<double> bar = grid.barValues();
    ASSERT_GE(bar.size(), 3U);
    for (const double v : bar) {
        EXPECT_GE(v, grid.stretch().lo());
        EXPECT_LE(v, grid.stretch().hi());
        EXPECT_NE(std::find(labels.begin(), labels.end(), v), labels.end()) << v;
    }
    std::vector<double> values;
    for (const double v : r.gridded.grid.values) {
        if (!Grid::isNoData(v)) {
            values.push_back(v);
        }
    }
    EXPECT_DOUBLE_EQ(grid.stretch().lo(), PlanMapGeometry::percentile(values, 2.0));
    EXPECT_DOUBLE_EQ(grid.stretch().hi(), PlanMapGeometry::percentile(values, 98.0));
    EXPECT_GT(bar.front(), bar.back());
    EXPECT_NE(s.findText("clipped 2-98 %"), nullptr);
    for (const auto& turned : s.turnedTexts) {
        EXPECT_EQ(turned.angle, 90.0) << turned.text;  // only the northings on the frame
    }
    // Coordinates on the frame: eastings above it, northings turned beside it.
    EXPECT_NE(s.findText("1000"), nullptr);
    EXPECT_TRUE(std::any_of(s.turnedTexts.begin(), s.turnedTexts.end(),
                            [](const auto& x) { return x.text == "2000"; }));
}

TEST(GridPicture, ContoursWithUprightLabelsAndTheChosenLayersOnly) {
    const SurveyGridding::Result r = handMade();
    const GridLayerPainter grid(r, GridStretch::Kind::Equalised);
    SurveyPicture::Layers layers{false, false, true, true};
    RecordingSurface s;
    SurveyPicture::draw(s, 800, 600, SurveyMapPainter(), &grid, layers,
                        SurveyMapPainter::Value::Anomaly);
    // Shade alone: the grey image, no colour bar.
    ASSERT_EQ(s.pictures.size(), 1U);
    const std::uint32_t px = s.pictures[0].image.pixels[6];
    EXPECT_EQ((px >> 16) & 0xff, px & 0xff);
    EXPECT_EQ(s.findText("Anomaly (nT)"), nullptr);
    // Index contours (every 25 nT) labelled with their level, upright, where the contour
    // set puts them.
    ASSERT_FALSE(r.contours.labels.empty());
    const auto t = SurveyPicture::transform(800, 600, SurveyMapPainter::kScreenEm,
                                            SurveyMapPainter(), &grid, layers);
    for (const ContourLabel& label : r.contours.labels) {
        const auto at = t.toDevice(label.at.x, label.at.y);
        char text[32];
        std::snprintf(text, sizeof text, "%g", label.level);
        EXPECT_TRUE(std::any_of(s.turnedTexts.begin(), s.turnedTexts.end(), [&](const auto& x) {
            return x.text == text && x.angle == label.angle && x.angle > -90.0 && x.angle <= 90.0 &&
                   x.x == std::lround(at.x) && x.y == std::lround(at.y);
        })) << text;
    }
    // A label that would cover one already drawn is left out.
    SurveyGridding::Result crowded = r;
    ContourLabel close = crowded.contours.labels[0];
    close.at.x += 0.1;
    crowded.contours.labels.push_back(close);
    RecordingSurface c;
    const GridLayerPainter crowdedGrid(crowded, GridStretch::Kind::Equalised);
    crowdedGrid.drawContourLabels(c, t, SurveyMapPainter::kScreenEm);
    EXPECT_EQ(c.turnedTexts.size(), r.contours.labels.size());
    // A level of nought reads "0", never "-0".
    SurveyGridding::Result nought = r;
    nought.contours.labels = {{-0.0, {1020.0, 2020.0}, 0.0}};
    RecordingSurface z;
    GridLayerPainter(nought, GridStretch::Kind::Equalised).drawContourLabels(z, t, 12);
    ASSERT_EQ(z.turnedTexts.size(), 1U);
    EXPECT_EQ(z.turnedTexts[0].text, "0");

    // Every contour drawn; the index one twice, a pixel apart.
    for (const ContourLine& line : r.contours.lines) {
        const auto a = t.toDevice(line.points[0].x, line.points[0].y);
        const auto b = t.toDevice(line.points[1].x, line.points[1].y);
        const RecordingSurface::Segment first{
            static_cast<int>(std::lround(a.x)), static_cast<int>(std::lround(a.y)),
            static_cast<int>(std::lround(b.x)), static_cast<int>(std::lround(b.y))};
        EXPECT_TRUE(s.hasSegment(first)) << line.level;
        EXPECT_EQ(s.hasSegment({first.x1 + 1, first.y1, first.x2 + 1, first.y2}), line.index);
    }

    // Equalised: the middle of the bar is the median node value.
    std::vector<double> values;
    for (const double v : r.gridded.grid.values) {
        if (!Grid::isNoData(v)) {
            values.push_back(v);
        }
    }
    EXPECT_NEAR(grid.stretch().valueAt(0.5), PlanMapGeometry::percentile(values, 50.0), 1e-9);
    EXPECT_NEAR(grid.stretch().fraction(grid.stretch().valueAt(0.3)), 0.3, 1e-6);
    EXPECT_EQ(s.findText("equalised"), nullptr);  // no colour bar without colours
}

TEST(GridPicture, WithoutAGridLayerTheReadingsMapIsDrawnAsBefore) {
    const SurveyMapPainter readings(
        {{0, 1000.0, 2000.0, {1.f, 2.f, 3.f, 4.f}}, {1, 1040.0, 2030.0, {5.f, 6.f, 7.f, 8.f}}});
    const SurveyGridding::Result r = handMade();
    const GridLayerPainter grid(r, GridStretch::Kind::Percentile);
    RecordingSurface before;
    readings.draw(before, 640, 480, SurveyMapPainter::Value::Diurnal);
    RecordingSurface now;
    SurveyPicture::draw(now, 640, 480, readings, &grid, SurveyPicture::Layers{},
                        SurveyMapPainter::Value::Diurnal);
    EXPECT_EQ(now.textsOnly(), before.textsOnly());
    EXPECT_EQ(now.segments, before.segments);
    EXPECT_EQ(now.fills.size(), before.fills.size());
    EXPECT_TRUE(now.pictures.empty());

    // With the grid the readings' positions go on top, small and black.
    RecordingSurface gridded;
    SurveyPicture::draw(gridded, 640, 480, readings, &grid, {true, true, false, false},
                        SurveyMapPainter::Value::Diurnal);
    const auto t = SurveyPicture::transform(640, 480, SurveyMapPainter::kScreenEm, readings, &grid,
                                            {true, true, false, false});
    const auto at = t.toDevice(1040.0, 2030.0);
    EXPECT_TRUE(std::any_of(gridded.fills.begin(), gridded.fills.end(), [&](const auto& f) {
        return f.rgb == 0u && std::abs(f.x + f.width / 2.0 - at.x) <= 1.0 &&
               std::abs(f.y + f.height / 2.0 - at.y) <= 1.0;
    }));
    EXPECT_EQ(
        SurveyPicture::readingAt(readings, t, static_cast<int>(at.x) + 2, static_cast<int>(at.y)),
        1);

    EXPECT_TRUE((SurveyPicture::layersOf("grid,contours") ==
                 SurveyPicture::Layers{false, true, false, true}));
    EXPECT_FALSE(SurveyPicture::layersOf("grid,relief"));
    EXPECT_FALSE(SurveyPicture::layersOf(""));
}

TEST(GridPicture, ShadeIsLitFromTheNorthWest) {
    const double level = std::sin(45.0 * 3.14159265358979323846 / 180.0);
    const std::vector<float> flat = ShadedRelief::of(plane(0.0, 0.0));
    EXPECT_NEAR(flat[14], level, 1e-6);
    // A slope rising east faces west, towards the light; one rising west faces away.
    EXPECT_GT(ShadedRelief::of(plane(3.0, 0.0))[14], level + 0.05);
    EXPECT_LT(ShadedRelief::of(plane(-3.0, 0.0))[14], level - 0.05);
    EXPECT_LT(ShadedRelief::of(plane(0.0, 3.0))[14], level - 0.05);
    Grid holed = plane(1.0, 1.0);
    holed.values[7] = Grid::kNoData;
    const std::vector<float> shade = ShadedRelief::of(holed);
    EXPECT_TRUE(std::isnan(shade[7]));
    EXPECT_NEAR(shade[8], shade[14], 1e-6);  // one-sided beside the hole, the same plane
}

}  // namespace velkor
