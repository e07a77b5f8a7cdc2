// One position of a GNSS track: when (UTC, in seconds since the day numbering's start,
// CalendarDate::dayNumber() days of 86400 s) and where (WGS 84 degrees, metres above the
// ellipsoid or geoid as the receiver gave it, NaN when it gave none).
#pragma once

namespace velkor {

struct TrackFix {
    double seconds = 0.0;
    double latitude = 0.0;
    double longitude = 0.0;
    double elevation = 0.0;
};

}  // namespace velkor
