// A GPX file's positions read through GDAL: its track points, or where it has none its
// route points, or else its waypoints. GPX times are UTC.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "geo/TrackFix.h"

namespace velkor {

class GpxFile {
  public:
    struct Result {
        std::vector<TrackFix> fixes;  // in the file's order
        std::string layer;            // "track_points", "route_points" or "waypoints"
        int noTime = 0;               // points without a time, left out
        int badPosition = 0;          // points off the globe, left out
    };

    // Nothing and a message naming the file when it is no GPX file or holds no point.
    static std::optional<Result> read(const std::string& path, std::string& message);
};

}  // namespace velkor
