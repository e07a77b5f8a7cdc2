// Levelling's estimates in words.
#include "survey/LevellingDescription.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "text/TextFormat.h"

namespace velkor {
namespace {

std::string dayName(const Survey& survey, int d) {
    return std::filesystem::path(survey.day(d).path).filename().string();
}

// What is told: levelling as asked and what it estimated, of the survey's days.
struct Told {
    const Survey& survey;
    const SurveySettings::Levelling& asked;
    const SurveyLevelling::Report& r;
};

std::string untied(const Told& t) {
    std::string names;
    for (const int d : t.r.untiedDays) {
        names += (names.empty() ? "" : ", ") + dayName(t.survey, d);
    }
    return names;
}

void describeDays(const Told& t, std::vector<std::string>& out) {
    const SurveyLevelling::Report& r = t.r;
    const SurveySettings::Levelling& asked = t.asked;
    std::string held = "mean 0";
    if (!asked.fixDay.empty()) {
        held = std::filesystem::path(asked.fixDay).filename().string() + " held at 0";
    }
    out.push_back(formatText("  days (%s): tie differences rms %.2f nT before, %.2f nT after",
                             held.c_str(), r.tieRmsBefore, r.tieRmsAfter));
    for (std::size_t d = 0; d < r.dayOffsets.size(); ++d) {
        out.push_back(formatText("    %s: %+.2f nT taken away, %d ties",
                                 dayName(t.survey, static_cast<int>(d)).c_str(), r.dayOffsets[d],
                                 r.dayTies[d]));
    }
    if (!r.untiedDays.empty()) {
        out.push_back("    not tied to any other day, kept at 0: " + untied(t));
    }
}

void describeStagger(const Told& t, std::vector<std::string>& out) {
    const SurveyLevelling::Report& r = t.r;
    const bool given = t.asked.destagger == SurveySettings::Levelling::Destagger::Given;
    if (!r.stagger) {
        out.push_back(std::string("  stagger: none, ") + LevellingDescription::kOneWay);
        return;
    }
    out.push_back(
        formatText("  stagger: %.2f m (%s): each line moved %.3f m along in the "
                   "direction it was walked",
                   *r.stagger, given ? "given" : "estimated", *r.stagger / 2.0));
}

void describeDirections(const Told& t, std::vector<std::string>& out) {
    const SurveyLevelling::Report& r = t.r;
    if (!r.direction) {
        out.push_back(std::string("  direction offset: none, ") + LevellingDescription::kOneWay);
        return;
    }
    out.push_back(
        formatText("  direction offset: %.2f nT (lines walked forward less those "
                   "walked back): half taken from each way",
                   *r.direction));
}

void describeLines(const Told& t, bool everyLine, std::vector<std::string>& out) {
    const SurveyLevelling::Report& r = t.r;
    double sum = 0.0;
    double lo = 0.0;
    double hi = 0.0;
    for (const SurveyLevelling::LineShift& l : r.lines) {
        sum += l.shift * l.shift;
        lo = std::min(lo, l.shift);
        hi = std::max(hi, l.shift);
    }
    const double rms = r.lines.empty() ? 0.0 : std::sqrt(sum / double(r.lines.size()));
    out.push_back(
        formatText("  lines (threshold %g nT): %zu shifted by %+.2f to %+.2f nT, "
                   "rms %.2f nT",
                   t.asked.threshold, r.lines.size(), lo, hi, rms));
    for (std::size_t k = 0; everyLine && k < r.lines.size(); ++k) {
        const SurveyLevelling::LineShift& l = r.lines[k];
        const char* way = l.direction > 0 ? "forward" : l.direction < 0 ? "back" : "one place";
        out.push_back(formatText("    %s line %g (%s): %+.2f nT", dayName(t.survey, l.day).c_str(),
                                 l.line, way, l.shift));
    }
}

}  // namespace

std::vector<std::string> LevellingDescription::lines(const Survey& survey, bool everyLine) {
    return lines(survey, survey.settings().levelling, survey.levelling(), everyLine);
}

std::vector<std::string> LevellingDescription::lines(const Survey& survey,
                                                     const SurveySettings::Levelling& asked,
                                                     const SurveyLevelling::Report& report,
                                                     bool everyLine) {
    if (!asked.any()) {
        return {};
    }
    const Told t{survey, asked, report};
    std::vector<std::string> out{"Levelling:"};
    if (asked.days) {
        describeDays(t, out);
    }
    if (asked.destagger != SurveySettings::Levelling::Destagger::None) {
        describeStagger(t, out);
    }
    if (asked.directions) {
        describeDirections(t, out);
    }
    if (asked.lines) {
        describeLines(t, everyLine, out);
    }
    return out;
}

std::string LevellingDescription::untiedDays(const Survey& survey) {
    return untied({survey, survey.settings().levelling, survey.levelling()});
}

}  // namespace velkor
