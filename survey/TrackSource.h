// A position track opened: the fixes of its GPX file or NMEA log, what the log refused,
// and the time offset added to its times to bring them to the instrument's clock.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "geo/CoordinateSystem.h"
#include "geo/TrackFix.h"
#include "survey/SurveySettings.h"
#include "tracks/PositionTrack.h"

namespace velkor {

class TrackSource {
  public:
    using Format = SurveySettings::Track::Format;
    // Fixes left out of the track, by reason, and the first line of them (0 for none).
    struct Refused {
        std::string reason;
        int count = 0;
        int firstLine = 0;
    };

    // Reads the file read-only as its format says; nothing and a message naming it when it
    // cannot be read or gives no position.
    static std::optional<TrackSource> open(const SurveySettings::Track& settings,
                                           std::string& message);
    // The format of a file told by its content: GPX is XML, an NMEA log begins with "$", a
    // CSV track with a header whose time and position columns are known by their names.
    static std::optional<Format> detect(const std::string& path);

    // The EPSG code of the WGS 84 UTM zone of the tracks' median position (the median
    // latitude and longitude of all their fixes); nothing and a message when there is no
    // track or one cannot be read.
    static std::optional<int> utmZoneCode(const std::vector<SurveySettings::Track>& tracks,
                                          std::string& message);

    // Whether these settings name this file read this way (the offset aside). A CSV file
    // tells its columns by its header or as the settings name them.
    bool opens(const SurveySettings::Track& settings) const;

    const std::string& path() const { return path_; }
    Format format() const { return format_; }
    double offset() const { return offset_; }
    void setOffset(double seconds) { offset_ = seconds; }
    // By latitude and longitude; none for a CSV track of eastings and northings.
    const std::vector<TrackFix>& fixes() const { return fixes_; }
    // A CSV track's eastings and northings in the survey's coordinate system, at their
    // times without the offset; none for a track of latitudes and longitudes.
    const std::vector<PositionTrack::Point>& planned() const { return planned_; }
    std::size_t fixCount() const { return fixes_.size() + planned_.size(); }
    const std::vector<Refused>& refused() const { return refused_; }
    // The earliest and the latest fix, seconds as TrackFix counts them, the offset added.
    double start() const;
    double end() const;

    // The fixes in crs, at their times with the offset added; a fix the projection cannot
    // take is left out. Eastings and northings are taken as they are.
    PositionTrack projected(const CoordinateSystem& crs) const;

  private:
    TrackSource(std::string path, Format format, std::vector<TrackFix> fixes,
                std::vector<Refused> refused);

    std::string path_;
    Format format_ = Format::Gpx;
    double offset_ = 0.0;
    std::vector<TrackFix> fixes_;
    std::vector<Refused> refused_;
    std::vector<PositionTrack::Point> planned_;
    std::string columns_;  // as a CSV track's settings name them
};

}  // namespace velkor
