#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "pictures/SurveyMapGeometry.h"
#include "pictures/SurveyMapPainter.h"
#include "support/RecordingSurface.h"

namespace velkor {
namespace {

using G = SurveyMapGeometry;
constexpr float kNoMapValue = std::numeric_limits<float>::quiet_NaN();

TEST(SurveyMapGeometry, OneScaleOnBothAxesNorthUpAndCentred) {
    // 1000 m east by 100 m north in a 800 x 600 frame: the width decides, 0.8 px/m.
    const G::Transform t = G::fit({500000.0, 501000.0, 6000000.0, 6000100.0}, {0, 0, 800, 600});
    EXPECT_DOUBLE_EQ(t.pixelsPerMetre(), 0.8);
    const G::DevicePoint sw = t.toDevice(500000.0, 6000000.0);
    const G::DevicePoint ne = t.toDevice(501000.0, 6000100.0);
    EXPECT_DOUBLE_EQ(ne.x - sw.x, 800.0);
    EXPECT_DOUBLE_EQ(sw.y - ne.y, 80.0);  // 100 m north is as long as 100 m east, and up
    EXPECT_DOUBLE_EQ((sw.y + ne.y) / 2.0, 300.0);
    const G::MetrePoint back = t.toMetres(ne.x, ne.y);
    EXPECT_NEAR(back.easting, 501000.0, 1e-6);
    EXPECT_NEAR(back.northing, 6000100.0, 1e-6);

    // A tall survey is limited by the height; a single point still gets a finite scale.
    EXPECT_DOUBLE_EQ(G::fit({0.0, 10.0, 0.0, 300.0}, {0, 0, 800, 600}).pixelsPerMetre(), 2.0);
    EXPECT_DOUBLE_EQ(G::fit({5.0, 5.0, 7.0, 7.0}, {0, 0, 800, 600}).pixelsPerMetre(), 80.0);
}

TEST(SurveyMapGeometry, ScaleBarIsARoundNumberOfMetresThatFits) {
    EXPECT_DOUBLE_EQ(G::roundMetres(0.7), 0.5);
    EXPECT_DOUBLE_EQ(G::roundMetres(1.0), 1.0);
    EXPECT_DOUBLE_EQ(G::roundMetres(3.0), 2.0);
    EXPECT_DOUBLE_EQ(G::roundMetres(9.99), 5.0);
    EXPECT_DOUBLE_EQ(G::roundMetres(199.99), 100.0);
    EXPECT_DOUBLE_EQ(G::roundMetres(200.0), 200.0);
    EXPECT_DOUBLE_EQ(G::roundMetres(1234.0), 1000.0);

    const G::Transform t = G::fit({0.0, 1000.0, 0.0, 100.0}, {0, 0, 800, 600});
    const G::ScaleBar bar = G::scaleBar(t, 200);  // 200 px = 250 m
    EXPECT_DOUBLE_EQ(bar.metres, 200.0);
    EXPECT_EQ(bar.pixels, 160);
}

TEST(SurveyMapGeometry, PixelRoundsAsLroundDoes) {
    for (const double v : {0.0, 2.5, -2.5, 2.4999999, -0.5, 0.49999999999999994, -1.5000001, 1366.5,
                           1e8 + 0.5, -2e9 - 0.5}) {
        EXPECT_EQ(G::pixel(v), std::lround(v)) << v;
    }
    std::mt19937 random(3);
    std::uniform_real_distribution<double> any(-5000.0, 5000.0);
    for (int k = 0; k < 10000; ++k) {
        const double v = std::round(any(random) * 2.0) / 2.0 + (k % 3 - 1) * 1e-12;
        ASSERT_EQ(G::pixel(v), std::lround(v)) << v;
    }
}

class SurveyMapPainterTest : public ::testing::Test {
  protected:
    // Three readings on a line running east, 10 m apart, and one without a diurnal value.
    SurveyMapPainter painter{{
        {0, 1000.0, 2000.0, {50000.0f, 49990.0f, -10.0f, kNoMapValue}},
        {1, 1010.0, 2000.0, {50010.0f, 50000.0f, 0.0f, 1.5f}},
        {2, 1020.0, 2000.0, {50020.0f, 50010.0f, 10.0f, kNoMapValue}},
        {3, 1020.0, 2040.0, {50030.0f, kNoMapValue, kNoMapValue, kNoMapValue}},
    }};
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;
    static constexpr int kEm = 12;
};

TEST_F(SurveyMapPainterTest, DrawsEveryReadingToScaleWithArrowScaleBarAndColourScale) {
    RecordingSurface s;
    painter.draw(s, kWidth, kHeight, SurveyMapPainter::Value::Diurnal, kEm);
    const G::Transform t = painter.transform(kWidth, kHeight, kEm);

    // The one without a diurnal value grey, below; the others coloured from dark to bright.
    ASSERT_GE(s.fills.size(), 4U);
    EXPECT_EQ(s.fills[0].rgb, 0xb4b4b4U);
    const G::DevicePoint p3 = t.toDevice(1020.0, 2040.0);
    EXPECT_EQ(s.fills[0].x + s.fills[0].width / 2, std::lround(p3.x));
    EXPECT_EQ(s.fills[0].y + s.fills[0].height / 2, std::lround(p3.y));
    // 10 m east between readings on screen is 10 m north between lines.
    EXPECT_EQ(s.fills[2].x - s.fills[1].x, s.fills[3].x - s.fills[2].x);
    EXPECT_EQ(s.fills[1].y - s.fills[0].y, std::lround(40 * t.pixelsPerMetre()));
    EXPECT_NE(s.fills[1].rgb, s.fills[3].rgb);

    // The arrow points up, with "N"; the scale bar names its round length.
    const G::NorthArrow a = G::northArrow(SurveyMapPainter::frame(kWidth, kHeight, kEm), kEm);
    EXPECT_TRUE(s.hasSegment({a.x, a.tailY, a.x, a.tipY}));
    EXPECT_LT(a.tipY, a.tailY);
    EXPECT_NE(s.findText("N"), nullptr);
    const G::ScaleBar bar = G::scaleBar(t, (SurveyMapPainter::frame(kWidth, kHeight, kEm).right -
                                            SurveyMapPainter::frame(kWidth, kHeight, kEm).left) /
                                               4);
    EXPECT_NE(s.findText(std::to_string(static_cast<int>(bar.metres)) + " m"), nullptr);
    EXPECT_NE(s.findText("Diurnal (nT)"), nullptr);
}

TEST_F(SurveyMapPainterTest, FindsTheReadingUnderThePointerAndSaysWhenNothingIsPlaced) {
    const G::Transform t = painter.transform(kWidth, kHeight, kEm);
    const G::DevicePoint p = t.toDevice(1010.0, 2000.0);
    EXPECT_EQ(painter.readingAt(kWidth, kHeight, kEm, static_cast<int>(p.x) + 2,
                                static_cast<int>(p.y) - 2),
              1);
    EXPECT_EQ(
        painter.readingAt(kWidth, kHeight, kEm, static_cast<int>(p.x), static_cast<int>(p.y) - 100),
        -1);

    RecordingSurface s;
    SurveyMapPainter().draw(s, kWidth, kHeight, SurveyMapPainter::Value::Field, kEm);
    EXPECT_NE(s.findText(SurveyMapPainter::kNothingPlaced), nullptr);
    EXPECT_TRUE(s.fills.empty());
}

// Of many readings crowded on a few pixels only the squares that still show are handed
// to the surface, and the picture is the one every square drawn in turn gives.
TEST(SurveyMapPainter, LeavesOutSquaresWhollyPaintedOverAndDrawsTheSamePicture) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> near(100.0, 120.0);
    std::uniform_real_distribution<float> value(-5.0f, 5.0f);
    std::vector<SurveyMapPainter::Dot> dots{{0, 0.0, 0.0, {1.0f, 1.0f, 1.0f, 1.0f}},
                                            {1, 400.0, 400.0, {2.0f, 2.0f, 2.0f, 2.0f}}};
    for (int r = 2; r < 2000; ++r) {
        const float v = r % 7 == 0 ? kNoMapValue : value(random);
        dots.push_back({r, near(random), near(random), {-v, v, v, v}});
    }
    const SurveyMapPainter painter(dots);
    constexpr int kWidth = 640;
    constexpr int kHeight = 480;
    constexpr int kSize = 5;
    RecordingSurface s;
    const auto v = SurveyMapPainter::Value::Anomaly;
    painter.draw(s, kWidth, kHeight, v, 12);

