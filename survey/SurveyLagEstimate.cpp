// The survey's readings and tracks handed to the lag estimate.
#include "survey/SurveyLagEstimate.h"

#include <cmath>
#include <map>
#include <string_view>
#include <utility>

#include "text/CalendarDate.h"
#include "text/NumberText.h"
#include "text/TimeOfDay.h"

namespace velkor {
namespace {

// Each line's readings, in the order read, with the position of each.
struct LineWalk {
    std::vector<std::size_t> readings;
    std::vector<double> positions;
};

// +1 where a line's positions grow as it is walked, -1 where they fall, 0 where they stay.
int directionOf(const LineWalk& walk) {
    const double run = walk.positions.back() - walk.positions.front();
    return run > 0.0 ? 1 : (run < 0.0 ? -1 : 0);
}

}  // namespace

std::vector<LagEstimate::Reading> SurveyLagEstimate::readings(const Survey& survey) {
    std::vector<LagEstimate::Reading> out;
    std::map<std::pair<int, std::string_view>, LineWalk> lines;
    for (int d = 0; d < survey.dayCount(); ++d) {
        const DataSet& data = survey.day(d).data;
        for (int i = 1; i < data.lineCount(); ++i) {
            const std::string_view line = data.field(i, Column::Line);
            const std::string_view position = data.field(i, Column::Pos);
            const std::string_view field = data.field(i, Column::Field);
            const std::optional<CalendarDate> date =
                CalendarDate::read(data.field(i, Column::Date));
            if (data.mode(i) == 'A' || !date || !startsWithDigits(line) ||
                !startsWithDigits(position) || !startsWithDigits(field)) {
                continue;
            }
            LineWalk& walk = lines[{d, line}];
            LagEstimate::Reading r;
            r.seconds =
                TrackFix::secondsOf(*date, TimeOfDay::ofColumn(data.field(i, Column::Time)));
            r.value = readDecimal(field);
            walk.readings.push_back(out.size());
            walk.positions.push_back(readDecimal(position));
            out.push_back(r);
        }
    }
    // Each line of each day its own number, in the map's order.
    int number = 0;
    for (const auto& [key, walk] : lines) {
        const int direction = directionOf(walk);
        for (const std::size_t k : walk.readings) {
            out[k].line = number;
            out[k].direction = direction;
        }
        ++number;
    }
    return out;
}

std::optional<LagEstimate::Result> SurveyLagEstimate::of(const Survey& survey,
                                                         const Placement::Track& track,
                                                         std::string& message) {
    const CoordinateSystem* crs = survey.coordinateSystem();
    if (survey.tracks().empty() || !crs) {
        message = survey.tracks().empty()
                      ? "Estimating the lag needs a position track: add one first."
                      : "Estimating the lag needs the survey's coordinate system: name a "
                        "projected EPSG code.";
        return std::nullopt;
    }
    std::vector<PositionTrack> projected;
    for (const TrackSource& t : survey.tracks()) {
        projected.push_back(t.projected(*crs));
    }
    TrackSet::Settings settings;
    settings.maxGap = track.maxGap;
    settings.offset = {track.along, track.across};
    LagEstimate::Result r =
        LagEstimate::of(readings(survey), TrackSet(std::move(projected)), settings);
    if (!r.found) {
        message =
            "The lag cannot be estimated: no neighbouring lines walked in opposite directions "
            "were placed by the tracks.";
        return std::nullopt;
    }
    return r;
}

Placement::Track SurveyLagEstimate::withLag(Placement::Track track, const LagEstimate::Result& r) {
    track.lag = std::round(r.lag * 1000.0) / 1000.0;  // the search's step, not its rounding
    track.lagEstimated = true;
    return track;
}

}  // namespace velkor
