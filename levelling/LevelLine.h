// One line of a survey as levelling sees it: which line, which way it was walked, and its
// readings' values by their distance along it (metres, increasing).
#pragma once

#include <optional>
#include <vector>

namespace velkor {

class LevelLine {
  public:
    double number = 0.0;
    int direction = 0;  // +1 walked towards increasing distance, -1 back, 0 unknown
    std::vector<double> along;
    std::vector<double> value;

    bool empty() const { return along.empty(); }
    // The value at a distance along, between the two readings around it; nothing outside
    // the line's readings.
    std::optional<double> valueAt(double distance) const;
    double mean() const;
};

}  // namespace velkor
