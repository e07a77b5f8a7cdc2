// The pairs of neighbouring lines walked in opposite directions, by line number: the
// lines levelling compares to tell a direction offset or a stagger.
#pragma once

#include <utility>
#include <vector>

#include "levelling/LevelLine.h"

namespace velkor {

class LineNeighbours {
  public:
    // Each pair as (the line walked forward, the one walked back), indices into lines.
    static std::vector<std::pair<std::size_t, std::size_t>> opposite(
        const std::vector<LevelLine>& lines);
};

}  // namespace velkor
