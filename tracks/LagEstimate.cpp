// Lag by the misfit of opposite-direction neighbours.
#include "tracks/LagEstimate.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_map>

namespace velkor {
namespace {

// Neighbours are sought this near (metres): a line or two away, never across the survey.
constexpr double kReach = 2.0;
// Fewer pairs than this say nothing about the lag.
constexpr int kFewestPairs = 10;
// At most this many readings are compared at each lag, spread evenly over the survey.
constexpr std::size_t kMostQueries = 20000;

struct Placed {
    double x;
    double y;
    std::size_t reading;
};

std::int64_t cellKey(std::int64_t i, std::int64_t j) {
    return i * 4000037 + j;
}

class Neighbours {
  public:
    explicit Neighbours(const std::vector<Placed>& placed) : placed_(placed) {
        for (std::size_t k = 0; k < placed.size(); ++k) {
            cells_[cellKey(cell(placed[k].x), cell(placed[k].y))].push_back(k);
        }
    }

    // The nearest placed reading within reach that the test accepts (given its index
    // among the placed); -1 for none.
    template <typename Accept>
    long nearest(double x, double y, Accept accept) const {
        long best = -1;
        double bestDistance = kReach * kReach;
        for (std::int64_t i = cell(x) - 1; i <= cell(x) + 1; ++i) {
            for (std::int64_t j = cell(y) - 1; j <= cell(y) + 1; ++j) {
                const auto it = cells_.find(cellKey(i, j));
                if (it == cells_.end()) {
                    continue;
                }
                for (const std::size_t k : it->second) {
                    const double d = std::pow(placed_[k].x - x, 2) + std::pow(placed_[k].y - y, 2);
                    if (d <= bestDistance && accept(k)) {
                        bestDistance = d;
                        best = static_cast<long>(k);
                    }
                }
            }
        }
        return best;
    }

  private:
    static std::int64_t cell(double v) { return static_cast<std::int64_t>(std::floor(v / kReach)); }

    const std::vector<Placed>& placed_;
    std::unordered_map<std::int64_t, std::vector<std::size_t>> cells_;
};

// The value of neighbour n's line at the point's place: between n and the reading before
// or after it on its line, whichever pair the point falls between, so that readings of two
// lines taken at other places along them still compare like with like.
double valueNear(const std::vector<Placed>& placed,
                 const std::vector<LagEstimate::Reading>& readings, std::size_t n, double x,
                 double y) {
    const LagEstimate::Reading& at = readings[placed[n].reading];
    for (const std::size_t m : {n + 1, n - 1}) {
        if (m >= placed.size() || readings[placed[m].reading].line != at.line) {
            continue;
        }
        const double dx = placed[m].x - placed[n].x;
        const double dy = placed[m].y - placed[n].y;
        const double length2 = dx * dx + dy * dy;
        const double f =
            length2 > 0.0 ? ((x - placed[n].x) * dx + (y - placed[n].y) * dy) / length2 : -1.0;
        if (f >= 0.0 && f <= 1.0) {
            return at.value + f * (readings[placed[m].reading].value - at.value);
        }
    }
    return at.value;
}

LagEstimate::Point misfitAt(const std::vector<LagEstimate::Reading>& readings,
                            const TrackSet& tracks, TrackSet::Settings settings) {
    std::vector<Placed> placed;
    placed.reserve(readings.size());
    for (std::size_t r = 0; r < readings.size(); ++r) {
        if (readings[r].direction == 0) {
            continue;
        }
        const PositionTrack::Position p = tracks.place(readings[r].seconds, settings);
        if (p.where == PositionTrack::Where::Placed) {
            placed.push_back({p.x, p.y, r});
        }
    }
    const Neighbours neighbours(placed);
    const std::size_t stride = std::max<std::size_t>(1, placed.size() / kMostQueries);
    LagEstimate::Point point{settings.lag, 0.0, 0};
    double sum = 0.0;
    for (std::size_t k = 0; k < placed.size(); k += stride) {
        const LagEstimate::Reading& q = readings[placed[k].reading];
        const Placed& here = placed[k];
        const auto opposite = [&](std::size_t c) {
            const LagEstimate::Reading& r = readings[placed[c].reading];
            return r.line != q.line && r.direction == -q.direction;
        };
        const long a = neighbours.nearest(here.x, here.y, opposite);
        if (a < 0) {
            continue;
        }
        const Placed& pa = placed[static_cast<std::size_t>(a)];
        // The other neighbour lies on the far side: between the two, a gradient across
        // the lines cancels and what is left is how far along the lines disagree.
        const long b = neighbours.nearest(here.x, here.y, [&](std::size_t c) {
            return opposite(c) && readings[placed[c].reading].line != readings[pa.reading].line &&
                   (placed[c].x - here.x) * (pa.x - here.x) +
                           (placed[c].y - here.y) * (pa.y - here.y) <
                       0.0;
        });
        if (b < 0) {
            continue;
        }
        const Placed& pb = placed[static_cast<std::size_t>(b)];
        const double da = std::hypot(pa.x - here.x, pa.y - here.y);
        const double db = std::hypot(pb.x - here.x, pb.y - here.y);
        const double predicted =
            (valueNear(placed, readings, static_cast<std::size_t>(a), here.x, here.y) * db +
             valueNear(placed, readings, static_cast<std::size_t>(b), here.x, here.y) * da) /
            (da + db);
        sum += std::pow(q.value - predicted, 2);
        ++point.pairs;
    }
    point.misfit = point.pairs > 0 ? sum / point.pairs : 0.0;
    return point;
}

}  // namespace

LagEstimate::Result LagEstimate::of(const std::vector<Reading>& readings, const TrackSet& tracks,
                                    TrackSet::Settings settings) {
    Result result;
    double best = std::numeric_limits<double>::infinity();
    const int steps = static_cast<int>(std::lround((kTo - kFrom) / kStep));
    for (int s = 0; s <= steps; ++s) {
        settings.lag = kFrom + s * kStep;
        const Point p = misfitAt(readings, tracks, settings);
        result.curve.push_back(p);
        if (p.pairs >= kFewestPairs && p.misfit < best) {
            best = p.misfit;
            result.found = true;
            result.lag = p.lag;
            result.misfit = p.misfit;
        }
    }
    return result;
}

}  // namespace velkor
