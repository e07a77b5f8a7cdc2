// Days tied by readings repeated at one place: how far each day reads off, one offset a day
// by least squares over every tie; levelling takes each day's offset away.
#pragma once

#include <optional>
#include <vector>

namespace velkor {

class DayTies {
  public:
    struct Tie {
        int first = 0;  // day of one reading
        int second = 0;
        double difference = 0.0;  // the first day's value less the second's
    };
    struct Result {
        std::vector<double> offsets;  // nT each day reads above the level
        std::vector<int> ties;        // ties each day takes part in
        std::vector<int> untied;      // days no tie reaches, kept at 0
        double rmsBefore = 0.0;       // of the tie differences
        double rmsAfter = 0.0;
    };

    // Days tied together keep their offsets' mean at 0, or the fixed day's at 0 when it is
    // among them; a group of days tied to none of the rest is levelled on its own.
    static Result solve(int days, const std::vector<Tie>& ties, std::optional<int> fixedDay);
};

}  // namespace velkor
