// The main field's direction over a survey.
#include "survey/MainFieldDirection.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "corrections/DecimalYear.h"
#include "corrections/GeomagneticModel.h"
#include "gridding/Extent.h"
#include "survey/Survey.h"
#include "text/CalendarDate.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

// The first and last days the readings were taken, as day numbers; nothing without one.
std::optional<std::pair<long, long>> dayRange(const Survey& survey) {
    std::optional<std::pair<long, long>> range;
    for (int d = 0; d < survey.dayCount(); ++d) {
        const DataSet& data = survey.day(d).data;
        std::string_view last;  // the readings of a day mostly share their date
        for (int r = survey.first(d); r < survey.first(d + 1); ++r) {
            const std::string_view text =
                data.field(survey.readingWithoutLatLon(r).line, Column::Date);
            if (text == last) {
                continue;
            }
            last = text;
            if (const std::optional<CalendarDate> date = CalendarDate::read(text)) {
                const long n = date->dayNumber();
                range = range
                            ? std::make_pair(std::min(range->first, n), std::max(range->second, n))
                            : std::make_pair(n, n);
            }
        }
    }
    return range;
}

}  // namespace

std::optional<MainFieldDirection::Result> MainFieldDirection::of(const Survey& survey,
                                                                 std::string& message) {
    const CoordinateSystem* crs = survey.coordinateSystem();
    if (crs == nullptr) {
        message =
            "The field's direction comes from IGRF-14 at the survey's place, which needs its "
            "coordinate system: name one, or give the inclination and declination.";
        return std::nullopt;
    }
    Extent e;
    for (int r = 0; r < survey.readingCount(); ++r) {
        const Survey::Reading g = survey.readingWithoutLatLon(r);
        e.add(g.easting, g.northing);
    }
    const std::optional<std::pair<long, long>> days = dayRange(survey);
    if (survey.readingCount() == 0 || !days) {
        message =
            "The survey has no placed reading with a date to take the field's direction from.";
        return std::nullopt;
    }
    Result r;
    const CoordinateSystem::LatLon at = crs->toLatLon({(e.x0 + e.x1) / 2.0, (e.y0 + e.y1) / 2.0});
    const CalendarDate middle = CalendarDate::ofDayNumber((days->first + days->second) / 2);
    r.latitude = at.latitude;
    r.longitude = at.longitude;
    r.date = middle.text();
    const GeomagneticModel::Result m = GeomagneticModel::compute(
        {at.latitude, at.longitude, survey.settings().normal.height}, DecimalYear::of(middle));
    if (!std::isfinite(at.latitude) || !m.ok) {
        message =
            m.ok ? std::string("The survey's centre has no latitude and longitude.") : m.message;
        return std::nullopt;
    }
    r.inclination = m.field.i;
    r.declination = m.field.d;
    return r;
}

std::string MainFieldDirection::describe(const Result& r) {
    return formatText("inclination %.2f, declination %.2f (IGRF-14 at %.5f %s, %.5f %s, %s)",
                      r.inclination, r.declination, std::abs(r.latitude),
                      r.latitude < 0.0 ? "S" : "N", std::abs(r.longitude),
                      r.longitude < 0.0 ? "W" : "E", r.date.c_str());
}

}  // namespace velkor
