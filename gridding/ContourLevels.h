// Which levels to contour: multiples of a round interval over the grid's values, every
// fifth (the multiples of five intervals) an index contour.
#pragma once

#include <string>
#include <vector>

#include "gridding/Grid.h"

namespace velkor {

struct ContourLevel {
    double value = 0.0;
    bool index = false;
};

class ContourLevels {
  public:
    static constexpr int kAboutLevels = 20;
    static constexpr int kIndexEvery = 5;
    static constexpr int kMaxLevels = 1000;
    static constexpr int kFewestDefault = 10;
    static constexpr int kMostDefault = 25;

    // To the nearest of 1, 2 or 5 times a power of ten (nearest by ratio); 0 for no interval.
    static double roundInterval(double raw);
    // The steps the default interval takes: 1, 2, 2.5 or 5 times a power of ten.
    static bool isRoundStep(double interval);
    // The round step whose multiples over the grid's whole range of values make
    // kFewestDefault to kMostDefault levels, the count nearest kAboutLevels; 0 when the
    // grid has no values or they are all alike.
    static double defaultInterval(const Grid& grid);
    // The same over values from least to greatest (the readings', before any grid).
    static double defaultInterval(double least, double greatest);
    // The multiples of interval from the grid's least value to its greatest. When that
    // would pass kMaxLevels, only those from the 2nd to the 98th percentile, at most
    // kMaxLevels of them.
    static std::vector<ContourLevel> at(const Grid& grid, double interval);
    // Why interval cannot contour the grid: more than kMaxAsked levels over its values,
    // too many to be any map's; empty when it can.
    static constexpr double kMaxAsked = 10000;
    static std::string refusal(const Grid& grid, double interval);
};

}  // namespace velkor
