#include "gridding/PointBuckets.h"

#include <cmath>
#include <utility>

namespace velkor {
namespace {

// Cells further out than this are one cell: no place the program meets lies there, and the
// number stays a whole number.
constexpr double kFarthestCell = 1e15;

}  // namespace

PointBuckets::PointBuckets(const std::vector<Place>& places, double side)
    : side_(side > 0.0 && std::isfinite(side) ? side : 1.0) {
    std::vector<std::pair<Key, int>> keyed;
    keyed.reserve(places.size());
    for (std::size_t k = 0; k < places.size(); ++k) {
        if (std::isfinite(places[k].x) && std::isfinite(places[k].y)) {
            keyed.push_back({Key{cell(places[k].y), cell(places[k].x)}, static_cast<int>(k)});
        }
    }
    // By bucket, and within one in increasing index.
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return a.first < b.first || (!(b.first < a.first) && a.second < b.second);
    });
    index_.reserve(keyed.size());
    for (std::size_t k = 0; k < keyed.size(); ++k) {
        if (k == 0 || keyed[k - 1].first < keyed[k].first) {
            buckets_.push_back({keyed[k].first, static_cast<int>(k)});
        }
        index_.push_back(keyed[k].second);
    }
    if (!buckets_.empty()) {
        buckets_.push_back({Key{0, 0}, static_cast<int>(index_.size())});
    }
}

long long PointBuckets::cell(double at) const {
    const double c = std::floor(at / side_);
    return static_cast<long long>(std::max(-kFarthestCell, std::min(kFarthestCell, c)));
}

}  // namespace velkor
