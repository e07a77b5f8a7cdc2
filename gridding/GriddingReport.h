// What a gridding did: per level of the coarse-to-fine series, then at the readings.
#pragma once

#include <string>
#include <vector>

namespace velkor {

struct LevelReport {
    double cell = 0.0;  // metres
    int nx = 0;
    int ny = 0;
    int heldNodes = 0;  // nodes held by a reading
    int iterations = 0;
    double lastChange = 0.0;  // the largest change of the last iteration
    bool converged = false;   // its change fell to the convergence limit
    // Stopped before the limit and the cap because its change no longer fell: more sweeps
    // would not have made it better.
    bool stalled = false;
};

struct GriddingReport {
    std::string error;  // why no grid was made; empty when there is one
    bool cancelled = false;
    std::vector<LevelReport> levels;  // coarsest first
    double tension = 0.0;
    double cell = 0.0;
    double blankDistance = 0.0;
    double convergenceLimit = 0.0;
    int readingsUsed = 0;     // finite readings inside the grid
    int readingsLeftOut = 0;  // not finite, or outside a grid the caller gave
    int blankedNodes = 0;
    double meanMisfit = 0.0;  // grid minus reading, at the readings used
    double rmsMisfit = 0.0;
    // Made from the previous grid: the levels are those of gridding the changes since.
    bool fromPrevious = false;

    bool converged() const { return !levels.empty() && levels.back().converged; }
};

}  // namespace velkor
