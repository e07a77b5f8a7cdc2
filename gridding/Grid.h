// A computed grid: its place and one value per node, row by row from the south; NaN marks
// a node without a value (blanked, or never computed).
#pragma once

#include <cmath>
#include <limits>
#include <vector>

#include "gridding/GridLattice.h"

namespace velkor {

struct Grid {
    static constexpr double kNoData = std::numeric_limits<double>::quiet_NaN();
    static bool isNoData(double v) { return std::isnan(v); }

    GridLattice lattice;
    std::vector<double> values;  // lattice.nx * lattice.ny, index j * nx + i

    double at(int i, int j) const { return values[static_cast<std::size_t>(j) * lattice.nx + i]; }
    double& at(int i, int j) { return values[static_cast<std::size_t>(j) * lattice.nx + i]; }
};

}  // namespace velkor
