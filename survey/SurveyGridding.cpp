// The survey's readings gridded and contoured.
#include "survey/SurveyGridding.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

#include "data/DataSet.h"
#include "gridding/Extent.h"
#include "gridding/GridLattice.h"
#include "survey/Survey.h"
#include "survey/SurveyFlags.h"
#include "text/NumberText.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

std::optional<double> valueOf(const Survey& survey, const Survey::Reading& g,
                              SurveyGridding::What what) {
    const auto present = [](const std::optional<float>& v) -> std::optional<double> {
        return v ? std::optional<double>(*v) : std::nullopt;
    };
    switch (what) {
        case SurveyGridding::What::Anomaly:
            return present(g.anomaly);
        case SurveyGridding::What::Diurnal:
            return present(g.diurnal);
        case SurveyGridding::What::Field:
            return g.mode == 'A' ? std::nullopt : std::optional<double>(g.field);
        case SurveyGridding::What::Gradient:
            // Only a gradiometer's reading has one.
            if (g.mode != 'G') {
                return std::nullopt;
            }
            return readDecimalNumber(survey.day(g.day).data.field(g.line, Column::Grad));
    }
    return std::nullopt;
}

// The extent of the readings the gridder takes.
Extent griddedExtent(const std::vector<GridPoint>& points) {
    Extent e;
    for (const GridPoint& p : points) {
        if (std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.value)) {
            e.add(p.x, p.y);
        }
    }
    return e;
}

// As many nodes as the gridder's lattice over the extent has at this cell.
double nodesAt(const Extent& e, double cell) {
    return static_cast<double>(GridLattice::covering(e.x0, e.y0, e.x1, e.y1, cell).size());
}

// The smallest 1, 2, 2.5 or 5 times a power of ten not below v (> 0): a cell a user reads
// at a glance.
double roundUp(double v) {
    const double power = std::pow(10.0, std::floor(std::log10(v)));
    for (const double step : {1.0, 2.0, 2.5, 5.0}) {
        if (step * power >= v) {
            return step * power;
        }
    }
    return 10.0 * power;
}

}  // namespace

std::vector<GridPoint> SurveyGridding::points(const Survey& survey, What what) {
    const SurveyFlags flags(survey);
    std::map<double, int> lineIds;
    std::vector<GridPoint> points;
    points.reserve(static_cast<std::size_t>(survey.readingCount()));
    for (int r = 0; r < survey.readingCount(); ++r) {
        const Survey::Reading g = survey.readingWithoutLatLon(r);
        const std::optional<double> v = valueOf(survey, g, what);
        if (!v || !std::isfinite(*v) || flags.flagged(g)) {
            continue;
        }
        // Every placed reading has a line number; its text is a number.
        const double line =
            readDecimalNumber(survey.day(g.day).data.field(g.line, Column::Line)).value_or(0.0);
        const int id = lineIds.emplace(line, static_cast<int>(lineIds.size())).first->second;
        points.push_back({g.easting, g.northing, *v, id});
    }
    // Fitted to the readings that are gridded: a flagged one would bend the trend too.
    return RegionalTrend::removed(std::move(points), survey.settings().gridding.regional);
}

SurveyGridding::Defaults SurveyGridding::defaults(const Survey& survey,
                                                  const SurveySettings::Gridding& gridding,
                                                  double maxNodes) {
    const std::vector<GridPoint> readings = points(survey, gridding.what);
    GriddingOptions options = withSurvey(survey, gridding.options());
    if (maxNodes > 0.0) {
        options = withNodeLimit(readings, options, maxNodes);
    }
    MinimumCurvature::Defaults d = MinimumCurvature::defaults(readings, options);
    d.cell = options.cell.value_or(d.cell);
    const auto [least, greatest] = std::minmax_element(
        readings.begin(), readings.end(),
        [](const GridPoint& a, const GridPoint& b) { return a.value < b.value; });
    const double interval =
        readings.empty() ? 0.0 : ContourLevels::defaultInterval(least->value, greatest->value);
    return {d.cell, d.blankDistance, interval};
}

GriddingOptions SurveyGridding::withNodeLimit(const std::vector<GridPoint>& points,
                                              GriddingOptions options, double maxNodes) {
    if (options.cell || options.extent) {
        return options;
    }
    const double cell = MinimumCurvature::defaults(points, options).cell;
    const Extent extent = griddedExtent(points);
    if (!(cell > 0.0) || extent.empty() || nodesAt(extent, cell) <= maxNodes) {
        return options;
    }
    double coarser = cell * std::sqrt(nodesAt(extent, cell) / maxNodes);
    for (int k = 0; k < 64 && nodesAt(extent, roundUp(coarser)) > maxNodes; ++k) {
        coarser = roundUp(coarser) * 1.01;
    }
    options.cell = roundUp(coarser);
    return options;
}

