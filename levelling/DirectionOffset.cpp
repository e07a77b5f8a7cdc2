// Direction offset by the median of paired differences.
#include "levelling/DirectionOffset.h"

#include <utility>

#include "levelling/LineNeighbours.h"
#include "levelling/Median.h"

namespace velkor {

std::optional<double> DirectionOffset::estimate(const std::vector<LevelLine>& lines) {
    double sum = 0.0;
    int pairs = 0;
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
            sum += Median::of(std::move(differences));
            ++pairs;
        }
    }
    if (pairs == 0) {
        return std::nullopt;
    }
    return sum / pairs;
}

}  // namespace velkor
