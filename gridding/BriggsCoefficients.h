// A reading off its nearest node, as a weighted sum of six nodes around that node: the
// surface's second-order Taylor expansion at the reading, its derivatives taken from the
// nodes. Exact for every quadratic surface.
#pragma once

#include <array>

namespace velkor {

struct BriggsTerm {
    int di = 0;  // node offset from the nearest node, in cells
    int dj = 0;
    double weight = 0.0;
};

class BriggsCoefficients {
  public:
    // xi, eta: the reading's offset from its nearest node in cells, each within [-0.5, 0.5].
    // The first term is the nearest node itself.
    static std::array<BriggsTerm, 6> at(double xi, double eta);
};

}  // namespace velkor
