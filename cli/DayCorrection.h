// The day's processing chain as the window runs it after Open Data, Open Variations, Ctrl+T
// and the geomagnetic field's dialog: load the data file; with a variations file, the
// temporal correction with the basis; then the geomagnetic field, a value or F of the field
// model IGRF-14 at a place on the day of the first reading. export, summary and plot map
// run it here and nowhere else.
#pragma once

#include <optional>
#include <string>

#include "corrections/GeomagneticModel.h"

namespace velkor {

class DataSet;
class DayChain;

class DayCorrection {
  public:
    static constexpr const char* kNothingCorrected =
        "No reading was corrected from the variations file, so there are no corrected values "
        "to export; nothing was written.";

    struct Geomag {
        bool given = false;
        bool fromModel = false;
        GeomagneticModel::Place place{};
        float value = 0.0f;
    };
    struct Request {
        std::string path;
        std::optional<std::string> variations;
        float basis = 0.0f;
        Geomag geomag;
    };

    // Loads the data (and the variations) into the chain and corrects them as asked; false
    // after the message when a file cannot be read or the model gives no value.
    static bool run(const Request& request, DayChain& chain);
    // Whether a correction, temporal or geomagnetic, was made: without one the measured
    // fields would pass for corrected values.
    static bool corrected(const DataSet& data);
};

}  // namespace velkor
