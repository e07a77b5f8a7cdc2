// Values along a line.
#include "levelling/LevelLine.h"

#include <algorithm>
#include <numeric>

namespace velkor {

std::optional<double> LevelLine::valueAt(double distance) const {
    if (along.empty() || !(distance >= along.front()) || distance > along.back()) {
        return std::nullopt;
    }
    const auto b = static_cast<std::size_t>(std::lower_bound(along.begin(), along.end(), distance) -
                                            along.begin());
    if (along[b] == distance || b == 0) {
        return value[b];
    }
    const double f = (distance - along[b - 1]) / (along[b] - along[b - 1]);
    return value[b - 1] + f * (value[b] - value[b - 1]);
}

double LevelLine::mean() const {
    return value.empty() ? 0.0
                         : std::accumulate(value.begin(), value.end(), 0.0) /
                               static_cast<double>(value.size());
}

}  // namespace velkor
