// How a grid's values spread over the colour scale: equalised, each colour then covering
// about as many nodes as every other; linearly between the 2nd and 98th percentiles; or
// linearly between limits the user gives. Beyond the ends values clip to them.
#pragma once

#include <vector>

#include "gridding/Grid.h"

namespace velkor {

class GridStretch {
  public:
    enum class Kind { Equalised, Percentile, Limits };
    static constexpr int kKinds = 3;
    // Quantiles kept for equalising: finer than any colour bar shows.
    static constexpr int kQuantiles = 1024;

    // A stretch as chosen: its kind and, for Limits, the values at the two ends.
    struct Choice {
        Choice(Kind k = Kind::Equalised, double low = 0.0, double high = 0.0)
            : kind(k), lo(low), hi(high) {}
        Kind kind;
        double lo;
        double hi;
        bool operator==(const Choice& o) const {
            return kind == o.kind && (kind != Kind::Limits || (lo == o.lo && hi == o.hi));
        }
        bool operator!=(const Choice& o) const { return !(*this == o); }
    };

    GridStretch() = default;
    // Limits that are not in order, or alike, take the grid's own least and greatest.
    static GridStretch of(const Grid& grid, const Choice& choice);

    // "Percentiles 2 - 98", "Equalised", "Limits".
    static const char* name(Kind kind);

    Kind kind() const { return kind_; }
    // No node has a value.
    bool empty() const { return quantiles_.empty(); }
    // The values at the two ends of the scale.
    double lo() const { return lo_; }
    double hi() const { return hi_; }
    // Where a value lies on the scale, 0 to 1.
    double fraction(double value) const;
    // The value at a place on the scale, 0 to 1.
    double valueAt(double fraction) const;

  private:
    Kind kind_ = Kind::Percentile;
    double lo_ = 0.0;
    double hi_ = 1.0;
    std::vector<double> quantiles_;  // kQuantiles + 1 of them, least first
};

}  // namespace velkor
