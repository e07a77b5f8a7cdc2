// Shaded relief of a grid: how much light from one direction falls on each node's slope.
// Computed once per grid; the map blends it over the colours.
#pragma once

#include <vector>

#include "gridding/Grid.h"

namespace velkor {

class ShadedRelief {
  public:
    struct Light {
        double azimuth = 315.0;   // degrees clockwise from north
        double elevation = 45.0;  // degrees above the horizon
    };

    // Per node, 0 (turned away) to 1 (facing the light); a level node gets the sine of the
    // elevation; NaN where the node has no value. Nanoteslas and metres share no scale, so
    // the slopes are stretched until the steepest tenth of the grid leans at about 45
    // degrees.
    static std::vector<float> of(const Grid& grid, Light light);
    // Light from the north-west, 45 degrees up.
    static std::vector<float> of(const Grid& grid) { return of(grid, Light()); }
};

}  // namespace velkor
