// The base-station record of one date, as the base-station plot shows it: its samples,
// the survey's readings of that date, the stretches without a sample and the figures.
#pragma once

#include <string>
#include <vector>

namespace velkor {

class DataSet;
class VariationSet;

class BaseDay {
  public:
    static constexpr int kGap = 3600;  // a stretch longer than this without a sample

    struct Sample {
        int seconds;
        double value;
    };
    struct Reading {
        int seconds;
        int number;  // data line number, as the list numbers it
    };
    struct Gap {
        int from;
        int to;
    };

    // The dates of the samples, each once, in the order they first appear.
    static std::vector<std::string> dates(const VariationSet& variations);
    // The date to show first: the first one the survey has readings on, else the first.
    static std::string firstDate(const VariationSet& variations, const DataSet* survey);
    // The samples of date and, with a survey, its readings of that date other than 'A'.
    static BaseDay of(const VariationSet& variations, const std::string& date,
                      const DataSet* survey);

    const std::string& date() const { return date_; }
    const std::vector<Sample>& samples() const { return samples_; }  // in file order
    const std::vector<Reading>& readings() const { return readings_; }
    const std::vector<Gap>& gaps() const { return gaps_; }  // longer than kGap, in time order
    bool empty() const { return samples_.empty(); }
    int firstTime() const { return first_; }
    int lastTime() const { return last_; }
    double lowest() const { return lowest_; }
    double highest() const { return highest_; }
    int largestGap() const { return largestGap_; }
    // Strictly between the first and the last sample: only there can a reading be corrected.
    bool inside(int seconds) const { return first_ < seconds && seconds < last_; }
    int readingsOutside() const;

    // One line: samples, first and last time, lowest and highest value, largest gap.
    std::string figures() const;
    // How many survey readings the date has, and how many lie outside the samples.
    std::string readingFigures() const;

  private:
    std::string date_;
    std::vector<Sample> samples_;
    std::vector<Reading> readings_;
    std::vector<Gap> gaps_;
    int first_ = 0;
    int last_ = 0;
    double lowest_ = 0.0;
    double highest_ = 0.0;
    int largestGap_ = 0;
};

}  // namespace velkor
