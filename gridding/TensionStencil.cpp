#include "gridding/TensionStencil.h"

namespace velkor {

// del^2 is (sides - 4 u0); del^4 is 20 u0 - 8 sides + 2 diagonals + far.
TensionStencil::TensionStencil(double tension) {
    const double t = tension;
    const double s = 1.0 - t;
    centre = 20.0 * s + 4.0 * t;
    side = -8.0 * s - t;
    diagonal = 2.0 * s;
    far = s;
    // With n outwards: (1 - T)(u1 - 2 u0 + u_out) + T (u_out - u1) / 2 = 0.
    const double outside = 1.0 - 0.5 * t;
    edgeSelf = 2.0 * s / outside;
    edgeInner = -(1.0 - 1.5 * t) / outside;
}

}  // namespace velkor