    using Picture = std::vector<std::uint32_t>;
    const auto paint = [](Picture& p, int x, int y, std::uint32_t rgb) {
        for (int dy = 0; dy < kSize; ++dy) {
            for (int dx = 0; dx < kSize; ++dx) {
                p.at(static_cast<std::size_t>((y + dy) * kWidth + x + dx)) = rgb;
            }
        }
    };
    Picture drawn(kWidth * kHeight, 0xffffffU);
    std::size_t squares = 0;
    for (const RecordingSurface::Fill& f : s.fills) {
        if (f.width == kSize && f.height == kSize) {
            paint(drawn, f.x, f.y, f.rgb);
            ++squares;
        }
    }
    Picture everyOne(kWidth * kHeight, 0xffffffU);
    const G::Transform t = painter.transform(kWidth, kHeight, 12);
    for (const bool withValue : {false, true}) {
        for (const SurveyMapPainter::Dot& d : dots) {
            if (std::isnan(d.values[2]) == withValue) {
                continue;
            }
            const G::DevicePoint p = t.toDevice(d.easting, d.northing);
            paint(everyOne, static_cast<int>(std::lround(p.x)) - kSize / 2,
                  static_cast<int>(std::lround(p.y)) - kSize / 2,
                  withValue ? PlanMapGeometry::colourOf(d.values[2], painter.range(v)) : 0xb4b4b4U);
        }
    }
    EXPECT_LT(squares, dots.size() / 4);
    EXPECT_TRUE(drawn == everyOne);

