// Field profile drawing, shared by screen and printer.
#include "pictures/GraphPainter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>

#include "data/DataSet.h"
#include "data/LineReader.h"
#include "pictures/DrawingSurface.h"
#include "text/NumberText.h"
#include "text/TextFormat.h"

namespace velkor {

// Turns window coordinates into the surface's: document coordinates on screen, scaled
// page coordinates on paper.
class GraphPainter::Mapper {
  public:
    Mapper(const GraphWindow& w, int dx) : w_(w), dx_(dx) {}
    Mapper(const GraphWindow& w, int dx, int pageWidth)
        : w_(w),
          dx_(dx),
          print_(true),
          scale_(static_cast<double>(pageWidth) / w.W),
          pageWidth_(pageWidth) {}

    const GraphWindow& window() const { return w_; }
    bool print() const { return print_; }
    int pageWidth() const { return pageWidth_; }
    int baseline() const { return (4 * w_.H) / 5; }
    int dx() const { return dx_; }
    // Document abscissa of sequence number i.
    int x(int i) const { return w_.W / 10 + i * dx_; }

    // An element that stays in place in the window, at window abscissa a.
    int fixedX(int a) const { return print_ ? scaled(a) : w_.Sx + a; }
    int y(int windowY) const { return print_ ? scaled(windowY - w_.Sy) : windowY; }
    // An element tied to a reading; false when it falls outside the printed width.
    bool readingX(int documentX, int& out) const {
        if (!print_) {
            out = documentX;
            return true;
        }
        out = scaled(documentX - w_.Sx);
        return out > 0 && out < pageWidth_;
    }

  private:
    int scaled(int v) const { return GraphScale::pixel(v * scale_); }

    GraphWindow w_;
    int dx_;
    bool print_ = false;
    double scale_ = 1.0;
    int pageWidth_ = 0;
};

namespace {

// Equality of two short column texts, compared in place: a library call per reading
// costs more than the comparison.
bool sameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k] != b[k]) {
            return false;
        }
    }
    return true;
}

// The largest integer not above a / b, for b > 0.
long long floorDiv(long long a, long long b) {
    return a / b - (a % b != 0 && a < 0 ? 1 : 0);
}

void cross(DrawingSurface& s, int c, int e) {
    s.segment(c - 2, e + 2, c + 3, e - 3);
    s.segment(c - 2, e - 2, c + 3, e + 3);
}

}  // namespace

GraphPainter::GraphPainter(const DataSet& data)
    : data_(data),
      field_(DataSet::kCapacity),
      gradient_(DataSet::kCapacity),
      isGradient_(DataSet::kCapacity),
      hasField_(DataSet::kCapacity, 1) {
    polyline_.reserve(DataSet::kCapacity);
}

void GraphPainter::setProfile(ProfileValue value, std::string caption) {
    profile_ = std::move(value);
    profileCaption_ = std::move(caption);
}

GraphPainter::Range GraphPainter::seenReadings(const DrawingSurface& surface,
                                               const Mapper& map) const {
    const Range all{0, count_ - 1};
    const std::optional<DrawingSurface::Seen> seen = surface.seen();
    if (!seen || map.print()) {
        return all;
    }
    // A reading's marks reach from 2 left of it (a cross) to the end of its texts, which
    // are never longer than a data line.
    const long long left = seen->left - static_cast<long long>(LineReader::kPieceLength) *
                                            std::max(seen->widestCharacter, 1);
    const long long right = seen->right + 2;
    const long long origin = map.window().W / 10;
    const long long dx = std::max(map.dx(), 1);
    const long long first = floorDiv(left - origin - 1, dx) + 1;
    const long long last = floorDiv(right - origin, dx);
    return {static_cast<int>(std::clamp<long long>(first, 0, count_)),
            static_cast<int>(std::clamp<long long>(last, -1, count_ - 1))};
}

