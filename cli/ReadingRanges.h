// What the readings of a data set cover: when they were taken, and the lines,
// positions and fields of the survey readings (all but the base station's 'A').
#pragma once

#include <string>
#include <vector>

namespace velkor {

class DataSet;

class ReadingRanges {
  public:
    static ReadingRanges of(const DataSet& data);

    // The lines the info command prints after its counts, without line ends:
    //   dates: 03.07.2026 09:02:10 to 03.07.2026 09:06:50
    //   line numbers: 1 to 2
    //   positions: 1 to 3
    //   field: 48118.6 to 48164.9 nT
    // each followed by " (N without a date)" or " (N without a number)" when readings
    // were left out, and "none" in place of a range no reading gives.
    std::vector<std::string> lines() const;

  private:
    struct Span {
        double lo = 0.0;
        double hi = 0.0;
        int count = 0;    // readings in the span
        int without = 0;  // readings whose text holds none
        void add(double value);
    };

    static std::string describe(const Span& span, const char* format, const char* unit,
                                const char* missing);

    std::string firstTaken_;
    std::string lastTaken_;
    int dated_ = 0;
    int undated_ = 0;
    Span line_;
    Span position_;
    Span field_;
};

}  // namespace velkor
