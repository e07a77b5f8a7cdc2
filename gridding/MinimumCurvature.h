// Gridding by minimum curvature with tension: (1 - T) del^4 u - T del^2 u = 0 away from
// the readings, solved on a coarse-to-fine series of grids. A level that does not converge
// within its iteration cap hands on what it has: a valid request always gives a grid.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "gridding/Grid.h"
#include "gridding/GridPoint.h"
#include "gridding/GriddingOptions.h"
#include "gridding/GriddingReport.h"

namespace velkor {

class MinimumCurvature {
  public:
    static constexpr long long kMaxNodes = 16'000'000;
    // Readings beyond this many nT, or places beyond this many metres, are no measurement
    // (a magnetometer reads below 10^6 nT) and would overflow the sums: they are left out.
    static constexpr double kMaxMagnitude = 1e12;

    // What a later gridding of the same readings with other values starts from.
    struct Basis {
        std::vector<GridPoint> points;  // as given
        GriddingOptions options;        // as given
        std::vector<double> misfits;    // at each of those
        Grid surface;                   // before blanking
    };
    struct Result {
        Grid grid;  // empty after an error or a cancel
        GriddingReport report;
        std::shared_ptr<const Basis> basis;  // with every grid
    };
    using Progress = std::function<void(double fraction)>;
    // The cell and blanking distance a run takes where the options give none; 0 for each
    // when no reading can be gridded.
    struct Defaults {
        double cell = 0.0;           // metres
        double blankDistance = 0.0;  // metres
    };
    static Defaults defaults(const std::vector<GridPoint>& points, const GriddingOptions& options);

    // Safe to run off the user-interface thread: it reads only its arguments, polls cancel
    // and calls progress (from the calling thread) with the fraction done.
    static Result run(const std::vector<GridPoint>& points, const GriddingOptions& options,
                      const std::atomic<bool>& cancel, const Progress& progress = {});
    // The same readings (places and lines) with other values under the same options, as a
    // settings change gives them: the surface is linear in the values, so the previous
    // surface plus the gridding of the changes, which settles in far fewer sweeps (none for
    // a change by a constant or a plane). Anything else grids afresh.
    static Result regrid(const Result& previous, const std::vector<GridPoint>& points,
                         const GriddingOptions& options, const std::atomic<bool>& cancel,
                         const Progress& progress = {});
};

}  // namespace velkor
