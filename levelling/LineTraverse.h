// Zero-median traverse: each line shifted so that its typical value equals the survey's,
// an anomaly left out of both so that it pulls no line.
#pragma once

#include <vector>

namespace velkor {

class LineTraverse {
  public:
    // The nT to add to each line: the survey's median less the line's, where a line's
    // median leaves out its readings more than threshold from its plain median, and the
    // survey's pools the readings every line keeps. An empty line gets 0.
    static std::vector<double> shifts(const std::vector<std::vector<double>>& lines,
                                      double threshold);
};

}  // namespace velkor
