// The position tracks of one survey: a moment is placed by the first track that places it;
// when none does, a gap in one of them is told before the moment lying outside them all.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "tracks/PositionTrack.h"

namespace velkor {

class TrackSet {
  public:
    struct Settings {
        double lag = 0.0;     // seconds the instrument's times run behind the moment measured
        double maxGap = 5.0;  // seconds between fixes beyond which nothing is interpolated
        PositionTrack::Offset offset;
    };

    explicit TrackSet(std::vector<PositionTrack> tracks) : tracks_(std::move(tracks)) {}

    const std::vector<PositionTrack>& tracks() const { return tracks_; }
    // Where the sensor was for a reading taken at the instrument's time seconds.
    PositionTrack::Position place(double seconds, const Settings& settings) const;
    // The same, and which track placed it: tracks().size() when none did.
    PositionTrack::Position place(double seconds, const Settings& settings,
                                  std::size_t& track) const;

  private:
    std::vector<PositionTrack> tracks_;
};

}  // namespace velkor
