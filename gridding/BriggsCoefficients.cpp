#include "gridding/BriggsCoefficients.h"

#include <cmath>

namespace velkor {

// Along each axis the first and second derivatives are the centred differences; the cross
// derivative is taken in the quadrant of the reading (u(+1,+1) - u(+1,0) - u(0,+1) + u0),
// which keeps the nearest node's weight the largest of the six.
std::array<BriggsTerm, 6> BriggsCoefficients::at(double xi, double eta) {
    const int sx = xi < 0.0 ? -1 : 1;
    const int sy = eta < 0.0 ? -1 : 1;
    const double a = std::fabs(xi);
    const double b = std::fabs(eta);
    const double ab = a * b;
    return {{
        {0, 0, 1.0 - a * a - b * b + ab},
        {sx, 0, 0.5 * a * (1.0 + a) - ab},
        {-sx, 0, 0.5 * a * (a - 1.0)},
        {0, sy, 0.5 * b * (1.0 + b) - ab},
        {0, -sy, 0.5 * b * (b - 1.0)},
        {sx, sy, ab},
    }};
}

}  // namespace velkor
