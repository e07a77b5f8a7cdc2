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
// Lines are read at every half step: a shift of s steps reads one line s fine places back
// and the other s places on.
constexpr double kFine = kStep / 2.0;

// A line read at every fine place from the first at or after its first reading to the last
// at or before its last, between its readings.
struct Fine {
    long first = 0;  // index of the first place, in fine places from 0 m
    std::vector<double> values;

    explicit Fine(const LevelLine& line) {
        first = static_cast<long>(std::ceil(line.along.front() / kFine));
        const auto last = static_cast<long>(std::floor(line.along.back() / kFine));
        const double mean = line.mean();
        values.reserve(static_cast<std::size_t>(std::max(0L, last - first + 1)));
        std::size_t b = 0;
        for (long m = first; m <= last; ++m) {
            const double x = static_cast<double>(m) * kFine;
            while (b + 1 < line.along.size() && line.along[b + 1] < x) {
                ++b;
            }
            values.push_back(between(line, b, x) - mean);
        }
    }

    // The cubic through the readings around x (Catmull-Rom): a straight line between two
    // readings would flatten a peak everywhere except at the readings themselves, and the
    // sum would favour the shift that reads both lines there.
    static double between(const LevelLine& line, std::size_t b, double x) {
        const std::size_t a = std::min(b + 1, line.along.size() - 1);
        const double span = line.along[a] - line.along[b];
        const double f = span > 0.0 ? (x - line.along[b]) / span : 0.0;
        const double p1 = line.value[b];
        const double p2 = line.value[a];
        const double p0 = b > 0 ? line.value[b - 1] : 2.0 * p1 - p2;
        const double p3 = a + 1 < line.along.size() ? line.value[a + 1] : 2.0 * p2 - p1;
        return p1 +
               0.5 * f *
                   (p2 - p0 +
                    f * (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3 + f * (3.0 * (p1 - p2) + p3 - p0)));
    }

    long last() const { return first + static_cast<long>(values.size()) - 1; }
};

// For each shift of -steps to +steps, the sum of products of the pair moved half the shift
// each its own way, at places one station interval apart (rounded to fine places): both
// are read half the shift off those places, so neither is favoured by being read at its
// own readings. Every shift sums over the same places, those both lines reach at every
// shift: a place more at a small shift would add to its sum and favour it.
void addAgreements(const LevelLine& forward, const Fine& f, const LevelLine& back, const Fine& b,
                   double interval, int steps, std::vector<double>& sums) {
    const double from = std::max(forward.along.front(), back.along.front()) + steps * kFine;
    const double to = std::min(forward.along.back(), back.along.back()) - steps * kFine;
    for (double k = std::ceil(from / interval); k * interval <= to; k += 1.0) {
        const auto m = static_cast<long>(std::lround(k * interval / kFine));
        // The shifts for which both lines are read within their places.
        const long low = std::max({-static_cast<long>(steps), m - f.last(), b.first - m});
        const long high = std::min({static_cast<long>(steps), m - f.first, b.last() - m});
        const double* fm = f.values.data() + (m - f.first);
        const double* bm = b.values.data() + (m - b.first);
        for (long s = low; s <= high; ++s) {
            sums[static_cast<std::size_t>(s + steps)] += fm[-s] * bm[s];
        }
    }
}

}  // namespace

std::optional<double> Stagger::estimate(const std::vector<LevelLine>& lines,
                                        double stationInterval) {
    const auto pairs = LineNeighbours::opposite(lines);
    if (pairs.empty() || !(stationInterval > 0.0)) {
        return std::nullopt;
    }
    const int steps = static_cast<int>(std::lround(2.0 * stationInterval / kStep));
    std::vector<double> sums(static_cast<std::size_t>(2 * steps + 1), 0.0);
    // Each line is read at its fine places once, though it stands in two pairs, and kept
    // only while its pairs last.
    std::vector<std::optional<Fine>> fine(lines.size());
    const auto fineOf = [&](std::size_t k) -> const Fine& {
        if (!fine[k]) {
            fine[k].emplace(lines[k]);
        }
        return *fine[k];
    };
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        const auto [forward, back] = pairs[p];
        addAgreements(lines[forward], fineOf(forward), lines[back], fineOf(back), stationInterval,
                      steps, sums);
        // Pairs come in line order: a line not in the next pair is done with.
        for (const std::size_t k : {forward, back}) {
            if (p + 1 == pairs.size() || (pairs[p + 1].first != k && pairs[p + 1].second != k)) {
                fine[k].reset();
            }
        }
    }
    const auto best = std::max_element(sums.begin(), sums.end());
    return (static_cast<int>(best - sums.begin()) - steps) * kStep;
}

}  // namespace velkor
