// Direction offset by the median of paired differences.
#include "levelling/DirectionOffset.h"

#include <cmath>
#include <utility>

#include "levelling/LineNeighbours.h"
#include "levelling/Median.h"

namespace velkor {

namespace {

// The mean of the pairs' medians, leaving out those further from their median than three
// times their spread (a robust standard deviation from the median absolute deviation): a
// feature along one line puts both its pairs far off, and is no offset of direction.
double meanOfTypical(const std::vector<double>& medians) {
    const double middle = Median::of(medians);
    std::vector<double> deviations;
    for (const double m : medians) {
        deviations.push_back(std::abs(m - middle));
    }
    const double limit = 3.0 * 1.4826 * Median::of(deviations);
    double sum = 0.0;
    int kept = 0;
    for (const double m : medians) {
        if (std::abs(m - middle) <= limit) {
            sum += m;
            ++kept;
        }
    }
    return kept > 0 ? sum / kept : middle;
}

}  // namespace

std::optional<double> DirectionOffset::estimate(const std::vector<LevelLine>& lines) {
    std::vector<double> medians;
    for (const auto& [forward, back] : LineNeighbours::opposite(lines)) {
        const LevelLine& f = lines[forward];
        const LevelLine& b = lines[back];
        std::vector<double> differences;
        for (std::size_t k = 0; k < f.along.size(); ++k) {
            if (const auto there = b.valueAt(f.along[k])) {
                differences.push_back(f.value[k] - *there);
            }
        }
        for (std::size_t k = 0; k < b.along.size(); ++k) {
            if (const auto there = f.valueAt(b.along[k])) {
                differences.push_back(*there - b.value[k]);
            }
        }
        if (!differences.empty()) {
            medians.push_back(Median::of(std::move(differences)));
        }
    }
    if (medians.empty()) {
        return std::nullopt;
    }
    return meanOfTypical(medians);
}

}  // namespace velkor
