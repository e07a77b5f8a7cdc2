// Points sorted into square buckets of one size, so that the points near a place are found
// by looking at nine buckets rather than at every point.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <unordered_map>
#include <vector>

namespace velkor {

class PointBuckets {
  public:
    // size: the bucket's side; every point within size of a place is among its neighbours.
    explicit PointBuckets(double size) : size_(size) {}

    void add(std::size_t id, double x, double y) { buckets_[keyOf(x, y)].push_back(id); }

    // Calls visit(id) for every point in the place's bucket and the eight around it: all
    // within the bucket size of the place, and some farther.
    template <typename Visit>
    void neighbours(double x, double y, Visit&& visit) const {
        const long long bx = cell(x);
        const long long by = cell(y);
        for (long long i = bx - 1; i <= bx + 1; ++i) {
            for (long long j = by - 1; j <= by + 1; ++j) {
                const auto at = buckets_.find(key(i, j));
                if (at == buckets_.end()) {
                    continue;
                }
                for (const std::size_t id : at->second) {
                    visit(id);
                }
            }
        }
    }

  private:
    // A place beyond reach of any bucket number (or not a number) falls in an edge bucket.
    long long cell(double v) const {
        const double c = std::floor(v / size_);
        return std::isnan(c) ? 0 : static_cast<long long>(std::clamp(c, -9e18, 9e18));
    }
    // Bucket numbers beyond 2^31 either way share keys: a neighbour may then be a far
    // point, which callers measure anyway.
    static unsigned long long key(long long i, long long j) {
        return (static_cast<unsigned long long>(i) << 32) ^
               (static_cast<unsigned long long>(j) & 0xffffffffULL);
    }
    unsigned long long keyOf(double x, double y) const { return key(cell(x), cell(y)); }

    double size_;
    std::unordered_map<unsigned long long, std::vector<std::size_t>> buckets_;
};

}  // namespace velkor
