// The survey picture.
#include "pictures/SurveyPicture.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "pictures/DrawingSurface.h"
#include "pictures/PlanMapGeometry.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

constexpr std::uint32_t kPositionColour = 0x000000;
constexpr std::uint32_t kWhite = 0xffffff;
constexpr int kTickEms = 8;  // at least this many ems between coordinate labels

SurveyMapGeometry::Bounds joined(const SurveyMapGeometry::Bounds& a,
                                 const SurveyMapGeometry::Bounds& b) {
    return {std::min(a.e0, b.e0), std::max(a.e1, b.e1), std::min(a.n0, b.n0), std::max(a.n1, b.n1)};
}

SurveyMapGeometry::Bounds shownBounds(const SurveyMapPainter& readings,
                                      const GridLayerPainter& grid) {
    return readings.dots().empty() ? grid.bounds() : joined(readings.bounds(), grid.bounds());
}

// Coordinates as whole metres unless the ticks are closer than a metre.
std::string coordinateText(double v, double step) {
    const int decimals =
        step >= 1.0 ? 0 : std::min(6, static_cast<int>(std::ceil(-std::log10(step))));
    return formatText("%.*f", decimals, v);
}

int rounded(double v) {
    return static_cast<int>(std::lround(v));
}

// The device rectangle of b.
SurveyMapGeometry::Frame boxOf(const SurveyMapGeometry::Bounds& b,
                               const SurveyMapGeometry::Transform& t) {
    const SurveyMapGeometry::DevicePoint topLeft = t.toDevice(b.e0, b.n1);
    const SurveyMapGeometry::DevicePoint bottomRight = t.toDevice(b.e1, b.n0);
    return {rounded(topLeft.x), rounded(topLeft.y), rounded(bottomRight.x), rounded(bottomRight.y)};
}

}  // namespace

std::optional<SurveyPicture::Layers> SurveyPicture::layersOf(const std::string& list) {
    Layers layers{false, false, false, false};
    std::istringstream in(list);
    std::string word;
    bool any = false;
    while (std::getline(in, word, ',')) {
        if (word == "readings") {
            layers.readings = true;
        } else if (word == "grid") {
            layers.grid = true;
        } else if (word == "shade") {
            layers.shade = true;
        } else if (word == "contours") {
            layers.contours = true;
        } else {
            return std::nullopt;
        }
        any = true;
    }
    return any ? std::optional<Layers>(layers) : std::nullopt;
}

SurveyMapPainter::Value SurveyPicture::valueOf(SurveyGridding::What what) {
    switch (what) {
        case SurveyGridding::What::Anomaly:
            return SurveyMapPainter::Value::Anomaly;
        case SurveyGridding::What::Diurnal:
            return SurveyMapPainter::Value::Diurnal;
        case SurveyGridding::What::Field:
            return SurveyMapPainter::Value::Field;
        case SurveyGridding::What::Gradient:
            return SurveyMapPainter::Value::Gradient;
    }
    return SurveyMapPainter::Value::Anomaly;
}

SurveyMapGeometry::Frame SurveyPicture::frame(int width, int height, int em) {
    return {3 * em, 3 * em, std::max(4 * em, width - 11 * em), std::max(4 * em, height - 4 * em)};
}

bool SurveyPicture::showsGrid(const GridLayerPainter* grid, Layers layers) {
    return layers.gridded() && grid != nullptr && !grid->empty();
}

SurveyMapGeometry::Transform SurveyPicture::transform(int width, int height, int em,
                                                      const SurveyMapPainter& readings,
                                                      const GridLayerPainter* grid, Layers layers,
                                                      double shrink) {
    if (!showsGrid(grid, layers)) {
        return readings.transform(width, height, em, shrink);
    }
    return SurveyMapGeometry::fit(shownBounds(readings, *grid), frame(width, height, em), shrink);
}

void SurveyPicture::draw(DrawingSurface& surface, int width, int height,
                         const SurveyMapPainter& readings, const GridLayerPainter* grid,
                         Layers layers, SurveyMapPainter::Value value, int em, double shrink) {
    if (showsGrid(grid, layers)) {
        drawGridded(surface, width, height, readings, *grid, layers, em, shrink);
    } else {
        readings.draw(surface, width, height, value, em, shrink);
    }
}

void SurveyPicture::draw(DrawingSurface& surface, int width, int height, const Survey& survey,
                         const SurveyGridding::Result* gridded, Layers layers,
                         SurveyGridding::What what, const GridStretch::Choice& stretch, int em) {
    const SurveyMapPainter readings = SurveyMapPainter::build(survey);
    if (gridded == nullptr) {
        draw(surface, width, height, readings, nullptr, layers, valueOf(what), em);
        return;
    }
    const GridLayerPainter grid(*gridded, stretch);
    draw(surface, width, height, readings, &grid, layers, valueOf(what), em);
}

