// The instrument's lag behind the track, estimated from the survey itself: readings of
// neighbouring lines walked in opposite directions disagree most when the lag is wrong,
// since a wrong lag moves each line forward along its own way.
#pragma once

#include <vector>

#include "tracks/TrackSet.h"

namespace velkor {

class LagEstimate {
  public:
    struct Reading {
        double seconds = 0.0;  // the instrument's time
        double value = 0.0;
        int line = 0;       // which line it was read on
        int direction = 0;  // +1 or -1 as its line was walked; 0 unknown
    };
    struct Point {
        double lag = 0.0;
        double misfit = 0.0;  // mean square difference of the pairs, nT²
        int pairs = 0;
    };
    struct Result {
        bool found = false;  // false where no lag gave enough pairs
        double lag = 0.0;
        double misfit = 0.0;
        std::vector<Point> curve;
    };

    static constexpr double kFrom = -3.0;
    static constexpr double kTo = 3.0;
    static constexpr double kStep = 0.05;

    // The lag from kFrom to kTo in kStep steps whose placement brings the readings nearest
    // their neighbours walked the other way; the settings' lag is not used.
    static Result of(const std::vector<Reading>& readings, const TrackSet& tracks,
                     TrackSet::Settings settings);
};

}  // namespace velkor
