// Graph scaling.
#include "views/GraphScale.h"

#include <algorithm>
#include <cmath>

namespace velkor {
namespace {}  // namespace

GraphScale::Spacing GraphScale::spacing(int count, float zoom) {
    const int base = count < 300 ? 9 : 3;
    Spacing s{pixel(static_cast<double>(zoom * static_cast<float>(base))), true, true};
    if (s.dx < 1) {
        s.dx = 1;
        s.zoomOutAllowed = false;
    }
    if (count > 0 && static_cast<long long>(count) * s.dx > kMaxWidth) {
        s.dx = kMaxWidth / count;
        s.zoomInAllowed = false;
    }
    return s;
}

GraphScale::Axis GraphScale::axis(float minimum, float maximum) {
    const float r = (maximum - minimum) * 1.12f;
    int t = 0;
    if (r != 0.0f) {
        const double l = 10.0 * std::log10(static_cast<double>(r));
        if (std::isfinite(l)) {
            t = static_cast<int>(std::trunc(std::clamp(l, -1.0, 51.0)));
        }
    }
    t = std::clamp(t, 0, 50);
    const int q = t / 10;
    const int p = t % 10;
    Axis a{};
    a.span = 5.0f * static_cast<float>(std::pow(10.0, q));
    if (p > 5) {
        a.span = static_cast<float>(std::pow(10.0, q + 1));
    }
    a.step = a.span / 10.0f;
    a.bottom = std::floor(minimum / a.step) * a.step;
    a.top = a.bottom + a.span;
    return a;
}

std::vector<float> GraphScale::labelValues(const Axis& axis) {
    std::vector<float> values;
    const double limit = static_cast<double>(axis.top) - static_cast<double>(axis.step);
    for (float v = axis.bottom + axis.step; v < limit;) {
        values.push_back(v);
        const float next = v + axis.step;
        if (!(next > v)) {
            break;  // at huge values the step no longer moves v: one label, not an endless loop
        }
        v = next;
    }
    return values;
}

}  // namespace velkor
