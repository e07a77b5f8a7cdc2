#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "pictures/GridLayerPainter.h"
#include "pictures/SurveyMapPainter.h"
#include "pictures/SurveyPicture.h"
#include "support/RecordingSurface.h"

namespace velkor {
namespace {

// More readings than the map draws one by one over a grid, crowded on 20 m x 20 m.
std::vector<SurveyMapPainter::Dot> crowdedDots() {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> along(0.0, 20.0);
    std::vector<SurveyMapPainter::Dot> dots;
    for (std::size_t k = 0; k <= SurveyPicture::kManyPositions; ++k) {
        dots.push_back({static_cast<int>(k),
                        1000.0 + along(random),
                        2000.0 + along(random),
                        {1.0f, 1.0f, 1.0f, 1.0f},
                        false});
    }
    return dots;
}

// A flat grid under the readings.
SurveyGridding::Result flatGrid() {
    SurveyGridding::Result r;
    Grid& g = r.gridded.grid;
    g.lattice = {1000.0, 2000.0, 2.0, 11, 11};
    g.values.assign(g.lattice.size(), 5.0);
    r.gridded.report.cell = 2.0;
    return r;
}

std::size_t blackSquares(const RecordingSurface& s) {
    std::size_t n = 0;
    for (const RecordingSurface::Fill& f : s.fills) {
        n += f.rgb == 0x000000 ? 1 : 0;
    }
    return n;
}

}  // namespace

TEST(SurveyMapThinning, OneDotInEachCellThatHoldsAny) {
    const SurveyMapPainter map(crowdedDots());
    const SurveyMapGeometry::Transform t = map.transform(400, 300, SurveyMapPainter::kScreenEm);
    constexpr int kCell = 3;
    const auto cellOf = [&](const SurveyMapPainter::Dot& d) {
        const SurveyMapGeometry::DevicePoint p = t.toDevice(d.easting, d.northing);
        const SurveyMapGeometry::DevicePoint corner = t.toDevice(map.bounds().e0, map.bounds().n1);
        return std::make_pair(static_cast<int>((p.x - std::floor(corner.x)) / kCell),
                              static_cast<int>((p.y - std::floor(corner.y)) / kCell));
    };
    std::set<std::pair<int, int>> occupied;
    for (const SurveyMapPainter::Dot& d : map.dots()) {
        occupied.insert(cellOf(d));
    }
    const std::vector<int> kept = map.thinned(t, kCell);
    std::set<std::pair<int, int>> keptCells;
    for (std::size_t k = 0; k < kept.size(); ++k) {
        ASSERT_TRUE(k == 0 || kept[k] > kept[k - 1]);
        EXPECT_TRUE(keptCells.insert(cellOf(map.dots()[kept[k]])).second) << kept[k];
    }
    EXPECT_EQ(keptCells, occupied);
    EXPECT_LT(kept.size(), map.dots().size() / 2);
}

TEST(SurveyMapThinning, OverTheGridFewerDotsWithoutItEveryReading) {
    const SurveyMapPainter map(crowdedDots());
    const SurveyGridding::Result result = flatGrid();
    const GridLayerPainter grid(result, GridStretch::Kind::Percentile);
    const auto drawn = [&](bool colours) {
        SurveyPicture::Layers layers;
        layers.contours = true;
        layers.grid = colours;
        RecordingSurface s;
        SurveyPicture::draw(s, 400, 300, map, &grid, layers, SurveyMapPainter::Value::Anomaly);
        return blackSquares(s);
    };
    // Contours alone hide nothing: every reading is drawn.
    EXPECT_EQ(drawn(false), map.dots().size());
    // Over the grid's colours one dot to a cell of three dots across.
    SurveyPicture::Layers colours;
    colours.grid = true;
    const SurveyMapGeometry::Transform t =
        SurveyPicture::transform(400, 300, SurveyMapPainter::kScreenEm, map, &grid, colours);
    EXPECT_EQ(drawn(true), map.thinned(t, SurveyPicture::kThinning).size());
    EXPECT_LT(drawn(true), map.dots().size() / 2);

    // The walk's track shows over the grid too, under the readings, and goes with them.
    SurveyMapPainter walked(crowdedDots());
    const TrackLines::Line walk = {{1000.0, 2000.0}, {1020.0, 2020.0}};
    walked.setTracks(TrackLines(std::vector<TrackLines::Line>{walk}));
    std::size_t segments[2] = {};
    for (const bool readings : {false, true}) {
        colours.readings = readings;
        RecordingSurface s;
        SurveyPicture::draw(s, 400, 300, walked, &grid, colours, SurveyMapPainter::Value::Anomaly);
        segments[readings] = s.segments.size();
    }
    EXPECT_GT(segments[1], segments[0]);
}

}  // namespace velkor
