// Interpolation along a position track.
#include "tracks/PositionTrack.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace velkor {
namespace {

// The heading is taken over this much path either side of the reading (metres), so that
// a neighbouring line walked the other way, a metre off, never bends it.
constexpr double kHeadingReach = 2.0;

PositionTrack::Point between(const PositionTrack::Point& a, const PositionTrack::Point& b,
                             double f) {
    return {a.seconds + (b.seconds - a.seconds) * f, a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
}

// The first index whose distance is beyond distance, sought outward from near by doubling
// steps and then halving: a few steps where the whole track's search would take many.
std::size_t firstBeyond(const std::vector<double>& walked, double distance, std::size_t near) {
    std::size_t lo = near;  // the index sought is at lo or after it
    std::size_t hi = near;  // and at hi or before it
    for (std::size_t step = 1; lo > 0 && walked[lo - 1] > distance; step *= 2) {
        hi = lo - 1;
        lo = lo > step ? lo - step : 0;
    }
    for (std::size_t step = 1; hi < walked.size() && walked[hi] <= distance; step *= 2) {
        lo = hi + 1;
        hi = std::min(walked.size(), hi + step);
    }
    const auto begin = walked.begin() + static_cast<std::ptrdiff_t>(lo);
    const auto end = walked.begin() + static_cast<std::ptrdiff_t>(hi);
    return static_cast<std::size_t>(std::upper_bound(begin, end, distance) - walked.begin());
}

}  // namespace

PositionTrack::PositionTrack(std::vector<Point> points) : points_(std::move(points)) {
    const auto earlier = [](const Point& a, const Point& b) { return a.seconds < b.seconds; };
    std::stable_sort(points_.begin(), points_.end(), earlier);
    points_.erase(
        std::unique(points_.begin(), points_.end(),
                    [](const Point& a, const Point& b) { return a.seconds == b.seconds; }),
        points_.end());
    walked_.reserve(points_.size());
    double length = 0.0;
    for (std::size_t k = 0; k < points_.size(); ++k) {
        if (k > 0) {
            length += std::hypot(points_[k].x - points_[k - 1].x, points_[k].y - points_[k - 1].y);
        }
        walked_.push_back(length);
    }
}

PositionTrack::Position PositionTrack::at(double seconds, double maxGap, Offset offset) const {
    if (points_.empty() || !(seconds >= points_.front().seconds) ||
        seconds > points_.back().seconds) {
        return {};
    }
    // The first point at or after the moment, and the one before it: a moment at a point
    // is that point's, whatever gap follows or precedes it.
    const auto b = static_cast<std::size_t>(
        std::lower_bound(points_.begin(), points_.end(), seconds,
                         [](const Point& p, double t) { return p.seconds < t; }) -
        points_.begin());
    const std::size_t a = points_[b].seconds == seconds ? b : b - 1;
    const Point& p = points_[a];
    const Point& q = points_[b];
    if (q.seconds - p.seconds > maxGap) {
        return {Where::InGap, 0.0, 0.0};
    }
    const double f = b > a ? (seconds - p.seconds) / (q.seconds - p.seconds) : 0.0;
    const Point here = between(p, q, f);
    double ux = 0.0;
    double uy = 0.0;
    if ((offset.along == 0.0 && offset.across == 0.0) ||
        !heading(walked_[a] + (walked_[b] - walked_[a]) * f, a, ux, uy)) {
        return {Where::Placed, here.x, here.y};
    }
    // To the right of the way walked is the heading turned clockwise.
    return {Where::Placed, here.x + offset.along * ux + offset.across * uy,
            here.y + offset.along * uy - offset.across * ux};
}

PositionTrack::Point PositionTrack::atDistance(double distance, std::size_t near) const {
    const std::size_t b = firstBeyond(walked_, distance, near);
    if (b == walked_.size()) {
        return points_.back();
    }
    if (b == 0) {
        return points_.front();
    }
    const double span = walked_[b] - walked_[b - 1];
    return between(points_[b - 1], points_[b], (distance - walked_[b - 1]) / span);
}

bool PositionTrack::heading(double distance, std::size_t near, double& ux, double& uy) const {
    const Point from = atDistance(std::max(0.0, distance - kHeadingReach), near);
    const Point to = atDistance(std::min(walked_.back(), distance + kHeadingReach), near);
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    if (length <= 0.0) {
        return false;
    }
    ux = (to.x - from.x) / length;
    uy = (to.y - from.y) / length;
    return true;
}

}  // namespace velkor
