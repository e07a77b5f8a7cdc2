#include "gridding/GridAgreement.h"

#include <cmath>

#include "gridding/Grid.h"
#include "gridding/GridBlanking.h"

namespace velkor {

GridAgreement GridAgreement::nearReadings(const GridLattice& lattice, const std::vector<double>& a,
                                          const std::vector<double>& b,
                                          const std::vector<GridPoint>& points, double distance) {
    Grid near{lattice, std::vector<double>(lattice.size(), 1.0)};
    GridBlanking::apply(near, points, distance);
    double sum2 = 0.0;
    GridAgreement agreement;
    for (std::size_t k = 0; k < lattice.size(); ++k) {
        if (!Grid::isNoData(near.values[k])) {
            sum2 += (a[k] - b[k]) * (a[k] - b[k]);
            ++agreement.nodes;
        }
    }
    agreement.rms =
        agreement.nodes > 0 ? std::sqrt(sum2 / static_cast<double>(agreement.nodes)) : 0.0;
    return agreement;
}

}  // namespace velkor
