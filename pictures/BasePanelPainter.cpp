// Base panel drawing.
#include "pictures/BasePanelPainter.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "pictures/BasePanel.h"
#include "pictures/DrawingSurface.h"
#include "text/TextFormat.h"
#include "text/TimeOfDay.h"
#include "text/Trim.h"

namespace velkor {

BaseCurvePainter::TimeAxis BasePanelPainter::timeAxis(const BasePanel& panel) {
    int lo = INT_MAX;
    int hi = INT_MIN;
    for (const BasePanel::Curve& c : panel.curves()) {
        for (const auto& run : c.runs) {
            lo = std::min(lo, run.front().seconds);
            hi = std::max(hi, run.back().seconds);
        }
    }
    for (const BasePanel::Reading& r : panel.readings()) {
        lo = std::min(lo, r.seconds);
        hi = std::max(hi, r.seconds);
    }
    if (lo > hi) {
        return {0, BasePanel::kDay, 7200};
    }
    return BaseCurvePainter::hourAxis(lo, hi);
}

GraphScale::Axis BasePanelPainter::valueAxis(const BasePanel& panel) {
    double lowest = INFINITY;
    double highest = -INFINITY;
    for (const BasePanel::Curve& c : panel.curves()) {
        for (const auto& run : c.runs) {
            for (const BasePanel::Point& p : run) {
                lowest = std::min(lowest, p.value);
                highest = std::max(highest, p.value);
            }
        }
    }
    if (!(lowest <= highest)) {
        return {10.0f, 1.0f, 0.0f, 10.0f};
    }
    return GraphScale::roundAxis(lowest, highest);
}

std::string BasePanelPainter::keyLine(const BasePanel& panel, int k) {
    const BasePanel::Curve& c = panel.curves()[static_cast<std::size_t>(k - 1)];
    if (!c.holdsDate) {
        return formatText("%d: %s: no samples on %s", k, c.name.c_str(),
                          std::string(Trim::spaces(panel.date())).c_str());
    }
    return formatText("%d: %s", k, c.name.c_str());
}

void BasePanelPainter::draw(DrawingSurface& surface, const BasePanel& panel, int width, int height,
                            int em) {
    surface.setFont(em);
    const BaseCurvePainter::Frame f = BaseCurvePainter::frame(width, height);
    const int pitch = em + em / 2;
    int keyY = f.bottom + height / 12;
    const int based =
        static_cast<int>(std::count_if(panel.readings().begin(), panel.readings().end(),
                                       [](const BasePanel::Reading& r) { return r.based; }));
    surface.text(width / 50, keyY,
                 formatText("%s: %d readings, %d without a base value",
                            std::string(Trim::spaces(panel.date())).c_str(),
                            static_cast<int>(panel.readings().size()),
                            static_cast<int>(panel.readings().size()) - based));
    if (panel.curves().empty()) {
        surface.text(width / 50, keyY + pitch, "The survey has no base source.");
    }
    for (int k = 1; k <= static_cast<int>(panel.curves().size()); ++k) {
        keyY += pitch;
        surface.text(width / 50, keyY, keyLine(panel, k));
    }
    if (panel.empty()) {
        return;
    }

    const BaseCurvePainter::TimeAxis t = timeAxis(panel);
    const GraphScale::Axis a = valueAxis(panel);
    surface.segment(f.left, f.bottom, f.right, f.bottom);
    surface.segment(f.left, f.bottom, f.left, f.top);
    surface.text(width / 50, height / 40, "Variations[nT]");
    for (double v : BaseCurvePainter::labelValues(a)) {
        const int vy = BaseCurvePainter::y(f, a, v);
        surface.segment(f.left - width / 100, vy, f.left, vy);
        surface.text(width / 100, vy - em / 2, formatText("%7.1f", v));
    }
    for (int s = t.from; s <= t.to; s += t.step) {
        const int sx = BaseCurvePainter::x(f, t, s);
        surface.segment(sx, f.bottom, sx, f.bottom + height / 60);
        surface.text(sx, f.bottom + height / 40, TimeOfDay::hourMinute(s));
    }

    // Each stretch of a curve carries its source's number where it begins, so that
    // crossing curves stay told apart on a surface of black lines.
    for (std::size_t k = 0; k < panel.curves().size(); ++k) {
        for (const auto& run : panel.curves()[k].runs) {
            std::vector<DrawingSurface::Point> points;
            points.reserve(run.size());
            for (const BasePanel::Point& p : run) {
                points.push_back(
                    {BaseCurvePainter::x(f, t, p.seconds), BaseCurvePainter::y(f, a, p.value)});
            }
            surface.polyline(points);
            surface.text(points.front().x + 2, points.front().y - em - 2, std::to_string(k + 1));
        }
    }
    // A reading some source gives a base value, or one none does.
    for (const BasePanel::Reading& r : panel.readings()) {
        BaseCurvePainter::readingMark(surface, f, BaseCurvePainter::x(f, t, r.seconds), height,
                                      r.based);
    }
}

}  // namespace velkor
