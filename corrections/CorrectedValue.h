// The value the corrected export writes for a reading: the one source the list, the
// graph and the file share, so they can never disagree.
#pragma once

#include <optional>

namespace velkor {

class DataSet;

class CorrectedValue {
  public:
    // True when the corrected export can be written (a temporal or geomagnetic
    // correction has been done).
    static bool available(const DataSet& data);
    // The value the corrected export writes for data line i now, or nothing where it
    // leaves the reading out (the export's rule, whether or not it is available).
    static std::optional<float> of(const DataSet& data, int i);
};

}  // namespace velkor
