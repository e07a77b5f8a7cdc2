// One position of a GNSS track: when (UTC, in seconds since the day numbering's start,
// CalendarDate::dayNumber() days of 86400 s) and where (WGS 84 degrees, metres above the
// ellipsoid or geoid as the receiver gave it, NaN when it gave none).
#pragma once

#include "text/CalendarDate.h"

namespace velkor {

struct TrackFix {
    // The seconds of a moment: its date and the seconds into that day.
    static double secondsOf(const CalendarDate& date, double ofDay) {
        return static_cast<double>(date.dayNumber()) * 86400.0 + ofDay;
    }

    double seconds = 0.0;
    double latitude = 0.0;
    double longitude = 0.0;
    double elevation = 0.0;
};

}  // namespace velkor