GriddingOptions SurveyGridding::withSurvey(const Survey& survey, GriddingOptions options) {
    const Placement& p = survey.settings().placement;
    // Without a placement a line is one map metre from the next; placed by track, the lines
    // lie where they were walked, and the readings tell how far apart (0 asks them).
    options.lineSpacing = p.by() == Placement::By::Nothing ? 1.0
                          : p.by() == Placement::By::Track
                              ? 0.0
                              : std::abs(p.parameters().lineSpacing * p.scale());
    return options;
}

SurveyGridding::Result SurveyGridding::run(const Survey& survey, What what,
                                           const GriddingOptions& options, double interval,
                                           const std::atomic<bool>& cancel,
                                           const MinimumCurvature::Progress& progress) {
    return run(points(survey, what), what, withSurvey(survey, options), interval, cancel, progress);
}

SurveyGridding::Result SurveyGridding::run(const std::vector<GridPoint>& points, What what,
                                           const GriddingOptions& options, double interval,
                                           const std::atomic<bool>& cancel,
                                           const MinimumCurvature::Progress& progress) {
    return contoured(what, MinimumCurvature::run(points, options, cancel, progress), interval,
                     cancel);
}

SurveyGridding::Result SurveyGridding::regrid(const Result& previous,
                                              const std::vector<GridPoint>& points, What what,
                                              const GriddingOptions& options, double interval,
                                              const std::atomic<bool>& cancel,
                                              const MinimumCurvature::Progress& progress) {
    if (previous.what != what) {
        return run(points, what, options, interval, cancel, progress);
    }
    return contoured(what,
                     MinimumCurvature::regrid(previous.gridded, points, options, cancel, progress),
                     interval, cancel);
}

SurveyGridding::Result SurveyGridding::contoured(What what, MinimumCurvature::Result gridded,
                                                 double interval, const std::atomic<bool>& cancel) {
    Result result;
    result.what = what;
    result.gridded = std::move(gridded);
    const Grid& grid = result.gridded.grid;
    if (grid.lattice.empty() || cancel) {
        return result;
    }
    result.interval = interval > 0.0 ? interval : ContourLevels::defaultInterval(grid);
    if (const std::string refused = ContourLevels::refusal(grid, result.interval);
        !refused.empty()) {
        result.gridded.report.error = refused;
        result.gridded.grid = Grid();
        return result;
    }
    if (result.interval > 0.0) {
        result.contours = Contours::trace(grid, ContourLevels::at(grid, result.interval));
    }
    return result;
}

std::vector<std::string> SurveyGridding::describe(const Result& result) {
    const GriddingReport& r = result.gridded.report;
    const GridLattice& l = result.gridded.grid.lattice;
    std::vector<std::string> lines{
        formatText("gridded: %s of %d readings (%d left out)",
                   SurveySettings::Gridding::name(result.what), r.readingsUsed, r.readingsLeftOut),
        formatText("grid: %d x %d nodes, cell %g m, from %.3f, %.3f; ", l.nx, l.ny, l.cell, l.x0,
                   l.y0) +
            (std::isfinite(r.blankDistance)
                 ? formatText("%d nodes blanked farther than %g m from every reading",
                              r.blankedNodes, r.blankDistance)
                 : std::string("no node blanked")),
        formatText("tension %g, convergence limit %g nT", r.tension, r.convergenceLimit)};
    if (r.fromPrevious) {
        lines.push_back("from the previous grid: the levels grid the changes since");
    }
    for (std::size_t k = 0; k < r.levels.size(); ++k) {
        const LevelReport& v = r.levels[k];
        lines.push_back(
            formatText("level %zu: %d x %d, cell %g m, %d iterations, last change "
                       "%g nT%s",
                       k + 1, v.nx, v.ny, v.cell, v.iterations, v.lastChange,
                       v.converged ? "" : " (not converged: the grid is handed on)"));
    }
    lines.push_back(
        formatText("misfit at the readings: mean %.4f nT, rms %.4f nT", r.meanMisfit, r.rmsMisfit));
    if (result.interval > 0.0) {
        lines.push_back(formatText("contours: every %g nT, %zu lines", result.interval,
                                   result.contours.lines.size()));
    }
    return lines;
}

}  // namespace velkor
