// Points on the map sorted into a uniform grid of square buckets, so that those near a
// place are found by looking in a few buckets instead of going through every point.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "pictures/SurveyMapGeometry.h"

namespace velkor {

class PointBuckets {
  public:
    PointBuckets() = default;
    // Points in metres; each is known by its index in this vector.
    explicit PointBuckets(const std::vector<SurveyMapGeometry::MetrePoint>& points);

    // Calls visit(index) for every point in a bucket the rectangle touches (so for every
    // point inside it, and some near it), each bucket's points in increasing index.
    template <typename Visit>
    void visit(double e0, double n0, double e1, double n1, Visit&& visit) const {
        if (start_.empty() || !(e1 >= e0 && n1 >= n0)) {
            return;
        }
        const int c0 = column(e0), c1 = column(e1);
        const int r0 = row(n0), r1 = row(n1);
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
    int column(double e) const { return clamp((e - e0_) / size_, columns_); }
    int row(double n) const { return clamp((n - n0_) / size_, rows_); }
    static int clamp(double at, int count) {
        return at < 0.0 ? 0 : at >= count - 1 ? count - 1 : static_cast<int>(at);
    }

    double e0_ = 0.0;
    double n0_ = 0.0;
    double size_ = 1.0;  // metres
    int columns_ = 0;
    int rows_ = 0;
    std::vector<int> start_;  // bucket b holds index_[start_[b]] up to index_[start_[b + 1]]
    std::vector<int> index_;
};

}  // namespace velkor