void GraphPainter::readValues() {
    count_ = std::min(data_.lineCount(), DataSet::kCapacity);
    fieldMin_ = gradMin_ = 100000.0f;
    fieldMax_ = gradMax_ = -100000.0f;
    hasGradient_ = false;
    for (int i = 1; i < count_; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        isGradient_[k] = data_.mode(i) == 'G';
        if (isGradient_[k]) {
            const float g = static_cast<float>(readDecimal(data_.field(i, Column::Grad)));
            gradient_[k] = g;
            gradMin_ = g < gradMin_ ? g : gradMin_;
            gradMax_ = g > gradMax_ ? g : gradMax_;
            hasGradient_ = true;
        }
        // The measured field, unless another profile was chosen: read straight, without
        // going through the chosen profile's function.
        float f = 0.0f;
        if (!profile_) {
            f = static_cast<float>(readDecimal(data_.field(i, Column::Field)));
        } else {
            const std::optional<float> value = profile_(i);
            hasField_[k] = value.has_value();
            if (!value) {
                continue;
            }
            f = *value;
        }
        field_[k] = f;
        fieldMin_ = f < fieldMin_ ? f : fieldMin_;
        fieldMax_ = f > fieldMax_ ? f : fieldMax_;
    }
    if (!profile_) {
        std::fill(hasField_.begin(), hasField_.begin() + count_, 1);
    }
}

GraphScale::Spacing GraphPainter::drawScreen(DrawingSurface& surface, const GraphWindow& window,
                                             float zoom) {
    const GraphScale::Spacing spacing = GraphScale::spacing(data_.lineCount(), zoom);
    if (data_.lineCount() < 2) {
        return spacing;  // nothing to draw: an empty white view
    }
    surface.setFont(kScreenEm);
    draw(surface, Mapper(window, spacing.dx));
    return spacing;
}

void GraphPainter::drawPrinted(DrawingSurface& surface, const GraphWindow& window, float zoom,
                               int pageWidth, int pageHeight) {
    if (data_.lineCount() < 2 || window.W <= 0) {
        return;
    }
    const GraphScale::Spacing spacing = GraphScale::spacing(data_.lineCount(), zoom);
    surface.setFont(pageHeight / 100);
    draw(surface, Mapper(window, spacing.dx, pageWidth));
}

void GraphPainter::draw(DrawingSurface& surface, const Mapper& map) {
    const GraphWindow& w = map.window();
    const int B = map.baseline();
    readValues();
    seen_ = seenReadings(surface, map);
    if (map.print()) {
        const int x0 = map.fixedX(w.W / 10);
        surface.segment(x0, map.y(B), x0 + map.pageWidth(), map.y(B));
    } else {
        surface.segment(w.W / 10, B, map.x(count_), B);
    }
    drawSequence(surface, map);
    drawFieldPart(surface, map);
    drawSeparators(surface, map);
    surface.text(map.fixedX((4 * w.W) / 5), map.y(B + w.H / 25), "  Sequence Number  ");
    surface.text(map.fixedX(w.W / 20), map.y(B + (3 * w.H) / 20), "  Line  ");
    if (hasGradient_) {
        drawGradientPart(surface, map);
    }
}

void GraphPainter::drawSequence(DrawingSurface& surface, const Mapper& map) const {
    const GraphWindow& w = map.window();
    const int B = map.baseline();
    // Ticks every 10 readings from 10 on, numbers every 20 from 0 on.
    auto from = [this](int step) {
        return (std::max(seen_.first, step == 10 ? 10 : 0) + step - 1) / step * step;
    };
    int X = 0;
    for (int k = from(10); k <= seen_.last; k += 10) {
        if (map.readingX(map.x(k), X)) {
            surface.segment(X, map.y(B), X, map.y(B + w.H / 60));
        }
    }
    std::string label;
    for (int k = from(20); k <= seen_.last; k += 20) {
        if (map.readingX(map.x(k), X)) {
            // "%d" of k, without a format string to parse for each of them.
            char digits[16];
            label.assign(digits, std::to_chars(digits, digits + sizeof digits, k).ptr);
            surface.text(X, map.y(B + w.H / 25), label);
        }
    }
}

void GraphPainter::drawLabels(DrawingSurface& surface, const Mapper& map,
                              const GraphScale::Axis& axis, int axisX, int textX,
                              const char* pattern) const {
    const GraphWindow& w = map.window();
    const int B = map.baseline();
    for (float v : GraphScale::labelValues(axis)) {
        const int y = map.y(GraphScale::y(axis, v, B));
        surface.segment(map.fixedX(axisX - w.W / 100), y, map.fixedX(axisX), y);
        surface.text(map.fixedX(textX), y, formatText(pattern, static_cast<double>(v)));
    }
}

