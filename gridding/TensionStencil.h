// The difference form of (1 - T) del^4 u - T del^2 u on a grid of unit spacing, and of the
// edge conditions that extend it past the grid's sides.
#pragma once

namespace velkor {

struct TensionStencil {
    // The operator at a node: centre * u0 + side * (the four next nodes)
    // + diagonal * (the four corner nodes) + far * (the four nodes two steps away).
    double centre = 0.0;
    double side = 0.0;
    double diagonal = 0.0;
    double far = 0.0;
    // (1 - T) d2u/dn2 + T du/dn = 0 across an edge: the node one step outside is
    // edgeSelf * (the edge node) + edgeInner * (the node one step inside).
    double edgeSelf = 0.0;
    double edgeInner = 0.0;

    explicit TensionStencil(double tension);
};

}  // namespace velkor
