// One placed reading as the gridder sees it: map metres and the value to grid.
#pragma once

namespace velkor {

struct GridPoint {
    double x = 0.0;
    double y = 0.0;
    double value = 0.0;
    int line = 0;  // readings of one line share it; consecutive ones give the station spacing
};

}  // namespace velkor
