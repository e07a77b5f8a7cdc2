// The base panel's curves and readings.
#include "pictures/BasePanel.h"

#include <algorithm>
#include <cmath>

#include "data/ColumnLayout.h"
#include "survey/Survey.h"
#include "text/TimeOfDay.h"

namespace velkor {
namespace {

std::string fileName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isBaseStation(char mode) {
    return mode == 'A';
}

template <typename Visit>
void forEachReading(const Survey& survey, Visit visit) {
    for (int r = 0; r < survey.readingCount(); ++r) {
        const Survey::Reading g = survey.readingWithoutLatLon(r);
        if (isBaseStation(g.mode)) {
            continue;
        }
        const DataSet& data = survey.day(g.day).data;
        visit(data.field(g.line, Column::Date), data.field(g.line, Column::Time));
    }
}

BasePanel::Curve curveOf(BaseSource& source, const std::string& date) {
    BasePanel::Curve curve;
    curve.name = fileName(source.path());
    std::vector<BasePanel::Point> run;
    for (int s = 0; s < BasePanel::kDay; s += BasePanel::kStep) {
        const TemporalCorrection::Base b = source.at(date, s);
        if (b.outcome == TemporalCorrection::Outcome::Interpolated) {
            run.push_back({s, static_cast<double>(b.value)});
        } else if (!run.empty()) {
            curve.runs.push_back(std::move(run));
            run.clear();
        }
    }
    if (!run.empty()) {
        curve.runs.push_back(std::move(run));
    }
    // An offset can move the date's samples into its neighbours' times: the date is
    // held as soon as any of its readings' times finds a value.
    curve.holdsDate = source.holds(date) || !curve.runs.empty();
    return curve;
}

}  // namespace

std::vector<std::string> BasePanel::dates(const Survey& survey) {
    std::vector<std::string> found;
    forEachReading(survey, [&](std::string_view date, std::string_view) {
        if (found.empty() || found.back() != date) {
            if (std::find(found.begin(), found.end(), date) == found.end()) {
                found.emplace_back(date);
            }
        }
    });
    return found;
}

bool BasePanel::openSources(const Survey& survey, std::vector<BaseSource>& sources,
                            std::string& message) {
    std::vector<BaseSource> opened;
    std::vector<const DataSet*> days;
    for (int d = 0; d < survey.dayCount(); ++d) {
        days.push_back(&survey.day(d).data);
    }
    for (const SurveySettings::BaseSource& s : survey.settings().baseSources) {
        std::optional<BaseSource> source =
            s.format == SurveySettings::BaseSource::Format::Survey
                ? std::optional<BaseSource>(BaseSource::ofReadings(s, days))
                : BaseSource::open(s, message);
        if (!source) {
            return false;
        }
        opened.push_back(std::move(*source));
    }
    sources = std::move(opened);
    return true;
}

BasePanel BasePanel::of(const Survey& survey, std::vector<BaseSource>& sources,
                        const std::string& date) {
    BasePanel panel;
    panel.date_ = date;
    for (BaseSource& source : sources) {
        panel.curves_.push_back(curveOf(source, date));
    }
    forEachReading(survey, [&](std::string_view d, std::string_view time) {
        if (d != date) {
            return;
        }
        const int seconds = TimeOfDay::ofColumn(time);
        const bool based = std::any_of(sources.begin(), sources.end(), [&](BaseSource& source) {
            return source.at(date, seconds).outcome == TemporalCorrection::Outcome::Interpolated;
        });
        panel.readings_.push_back({seconds, based});
    });
    return panel;
}

bool BasePanel::empty() const {
    return readings_.empty() && std::all_of(curves_.begin(), curves_.end(),
                                            [](const Curve& c) { return c.runs.empty(); });
}

}  // namespace velkor
