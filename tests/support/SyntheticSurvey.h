// A survey with known truth for the spike finder: buried dipoles 1 m to 3 m deep under
// 0.5 m stations on 1 m lines, a gentle regional, small noise and spikes of 10 nT to 300 nT
// (one or two readings each) put where no dipole shows.
#pragma once

#include <string>
#include <vector>

namespace velkor {

class SyntheticSurvey {
  public:
    struct Reading {
        int line;     // 1, 2, ...: 1 m apart
        int station;  // 1, 2, ...: 0.5 m apart
        double value;
        bool spike;
        bool inAnomaly;  // a dipole gives it 1 nT or more
    };

    explicit SyntheticSurvey(unsigned seed);

    const std::vector<Reading>& readings() const { return readings_; }
    // The readings as a Velkor data file, line by line in station order (values to 0.1 nT).
    std::string dayFile() const;

  private:
    std::vector<Reading> readings_;
};

}  // namespace velkor
