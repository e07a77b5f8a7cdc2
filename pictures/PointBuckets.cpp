// The buckets of the map's points.
#include "pictures/PointBuckets.h"

namespace velkor {
namespace {

// A few points to a bucket: fewer buckets cost memory for nothing, more cost time.
constexpr double kPointsPerBucket = 4.0;
constexpr double kMostBucketsAcross = 4096.0;

}  // namespace

PointBuckets::PointBuckets(const std::vector<SurveyMapGeometry::MetrePoint>& points) {
    if (points.empty()) {
        return;
    }
    double e1 = points[0].easting, n1 = points[0].northing;
    e0_ = e1;
    n0_ = n1;
    for (const SurveyMapGeometry::MetrePoint& p : points) {
        e0_ = std::min(e0_, p.easting);
        e1 = std::max(e1, p.easting);
        n0_ = std::min(n0_, p.northing);
        n1 = std::max(n1, p.northing);
    }
    const double width = e1 - e0_;
    const double height = n1 - n0_;
    const double buckets = std::max(1.0, static_cast<double>(points.size()) / kPointsPerBucket);
    // Square buckets of the area's share; a single line of points still gets several.
    size_ = std::max({std::sqrt(width * height / buckets), std::max(width, height) / buckets,
                      std::max(width, height) / kMostBucketsAcross, 1e-9});
    columns_ = static_cast<int>(std::min(kMostBucketsAcross, std::floor(width / size_) + 1.0));
    rows_ = static_cast<int>(std::min(kMostBucketsAcross, std::floor(height / size_) + 1.0));
    // Counted, then placed: every bucket's indexes one after the other, in order.
    start_.assign(static_cast<std::size_t>(columns_) * rows_ + 1, 0);
    std::vector<int> bucketOf(points.size());
    for (std::size_t k = 0; k < points.size(); ++k) {
        bucketOf[k] = row(points[k].northing) * columns_ + column(points[k].easting);
        ++start_[static_cast<std::size_t>(bucketOf[k]) + 1];
    }
    for (std::size_t b = 1; b < start_.size(); ++b) {
        start_[b] += start_[b - 1];
    }
    std::vector<int> next(start_.begin(), start_.end() - 1);
    index_.resize(points.size());
    for (std::size_t k = 0; k < points.size(); ++k) {
        index_[static_cast<std::size_t>(next[static_cast<std::size_t>(bucketOf[k])]++)] =
            static_cast<int>(k);
    }
}

}  // namespace velkor
