// Plan map drawing.
#include "views/MapPainter.h"

#include <algorithm>
#include <cmath>

#include "data/TextFormat.h"
#include "views/DrawingSurface.h"

namespace velkor {
namespace {

int charWidth(int em) {
    return std::max(1, (em * 3) / 5);
}

std::string number(double v) {
    return formatText("%g", std::fabs(v) < 1e-9 ? 0.0 : v);
}

const char* caption(SurveyMap::By by) {
    switch (by) {
        case SurveyMap::By::Corrected:
            return "Corrected[nT]";
        case SurveyMap::By::Gradient:
            return "Gradient[nT]";
        case SurveyMap::By::Field:
            break;
    }
    return "Field[nT]";
}

int clampTo(double v, int lo, int hi) {
    if (!(v > lo)) {
        return lo;
    }
    return v < hi ? static_cast<int>(std::lround(v)) : hi;
}

}  // namespace

MapPainter::Frame MapPainter::frame(int width, int height, int em) {
    Frame f{7 * em, 3 * em, width - 10 * em, height - 4 * em};
    f.right = std::max(f.right, f.left + 2);
    f.bottom = std::max(f.bottom, f.top + 2);
    return f;
}

int MapPainter::deviceX(const Frame& f, const SurveyMap::Bounds& w, double x) {
    const double t = (x - w.x0) / (w.x1 - w.x0);
    return static_cast<int>(std::lround(f.left + t * (f.right - f.left)));
}

int MapPainter::deviceY(const Frame& f, const SurveyMap::Bounds& w, double y) {
    // Lines run upwards.
    const double t = (y - w.y0) / (w.y1 - w.y0);
    return static_cast<int>(std::lround(f.bottom - t * (f.bottom - f.top)));
}

MapPainter::Point MapPainter::surveyPoint(const Frame& f, const SurveyMap::Bounds& w, int px,
                                          int py) {
    return {w.x0 + (px - f.left) * (w.x1 - w.x0) / (f.right - f.left),
            w.y0 + (f.bottom - py) * (w.y1 - w.y0) / (f.bottom - f.top)};
}

SurveyMap::Bounds MapPainter::zoomed(const SurveyMap::Bounds& w, double factor, Point about,
                                     const SurveyMap::Bounds& whole) {
    // Between a thousandth and a hundred times the whole survey, so the scale stays finite.
    const double width = (w.x1 - w.x0) / factor;
    const double wholeWidth = whole.x1 - whole.x0;
    if (!(width >= wholeWidth / kMaxZoom && width <= wholeWidth * kMaxZoomOut)) {
        return w;
    }
    return {about.x + (w.x0 - about.x) / factor, about.x + (w.x1 - about.x) / factor,
            about.y + (w.y0 - about.y) / factor, about.y + (w.y1 - about.y) / factor};
}

void MapPainter::draw(DrawingSurface& surface, const SurveyMap& map,
                      const SurveyMap::Bounds& window, int width, int height,
                      const std::string& title, Style style, int em) {
    const Frame f = frame(width, height, em);
    surface.setFont(em);
    const int titleX = (f.left + f.right) / 2 - static_cast<int>(title.size()) * charWidth(em) / 2;
    if (map.empty()) {
        surface.text(std::max(0, titleX), em / 2, title);
        surface.text(f.left, f.top, kNothingToMap);
        return;
    }
    drawCells(surface, map, f, window, style, em);
    drawAxes(surface, map, f, window, em);
    if (style == Style::Colours) {
        drawScaleBar(surface, map, f, em);
    }
    surface.text(std::max(0, titleX), em / 2, title);
}

void MapPainter::drawCells(DrawingSurface& s, const SurveyMap& map, const Frame& f,
                           const SurveyMap::Bounds& w, Style style, int em) {
    const auto& cells = map.cells();
    const auto& colours = map.colours();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const MapGeometry::Cell& c = cells[i];
        // Edges as doubles first: a deep zoom puts far cells beyond int.
        const int x0 =
            clampTo(f.left + (c.x0 - w.x0) / (w.x1 - w.x0) * (f.right - f.left), f.left, f.right);
        const int x1 =
            clampTo(f.left + (c.x1 - w.x0) / (w.x1 - w.x0) * (f.right - f.left), f.left, f.right);
        const int y0 =
            clampTo(f.bottom - (c.y1 - w.y0) / (w.y1 - w.y0) * (f.bottom - f.top), f.top, f.bottom);
        const int y1 =
            clampTo(f.bottom - (c.y0 - w.y0) / (w.y1 - w.y0) * (f.bottom - f.top), f.top, f.bottom);
        const bool outside = c.x1 <= w.x0 || c.x0 >= w.x1 || c.y1 <= w.y0 || c.y0 >= w.y1;
        if (outside) {
            continue;
        }
        if (style == Style::Colours) {
            s.fillRect(x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0), colours[i]);
            if (c.stacked) {
                // Readings sharing a place are told apart by a line between their bands.
                s.segment(x0, y0, x1, y0);
                s.segment(x0, y1, x1, y1);
            }
        } else {
            const std::string t = formatText("%.1f", c.value);
            const int tw = static_cast<int>(t.size()) * charWidth(em);
            if (x1 - x0 >= tw && y1 - y0 >= em) {
                s.text((x0 + x1 - tw) / 2, (y0 + y1 - em) / 2, t);
            } else {
                s.segment((x0 + x1) / 2, (y0 + y1) / 2, (x0 + x1) / 2 + 1, (y0 + y1) / 2);
            }
        }
    }
}

