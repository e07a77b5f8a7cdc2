#include "levelling/Median.h"

#include <algorithm>
#include <cstddef>

namespace velkor {

double Median::of(std::vector<double> v) {
    const std::size_t half = v.size() / 2;
    const auto middle = v.begin() + static_cast<std::ptrdiff_t>(half);
    std::nth_element(v.begin(), middle, v.end());
    if (v.size() % 2 == 1) {
        return *middle;
    }
    return (*middle + *std::max_element(v.begin(), middle)) / 2.0;
}

}  // namespace velkor
