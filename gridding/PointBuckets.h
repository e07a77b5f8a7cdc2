// Points sorted into a uniform grid of square buckets, so that those near a place are found
// by looking in a few buckets instead of going through every point: the reading under the
// pointer, the readings of other days near a reading.
#pragma once

#include <cstddef>
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
    // kept in an edge bucket, where a caller measuring distances passes them by.
    explicit PointBuckets(const std::vector<Place>& places);

    // Calls visit(index) for every place in a bucket the rectangle touches (so for every
    // place inside it, and some near it), each bucket's places in increasing index.
    template <typename Visit>
    void visit(double x0, double y0, double x1, double y1, Visit&& visit) const {
        if (start_.empty() || !(x1 >= x0 && y1 >= y0)) {
            return;
        }
        const int c0 = column(x0), c1 = column(x1);
        const int r0 = row(y0), r1 = row(y1);
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) {
                const std::size_t b = static_cast<std::size_t>(r) * columns_ + c;
                for (int k = start_[b]; k < start_[b + 1]; ++k) {
                    visit(index_[static_cast<std::size_t>(k)]);
                }
            }
        }
    }

  private:
    int column(double x) const { return clamp((x - x0_) / size_, columns_); }
    int row(double y) const { return clamp((y - y0_) / size_, rows_); }
    static int clamp(double at, int count) {
        return !(at >= 0.0) ? 0 : at >= count - 1 ? count - 1 : static_cast<int>(at);
    }

    double x0_ = 0.0;
    double y0_ = 0.0;
    double size_ = 1.0;
    int columns_ = 0;
    int rows_ = 0;
    std::vector<int> start_;  // bucket b holds index_[start_[b]] up to index_[start_[b + 1]]
    std::vector<int> index_;
};

}  // namespace velkor
