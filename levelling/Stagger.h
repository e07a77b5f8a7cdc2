// The stagger (herringbone) of a zig-zag survey: a sensor carried ahead of or behind its
// marks puts lines walked one way out of step with those walked the other way along the
// line. Destaggering moves every line half the stagger in its own walking direction.
#pragma once

#include <optional>
#include <vector>

#include "levelling/LevelLine.h"

namespace velkor {

class Stagger {
  public:
    // Metres, from -2 to +2 station intervals in 0.01 m steps: the shift at which
    // neighbouring lines walked in opposite directions agree best (the pooled sum of
    // products of their demeaned values, both resampled at the same places). Nothing where
    // no two neighbouring lines were walked in opposite directions.
    static std::optional<double> estimate(const std::vector<LevelLine>& lines,
                                          double stationInterval);
    // A reading's distance along once the line is moved by the stagger.
    static double moved(double along, int direction, double stagger) {
        return along + direction * stagger / 2.0;
    }
};

}  // namespace velkor
