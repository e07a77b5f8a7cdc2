// A transform of what the gridder made: its blanked nodes take the gridder's own surface
// (the same solution with no blanking) for the transform, so that the spectrum sees no
// step at a blanking edge, and are blanked again after.
#pragma once

#include <optional>
#include <string>

#include "gridding/MinimumCurvature.h"
#include "transforms/GridTransform.h"

namespace velkor {

class GriddedTransform {
  public:
    // Nothing and a message in plain words when there is no grid or the transform refuses.
    static std::optional<GridTransform::Result> apply(const MinimumCurvature::Result& gridded,
                                                      const GridTransform::Parameters& parameters,
                                                      std::string& message);
};

}  // namespace velkor
