// Blanking: a node farther than the blanking distance from every reading gets no value.
#pragma once

#include <vector>

#include "gridding/Grid.h"
#include "gridding/GridPoint.h"

namespace velkor {

class GridBlanking {
  public:
    // Only readings inside the grid count. Returns how many nodes it blanked.
    static int apply(Grid& grid, const std::vector<GridPoint>& points, double distance);

    // The squared distance, in cells, from every node to the nearest node that holds a
    // reading (seeds != 0), exact (a separable distance transform).
    static std::vector<double> squaredDistance(const std::vector<char>& seeds, int nx, int ny);
};

}  // namespace velkor
