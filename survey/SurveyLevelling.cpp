// Levelling a survey's readings step by step.
#include "survey/SurveyLevelling.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <utility>

#include "gridding/PointBuckets.h"
#include "levelling/DayTies.h"
#include "levelling/DirectionOffset.h"
#include "levelling/LevelLine.h"
#include "levelling/LineNeighbours.h"
#include "levelling/LineTraverse.h"
#include "levelling/Median.h"
#include "levelling/Stagger.h"

namespace velkor {
namespace {

using Input = SurveyLevelling::Input;

// One line of one day, its readings by increasing position.
struct Pass {
    int day = 0;
    double line = 0.0;
    int direction = 0;
    std::vector<std::size_t> readings;
};

// Readings of a line come in the order they were taken: whether the position grew from the
// first to the last tells the way it was walked.
std::vector<Pass> passesOf(const std::vector<Input>& in) {
    std::map<std::pair<int, double>, std::size_t> index;
    std::vector<Pass> passes;
    for (std::size_t k = 0; k < in.size(); ++k) {
        if (!in[k].walked) {
            continue;
        }
        const auto [at, added] = index.try_emplace({in[k].day, in[k].line}, passes.size());
        if (added) {
            passes.push_back({in[k].day, in[k].line, 0, {}});
        }
        passes[at->second].readings.push_back(k);
    }
    for (Pass& p : passes) {
        const double run = in[p.readings.back()].position - in[p.readings.front()].position;
        p.direction = run > 0.0 ? 1 : run < 0.0 ? -1 : 0;
        std::stable_sort(p.readings.begin(), p.readings.end(), [&in](std::size_t a, std::size_t b) {
            return in[a].position < in[b].position;
        });
    }
    return passes;
}

class Levelling {
  public:
    Levelling(const std::vector<Input>& in, double interval)
        : in_(in), interval_(interval), passes_(passesOf(in)) {
        out_.level.assign(in.size(), 0.0f);
        out_.positionBy.assign(in.size(), 0.0);
        for (const Input& r : in) {
            values_.push_back(r.walked ? r.value : std::nan(""));
        }
    }

    void days(int days, std::optional<int> fixedDay) {
        std::vector<std::size_t> order;
        for (std::size_t k = 0; k < in_.size(); ++k) {
            if (std::isfinite(values_[k])) {
                order.push_back(k);
            }
        }
        std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
            return std::tie(in_[a].line, in_[a].position, in_[a].day, a) <
                   std::tie(in_[b].line, in_[b].position, in_[b].day, b);
        });
        const bool placed =
            interval_ > 0.0 && !order.empty() &&
            std::all_of(order.begin(), order.end(), [this](std::size_t k) {
                return std::isfinite(in_[k].easting) && std::isfinite(in_[k].northing);
            });
        const DayTies::Result r =
            DayTies::solve(days, placed ? placedTies(order) : ties(order), fixedDay);
        for (std::size_t k = 0; k < in_.size(); ++k) {
            if (in_[k].walked) {
                add(k, -r.offsets[static_cast<std::size_t>(in_[k].day)]);
            }
        }
        Report& report = out_.report;
        report.dayOffsets = r.offsets;
        report.dayTies = r.ties;
        report.untiedDays = r.untied;
        report.tieRmsBefore = r.rmsBefore;
        report.tieRmsAfter = r.rmsAfter;
    }

    void destagger(const SurveySettings::Levelling& settings) {
        using D = SurveySettings::Levelling::Destagger;
        // Lines walked all one way have no stagger between them to take away.
        const std::optional<double> stagger = settings.destagger == D::Auto
                                                  ? Stagger::estimate(lines(), spacing())
                                              : opposite() ? std::optional<double>(settings.stagger)
                                                           : std::nullopt;
        out_.report.stagger = stagger;
        if (!stagger) {
            return;
        }
        for (const Pass& p : passes_) {
            for (const std::size_t k : p.readings) {
                out_.positionBy[k] = p.direction * *stagger / 2.0 / interval_;
            }
        }
    }

    void directions() {
        const std::optional<double> offset = DirectionOffset::estimate(lines());
        out_.report.direction = offset;
        if (!offset) {
            return;
        }
        for (const Pass& p : passes_) {
            for (const std::size_t k : p.readings) {
                add(k, -p.direction * *offset / 2.0);
            }
        }
    }

    void lines(double threshold) {
        std::vector<std::vector<double>> values;
        for (const Pass& p : passes_) {
            values.emplace_back();
            for (const std::size_t k : p.readings) {
                if (std::isfinite(values_[k])) {
                    values.back().push_back(values_[k]);
                }
            }
        }
        const std::vector<double> shifts = LineTraverse::shifts(values, threshold);
        for (std::size_t j = 0; j < passes_.size(); ++j) {
            const Pass& p = passes_[j];
            for (const std::size_t k : p.readings) {
                add(k, shifts[j]);
            }
            out_.report.lines.push_back({p.day, p.line, p.direction, shifts[j]});
        }
    }

