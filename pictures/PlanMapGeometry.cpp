// Plan map arithmetic.
#include "pictures/PlanMapGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "corrections/ValueEntry.h"
#include "text/NumberText.h"
#include "text/ShortNumber.h"

namespace velkor {
namespace {

// The most common gap between neighbouring distinct values, over all groups; 1 if none.
double commonSpacing(const std::vector<std::vector<double>>& groups) {
    std::map<long long, int> counts;
    for (const auto& g : groups) {
        for (std::size_t i = 1; i < g.size(); ++i) {
            ++counts[std::llround((g[i] - g[i - 1]) * 1000.0)];
        }
    }
    long long best = 0;
    int bestCount = 0;
    for (const auto& [gap, n] : counts) {
        if (n > bestCount) {
            best = gap;
            bestCount = n;
        }
    }
    return best > 0 ? static_cast<double>(best) / 1000.0 : 1.0;
}

// The lower and upper edges of each of the sorted distinct values.
struct Edges {
    std::vector<double> lo;
    std::vector<double> hi;
};

Edges halfway(const std::vector<double>& v, double lone) {
    Edges e;
    const std::size_t n = v.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double below = i > 0 ? (v[i] - v[i - 1]) / 2 : -1.0;
        const double above = i + 1 < n ? (v[i + 1] - v[i]) / 2 : -1.0;
        const double half = n == 1 ? lone / 2 : 0.0;
        e.lo.push_back(v[i] - (below >= 0 ? below : (above >= 0 ? above : half)));
        e.hi.push_back(v[i] + (above >= 0 ? above : (below >= 0 ? below : half)));
    }
    return e;
}

std::vector<double> distinctSorted(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
}

std::size_t indexOf(const std::vector<double>& sorted, double x) {
    return static_cast<std::size_t>(std::lower_bound(sorted.begin(), sorted.end(), x) -
                                    sorted.begin());
}

}  // namespace

std::vector<PlanMapGeometry::Cell> PlanMapGeometry::cells(const std::vector<Point>& points) {
    std::map<double, std::vector<const Point*>> byLine;
    std::vector<double> lines;
    for (const Point& p : points) {
        byLine[p.line].push_back(&p);
        lines.push_back(p.line);
    }
    lines = distinctSorted(lines);
    std::vector<std::vector<double>> positions;
    for (const auto& [line, members] : byLine) {
        std::vector<double> pos;
        for (const Point* p : members) {
            pos.push_back(p->pos);
        }
        positions.push_back(distinctSorted(pos));
    }
    const double posSpacing = commonSpacing(positions);
    // A single line is as tall as the readings along it are apart.
    const Edges lineEdges = halfway(lines, posSpacing);

    std::vector<Cell> out;
    out.reserve(points.size());
    std::size_t group = 0;
    for (const auto& [line, members] : byLine) {
        const std::vector<double>& pos = positions[group++];
        const Edges posEdges = halfway(pos, posSpacing);
        const std::size_t li = indexOf(lines, line);
        // Readings sharing a position split its cell into bands, in the order walked.
        std::map<double, std::vector<const Point*>> stacks;
        for (const Point* p : members) {
            stacks[p->pos].push_back(p);
        }
        for (const auto& [x, stack] : stacks) {
            const std::size_t pi = indexOf(pos, x);
            const double y0 = lineEdges.lo[li];
            const double band = (lineEdges.hi[li] - y0) / static_cast<double>(stack.size());
            for (std::size_t k = 0; k < stack.size(); ++k) {
                const double b0 = y0 + band * static_cast<double>(k);
                const double b1 = y0 + band * static_cast<double>(k + 1);
                const bool stacked = stack.size() > 1;
                out.push_back({stack[k]->reading, posEdges.lo[pi], posEdges.hi[pi], b0, b1,
                               stack[k]->value, stacked, x, stacked ? (b0 + b1) / 2 : line});
            }
        }
    }
    std::sort(out.begin(), out.end(),
              [](const Cell& a, const Cell& b) { return a.reading < b.reading; });
    return out;
}

bool PlanMapGeometry::validScale(const Scale& scale) {
    const auto valid = [](double m) { return m >= kMinSpacing && m <= kMaxSpacing; };
    return valid(scale.lineSpacing) && valid(scale.stationInterval);
}

PlanMapGeometry::SpacingEntry PlanMapGeometry::readSpacing(const std::string& text) {
    const ValueEntry::Result r =
        ValueEntry::check(text, static_cast<float>(kMinSpacing), static_cast<float>(kMaxSpacing));
    // Checked as the value dialogs check, then read in double: 0.01 stays 0.01.
    const double metres = r.ok ? readDecimal(text) : 0.0;
    if (r.ok && !validScale({metres, metres})) {
        return {false, 0.0,
                ValueEntry::rangeMessage(static_cast<float>(kMinSpacing),
                                         static_cast<float>(kMaxSpacing))};
    }
    return {r.ok, metres, r.message};
}

