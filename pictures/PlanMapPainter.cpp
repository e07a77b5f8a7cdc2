// Plan map drawing.
#include "pictures/PlanMapPainter.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>
#include <vector>

#include "pictures/DrawingSurface.h"
#include "text/ShortNumber.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

int charWidth(int em) {
    return std::max(1, (em * 3) / 5);
}

std::string number(double v) {
    return ShortNumber::sixDigits(ShortNumber::nearZeroAsZero(v, 1e-9));
}

const char* caption(PlanMap::By by) {
    switch (by) {
        case PlanMap::By::Corrected:
            return "Corrected[nT]";
        case PlanMap::By::Gradient:
            return "Gradient[nT]";
        case PlanMap::By::Field:
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

// Device coordinates as doubles first: a deep zoom puts far cells beyond int.
double toDeviceX(const PlanMapPainter::Frame& f, const PlanMap::Bounds& w, double x) {
    return f.left + (x - w.x0) / (w.x1 - w.x0) * (f.right - f.left);
}

double toDeviceY(const PlanMapPainter::Frame& f, const PlanMap::Bounds& w, double y) {
    // Lines run upwards.
    return f.bottom - (y - w.y0) / (w.y1 - w.y0) * (f.bottom - f.top);
}

// Device pixels, top-left and bottom-right.
struct Box {
    int x0, y0, x1, y1;
};

bool overlap(const Box& a, const Box& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

// The part of a cell on the plot area, or nothing when it lies outside.
std::optional<Box> cellBox(const PlanMapPainter::Frame& f, const PlanMap::Bounds& w,
                           const PlanMapGeometry::Cell& c) {
    if (c.x1 <= w.x0 || c.x0 >= w.x1 || c.y1 <= w.y0 || c.y0 >= w.y1) {
        return std::nullopt;
    }
    return Box{clampTo(toDeviceX(f, w, c.x0), f.left, f.right),
               clampTo(toDeviceY(f, w, c.y1), f.top, f.bottom),
               clampTo(toDeviceX(f, w, c.x1), f.left, f.right),
               clampTo(toDeviceY(f, w, c.y0), f.top, f.bottom)};
}

// A number to post, once every dot is drawn.
struct PendingText {
    int x, y;
    std::string text;
};

// The boxes of the numbers posted so far, filed under every bucket of a coarse grid they
// touch: a new one is tested against its neighbours only, however many readings there are.
struct PostedBoxes {
    int bucketWidth;
    int bucketHeight;
    std::unordered_map<long long, std::vector<Box>> buckets;
};

template <typename Visit>
void eachBucket(const PostedBoxes& p, const Box& b, Visit visit) {
    for (int bx = b.x0 / p.bucketWidth; bx <= (b.x1 - 1) / p.bucketWidth; ++bx) {
        for (int by = b.y0 / p.bucketHeight; by <= (b.y1 - 1) / p.bucketHeight; ++by) {
            visit((static_cast<long long>(bx) << 32) | static_cast<unsigned>(by));
        }
    }
}

bool isFree(const PostedBoxes& p, const Box& b) {
    bool free = true;
    eachBucket(p, b, [&](long long key) {
        const auto it = p.buckets.find(key);
        if (it != p.buckets.end()) {
            for (const Box& other : it->second) {
                free = free && !overlap(b, other);
            }
        }
    });
    return free;
}

void addToBuckets(PostedBoxes& p, const Box& b) {
    eachBucket(p, b, [&](long long key) { p.buckets[key].push_back(b); });
}

}  // namespace

PlanMapPainter::Frame PlanMapPainter::frame(int width, int height, int em) {
    Frame f{7 * em, 3 * em, width - 10 * em, height - 4 * em};
    f.right = std::max(f.right, f.left + 2);
    f.bottom = std::max(f.bottom, f.top + 2);
    return f;
}

PlanMap::Bounds PlanMapPainter::shown(const Frame& f, const PlanMap::Bounds& window,
                                      const PlanMapGeometry::Scale& scale) {
    return PlanMapGeometry::toScale(window, f.right - f.left, f.bottom - f.top, scale);
}

int PlanMapPainter::deviceX(const Frame& f, const PlanMap::Bounds& w, double x) {
    return static_cast<int>(std::lround(toDeviceX(f, w, x)));
}

int PlanMapPainter::deviceY(const Frame& f, const PlanMap::Bounds& w, double y) {
    return static_cast<int>(std::lround(toDeviceY(f, w, y)));
}

PlanMapPainter::Point PlanMapPainter::planPoint(const Frame& f, const PlanMap::Bounds& w, int px,
                                                int py) {
    return {w.x0 + (px - f.left) * (w.x1 - w.x0) / (f.right - f.left),
            w.y0 + (f.bottom - py) * (w.y1 - w.y0) / (f.bottom - f.top)};
}

PlanMap::Bounds PlanMapPainter::zoomed(const PlanMap::Bounds& w, double factor, Point about,
                                       const PlanMap::Bounds& whole) {
    // Between a thousandth and a hundred times the whole day, so the scale stays finite.
    const double width = (w.x1 - w.x0) / factor;
    const double wholeWidth = whole.x1 - whole.x0;
    if (!(width >= wholeWidth / kMaxZoom && width <= wholeWidth * kMaxZoomOut)) {
        return w;
    }
    // Both ways by the same factor: the picture keeps its scale.
    return {about.x + (w.x0 - about.x) / factor, about.x + (w.x1 - about.x) / factor,
            about.y + (w.y0 - about.y) / factor, about.y + (w.y1 - about.y) / factor};
}

void PlanMapPainter::draw(DrawingSurface& surface, const PlanMap& map, const View& view, int width,
                          int height, const std::string& title, int em) {
    const Frame f = frame(width, height, em);
    surface.setFont(em);
    const int titleX = (f.left + f.right) / 2 - static_cast<int>(title.size()) * charWidth(em) / 2;
    if (map.empty()) {
        surface.text(std::max(0, titleX), em / 2, title);
        surface.text(f.left, f.top, kNothingToMap);
        return;
    }
    const PlanMap::Bounds w = shown(f, view.window, view.scale);
    if (view.style == Style::Colours) {
        drawCells(surface, map, f, w);
    } else {
        drawPosted(surface, map, f, w, em);
    }
    drawMarks(surface, map, f, w, view.marked);
    drawAxes(surface, map, f, w, em);
    if (view.style == Style::Colours) {
        drawScaleBar(surface, map, f, em);
    }
    surface.text(std::max(0, titleX), em / 2, title);
}

void PlanMapPainter::drawCells(DrawingSurface& s, const PlanMap& map, const Frame& f,
                               const PlanMap::Bounds& w) {
    const auto& cells = map.cells();
    const auto& colours = map.colours();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::optional<Box> b = cellBox(f, w, cells[i]);
        if (!b) {
            continue;
        }
        s.fillRect(b->x0, b->y0, std::max(1, b->x1 - b->x0), std::max(1, b->y1 - b->y0),
                   colours[i]);
        if (cells[i].stacked) {
            // Readings sharing a place are told apart by a line between their bands.
            s.segment(b->x0, b->y0, b->x1, b->y0);
            s.segment(b->x0, b->y1, b->x1, b->y1);
        }
    }
}

void PlanMapPainter::drawPosted(DrawingSurface& s, const PlanMap& map, const Frame& f,
                                const PlanMap::Bounds& w, int em) {
    // Each number centred on its reading's place, taken in the order the readings were
    // walked, where it keeps a character's room from every number posted before it.
    const int cw = charWidth(em);
    PostedBoxes posted{10 * cw, em + 1, {}};
    std::vector<PendingText> texts;
    std::vector<Box> dots;
    for (const PlanMapGeometry::Cell& c : map.cells()) {
        const double x = toDeviceX(f, w, c.atX);
        const double y = toDeviceY(f, w, c.atY);
        if (!(x >= f.left && x <= f.right && y >= f.top && y <= f.bottom)) {
            continue;
        }
        const int px = static_cast<int>(std::lround(x));
        const int py = static_cast<int>(std::lround(y));
        std::string t = formatText("%.1f", c.value);
        const int tw = static_cast<int>(t.size()) * cw;
        const Box room{px - tw / 2 - cw / 2, py - em / 2, px - tw / 2 + tw + cw / 2,
                       py - em / 2 + em + 1};
        const bool inside =
            room.x0 > f.left && room.x1 < f.right && room.y0 > f.top && room.y1 < f.bottom;
        if (inside && isFree(posted, room)) {
            addToBuckets(posted, room);
            texts.push_back({px - tw / 2, py - em / 2, std::move(t)});
        } else {
            dots.push_back({px - cw, py, px + cw + 1, py + 1});
        }
    }
    // The readings left without a number are dots, where no number stands close enough
    // to read one as its minus sign.
    for (const Box& d : dots) {
        if (isFree(posted, d)) {
            s.segment(d.x0 + cw, d.y0, d.x0 + cw + 1, d.y0);
        }
    }
    for (const PendingText& t : texts) {
        s.text(t.x, t.y, t.text);
    }
}

void PlanMapPainter::drawMarks(DrawingSurface& s, const PlanMap& map, const Frame& f,
                               const PlanMap::Bounds& w, const std::vector<int>& marked) {
    if (marked.empty()) {
        return;
    }
    for (const PlanMapGeometry::Cell& c : map.cells()) {
        if (!std::binary_search(marked.begin(), marked.end(), c.reading)) {
            continue;
        }
        std::optional<Box> b = cellBox(f, w, c);
        if (!b) {
            continue;
        }
        // A black frame on the cell's edges with a white one inside it shows on any colour.
        const int grow = std::max(0, kSmallestMark - std::min(b->x1 - b->x0, b->y1 - b->y0));
        Box m{b->x0 - grow / 2, b->y0 - grow / 2, b->x1 + (grow + 1) / 2, b->y1 + (grow + 1) / 2};
        s.segment(m.x0, m.y0, m.x1, m.y0);
        s.segment(m.x1, m.y0, m.x1, m.y1);
        s.segment(m.x1, m.y1, m.x0, m.y1);
        s.segment(m.x0, m.y1, m.x0, m.y0);
        s.fillRect(m.x0 + 1, m.y0 + 1, m.x1 - m.x0 - 1, 1, 0xffffff);
        s.fillRect(m.x0 + 1, m.y1 - 1, m.x1 - m.x0 - 1, 1, 0xffffff);
        s.fillRect(m.x0 + 1, m.y0 + 1, 1, m.y1 - m.y0 - 1, 0xffffff);
        s.fillRect(m.x1 - 1, m.y0 + 1, 1, m.y1 - m.y0 - 1, 0xffffff);
    }
}

void PlanMapPainter::drawAxes(DrawingSurface& s, const PlanMap& map, const Frame& f,
                              const PlanMap::Bounds& w, int em) {
    s.segment(f.left, f.top, f.right, f.top);
    s.segment(f.right, f.top, f.right, f.bottom);
    s.segment(f.right, f.bottom, f.left, f.bottom);
    s.segment(f.left, f.bottom, f.left, f.top);
    const int cw = charWidth(em);
    const int xCount = std::max(2, (f.right - f.left) / (8 * cw));
    for (double v : PlanMapGeometry::ticks(w.x0, w.x1, xCount, map.wholePositions() ? 1.0 : 0.0)) {
        const int x = deviceX(f, w, v);
        const std::string t = number(v);
        s.segment(x, f.bottom, x, f.bottom + em / 2);
        s.text(x - static_cast<int>(t.size()) * cw / 2, f.bottom + em / 2 + 1, t);
    }
    const int yCount = std::max(2, (f.bottom - f.top) / (2 * em));
    for (double v : PlanMapGeometry::ticks(w.y0, w.y1, yCount, map.wholeLines() ? 1.0 : 0.0)) {
        const int y = deviceY(f, w, v);
        const std::string t = number(v);
        s.segment(f.left - em / 2, y, f.left, y);
        s.text(f.left - em / 2 - 1 - static_cast<int>(t.size()) * cw, y - em / 2, t);
    }
    s.text((f.left + f.right) / 2 - 4 * cw, f.bottom + 2 * em, "Position");
    s.text(em / 3, (f.top + f.bottom) / 2 - em / 2, "Line");
}

void PlanMapPainter::drawScaleBar(DrawingSurface& s, const PlanMap& map, const Frame& f, int em) {
    const int x0 = f.right + 2 * em;
    const int x1 = x0 + (3 * em) / 2;
    const int top = f.top;
    const int bottom = f.bottom;
    const int height = std::max(1, bottom - top);
    const PlanMapGeometry::Range& r = map.range();
    for (int y = top; y < bottom; ++y) {
        const double t = static_cast<double>(bottom - 1 - y) / std::max(1, height - 1);
        s.fillRect(x0, y, x1 - x0, 1, PlanMapGeometry::colourAt(t));
    }
    s.segment(x0, top, x1, top);
    s.segment(x1, top, x1, bottom);
    s.segment(x1, bottom, x0, bottom);
    s.segment(x0, bottom, x0, top);
    for (double v : PlanMapGeometry::ticks(r.lo, r.hi, std::max(2, height / (3 * em)))) {
        const int y = bottom - static_cast<int>(std::lround((v - r.lo) / (r.hi - r.lo) * height));
        s.segment(x1, y, x1 + em / 2, y);
        s.text(x1 + em / 2 + 2, y - em / 2, number(v));
    }
    s.text(x0 - em, top - (3 * em) / 2, caption(map.by()));
}

}  // namespace velkor
