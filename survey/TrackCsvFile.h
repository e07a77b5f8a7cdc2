// A CSV file of positions: a header, then on every row a date and time (or one ISO 8601
// date-time) and either a latitude and longitude (WGS 84 degrees) or an easting and
// northing in the survey's own coordinate system.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geo/TrackFix.h"
#include "tracks/PositionTrack.h"

namespace velkor {

class TrackCsvFile {
  public:
    struct Result {
        std::vector<TrackFix> fixes;                // by latitude and longitude
        std::vector<PositionTrack::Point> planned;  // or else by easting and northing
    };

    // Reads the file; columns names the columns to take ("DATE,TIME,A,B" or
    // "DATETIME,A,B", names as the header writes them, case aside: A,B are latitude and
    // longitude when A is called lat or latitude or B lon, long or longitude, longitude and
    // latitude when so called, else easting and northing), empty for the header's own
    // choice. Fractions of a second are kept. Nothing and a message naming the
    // file and the line when it cannot be used.
    static std::optional<Result> read(const std::string& path, const std::string& columns,
                                      std::string& message);
    static std::optional<Result> parse(std::string_view text, const std::string& name,
                                       const std::string& columns, std::string& message);
    // Whether the text begins with a header whose time and position columns are chosen
    // without help.
    static bool looksLike(std::string_view text);
};

}  // namespace velkor