void GraphPainter::drawFieldPart(DrawingSurface& surface, const Mapper& map) {
    const GraphWindow& w = map.window();
    const int B = map.baseline();
    const GraphScale::Axis axis = GraphScale::axis(fieldMin_, fieldMax_);
    surface.segment(map.fixedX(w.W / 10), map.y(B), map.fixedX(w.W / 10), map.y(w.H / 10));
    surface.text(map.fixedX(w.W / 20), map.y(w.H / 20),
                 profile_ ? profileCaption_ : std::string("Field[nT]"));
    drawLabels(surface, map, axis, w.W / 10, w.W / 50, "%5.0f");

    // One connected line through every drawn reading that may be seen, and the nearest
    // drawn one on each side beyond, whose line crosses in; handed over whole.
    int lo = std::min(std::max(1, seen_.first), count_);
    int hi = std::min(seen_.last, count_ - 1);
    int before = lo - 1;
    while (before >= 1 && !hasField_[static_cast<std::size_t>(before)]) {
        --before;
    }
    lo = before >= 1 ? before : lo;
    int after = std::max(hi + 1, 1);
    while (after < count_ && !hasField_[static_cast<std::size_t>(after)]) {
        ++after;
    }
    hi = after < count_ ? after : hi;
    polyline_.clear();
    for (int i = lo; i <= hi; ++i) {
        int X = 0;
        if (!hasField_[static_cast<std::size_t>(i)] || !map.readingX(map.x(i), X)) {
            continue;
        }
        polyline_.push_back(
            {X, map.y(GraphScale::y(axis, field_[static_cast<std::size_t>(i)], B))});
    }
    surface.polyline(polyline_);
}

void GraphPainter::drawSeparators(DrawingSurface& surface, const Mapper& map) const {
    const GraphWindow& w = map.window();
    const int B = map.baseline();
    // Every reading on the screen counts, so there the number before the first one seen is
    // the line of the reading before it; on paper only the page's readings count.
    const int start = map.print() ? 2 : std::max(2, seen_.first);
    int previous = readInteger(data_.field(start - 1, Column::Line));
    // The same text as the reading before reads as the same number: converted only
    // where the text changes.
    std::string_view lastText = data_.field(start - 1, Column::Line);
    int lastNumber = previous;
    const int end = map.print() ? count_ : std::min(count_, seen_.last + 1);
    for (int i = start; i < end; ++i) {
        const std::string_view text = data_.field(i, Column::Line);
        if (!sameText(text, lastText)) {
            lastText = text;
            lastNumber = readInteger(text);
        }
        const int line = lastNumber;
        int X = 0;
        if (line == previous || !map.readingX(map.x(i), X)) {
            continue;
        }
        surface.segment(X, map.y(B), X, map.y(w.H));
        surface.text(X, map.y(B + (3 * w.H) / 20), std::string(data_.field(i, Column::Line)));
        previous = line;
    }
}

void GraphPainter::drawGradientPart(DrawingSurface& surface, const Mapper& map) const {
    const GraphWindow& w = map.window();
    const int B = map.baseline();
    const int axisX = (9 * w.W) / 10;
    cross(surface, map.fixedX(axisX), map.y(w.H / 30));
    surface.segment(map.fixedX(axisX), map.y(B), map.fixedX(axisX), map.y(w.H / 10));
    surface.text(map.fixedX(w.W - w.W / 7), map.y(w.H / 20), "Gradient[nT]");
    const GraphScale::Axis axis = GraphScale::axis(gradMin_, gradMax_);
    drawLabels(surface, map, axis, axisX, axisX + w.W / 50, "%8.1f");
    for (int i = std::max(1, seen_.first); i <= seen_.last; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        int X = 0;
        if (isGradient_[k] && map.readingX(map.x(i), X)) {
            cross(surface, X, map.y(GraphScale::y(axis, gradient_[k], B)));
        }
    }
}

}  // namespace velkor