    bool opposite() const { return !LineNeighbours::opposite(lines()).empty(); }

    SurveyLevelling::Outcome take() { return std::move(out_); }

  private:
    using Report = SurveyLevelling::Report;

    void add(std::size_t k, double nT) {
        values_[k] += nT;
        out_.level[k] = static_cast<float>(static_cast<double>(out_.level[k]) + nT);
    }

    // Within each run of one place, each day's first reading tied to every other day's.
    std::vector<DayTies::Tie> ties(const std::vector<std::size_t>& order) const {
        std::vector<DayTies::Tie> out;
        for (std::size_t from = 0; from < order.size();) {
            std::size_t to = from + 1;
            while (to < order.size() && in_[order[to]].line == in_[order[from]].line &&
                   in_[order[to]].position == in_[order[from]].position) {
                ++to;
            }
            std::vector<std::size_t> firsts;
            for (std::size_t j = from; j < to; ++j) {
                if (firsts.empty() || in_[firsts.back()].day != in_[order[j]].day) {
                    firsts.push_back(order[j]);
                }
            }
            for (std::size_t a = 0; a < firsts.size(); ++a) {
                for (std::size_t b = a + 1; b < firsts.size(); ++b) {
                    out.push_back({in_[firsts[a]].day, in_[firsts[b]].day,
                                   values_[firsts[a]] - values_[firsts[b]]});
                }
            }
            from = to;
        }
        return out;
    }

    // Once placed, each reading tied to the nearest reading of every later day within half a
    // station interval: a control line tied whatever line numbers each day gave it.
    std::vector<DayTies::Tie> placedTies(const std::vector<std::size_t>& usable) const {
        const double reach = interval_ / 2.0;
        std::vector<PointBuckets::Place> places;
        for (const std::size_t k : usable) {
            places.push_back({in_[k].easting, in_[k].northing});
        }
        const PointBuckets buckets(places, reach);
        std::vector<DayTies::Tie> out;
        for (const std::size_t k : usable) {
            std::map<int, std::pair<double, std::size_t>> nearest;  // later day: distance, reading
            const double e = in_[k].easting;
            const double n = in_[k].northing;
            buckets.visit(e - reach, n - reach, e + reach, n + reach, [&](int at) {
                const std::size_t j = usable[static_cast<std::size_t>(at)];
                const double d =
                    std::hypot(in_[j].easting - in_[k].easting, in_[j].northing - in_[k].northing);
                const auto best = nearest.find(in_[j].day);
                if (in_[j].day > in_[k].day && d <= reach &&
                    (best == nearest.end() || d < best->second.first)) {
                    nearest[in_[j].day] = {d, j};
                }
            });
            for (const auto& [day, found] : nearest) {
                out.push_back({in_[k].day, day, values_[k] - values_[found.second]});
            }
        }
        return out;
    }

    // Each line with its values so far, at its readings' places so far, in metres.
    std::vector<LevelLine> lines() const {
        std::vector<LevelLine> out;
        for (const Pass& p : passes_) {
            LevelLine line;
            line.number = p.line;
            line.direction = p.direction;
            for (const std::size_t k : p.readings) {
                if (std::isfinite(values_[k])) {
                    line.along.push_back((in_[k].position + out_.positionBy[k]) * interval_);
                    line.value.push_back(values_[k]);
                }
            }
            out.push_back(std::move(line));
        }
        return out;
    }

    // The readings' usual distance apart along their lines, in metres.
    double spacing() const {
        std::vector<double> gaps;
        for (const Pass& p : passes_) {
            for (std::size_t j = 1; j < p.readings.size(); ++j) {
                const double gap = in_[p.readings[j]].position - in_[p.readings[j - 1]].position;
                if (gap > 0.0) {
                    gaps.push_back(gap * interval_);
                }
            }
        }
        return gaps.empty() ? interval_ : Median::of(std::move(gaps));
    }

    const std::vector<Input>& in_;
    double interval_;
    std::vector<Pass> passes_;
    std::vector<double> values_;
    SurveyLevelling::Outcome out_;
};

}  // namespace

SurveyLevelling::Outcome SurveyLevelling::run(const SurveySettings::Levelling& settings,
                                              std::optional<int> fixedDay, int days,
                                              const std::vector<Input>& readings, double interval) {
    using D = SurveySettings::Levelling::Destagger;
    Levelling l(readings, interval);
    if (settings.days) {
        l.days(days, fixedDay);
    }
    if (settings.destagger != D::None) {
        l.destagger(settings);
    }
    if (settings.directions) {
        l.directions();
    }
    if (settings.lines) {
        l.lines(settings.threshold);
    }
    const bool opposite = l.opposite();
    Outcome out = l.take();
    out.report.opposite = opposite;
    out.report.daysAsked = settings.days;
    out.report.staggerAsked = settings.destagger != D::None;
    out.report.directionsAsked = settings.directions;
    out.report.linesAsked = settings.lines;
    return out;
}

}  // namespace velkor
