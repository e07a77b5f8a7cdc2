// Opening position tracks.
#include "survey/TrackSource.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

#include "core/BoundedFile.h"
#include "data/DataFile.h"
#include "geo/GpxFile.h"
#include "survey/TrackCsvFile.h"
#include "text/QuotedText.h"
#include "tracks/NmeaLog.h"

namespace velkor {
namespace {

// Far above a day's log at 10 Hz; anything larger is no track of a walk.
constexpr std::size_t kMaxLogBytes = std::size_t{1} << 30;

std::optional<std::string> logBytes(const std::string& path, std::string& message) {
    std::string all;
    if (BoundedFile::read(path, kMaxLogBytes, all) != BoundedFile::Outcome::Read) {
        message = QuotedText::of(path) + ": " + DataFile::kReadError;
        return std::nullopt;
    }
    return all;
}

}  // namespace

TrackSource::TrackSource(std::string path, Format format, std::vector<TrackFix> fixes,
                         std::vector<Refused> refused)
    : path_(std::move(path)),
      format_(format),
      fixes_(std::move(fixes)),
      refused_(std::move(refused)) {}

std::optional<TrackSource> TrackSource::open(const SurveySettings::Track& settings,
                                             std::string& message) {
    std::optional<TrackSource> opened;
    if (settings.format == Format::Gpx) {
        const std::optional<GpxFile::Result> gpx = GpxFile::read(settings.path, message);
        if (!gpx) {
            return std::nullopt;
        }
        opened = TrackSource(settings.path, Format::Gpx, gpx->fixes,
                             {{"no time", gpx->noTime, 0}, {"off the globe", gpx->badPosition, 0}});
    } else if (settings.format == Format::Csv) {
        std::optional<TrackCsvFile::Result> csv =
            TrackCsvFile::read(settings.path, settings.columns, message);
        if (!csv) {
            return std::nullopt;
        }
        opened = TrackSource(settings.path, Format::Csv, std::move(csv->fixes), {});
        opened->planned_ = std::move(csv->planned);
        opened->columns_ = settings.columns;
    } else {
        const std::optional<std::string> all = logBytes(settings.path, message);
        if (!all) {
            return std::nullopt;
        }
        NmeaLog::Result log = NmeaLog::read(*all);
        std::vector<Refused> refused;
        for (int k = 0; k < NmeaLog::kRefusals; ++k) {
            const auto r = static_cast<NmeaLog::Refusal>(k);
            refused.push_back(
                {NmeaLog::name(r), log.count(r), log.firstLine[static_cast<std::size_t>(k)]});
        }
        opened = TrackSource(settings.path, Format::Nmea, std::move(log.fixes), std::move(refused));
    }
    if (opened->fixCount() == 0) {
        message = QuotedText::of(settings.path) + ": no position fix in it";
        return std::nullopt;
    }
    opened->offset_ = settings.offset;
    return opened;
}

std::optional<TrackSource::Format> TrackSource::detect(const std::string& path) {
    std::string message;
    const std::optional<std::string> all = logBytes(path, message);
    if (!all) {
        return std::nullopt;
    }
    const std::size_t first = all->find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    if (first == std::string::npos) {
        return std::nullopt;
    }
    if ((*all)[first] == '$') {
        return Format::Nmea;
    }
    if ((*all)[first] == '<') {
        return Format::Gpx;
    }
    if (TrackCsvFile::looksLike(*all)) {
        return Format::Csv;
    }
    return std::nullopt;
}

std::optional<int> TrackSource::utmZoneCode(const std::vector<SurveySettings::Track>& tracks,
                                            std::string& message) {
    if (tracks.empty()) {
        message =
            "--crs utm takes the zone of the survey's position tracks, and it has none: "
            "add a track first, or name the zone as EPSG:CODE.";
        return std::nullopt;
    }
    std::vector<double> latitudes;
    std::vector<double> longitudes;
    for (const SurveySettings::Track& t : tracks) {
        const std::optional<TrackSource> source = open(t, message);
        if (!source) {
            return std::nullopt;
        }
        if (!source->planned().empty()) {
            message = "--crs utm: " + QuotedText::of(t.path) +
                      " gives eastings and northings, not latitude and longitude.";
            return std::nullopt;
        }
        for (const TrackFix& f : source->fixes()) {
            latitudes.push_back(f.latitude);
            longitudes.push_back(f.longitude);
        }
    }
    const auto median = [](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    return CoordinateSystem::utmZoneCode({median(latitudes), median(longitudes)});
}

bool TrackSource::opens(const SurveySettings::Track& settings) const {
    return settings.path == path_ && settings.format == format_ && settings.columns == columns_;
}

double TrackSource::start() const {
    double least = std::numeric_limits<double>::infinity();
    for (const TrackFix& f : fixes_) {
        least = std::min(least, f.seconds);
    }
    for (const PositionTrack::Point& p : planned_) {
        least = std::min(least, p.seconds);
    }
    return least + offset_;
}

double TrackSource::end() const {
    double most = -std::numeric_limits<double>::infinity();
    for (const TrackFix& f : fixes_) {
        most = std::max(most, f.seconds);
    }
    for (const PositionTrack::Point& p : planned_) {
        most = std::max(most, p.seconds);
    }
    return most + offset_;
}

PositionTrack TrackSource::projected(const CoordinateSystem& crs) const {
    std::vector<PositionTrack::Point> points;
    points.reserve(fixCount());
    for (const PositionTrack::Point& p : planned_) {
        points.push_back({p.seconds + offset_, p.x, p.y});
    }
    for (const TrackFix& f : fixes_) {
        const CoordinateSystem::EastNorth at = crs.fromLatLon({f.latitude, f.longitude});
        if (std::isfinite(at.easting) && std::isfinite(at.northing)) {
            points.push_back({f.seconds + offset_, at.easting, at.northing});
        }
    }
    return PositionTrack(std::move(points));
}

}  // namespace velkor
