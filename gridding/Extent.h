// The smallest rectangle that holds every point added to it, in map units; empty until
// one is.
#pragma once

#include <algorithm>
#include <limits>

namespace velkor {

struct Extent {
    double x0 = std::numeric_limits<double>::infinity();
    double x1 = -std::numeric_limits<double>::infinity();
    double y0 = std::numeric_limits<double>::infinity();
    double y1 = -std::numeric_limits<double>::infinity();

    void add(double x, double y) {
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
    }
    bool empty() const { return !(x0 <= x1); }
};

}  // namespace velkor
