// What the gridder is asked for. Unset values take the defaults the survey gives them.
#pragma once

#include <optional>

#include "gridding/GridLattice.h"

namespace velkor {

struct GriddingOptions {
    static constexpr double kDefaultTension = 0.25;
    static constexpr double kBlankLineSpacings = 2.5;
    static constexpr double kConvergenceOfRms = 1e-4;

    double tension = kDefaultTension;  // 0 minimum curvature .. 1 harmonic
    std::optional<double> cell;        // metres; default half the smaller reading spacing
    // Metres; default 2.5 line spacings; infinity blanks nothing.
    std::optional<double> blankDistance;
    double lineSpacing = 0.0;  // metres, from the placement; 0 takes it from the readings
    // The grid to fill; default the readings' extent rounded outwards to whole cells.
    std::optional<GridLattice> extent;
    // A level ends when no node changes more than this; 0 takes 1e-4 of the readings' rms
    // about their plane.
    double convergence = 0.0;
    int maxIterations = 500;  // per level
    double overRelaxation = 1.7;
};

}  // namespace velkor
