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
    // The format of a file told by its content: GPX is XML, an NMEA log begins with "$".
    static std::optional<Format> detect(const std::string& path);

    // Whether these settings name this file read this way (the offset aside).
    bool opens(const SurveySettings::Track& settings) const;

    const std::string& path() const { return path_; }
    Format format() const { return format_; }
    double offset() const { return offset_; }
    void setOffset(double seconds) { offset_ = seconds; }
    const std::vector<TrackFix>& fixes() const { return fixes_; }
    const std::vector<Refused>& refused() const { return refused_; }
    // The earliest and the latest fix, seconds as TrackFix counts them, the offset added.
    double start() const;
    double end() const;

    // The fixes in crs, at their times with the offset added; a fix the projection cannot
    // take is left out.
    PositionTrack projected(const CoordinateSystem& crs) const;

  private:
    TrackSource(std::string path, Format format, std::vector<TrackFix> fixes,
                std::vector<Refused> refused);

    std::string path_;
    Format format_ = Format::Gpx;
    double offset_ = 0.0;
    std::vector<TrackFix> fixes_;
    std::vector<Refused> refused_;
};

}  // namespace velkor
