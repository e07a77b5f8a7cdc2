// How far apart the readings lie, along their lines and between the lines, from the
// readings alone: for the defaults of the cell and the blanking distance.
#pragma once

#include <vector>

#include "gridding/GridPoint.h"

namespace velkor {

class ReadingSpacing {
  public:
    // The median distance between consecutive readings of the same line; 0 when there are none.
    static double alongLines(const std::vector<GridPoint>& points);
    // The median distance between neighbouring lines (by line number), measured square to
    // the lines' direction; 0 with fewer than two lines.
    static double betweenLines(const std::vector<GridPoint>& points);
};

}  // namespace velkor
