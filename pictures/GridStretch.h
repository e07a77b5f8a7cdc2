// How a grid's values spread over the colour scale: linearly between the 2nd and 98th
// percentiles (the rest clipped to the ends), or equalised, each colour then covering
// about as many nodes as every other.
#pragma once

#include <vector>

#include "gridding/Grid.h"

namespace velkor {

class GridStretch {
  public:
    enum class Kind { Percentile, Equalised };
    static constexpr int kKinds = 2;
    // Quantiles kept for equalising: finer than any colour bar shows.
    static constexpr int kQuantiles = 1024;

    GridStretch() = default;
    static GridStretch of(const Grid& grid, Kind kind);

    // "Percentiles 2 - 98", "Equalised".
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