PlanMapGeometry::Rect PlanMapGeometry::toScale(const Rect& wanted, double width, double height,
                                               const Scale& scale) {
    const double across = (wanted.x1 - wanted.x0) * scale.stationInterval;  // metres
    const double upwards = (wanted.y1 - wanted.y0) * scale.lineSpacing;
    // Metres per pixel: the larger of the two, so that the whole of `wanted` fits.
    const double perPixel = std::max(across / width, upwards / height);
    const double halfX = perPixel * width / scale.stationInterval / 2;
    const double halfY = perPixel * height / scale.lineSpacing / 2;
    const double cx = wanted.x0 / 2 + wanted.x1 / 2;
    const double cy = wanted.y0 / 2 + wanted.y1 / 2;
    const Rect out{cx - halfX, cx + halfX, cy - halfY, cy + halfY};
    const bool usable = validScale(scale) && width > 0 && height > 0 && across > 0 && upwards > 0 &&
                        std::isfinite(perPixel) && out.x1 > out.x0 && out.y1 > out.y0 &&
                        std::isfinite(out.x1 - out.x0) && std::isfinite(out.y1 - out.y0);
    return usable ? out : wanted;
}

double PlanMapGeometry::percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0.0;
    }
    const double rank = std::clamp(p, 0.0, 100.0) / 100.0 * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(rank));
    const std::size_t above = std::min(below + 1, values.size() - 1);
    // Only the two values about the rank are needed in their sorted places, not all of them:
    // a million readings' map is coloured without a sort.
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(below);
    std::nth_element(values.begin(), at, values.end());
    const double low = *at;
    const double high = above == below ? low : *std::min_element(at + 1, values.end());
    return low + (high - low) * (rank - static_cast<double>(below));
}

PlanMapGeometry::Range PlanMapGeometry::clipRange(const std::vector<double>& values) {
    Range r{percentile(values, 2.0), percentile(values, 98.0)};
    if (!(r.hi > r.lo)) {
        // Wide enough to stay a range where a half no longer changes a large value.
        const double half = std::max(0.5, std::fabs(r.lo) * 1e-9);
        r.lo -= half;
        r.hi = r.lo + 2.0 * half;
    }
    return r;
}

std::uint32_t PlanMapGeometry::colourAt(double t) {
    // Samples of the viridis scale at ninths, mixed linearly in between.
    static constexpr std::array<std::uint32_t, 10> kStops{0x440154, 0x482878, 0x3e4989, 0x31688e,
                                                          0x26828e, 0x1f9e89, 0x35b779, 0x6ece58,
                                                          0xb5de2b, 0xfde725};
    if (!(t > 0.0)) {
        return kStops.front();
    }
    if (t >= 1.0) {
        return kStops.back();
    }
    const double at = t * static_cast<double>(kStops.size() - 1);
    const auto i = static_cast<std::size_t>(at);
    const double f = at - static_cast<double>(i);
    std::uint32_t out = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        const double a = (kStops[i] >> shift) & 0xff;
        const double b = (kStops[i + 1] >> shift) & 0xff;
        out |= static_cast<std::uint32_t>(std::lround(a + (b - a) * f)) << shift;
    }
    return out;
}

std::uint32_t PlanMapGeometry::colourOf(double value, const Range& range) {
    return colourAt((value - range.lo) / (range.hi - range.lo));
}

std::vector<double> PlanMapGeometry::ticks(double lo, double hi, int maxCount, double minStep) {
    std::vector<double> out;
    if (!(hi > lo) || maxCount < 1 || !std::isfinite(lo) || !std::isfinite(hi) ||
        !std::isfinite(hi - lo)) {
        return out;
    }
    maxCount = std::min(maxCount, kMaxTicks);
    const double rough = (hi - lo) / maxCount;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10.0;
    for (double m : {1.0, 2.0, 5.0}) {
        if (power * m >= rough) {
            step = power * m;
            break;
        }
    }
    step = std::max(step, minStep);
    const double first = std::ceil(lo / step - 1e-9);
    if (!(step > 0.0) || !std::isfinite(step) || !std::isfinite(first * step)) {
        return out;
    }
    // Counted rather than stepped: past 2^53 adding 1 to a double no longer changes it,
    // and there neighbouring steps may round to the same value, which is shown once.
    for (int k = 0; k <= maxCount + 1; ++k) {
        const double v = (first + k) * step;
        // Near the largest double the step itself may carry v past every finite number.
        if (!std::isfinite(v) || v - hi > step * 1e-9) {
            break;
        }
        if (out.empty() || v > out.back()) {
            out.push_back(ShortNumber::unsignedZero(v));
        }
    }
    return out;
}

}  // namespace velkor
