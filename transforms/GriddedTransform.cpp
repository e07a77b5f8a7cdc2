// The gridder's surface as the fill of its blanked nodes.
#include "transforms/GriddedTransform.h"

namespace velkor {

std::optional<GridTransform::Result> GriddedTransform::apply(
    const MinimumCurvature::Result& gridded, const GridTransform::Parameters& parameters,
    std::string& message) {
    const Grid& blanked = gridded.grid;
    if (blanked.lattice.empty() || blanked.values.empty()) {
        message = gridded.report.error.empty()
                      ? std::string("There is no grid to transform.")
                      : "There is no grid to transform: " + gridded.report.error;
        return std::nullopt;
    }
    // Every grid comes with its basis; the surface is on the grid's own lattice.
    const Grid& filled = gridded.basis ? gridded.basis->surface : blanked;
    return GridTransform::apply(filled, blanked, parameters, message);
}

}  // namespace velkor