void SurveyPicture::drawGridded(DrawingSurface& s, int width, int height,
                                const SurveyMapPainter& readings, const GridLayerPainter& grid,
                                Layers layers, int em, double shrink) {
    s.setFont(em);
    const SurveyMapGeometry::Frame f = frame(width, height, em);
    const SurveyMapGeometry::Bounds b = shownBounds(readings, grid);
    const SurveyMapGeometry::Transform t = SurveyMapGeometry::fit(b, f, shrink);
    grid.drawImage(s, t, layers.grid, layers.shade);
    if (layers.contours) {
        grid.drawContours(s, t);
    }
    if (layers.readings) {
        readings.tracks().draw(s, t, f);  // under the readings, as without a grid
        drawPositions(s, readings, t, em, layers.grid || layers.shade);
    }
    if (layers.contours) {
        grid.drawContourLabels(s, t, em);
    }
    // The arrow, the bars and the coordinates keep to the map itself, not the room for it.
    const SurveyMapGeometry::Frame map = boxOf(b, t);
    drawCoordinates(s, b, t, em);
    // On white, so that it reads over any colour.
    const SurveyMapGeometry::NorthArrow a = SurveyMapGeometry::northArrow(map, em);
    s.fillRect(a.x - em * 2 / 3, a.tipY - em / 3, em * 4 / 3, a.tailY - a.tipY + em * 3 / 2,
               kWhite);
    SurveyMapPainter::drawNorthArrow(s, map, em);
    SurveyMapPainter::drawScaleBar(s, t, map, em);
    if (layers.grid) {
        grid.drawColourBar(s, map, SurveyMapPainter::valueName(valueOf(grid.result()->what)), em);
    }
}

void SurveyPicture::drawPositions(DrawingSurface& s, const SurveyMapPainter& readings,
                                  const SurveyMapGeometry::Transform& t, int em, bool overGrid) {
    // A little larger on a page, where an em has many more pixels than on screen.
    const bool many = readings.dots().size() > kManyPositions;
    const int size = many ? std::max(1, em / 12) : std::max(2, em / 8);
    const auto drawAt = [&](const SurveyMapPainter::Dot& d) {
        const SurveyMapGeometry::DevicePoint p = t.toDevice(d.easting, d.northing);
        s.fillRect(rounded(p.x) - size / 2, rounded(p.y) - size / 2, size, size, kPositionColour);
    };
    if (!(many && overGrid)) {
        std::for_each(readings.dots().begin(), readings.dots().end(), drawAt);
        return;
    }
    // So many dots would hide the grid under them: one in each few pixels shows where the
    // readings are and leaves the grid seen between them.
    for (const int k : readings.thinned(t, kThinning * size)) {
        drawAt(readings.dots()[static_cast<std::size_t>(k)]);
    }
}

void SurveyPicture::drawCoordinates(DrawingSurface& s, const SurveyMapGeometry::Bounds& b,
                                    const SurveyMapGeometry::Transform& t, int em) {
    const SurveyMapGeometry::Frame box = boxOf(b, t);
    const int left = box.left;
    const int top = box.top;
    const int right = box.right;
    const int bottom = box.bottom;
    s.polyline({{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}});
    const int tick = std::max(2, em / 2);
    const int charWidth = std::max(1, em * 6 / 10);

    const std::vector<double> eastings =
        PlanMapGeometry::ticks(b.e0, b.e1, std::max(1, (right - left) / (kTickEms * em)));
    const double eastStep = eastings.size() > 1 ? eastings[1] - eastings[0] : 1.0;
    for (const double e : eastings) {
        const int x = rounded(t.toDevice(e, b.n1).x);
        const std::string label = coordinateText(e, eastStep);
        s.segment(x, top - tick, x, top);
        s.text(x - static_cast<int>(label.size()) * charWidth / 2, top - tick - em * 5 / 4, label);
    }
    const std::vector<double> northings =
        PlanMapGeometry::ticks(b.n0, b.n1, std::max(1, (bottom - top) / (kTickEms * em)));
    const double northStep = northings.size() > 1 ? northings[1] - northings[0] : 1.0;
    for (const double n : northings) {
        const int y = rounded(t.toDevice(b.e0, n).y);
        s.segment(left - tick, y, left, y);
        // Turned to read upwards, as the northings run.
        s.turnedText(left - tick - em * 2 / 3, y, 90.0, coordinateText(n, northStep), em);
    }
}

int SurveyPicture::readingAt(const SurveyMapPainter& readings,
                             const SurveyMapGeometry::Transform& t, int x, int y) {
    return readings.readingAt(t, x, y);
}

}  // namespace velkor
