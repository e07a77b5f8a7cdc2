// How closely two surfaces on one lattice agree where readings hold them: the rms of their
// difference over the nodes within a distance of a reading (between the lines each
// gridder only guesses). The gridder is held to GMT's surface by it, in the tests and
// beside the benchmarks.
#pragma once

#include <cstddef>
#include <vector>

#include "gridding/GridLattice.h"
#include "gridding/GridPoint.h"

namespace velkor {

struct GridAgreement {
    double rms = 0.0;
    std::size_t nodes = 0;  // the nodes compared

    // a and b hold lattice.size() values each.
    static GridAgreement nearReadings(const GridLattice& lattice, const std::vector<double>& a,
                                      const std::vector<double>& b,
                                      const std::vector<GridPoint>& points, double distance);
};

}  // namespace velkor
