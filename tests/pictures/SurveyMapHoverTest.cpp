#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "pictures/SurveyMapPainter.h"

namespace velkor {
namespace {

// Every dot looked at: the nearest within the pick radius on the picture, the first of
// equally near ones; what the map answered before it kept its dots by place.
int nearestByFullScan(const SurveyMapPainter& map, const SurveyMapGeometry::Transform& t, int x,
                      int y) {
    int best = -1;
    double bestDistance = 6 * 6 + 0.5;
    for (const SurveyMapPainter::Dot& d : map.dots()) {
        const SurveyMapGeometry::DevicePoint p = t.toDevice(d.easting, d.northing);
        const double distance = (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = d.reading;
        }
    }
    return best;
}

// Readings on survey lines 2 m apart, 0.5 m along them with a little scatter, and a few
// repeated at the very same place (equally near dots); reading numbers not in dot order.
std::vector<SurveyMapPainter::Dot> hoverDots(unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> jitter(-0.1, 0.1);
    std::vector<SurveyMapPainter::Dot> dots;
    for (int line = 0; line < 60; ++line) {
        for (int s = 0; s < 400; ++s) {
            const double e = 500000.0 + line * 2.0 + jitter(random);
            const double n = 6000000.0 + s * 0.5 + jitter(random);
            const int reading = static_cast<int>(dots.size()) * 7 % 100003;
            dots.push_back({reading, e, n, {1.0f, 2.0f, 3.0f, 4.0f}, false});
            if (s % 50 == 0) {
                dots.push_back({reading + 1, e, n, {1.0f, 2.0f, 3.0f, 4.0f}, false});
            }
        }
    }
    return dots;
}

}  // namespace

TEST(SurveyMapHover, TheIndexFindsTheReadingTheFullScanFinds) {
    const SurveyMapPainter map(hoverDots(7));
    std::mt19937 random(11);
    // The whole survey in the window, then zoomed in (few metres to a pixel and many
    // pixels to a metre), with points on, between and beyond the dots.
    const std::vector<SurveyMapGeometry::Transform> views = {
        map.transform(1000, 700, SurveyMapPainter::kScreenEm),
        SurveyMapGeometry::Transform(3.0, 500040.0, 6000120.0, 100.0, 100.0),
        SurveyMapGeometry::Transform(40.0, 500060.0, 6000100.0, 50.0, 400.0)};
    int found = 0;
    for (const SurveyMapGeometry::Transform& t : views) {
        std::uniform_int_distribution<int> x(-20, 1020);
        std::uniform_int_distribution<int> y(-20, 720);
        for (int k = 0; k < 3000; ++k) {
            const int px = x(random);
            const int py = y(random);
            const int expected = nearestByFullScan(map, t, px, py);
            ASSERT_EQ(map.readingAt(t, px, py), expected) << px << ", " << py;
            found += expected >= 0 ? 1 : 0;
        }
    }
    // Most points hit a reading, some miss: both answers were put to the test.
    EXPECT_GT(found, 1000);
    EXPECT_LT(found, 9000);
}

TEST(SurveyMapHover, NoDotsFindNothingAndOneDotIsFoundOnlyNearIt) {
    EXPECT_EQ(SurveyMapPainter().readingAt(800, 600, SurveyMapPainter::kScreenEm, 10, 10), -1);
    const SurveyMapPainter one({{42, 100.0, 200.0, {1.0f, 1.0f, 1.0f, 1.0f}, false}});
    const SurveyMapGeometry::Transform t = one.transform(800, 600, SurveyMapPainter::kScreenEm);
    const SurveyMapGeometry::DevicePoint p = t.toDevice(100.0, 200.0);
    const int x = SurveyMapGeometry::pixel(p.x);
    const int y = SurveyMapGeometry::pixel(p.y);
    EXPECT_EQ(one.readingAt(t, x + 6, y), 42);
    EXPECT_EQ(one.readingAt(t, x + 7, y), -1);
}

}  // namespace velkor
