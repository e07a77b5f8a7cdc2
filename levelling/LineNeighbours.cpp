// Neighbouring lines of opposite directions.
#include "levelling/LineNeighbours.h"

#include <algorithm>
#include <numeric>

namespace velkor {

std::vector<std::pair<std::size_t, std::size_t>> LineNeighbours::opposite(
    const std::vector<LevelLine>& lines) {
    std::vector<std::size_t> order;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (!lines[k].empty() && lines[k].direction != 0) {
            order.push_back(k);
        }
    }
    std::stable_sort(order.begin(), order.end(), [&lines](std::size_t a, std::size_t b) {
        return lines[a].number < lines[b].number;
    });
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    for (std::size_t k = 1; k < order.size(); ++k) {
        const LevelLine& a = lines[order[k - 1]];
        const LevelLine& b = lines[order[k]];
        if (a.direction == -b.direction) {
            pairs.emplace_back(a.direction > 0 ? order[k - 1] : order[k],
                               a.direction > 0 ? order[k] : order[k - 1]);
        }
    }
    return pairs;
}

}  // namespace velkor
