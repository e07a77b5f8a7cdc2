// A survey told in words.
#include "survey/SurveyDescription.h"

#include <cmath>
#include <filesystem>
#include <optional>
#include <string_view>

#include "corrections/CorrectionSummary.h"
#include "data/DataSet.h"
#include "survey/BaseCoverage.h"
#include "survey/FlagList.h"
#include "survey/LevellingDescription.h"
#include "survey/Placement.h"
#include "text/CalendarDate.h"
#include "text/ShortNumber.h"
#include "text/TextFormat.h"
#include "text/Trim.h"

namespace velkor {
namespace {

const char* sideName(Placement::Side side) {
    return side == Placement::Side::Left ? "left" : "right";
}

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// The smallest and largest of one value over the readings that have it.
struct Range {
    double lo = 0.0;
    double hi = 0.0;
    int count = 0;
    void add(std::optional<double> v) {
        if (!v || !std::isfinite(*v)) {
            return;
        }
        lo = count == 0 ? *v : std::min(lo, *v);
        hi = count == 0 ? *v : std::max(hi, *v);
        ++count;
    }
    std::string text(const char* name, const char* unit) const {
        if (count == 0) {
            return std::string(name) + ": none";
        }
        return formatText("%s: %.2f to %.2f %s (%d readings)", name, lo, hi, unit, count);
    }
};

// The date of a moment of a track, seconds as TrackFix counts them: "06.07.2026".
std::string dayOf(double seconds) {
    return CalendarDate::ofDayNumber(static_cast<long>(std::floor(seconds / 86400.0))).text();
}

// "06.07.2026 08:00:01".
std::string moment(double seconds) {
    const auto of =
        static_cast<long>(std::floor(seconds - std::floor(seconds / 86400.0) * 86400.0));
    return dayOf(seconds) + formatText(" %02ld:%02ld:%02ld", of / 3600, of / 60 % 60, of % 60);
}

// The survey's tracks and what they placed; nothing for a survey without tracks.
std::vector<std::string> trackLines(const Survey& survey) {
    std::vector<std::string> lines;
    if (!survey.tracks().empty()) {
        lines.push_back(formatText("tracks: %zu", survey.tracks().size()));
    }
    for (std::size_t k = 0; k < survey.tracks().size(); ++k) {
        const TrackSource& t = survey.tracks()[k];
        std::string refused;
        for (const TrackSource::Refused& r : t.refused()) {
            if (r.count > 0) {
                refused += (refused.empty() ? "" : ", ") + r.reason + formatText(" %d", r.count) +
                           (r.firstLine > 0 ? formatText(" (first line %d)", r.firstLine) : "");
            }
        }
        lines.push_back(formatText(
            "  %s: %zu fixes, refused: %s, %s - %s, offset %g s, placed %d readings",
            fileName(t.path()).c_str(), t.fixCount(), refused.empty() ? "none" : refused.c_str(),
            moment(t.start()).c_str(), moment(t.end()).c_str(), t.offset(), survey.placedBy(k)));
    }
    if (survey.settings().placement.by() == Placement::By::Track) {
        const Survey::Summary total = survey.total();
        lines.push_back(formatText("no position: in a gap %d, outside the tracks %d", total.inGap,
                                   total.outsideTracks));
    }
    return lines;
}

std::vector<std::string> ranges(const Survey& survey) {
    Range easting, northing, field, base, diurnal, normal, anomaly;
    for (int r = 0; r < survey.readingCount(); ++r) {
        const Survey::Reading g = survey.readingWithoutLatLon(r);
        easting.add(g.easting);
        northing.add(g.northing);
        field.add(g.field);
        base.add(g.base);
        diurnal.add(g.diurnal);
        normal.add(g.normal);
        anomaly.add(g.anomaly);
    }
    return {easting.text("easting", "m"),  northing.text("northing", "m"),
            field.text("field", "nT"),     base.text("base", "nT"),
            diurnal.text("diurnal", "nT"), normal.text("normal", "nT"),
            anomaly.text("anomaly", "nT")};
}

std::vector<std::string> leftOut(const Survey::Summary& t) {
    std::vector<std::string> lines{
        formatText("left out: %d (line without a number %d, position without a number %d, "
                   "field without a number %d)",
                   t.leftOut, t.noLine, t.noPosition, t.noField),
        formatText("corrected: %d, base-station readings: %d, more than an hour from a base "
                   "sample: %d",
                   t.corrected, t.skippedAuto, t.bigGaps)};
    for (int k = 0; k < CorrectionSummary::kReasons; ++k) {
        lines.push_back(formatText("uncorrected %s: %d",
                                   CorrectionSummary::name(CorrectionSummary::reason(k)),
                                   t.uncorrected[static_cast<std::size_t>(k)]));
    }
    return lines;
}

}  // namespace

std::string SurveyDescription::dates(const DataSet& data) {
    std::string first;
    std::string last;
    for (int k = 1; k < data.lineCount(); ++k) {
        const std::string date(Trim::spacesAndTabs(data.field(k, Column::Date)));
        if (!date.empty()) {
            (first.empty() ? first : last) = date;
        }
    }
    return last.empty() || last == first ? first : first + " - " + last;
}

std::string SurveyDescription::dates(const TrackSource& track) {
    const std::string first = dayOf(track.start());
    const std::string last = dayOf(track.end());
    return first == last ? first : first + " - " + last;
}

std::string SurveyDescription::cover(const Survey& survey, const Survey::Summary& s) {
    if (survey.settings().baseSources.empty()) {
        return "no base source";
    }
    const int wanted = s.readings - s.skippedAuto;
    return wanted <= 0 ? std::string("-") : formatText("%.1f %%", 100.0 * s.corrected / wanted);
}

std::vector<std::string> SurveyDescription::placement(const Placement& p) {
    const Placement::Parameters& q = p.parameters();
    switch (p.by()) {
        case Placement::By::Nothing:
            return {"Placement: none (E = position, N = line)"};
        case Placement::By::Parameters:
            return {
                formatText("Placement by parameters: origin %.3f, %.3f, azimuth %g, line "
                           "spacing %g m, station interval %g m, first line %g, first "
                           "position %g, lines to the %s",
                           q.originEasting, q.originNorthing, q.azimuth, q.lineSpacing,
                           q.stationInterval, q.firstLine, q.firstPosition, sideName(q.side))};
        case Placement::By::ControlPoints:
            break;
        case Placement::By::Track: {
            const Placement::Track& t = p.track();
            return {formatText(
                "Placement by track: antenna offset %g m along, %g m across, %s %g s, largest "
                "gap %g s",
                t.along, t.across, t.lagEstimated ? "estimated lag" : "lag", t.lag, t.maxGap)};
        }
    }
    // A fit is exact only to rounding: 359.99999999 degrees is said as 0, -0.0000001 m as 0.
    std::vector<std::string> lines{formatText(
        "Placement by %zu control points: azimuth %.4f, scale %.6f, lines to the %s",
        p.controlPoints().size(), std::fmod(ShortNumber::roundedTo(q.azimuth, 1e-4), 360.0),
        p.scale(), sideName(q.side))};
    for (std::size_t k = 0; k < p.controlPoints().size(); ++k) {
        const Placement::ControlPoint& c = p.controlPoints()[k];
        const Placement::Residual& r = p.residuals()[k];
        lines.push_back(formatText(
            "  line %g, position %g at %.3f, %.3f: residual %.3f, %.3f "
            "(%.3f m)",
            c.line, c.position, c.easting, c.northing, ShortNumber::roundedTo(r.easting, 1e-3),
            ShortNumber::roundedTo(r.northing, 1e-3), ShortNumber::roundedTo(r.distance(), 1e-3)));
    }
    return lines;
}

std::vector<std::string> SurveyDescription::corrections(const Survey& survey) {
    const SurveySettings& s = survey.settings();
    std::vector<std::string> lines{s.epsg ? formatText("Coordinate system EPSG:%d", *s.epsg)
                                          : std::string("No coordinate system: local metres")};
    std::string datum = formatText("Datum %.2f nT", s.datum);
    switch (s.normal.kind) {
        case SurveySettings::NormalField::Kind::None:
            datum += ", no normal field";
            break;
        case SurveySettings::NormalField::Kind::Constant:
            datum += formatText(", normal field %.2f nT", s.normal.value);
            break;
        case SurveySettings::NormalField::Kind::Igrf:
            datum += formatText(", normal field IGRF-14 at %g m", s.normal.height);
            break;
    }
    lines.push_back(datum);
    if (s.gridding.regional != RegionalTrend::Kind::None) {
        lines.push_back(formatText("Regional trend removed before gridding: %s",
                                   RegionalTrend::name(s.gridding.regional)));
    }
    if (!survey.normalProblem().empty()) {
        lines.push_back(survey.normalProblem());
    }
    // A source that can never correct a reading is named, not left silently useless.
    const std::vector<std::string> dates = BaseCoverage::dates(survey);
    for (const BaseSource& b : survey.bases()) {
        const std::string problem = BaseCoverage::problem(b, dates);
        if (!problem.empty()) {
            lines.push_back(problem);
        }
    }
    const Survey::Summary t = survey.total();
    lines.push_back(
        formatText("%d readings, %d merged, %d left out", t.readings, t.merged, t.leftOut));
    return lines;
}

std::string SurveyDescription::gridding(const SurveySettings::Gridding& g) {
    const auto value = [](const std::optional<double>& v, const char* unit) {
        if (!v) {
            return std::string("default");
        }
        return std::isfinite(*v) ? formatText("%g %s", *v, unit) : std::string("none");
    };
    return formatText(
        "Gridding: %s, cell %s, tension %g, blanking distance %s, contour interval %s",
        SurveySettings::Gridding::name(g.what), value(g.cell, "m").c_str(), g.tension,
        value(g.blankDistance, "m").c_str(), value(g.interval, "nT").c_str());
}

namespace {

// "  day1.velkor: readings 12, 40 left out", a line for each day that has any, so that
// they can be found and mended.
std::vector<std::string> unreadable(const Survey& survey) {
    constexpr std::size_t kNamed = 20;
    std::vector<std::string> lines;
    for (int d = 0; d < survey.dayCount(); ++d) {
        const std::vector<int>& numbers = survey.summary(d).unreadable;
        if (numbers.empty()) {
            continue;
        }
        std::string text = "  " + fileName(survey.day(d).path) +
                           (numbers.size() == 1 ? ": reading " : ": readings ");
        for (std::size_t k = 0; k < numbers.size() && k < kNamed; ++k) {
            text += (k > 0 ? ", " : "") + std::to_string(numbers[k]);
        }
        if (numbers.size() > kNamed) {
            text += formatText(" and %zu more", numbers.size() - kNamed);
        }
        lines.push_back(text + " left out");
    }
    return lines;
}

}  // namespace

std::vector<std::string> SurveyDescription::info(const Survey& survey) {
    std::vector<std::string> lines{formatText("days: %d", survey.dayCount())};
    for (int d = 0; d < survey.dayCount(); ++d) {
        const Survey::Summary& s = survey.summary(d);
        lines.push_back(
            formatText("  %s: dates %s, readings %d, merged %d, left out %d, base "
                       "cover %s",
                       fileName(survey.day(d).path).c_str(), dates(survey.day(d).data).c_str(),
                       s.readings, s.merged, s.leftOut, cover(survey, s).c_str()));
    }
    lines.push_back(formatText("base sources: %zu", survey.bases().size()));
    for (const BaseSource& b : survey.bases()) {
        lines.push_back(formatText("  %s: offset %d s, %d samples, dates %s - %s",
                                   fileName(b.path()).c_str(), b.offset(), b.samples(),
                                   b.firstDate().c_str(), b.lastDate().c_str()));
    }
    const std::vector<std::string> tracks = trackLines(survey);
    lines.insert(lines.end(), tracks.begin(), tracks.end());
    const std::size_t flags = survey.settings().flags.size();
    const std::size_t stale = FlagList::stale(survey.settings(), survey).size();
    std::string flagged = formatText("flags: %zu", flags);
    if (stale > 0) {
        flagged +=
            formatText(" (%zu no longer match their readings: the next change drops them)", stale);
    }
    std::vector<std::string> counts = leftOut(survey.total());
    const std::vector<std::string> named = unreadable(survey);
    counts.insert(counts.begin() + 1, named.begin(), named.end());
    for (const auto& part :
         {placement(survey.settings().placement), corrections(survey),
          LevellingDescription::lines(survey, false),
          std::vector<std::string>{gridding(survey.settings().gridding), flagged}, counts,
          ranges(survey)}) {
        lines.insert(lines.end(), part.begin(), part.end());
    }
    return lines;
}

}  // namespace velkor
