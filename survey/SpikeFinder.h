// Spike candidates along survey lines: one or two readings far from the running median of
// their neighbours, or the centre of a fourth difference beyond the line's noise, that
// neither the readings beside them nor the adjacent lines at the same place support.
#pragma once

#include <optional>
#include <vector>

namespace velkor {

class Survey;

class SpikeFinder {
  public:
    static constexpr int kWindow = 5;
    static constexpr double kNoiseFactor = 5.0;   // times the fourth difference's MAD
    static constexpr double kMinThreshold = 2.0;  // nT
    // A departure of the same sign and at least this share of a candidate's, just beside
    // it on its line or at its place on an adjacent line, makes it part of an anomaly.
    static constexpr double kSupport = 0.25;

    struct Reading {
        double line = 0.0;
        double position = 0.0;
        double value = 0.0;  // NaN: the reading has no value
        int index = 0;       // handed back in its candidate
        bool flagged = false;
    };
    enum class Reason { Median, FourthDifference };
    struct Candidate {
        int index;
        double line;
        double position;
        double value;
        double median;     // of its neighbours
        double threshold;  // nT, as used on its line
        Reason reason;
    };
    struct Options {
        int window = kWindow;             // readings, the one looked at among them; at least 3
        std::optional<double> threshold;  // nT; none: from each line's noise
    };

    // Candidates line by line (in order of line number), in position order. Readings
    // flagged or without a value are neither candidates nor anyone's neighbours. More
    // than two neighbouring readings that stand out are an anomaly: none of them is a
    // candidate.
    static std::vector<Candidate> find(const std::vector<Reading>& readings,
                                       const Options& options);
    // A line's threshold from its values in position order: kNoiseFactor times the median
    // absolute deviation of their fourth differences, at least kMinThreshold.
    static double threshold(const std::vector<double>& values);
    // "median", "fourth-difference".
    static const char* name(Reason reason);

    // The survey's readings as find takes them: the field value, by Line and Position;
    // base-station ('A') readings left out, flagged ones marked; index is the survey's
    // reading number.
    static std::vector<Reading> readingsOf(const Survey& survey);
};

}  // namespace velkor
