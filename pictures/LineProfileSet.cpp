// Survey readings grouped by line.
#include "pictures/LineProfileSet.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>

#include "survey/Survey.h"
#include "survey/SurveyFlags.h"
#include "text/NumberText.h"

namespace velkor {
namespace {

constexpr float kNone = std::numeric_limits<float>::quiet_NaN();

float orNone(const std::optional<float>& v) {
    return v ? *v : kNone;
}

float gradientOf(const Survey& survey, const Survey::Reading& g) {
    const std::optional<double> v = survey.gradient(g);
    return v ? static_cast<float>(*v) : kNone;
}

}  // namespace

LineProfileSet::LineProfileSet(std::vector<Line> lines) : lines_(std::move(lines)) {
    std::sort(lines_.begin(), lines_.end(),
              [](const Line& a, const Line& b) { return a.number < b.number; });
    for (std::size_t k = 0; k < lines_.size(); ++k) {
        std::vector<Point>& points = lines_[k].points;
        std::stable_sort(points.begin(), points.end(),
                         [](const Point& a, const Point& b) { return a.position < b.position; });
        for (std::size_t i = 0; i < points.size(); ++i) {
            places_.push_back({points[i].reading, static_cast<int>(k), static_cast<int>(i)});
        }
    }
    std::sort(places_.begin(), places_.end(),
              [](const Place& a, const Place& b) { return a.reading < b.reading; });
}

LineProfileSet LineProfileSet::build(const Survey& survey) {
    const SurveyFlags flags(survey);
    std::map<double, std::vector<Point>> byLine;
    for (int r = 0; r < survey.readingCount(); ++r) {
        const Survey::Reading g = survey.readingWithoutLatLon(r);
        if (g.mode == 'A') {
            continue;  // the base station stands still: it has no profile
        }
        const DataSet& data = survey.day(g.day).data;
        const std::optional<double> line = readDecimalNumber(data.field(g.line, Column::Line));
        const std::optional<double> position = readDecimalNumber(data.field(g.line, Column::Pos));
        if (!line || !position || !std::isfinite(*line) || !std::isfinite(*position)) {
            continue;
        }
        byLine[*line].push_back(
            {r,
             *position,
             {g.field, orNone(g.diurnal), orNone(g.anomaly), gradientOf(survey, g)},
             flags.word(g)});
    }
    std::vector<Line> lines;
    lines.reserve(byLine.size());
    for (auto& [number, points] : byLine) {
        lines.push_back({number, std::move(points)});
    }
    return LineProfileSet(std::move(lines));
}

int LineProfileSet::lineOf(int reading) const {
    const auto found = std::lower_bound(places_.begin(), places_.end(), reading,
                                        [](const Place& p, int r) { return p.reading < r; });
    return found != places_.end() && found->reading == reading ? found->line : -1;
}

const LineProfileSet::Point* LineProfileSet::point(int reading) const {
    const auto found = std::lower_bound(places_.begin(), places_.end(), reading,
                                        [](const Place& p, int r) { return p.reading < r; });
    if (found == places_.end() || found->reading != reading) {
        return nullptr;
    }
    return &lines_[static_cast<std::size_t>(found->line)]
                .points[static_cast<std::size_t>(found->point)];
}

}  // namespace velkor
