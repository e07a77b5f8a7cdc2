// Base-station curve drawing.
#include "pictures/BaseCurvePainter.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "corrections/BaseDay.h"
#include "pictures/DrawingSurface.h"
#include "text/TextFormat.h"
#include "text/TimeOfDay.h"

namespace velkor {
namespace {

void segment(DrawingSurface& s, const BaseCurvePainter::Segment& g) {
    s.segment(g.x1, g.y1, g.x2, g.y2);
}

}  // namespace

BaseCurvePainter::Frame BaseCurvePainter::frame(int width, int height) {
    return {width / 8, height / 10, width - width / 20, height - height / 4};
}

BaseCurvePainter::TimeAxis BaseCurvePainter::timeAxis(const BaseDay& day) {
    int lo = day.firstTime();
    int hi = day.lastTime();
    for (const BaseDay::Reading& r : day.readings()) {
        lo = std::min(lo, r.seconds);
        hi = std::max(hi, r.seconds);
    }
    return hourAxis(lo, hi);
}

BaseCurvePainter::TimeAxis BaseCurvePainter::hourAxis(int lo, int hi) {
    const int from = lo / 3600 * 3600;
    int to = (hi + 3599) / 3600 * 3600;
    if (to <= from) {
        to = from + 3600;
    }
    const int span = to - from;
    const int step = span <= 2 * 3600    ? 900
                     : span <= 4 * 3600  ? 1800
                     : span <= 12 * 3600 ? 3600
                                         : 7200;
    return {from, to, step};
}

GraphScale::Axis BaseCurvePainter::valueAxis(const BaseDay& day) {
    // A diurnal curve spans a few nT and should fill the plot.
    return GraphScale::roundAxis(day.lowest(), day.highest());
}

std::vector<double> BaseCurvePainter::labelValues(const GraphScale::Axis& a) {
    std::vector<double> values;
    const double steps = std::round(static_cast<double>(a.span) / static_cast<double>(a.step));
    if (!(steps >= 0.0 && steps <= kMaxLabels)) {
        return values;
    }
    for (int k = 0; k <= static_cast<int>(steps); ++k) {
        values.push_back(static_cast<double>(a.bottom) + k * static_cast<double>(a.step));
    }
    return values;
}

int BaseCurvePainter::x(const Frame& f, const TimeAxis& t, int seconds) {
    const long long along = static_cast<long long>(seconds - t.from) * (f.right - f.left);
    return f.left + static_cast<int>(along / (t.to - t.from));
}

int BaseCurvePainter::y(const Frame& f, const GraphScale::Axis& a, double value) {
    // A value far off the axis (a float's rounding of its ends can put it there) or NaN is
    // held to a drawable pixel, as on the graph.
    const double down = (static_cast<double>(a.top) - value) * (f.bottom - f.top) / a.span;
    return GraphScale::pixel(f.top + std::trunc(down));
}

std::vector<BaseCurvePainter::Segment> BaseCurvePainter::hatch(int x1, int y1, int x2, int y2) {
    std::vector<Segment> lines;
    const int w = x2 - x1;
    const int h = y2 - y1;
    // Each line runs down to the right from the top or the left edge of the rectangle.
    for (int o = -h + kHatchSpacing / 2; o < w; o += kHatchSpacing) {
        const int sx = x1 + std::max(o, 0);
        const int sy = y1 + std::max(-o, 0);
        const int length = std::min(x2 - sx, y2 - sy);
        if (length > 0) {
            lines.push_back({sx, sy, sx + length, sy + length});
        }
    }
    return lines;
}

void BaseCurvePainter::readingMark(DrawingSurface& surface, const Frame& f, int at, int height,
                                   bool based) {
    if (based) {
        surface.segment(at, f.bottom, at, f.bottom - height / 80);
        return;
    }
    const int top = f.bottom - height / 8;
    surface.segment(at, f.bottom, at, top);
    surface.segment(at - 3, top - 3, at + 4, top + 4);
    surface.segment(at - 3, top + 3, at + 4, top - 4);
}

void BaseCurvePainter::draw(DrawingSurface& surface, const BaseDay& day, int width, int height,
                            int em) {
    surface.setFont(em);
    const Frame f = frame(width, height);
    const int figuresY = f.bottom + height / 12;
    if (day.empty()) {
        surface.text(width / 50, figuresY, day.figures());
        return;
    }
    const TimeAxis t = timeAxis(day);
    const GraphScale::Axis a = valueAxis(day);

    for (const BaseDay::Gap& gap : day.gaps()) {
        for (const Segment& g : hatch(x(f, t, gap.from), f.top, x(f, t, gap.to), f.bottom)) {
            segment(surface, g);
        }
    }
    surface.segment(f.left, f.bottom, f.right, f.bottom);
    surface.segment(f.left, f.bottom, f.left, f.top);
    surface.text(width / 50, height / 40, "Variations[nT]");
    for (double v : labelValues(a)) {
        const int vy = y(f, a, v);
        surface.segment(f.left - width / 100, vy, f.left, vy);
        surface.text(width / 100, vy - em / 2, formatText("%7.1f", v));
    }
    for (int s = t.from; s <= t.to; s += t.step) {
        const int sx = x(f, t, s);
        surface.segment(sx, f.bottom, sx, f.bottom + height / 60);
        surface.text(sx, f.bottom + height / 40, TimeOfDay::hourMinute(s));
    }

    const std::vector<BaseDay::Sample>& samples = day.samples();
    for (std::size_t k = 1; k < samples.size(); ++k) {
        if (std::isnan(samples[k - 1].value) || std::isnan(samples[k].value)) {
            continue;  // no line to or from a sample that holds no number
        }
        surface.segment(x(f, t, samples[k - 1].seconds), y(f, a, samples[k - 1].value),
                        x(f, t, samples[k].seconds), y(f, a, samples[k].value));
    }
    for (const BaseDay::Reading& r : day.readings()) {
        readingMark(surface, f, x(f, t, r.seconds), height, day.inside(r.seconds));
    }
    const int pitch = em + em / 2;
    surface.text(width / 50, figuresY, day.figures());
    surface.text(width / 50, figuresY + pitch, day.readingFigures());
    surface.text(
        width / 50, figuresY + 2 * pitch,
        "Marks: readings (tall, crossed: outside the samples); hatched: no sample for over 1 h");
}

}  // namespace velkor
