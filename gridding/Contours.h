// Contour lines of a grid by marching squares: per level, the crossings of the grid's
// edges joined into polylines, walked with the higher values on the right. Cells with a
// node without a value are left out; a cell whose corners alternate (a saddle) is joined
// the way its centre value, the mean of the corners, lies.
#pragma once

#include <vector>

#include "gridding/ContourLevels.h"
#include "gridding/Grid.h"

namespace velkor {

struct ContourPoint {
    double x = 0.0;
    double y = 0.0;
};

struct ContourLine {
    double level = 0.0;
    bool index = false;
    bool closed = false;  // the last point repeats the first
    std::vector<ContourPoint> points;
};

struct ContourLabel {
    double level = 0.0;
    ContourPoint at;
    double angle = 0.0;  // degrees anticlockwise from east, within (-90, 90]: reads upright
};

struct ContourSet {
    std::vector<ContourLine> lines;
    std::vector<ContourLabel> labels;  // along the index contours
};

class Contours {
  public:
    // A node on a level counts as above it: a crossing lies on every edge whose two nodes
    // lie on either side (one >= level, the other below) and on no other.
    // labelSpacing: metres between labels along an index contour; 0: a third of the grid's
    // longer side.
    static ContourSet trace(const Grid& grid, const std::vector<ContourLevel>& levels,
                            double labelSpacing = 0.0);
};

}  // namespace velkor
