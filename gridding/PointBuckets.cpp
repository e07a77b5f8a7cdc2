#include "gridding/PointBuckets.h"

#include <algorithm>
#include <cmath>

namespace velkor {
namespace {

// A few points to a bucket: fewer buckets cost memory for nothing, more cost time.
constexpr double kPointsPerBucket = 4.0;
constexpr double kMostBucketsAcross = 4096.0;

}  // namespace

PointBuckets::PointBuckets(const std::vector<Place>& places) {
    bool any = false;
    double x1 = 0.0, y1 = 0.0;
    for (const Place& p : places) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            continue;
        }
        x0_ = any ? std::min(x0_, p.x) : p.x;
        y0_ = any ? std::min(y0_, p.y) : p.y;
        x1 = any ? std::max(x1, p.x) : p.x;
        y1 = any ? std::max(y1, p.y) : p.y;
        any = true;
    }
    if (places.empty()) {
        return;
    }
    const double width = x1 - x0_;
    const double height = y1 - y0_;
    const double buckets = std::max(1.0, static_cast<double>(places.size()) / kPointsPerBucket);
    // Square buckets of the area's share; a single line of points still gets several.
    size_ = std::max({std::sqrt(width * height / buckets), std::max(width, height) / buckets,
                      std::max(width, height) / kMostBucketsAcross, 1e-9});
    columns_ = static_cast<int>(std::min(kMostBucketsAcross, std::floor(width / size_) + 1.0));
    rows_ = static_cast<int>(std::min(kMostBucketsAcross, std::floor(height / size_) + 1.0));
    // Counted, then placed: every bucket's indexes one after the other, in order.
    start_.assign(static_cast<std::size_t>(columns_) * rows_ + 1, 0);
    std::vector<int> bucketOf(places.size());
    for (std::size_t k = 0; k < places.size(); ++k) {
        bucketOf[k] = row(places[k].y) * columns_ + column(places[k].x);
        ++start_[static_cast<std::size_t>(bucketOf[k]) + 1];
    }
    for (std::size_t b = 1; b < start_.size(); ++b) {
        start_[b] += start_[b - 1];
    }
    std::vector<int> next(start_.begin(), start_.end() - 1);
    index_.resize(places.size());
    for (std::size_t k = 0; k < places.size(); ++k) {
        index_[static_cast<std::size_t>(next[static_cast<std::size_t>(bucketOf[k])]++)] =
            static_cast<int>(k);
    }
}

}  // namespace velkor
