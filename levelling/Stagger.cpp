// Stagger by pooled cross-correlation of opposite neighbours.
#include "levelling/Stagger.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "levelling/LineNeighbours.h"

namespace velkor {
namespace {

constexpr double kStep = 0.01;

// The sum of products of two lines, each moved by half the stagger its own way, at fixed
// places one station interval apart: both are read half the stagger off those places, so
// neither is favoured by being read at its own readings.
double agreement(const LevelLine& f, double fMean, const LevelLine& b, double bMean, double stagger,
                 double interval) {
    const double half = stagger / 2.0;
    const double from =
        std::ceil(std::max(f.along.front() + half, b.along.front() - half) / interval);
    const double to = std::floor(std::min(f.along.back() + half, b.along.back() - half) / interval);
    double sum = 0.0;
    for (double k = from; k <= to; k += 1.0) {
        const auto vf = f.valueAt(k * interval - half);
        const auto vb = b.valueAt(k * interval + half);
        if (vf && vb) {
            sum += (*vf - fMean) * (*vb - bMean);
        }
    }
    return sum;
}

}  // namespace

std::optional<double> Stagger::estimate(const std::vector<LevelLine>& lines,
                                        double stationInterval) {
    const auto pairs = LineNeighbours::opposite(lines);
    if (pairs.empty() || !(stationInterval > 0.0)) {
        return std::nullopt;
    }
    const int steps = static_cast<int>(std::lround(2.0 * stationInterval / kStep));
    double best = -std::numeric_limits<double>::infinity();
    double stagger = 0.0;
    for (int s = -steps; s <= steps; ++s) {
        const double h = s * kStep;
        double sum = 0.0;
        for (const auto& [forward, back] : pairs) {
            sum += agreement(lines[forward], lines[forward].mean(), lines[back], lines[back].mean(),
                             h, stationInterval);
        }
        if (sum > best) {
            best = sum;
            stagger = h;
        }
    }
    return stagger;
}

}  // namespace velkor
