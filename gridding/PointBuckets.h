// Points sorted into square buckets of a given side, so that those near a place are found
// by looking in a few buckets instead of going through every point: the reading under the
// pointer, the readings of other days near a reading. Only buckets that hold a point are
// kept, so a point far from the others costs no more than one near them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velkor {

class PointBuckets {
  public:
    struct Place {
        double x;
        double y;
    };

    PointBuckets() = default;
    // Each place is known by its index in this vector; places that are not numbers are
    // left out. side: a bucket's, in the places' units (not a number or not above 0: 1).
    PointBuckets(const std::vector<Place>& places, double side);

    // Calls visit(index) for every place in a bucket the rectangle touches (so for every
    // place inside it, and some near it), each bucket's places in increasing index.
    template <typename Visit>
    void visit(double x0, double y0, double x1, double y1, Visit&& visit) const {
        if (keys_.empty() || !(x1 >= x0 && y1 >= y0)) {
            return;
        }
        const std::uint64_t c0 = cell(x0 - x0_), c1 = cell(x1 - x0_);
        const std::uint64_t r1 = cell(y1 - y0_);
        auto at = std::lower_bound(keys_.begin(), keys_.end(), key(cell(y0 - y0_), c0));
        while (at != keys_.end() && (*at >> 32) <= r1) {
            const std::uint64_t row = *at >> 32;
            const std::uint64_t column = *at & 0xffffffffu;
            if (column < c0 || column > c1) {
                // Out of the columns: on to this row's first column, or the next row's.
                at = std::lower_bound(at, keys_.end(), key(column < c0 ? row : row + 1, c0));
                continue;
            }
            const auto b = static_cast<std::size_t>(at - keys_.begin());
            for (int k = start_[b]; k < start_[b + 1]; ++k) {
                visit(index_[static_cast<std::size_t>(k)]);
            }
            ++at;
        }
    }

  private:
    static std::uint64_t key(std::uint64_t row, std::uint64_t column) { return row << 32 | column; }
    // The bucket of a distance from the lowest place, held within 32 bits.
    std::uint64_t cell(double from) const;
    // Each place into its bucket: counted out over the rectangle's across x down buckets,
    // or its own buckets sorted.
    void countOut(const std::vector<Place>& places, std::uint64_t across, std::uint64_t down);
    void sortOut(const std::vector<Place>& places);

    double x0_ = 0.0;
    double y0_ = 0.0;
    double side_ = 1.0;
    std::vector<std::uint64_t> keys_;  // of the buckets that hold places, in order
    std::vector<int> start_;  // bucket b holds index_[start_[b]] up to index_[start_[b + 1]]
    std::vector<int> index_;
};

}  // namespace velkor
