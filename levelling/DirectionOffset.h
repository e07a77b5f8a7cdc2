// The offset between readings walked one way and the other (the operator's gear, a
// heading effect): the median difference between neighbouring lines walked in opposite
// directions, compared at the same distance along, pair by pair; the pairs' medians are
// then averaged, since each line stands in a pair with both its neighbours and so its own
// offset cancels out of the mean; pairs far off the others (a feature along a line) are
// left out of it.
#pragma once

#include <optional>
#include <vector>

#include "levelling/LevelLine.h"

namespace velkor {

class DirectionOffset {
  public:
    // Forward readings less backward ones; nothing where no two neighbouring lines were
    // walked in opposite directions. Levelling takes half of it from the lines walked
    // forward and adds half to the others.
    static std::optional<double> estimate(const std::vector<LevelLine>& lines);
};

}  // namespace velkor
