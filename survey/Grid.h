// A computed grid: its place and one value per node, row by row from the south; NaN marks
// a node without a value (blanked, or never computed).
#pragma once

#include <cmath>
#include <limits>
#include <vector>

#include "survey/GridSpec.h"

namespace velkor {

struct Grid {
    static constexpr double kNoData = std::numeric_limits<double>::quiet_NaN();
    static bool isNoData(double v) { return std::isnan(v); }

    GridSpec spec;
    std::vector<double> values;  // spec.nx * spec.ny, index j * nx + i

    double at(int i, int j) const { return values[static_cast<std::size_t>(j) * spec.nx + i]; }
    double& at(int i, int j) { return values[static_cast<std::size_t>(j) * spec.nx + i]; }
};

}  // namespace velkor
