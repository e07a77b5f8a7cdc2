// Placing by several tracks.
#include "tracks/TrackSet.h"

namespace velkor {

PositionTrack::Position TrackSet::place(double seconds, const Settings& settings) const {
    std::size_t track = 0;
    return place(seconds, settings, track);
}

PositionTrack::Position TrackSet::place(double seconds, const Settings& settings,
                                        std::size_t& track) const {
    PositionTrack::Position found;
    track = tracks_.size();
    for (std::size_t k = 0; k < tracks_.size(); ++k) {
        const PositionTrack::Position p =
            tracks_[k].at(seconds - settings.lag, settings.maxGap, settings.offset);
        if (p.where == PositionTrack::Where::Placed) {
            track = k;
            return p;
        }
        if (p.where == PositionTrack::Where::InGap) {
            found = p;
        }
    }
    return found;
}

}  // namespace velkor
