#include "gridding/GridLattice.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "gridding/Extent.h"

namespace velkor {

GridLattice GridLattice::covering(const std::vector<GridPoint>& points, double cell) {
    Extent e;
    for (const GridPoint& p : points) {
        e.add(p.x, p.y);
    }
    if (points.empty()) {
        GridLattice lattice;
        lattice.cell = cell;
        return lattice;
    }
    return covering(e.x0, e.y0, e.x1, e.y1, cell);
}

GridLattice GridLattice::covering(double xmin, double ymin, double xmax, double ymax, double cell) {
    GridLattice lattice;
    lattice.cell = cell;
    lattice.x0 = std::floor(xmin / cell) * cell;
    lattice.y0 = std::floor(ymin / cell) * cell;
    const double x1 = std::ceil(xmax / cell) * cell;
    const double y1 = std::ceil(ymax / cell) * cell;
    lattice.nx = static_cast<int>(std::llround((x1 - lattice.x0) / cell)) + 1;
    lattice.ny = static_cast<int>(std::llround((y1 - lattice.y0) / cell)) + 1;
    return lattice;
}

double GridLattice::defaultCell(double alongLineSpacing, double lineSpacing) {
    const bool along = alongLineSpacing > 0.0;
    const bool across = lineSpacing > 0.0;
    const double cell = 0.5 * (along && across ? std::min(alongLineSpacing, lineSpacing)
                                               : (along ? alongLineSpacing : lineSpacing));
    // Spacings measured between placed readings carry rounding (4.9999999996 m for 5 m);
    // the cell is what the surveyor set out, to three significant figures.
    if (!(cell > 0.0) || !std::isfinite(cell)) {
        return cell;
    }
    // A whole power of ten each way, so that 2.5 comes out as exactly 2.5.
    const int digits = 2 - static_cast<int>(std::floor(std::log10(cell)));
    const double rounded =
        digits >= 0 ? std::round(cell * std::pow(10.0, digits)) / std::pow(10.0, digits)
                    : std::round(cell / std::pow(10.0, -digits)) * std::pow(10.0, -digits);
    return rounded > 0.0 && std::isfinite(rounded) ? rounded : cell;
}

}  // namespace velkor
