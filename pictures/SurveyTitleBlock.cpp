// The printed map's title block.
#include "pictures/SurveyTitleBlock.h"

#include <algorithm>
#include <cmath>

#include "pictures/DrawingSurface.h"
#include "survey/Survey.h"
#include "survey/SurveyDescription.h"
#include "survey/TransformedGridding.h"
#include "text/CalendarDate.h"
#include "text/TextFormat.h"

namespace velkor {
std::string SurveyTitleBlock::dates(const Survey& survey) {
    std::string first;
    std::string last;
    for (int k = 0; k < survey.dayCount(); ++k) {
        const std::string span = SurveyDescription::dates(survey.day(k).data);
        if (span.empty()) {
            continue;
        }
        const std::size_t dash = span.find(" - ");
        const std::string from = span.substr(0, dash);
        const std::string to = dash == std::string::npos ? from : span.substr(dash + 3);
        if (first.empty() || CalendarDate::orderKey(from) < CalendarDate::orderKey(first)) {
            first = from;
        }
        if (last.empty() || CalendarDate::orderKey(to) > CalendarDate::orderKey(last)) {
            last = to;
        }
    }
    return first == last ? first : first + " - " + last;
}

std::string SurveyTitleBlock::coordinateSystem(const Survey& survey) {
    const std::optional<int> epsg = survey.settings().epsg;
    if (!epsg) {
        return "No coordinate system: local metres";
    }
    const CoordinateSystem* crs = survey.coordinateSystem();
    return crs != nullptr && !crs->name().empty()
               ? formatText("Coordinate system %s (EPSG:%d)", crs->name().c_str(), *epsg)
               : formatText("Coordinate system EPSG:%d", *epsg);
}

std::vector<std::string> SurveyTitleBlock::lines(const Survey& survey, const std::string& name,
                                                 const SurveyGridding::Result* gridded,
                                                 SurveyMapPainter::Value value, long long scale) {
    std::vector<std::string> out{"Survey " + name};
    const std::string when = dates(survey);
    out.push_back(when.empty() ? std::string("No dates") : "Dates " + when);
    if (gridded != nullptr) {
        out.push_back(formatText("Gridded: %s", SurveySettings::Gridding::name(gridded->what)));
        if (!gridded->transform.empty()) {
            out.push_back(TransformedGridding::describe(*gridded));
        }
    } else {
        out.push_back(formatText("Readings coloured by %s", SurveyMapPainter::valueName(value)));
    }
    // The second line of the corrections says the datum and the normal field.
    const std::vector<std::string> corrections = SurveyDescription::corrections(survey);
    if (corrections.size() > 1) {
        out.push_back(corrections[1]);
    }
    if (gridded != nullptr) {
        out.push_back(formatText("Regional removed: %s",
                                 RegionalTrend::name(survey.settings().gridding.regional)));
    }
    out.push_back(coordinateSystem(survey));
    if (scale > 0) {
        out.push_back(formatText("Scale 1:%lld", scale));
    }
    if (gridded != nullptr) {
        const GriddingReport& r = gridded->gridded.report;
        out.push_back(gridded->interval > 0.0 ? formatText("Contour interval %g %s",
                                                           gridded->interval, gridded->unit.c_str())
                                              : std::string("No contours"));
        out.push_back(formatText("Cell %g m, tension %g, ", r.cell, r.tension) +
                      (std::isfinite(r.blankDistance)
                           ? formatText("blanking distance %g m", r.blankDistance)
                           : std::string("no blanking")));
    }
    return out;
}

int SurveyTitleBlock::fittedEm(const std::vector<std::string>& lines, int width, int em) {
    std::size_t longest = 1;
    for (const std::string& l : lines) {
        longest = std::max(longest, l.size());
    }
    const double fits = (width / 2.0 - em) / (kCharWidth * static_cast<double>(longest));
    return std::max(1, std::min(em, static_cast<int>(fits)));
}

int SurveyTitleBlock::height(const std::vector<std::string>& lines, int em) {
    const int rows = static_cast<int>((lines.size() + 1) / 2);
    return rows * em * 3 / 2 + em;
}

void SurveyTitleBlock::draw(DrawingSurface& s, int width, const std::vector<std::string>& lines,
                            int em) {
    const int bottom = height(lines, em) - em / 2;
    s.setFont(em);
    s.polyline({{0, 0}, {width - 1, 0}, {width - 1, bottom}, {0, bottom}, {0, 0}});
    const std::size_t rows = (lines.size() + 1) / 2;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const int x = k < rows ? em : width / 2;
        const int row = static_cast<int>(k < rows ? k : k - rows);
        s.text(x, em / 2 + row * em * 3 / 2, lines[k]);
    }
}

}  // namespace velkor
