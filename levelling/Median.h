// The median of values: the middle one, or the mean of the two middle ones.
#pragma once

#include <vector>

namespace velkor {

class Median {
  public:
    // values must not be empty; they are reordered.
    static double of(std::vector<double> values);
};

}  // namespace velkor