    // The same picture again is the same; another value colours it anew.
    const auto same = [](const RecordingSurface& a, const RecordingSurface& b) {
        return a.fills.size() == b.fills.size() &&
               std::equal(a.fills.begin(), a.fills.end(), b.fills.begin(),
                          [](const RecordingSurface::Fill& x, const RecordingSurface::Fill& y) {
                              return x.x == y.x && x.y == y.y && x.width == y.width &&
                                     x.height == y.height && x.rgb == y.rgb;
                          });
    };
    RecordingSurface again;
    painter.draw(again, kWidth, kHeight, v, 12);
    EXPECT_TRUE(same(again, s));
    RecordingSurface field;
    painter.draw(field, kWidth, kHeight, SurveyMapPainter::Value::Field, 12);
    EXPECT_FALSE(same(field, s));
}

}  // namespace
TEST(SurveyMapPainter, AFlaggedReadingIsDrawnHollow) {
    const std::vector<SurveyMapPainter::Dot> dots{
        {0, 0.0, 0.0, {1.0f, 1.0f, 1.0f, 1.0f}}, {1, 100.0, 100.0, {2.0f, 2.0f, 2.0f, 2.0f}, true}};
    const SurveyMapPainter painter(dots);
    RecordingSurface s;
    painter.draw(s, 640, 480, SurveyMapPainter::Value::Field, 12);
    const G::Transform t = painter.transform(640, 480, 12);
    const G::DevicePoint flagged = t.toDevice(100.0, 100.0);
    const G::DevicePoint plain = t.toDevice(0.0, 0.0);
    const auto centreIsWhite = [&s](const G::DevicePoint& p) {
        for (const RecordingSurface::Fill& f : s.fills) {
            if (f.width == 3 && f.rgb == 0xffffffU && f.x == G::pixel(p.x) - 1 &&
                f.y == G::pixel(p.y) - 1) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(centreIsWhite(flagged));
    EXPECT_FALSE(centreIsWhite(plain));
}

}  // namespace velkor
