// Graph scaling.
#include "pictures/GraphScale.h"

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

GraphScale::Axis GraphScale::roundAxis(double lo, double hi) {
    const double rough = std::max(hi - lo, 1.0) / 6.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10.0 * power;
    for (const double m : {1.0, 2.0, 5.0}) {
        if (m * power >= rough) {
            step = m * power;
            break;
        }
    }
    const double bottom = std::floor(lo / step) * step;
    double top = std::ceil(hi / step) * step;
    if (top <= bottom) {
        top = bottom + step;
    }
    const Axis a{static_cast<float>(top - bottom), static_cast<float>(step),
                 static_cast<float>(bottom), static_cast<float>(top)};
    const bool finite = std::isfinite(a.span) && std::isfinite(a.step) && std::isfinite(a.bottom) &&
                        std::isfinite(a.top) && a.span > 0.0f && a.step > 0.0f;
    return finite ? a : Axis{10.0f, 1.0f, 0.0f, 10.0f};
}

}  // namespace velkor
