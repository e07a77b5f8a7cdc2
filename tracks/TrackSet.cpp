// Placing by several tracks.
#include "tracks/TrackSet.h"

namespace velkor {

PositionTrack::Position TrackSet::place(double seconds, const Settings& settings) const {
    PositionTrack::Position found;
    for (const PositionTrack& track : tracks_) {
        const PositionTrack::Position p =
            track.at(seconds - settings.lag, settings.maxGap, settings.offset);
        if (p.where == PositionTrack::Where::Placed) {
            return p;
        }
        if (p.where == PositionTrack::Where::InGap) {
            found = p;
        }
    }
    return found;
}

}  // namespace velkor
