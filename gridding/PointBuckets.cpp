#include "gridding/PointBuckets.h"

#include <cmath>
#include <utility>

#include "gridding/Extent.h"

namespace velkor {
namespace {

// Below 2^32 less one, so that the row after the last still has a key.
constexpr double kMostCells = 4294967294.0;
// Buckets counted out over the whole rectangle, at most, for each place.
constexpr double kCountedPerPlace = 4.0;

}  // namespace

PointBuckets::PointBuckets(const std::vector<Place>& places, double side) {
    Extent e;
    for (const Place& p : places) {
        if (std::isfinite(p.x) && std::isfinite(p.y)) {
            e.add(p.x, p.y);
        }
    }
    if (e.empty()) {
        return;
    }
    x0_ = e.x0;
    y0_ = e.y0;
    // Wider buckets only where places lie more than four billion buckets apart.
    side_ = std::max({side > 0.0 && std::isfinite(side) ? side : 1.0, (e.x1 - e.x0) / kMostCells,
                      (e.y1 - e.y0) / kMostCells});
    const double across = std::floor((e.x1 - e.x0) / side_) + 1.0;
    const double down = std::floor((e.y1 - e.y0) / side_) + 1.0;
    // Where the places fill their rectangle, they are counted out over all its buckets (no
    // sort of every place); where they lie in crowds far apart, their own buckets sorted.
    if (across * down <= kCountedPerPlace * static_cast<double>(places.size()) + 1024.0) {
        countOut(places, static_cast<std::uint64_t>(across), static_cast<std::uint64_t>(down));
    } else {
        sortOut(places);
    }
}

void PointBuckets::countOut(const std::vector<Place>& places, std::uint64_t across,
                            std::uint64_t down) {
    const std::uint64_t cells = across * down;
    std::vector<int> start(cells + 1, 0);
    std::vector<std::uint64_t> cellOf(places.size(), cells);
    for (std::size_t k = 0; k < places.size(); ++k) {
        if (std::isfinite(places[k].x) && std::isfinite(places[k].y)) {
            cellOf[k] = cell(places[k].y - y0_) * across + cell(places[k].x - x0_);
            ++start[cellOf[k] + 1];
        }
    }
    for (std::size_t c = 1; c < start.size(); ++c) {
        start[c] += start[c - 1];
    }
    index_.resize(static_cast<std::size_t>(start.back()));
    std::vector<int> next(start.begin(), start.end() - 1);
    for (std::size_t k = 0; k < places.size(); ++k) {
        if (cellOf[k] < cells) {
            index_[static_cast<std::size_t>(next[cellOf[k]]++)] = static_cast<int>(k);
        }
    }
    for (std::uint64_t c = 0; c < cells; ++c) {
        if (start[c] < start[c + 1]) {
            keys_.push_back(key(c / across, c % across));
            start_.push_back(start[c]);
        }
    }
    start_.push_back(static_cast<int>(index_.size()));
}

void PointBuckets::sortOut(const std::vector<Place>& places) {
    std::vector<std::pair<std::uint64_t, int>> keyed;
    keyed.reserve(places.size());
    for (std::size_t k = 0; k < places.size(); ++k) {
        if (std::isfinite(places[k].x) && std::isfinite(places[k].y)) {
            keyed.push_back(
                {key(cell(places[k].y - y0_), cell(places[k].x - x0_)), static_cast<int>(k)});
        }
    }
    std::sort(keyed.begin(), keyed.end());  // by bucket, then index
    index_.reserve(keyed.size());
    for (std::size_t k = 0; k < keyed.size(); ++k) {
        if (k == 0 || keyed[k - 1].first != keyed[k].first) {
            keys_.push_back(keyed[k].first);
            start_.push_back(static_cast<int>(k));
        }
        index_.push_back(keyed[k].second);
    }
    start_.push_back(static_cast<int>(index_.size()));
}

std::uint64_t PointBuckets::cell(double from) const {
    const double c = std::floor(from / side_);
    return !(c > 0.0)        ? 0
           : c >= kMostCells ? static_cast<std::uint64_t>(kMostCells)
                             : static_cast<std::uint64_t>(c);
}

}  // namespace velkor