void MapPainter::drawAxes(DrawingSurface& s, const SurveyMap& map, const Frame& f,
                          const SurveyMap::Bounds& w, int em) {
    s.segment(f.left, f.top, f.right, f.top);
    s.segment(f.right, f.top, f.right, f.bottom);
    s.segment(f.right, f.bottom, f.left, f.bottom);
    s.segment(f.left, f.bottom, f.left, f.top);
    const int cw = charWidth(em);
    const int xCount = std::max(2, (f.right - f.left) / (8 * cw));
    for (double v : MapGeometry::ticks(w.x0, w.x1, xCount, map.wholePositions() ? 1.0 : 0.0)) {
        const int x = deviceX(f, w, v);
        const std::string t = number(v);
        s.segment(x, f.bottom, x, f.bottom + em / 2);
        s.text(x - static_cast<int>(t.size()) * cw / 2, f.bottom + em / 2 + 1, t);
    }
    const int yCount = std::max(2, (f.bottom - f.top) / (2 * em));
    for (double v : MapGeometry::ticks(w.y0, w.y1, yCount, map.wholeLines() ? 1.0 : 0.0)) {
        const int y = deviceY(f, w, v);
        const std::string t = number(v);
        s.segment(f.left - em / 2, y, f.left, y);
        s.text(f.left - em / 2 - 1 - static_cast<int>(t.size()) * cw, y - em / 2, t);
    }
    s.text((f.left + f.right) / 2 - 4 * cw, f.bottom + 2 * em, "Position");
    s.text(em / 3, (f.top + f.bottom) / 2 - em / 2, "Line");
}

void MapPainter::drawScaleBar(DrawingSurface& s, const SurveyMap& map, const Frame& f, int em) {
    const int x0 = f.right + 2 * em;
    const int x1 = x0 + (3 * em) / 2;
    const int top = f.top;
    const int bottom = f.bottom;
    const int height = std::max(1, bottom - top);
    const MapGeometry::Range& r = map.range();
    for (int y = top; y < bottom; ++y) {
        const double t = static_cast<double>(bottom - 1 - y) / std::max(1, height - 1);
        s.fillRect(x0, y, x1 - x0, 1, MapGeometry::colourAt(t));
    }
    s.segment(x0, top, x1, top);
    s.segment(x1, top, x1, bottom);
    s.segment(x1, bottom, x0, bottom);
    s.segment(x0, bottom, x0, top);
    for (double v : MapGeometry::ticks(r.lo, r.hi, std::max(2, height / (3 * em)))) {
        const int y = bottom - static_cast<int>(std::lround((v - r.lo) / (r.hi - r.lo) * height));
        s.segment(x1, y, x1 + em / 2, y);
        s.text(x1 + em / 2 + 2, y - em / 2, number(v));
    }
    s.text(x0 - em, top - (3 * em) / 2, caption(map.by()));
}

}  // namespace velkor
