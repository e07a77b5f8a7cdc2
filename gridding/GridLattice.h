// Where a regular grid lies: node (0, 0) at (x0, y0), square cells, rows running north.
#pragma once

#include <cstddef>
#include <vector>

#include "gridding/GridPoint.h"

namespace velkor {

struct GridLattice {
    double x0 = 0.0;
    double y0 = 0.0;
    double cell = 1.0;
    int nx = 0;
    int ny = 0;

    double x(int i) const { return x0 + i * cell; }
    double y(int j) const { return y0 + j * cell; }
    std::size_t size() const { return static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny); }
    bool empty() const { return nx <= 0 || ny <= 0; }

    // The readings' extent rounded outwards to whole cells (nodes on the cell lines).
    static GridLattice covering(const std::vector<GridPoint>& points, double cell);
    // The same for an extent known already: a box from (xmin, ymin) to (xmax, ymax).
    static GridLattice covering(double xmin, double ymin, double xmax, double ymax, double cell);
    // Half the smaller of the two spacings, to three significant figures: every reading then
    // lies near a node of its own.
    static double defaultCell(double alongLineSpacing, double lineSpacing);
};

}  // namespace velkor
