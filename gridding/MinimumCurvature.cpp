#include "gridding/MinimumCurvature.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "gridding/CurvatureLevel.h"
#include "gridding/GridBlanking.h"
#include "gridding/Plane.h"
#include "gridding/ReadingSpacing.h"

namespace velkor {
namespace {

constexpr int kMinNodes = 4;         // each way: the edge conditions reach two nodes in
constexpr double kRounding = 1e-12;  // of the largest reading

bool finite(double v) {
    return std::isfinite(v);
}

std::string checkOptions(const GriddingOptions& o) {
    if (!(o.tension >= 0.0 && o.tension <= 1.0)) {
        return "The tension must lie between 0 and 1.";
    }
    if (o.cell && !(*o.cell > 0.0 && finite(*o.cell))) {
        return "The cell size must be a positive number of metres.";
    }
    if (o.extent && !(o.extent->cell > 0.0 && finite(o.extent->cell) && o.extent->nx > 0 &&
                      o.extent->ny > 0 && finite(o.extent->x0) && finite(o.extent->y0))) {
        return "The grid must have a positive cell size and at least one node each way.";
    }
    if (o.blankDistance && !(*o.blankDistance >= 0.0)) {
        return "The blanking distance must not be negative.";
    }
    if (!(o.lineSpacing >= 0.0 && finite(o.lineSpacing))) {
        return "The line spacing must not be negative.";
    }
    if (!(o.overRelaxation >= 1.0 && o.overRelaxation < 2.0)) {
        return "The over-relaxation must lie between 1 and 2.";
    }
    if (o.maxIterations < 1) {
        return "The iteration cap must be at least 1.";
    }
    if (!(o.convergence >= 0.0 && finite(o.convergence))) {
        return "The convergence limit must not be negative.";
    }
    return {};
}

struct Spacings {
    double along = 0.0;
    double lines = 0.0;
};

struct Extent {
    double xmin, xmax, ymin, ymax;
};

// The smallest rectangle holding every point (there is at least one).
Extent extentOf(const std::vector<GridPoint>& points) {
    Extent e{points[0].x, points[0].x, points[0].y, points[0].y};
    for (const GridPoint& p : points) {
        e.xmin = std::min(e.xmin, p.x);
        e.xmax = std::max(e.xmax, p.x);
        e.ymin = std::min(e.ymin, p.y);
        e.ymax = std::max(e.ymax, p.y);
    }
    return e;
}

// From the placement when the caller knows it, else from the readings; one reading apart
// per sqrt(area / count) when neither says anything.
Spacings spacingsOf(const std::vector<GridPoint>& points, const GriddingOptions& o) {
    Spacings s;
    s.along = ReadingSpacing::alongLines(points);
    s.lines = o.lineSpacing > 0.0 ? o.lineSpacing : ReadingSpacing::betweenLines(points);
    if (s.along > 0.0 || s.lines > 0.0) {
        return s;
    }
    const auto [xmin, xmax, ymin, ymax] = extentOf(points);
    const double area = std::max(xmax - xmin, 0.0) * std::max(ymax - ymin, 0.0);
    const double side = std::max(xmax - xmin, ymax - ymin);
    double typical = area > 0.0 ? std::sqrt(area / points.size()) : side / points.size();
    if (!(typical > 0.0 && finite(typical))) {
        typical = 1.0;
    }
    s.along = typical;
    return s;
}

MinimumCurvature::Defaults defaultsOf(const Spacings& s, const GriddingOptions& o) {
    const double lines = s.lines > 0.0 ? s.lines : s.along;
    return {o.cell ? *o.cell : GridLattice::defaultCell(s.along, s.lines),
            o.blankDistance ? *o.blankDistance : GriddingOptions::kBlankLineSpacings * lines};
}

std::string tooLarge(double nx, double ny) {
    return "The grid would have " + std::to_string(static_cast<long long>(nx)) + " x " +
           std::to_string(static_cast<long long>(ny)) + " nodes, more than the " +
           std::to_string(MinimumCurvature::kMaxNodes) + " a grid may have: choose a larger cell.";
}

// The grid's place: the caller's, or the readings' extent in whole cells.
std::string placeGrid(const std::vector<GridPoint>& points, const GriddingOptions& o,
                      const Spacings& s, GridLattice& lattice) {
    if (o.extent) {
        lattice = *o.extent;
    } else {
        const double cell = defaultsOf(s, o).cell;
        const auto [xmin, xmax, ymin, ymax] = extentOf(points);
        const double nx = std::ceil(xmax / cell) - std::floor(xmin / cell) + 1.0;
        const double ny = std::ceil(ymax / cell) - std::floor(ymin / cell) + 1.0;
        // Counts too large to be whole numbers (or no number at all) are never turned into
        // them.
        constexpr double kCountable = 1e15;
        if (!(nx <= kCountable && ny <= kCountable)) {
            return "The grid would have more than " + std::to_string(MinimumCurvature::kMaxNodes) +
                   " nodes: choose a larger cell.";
        }
        if (!(nx * ny <= double(MinimumCurvature::kMaxNodes))) {
            return tooLarge(nx, ny);
        }
        lattice = GridLattice::covering(points, cell);
    }
    if (double(lattice.nx) * lattice.ny > double(MinimumCurvature::kMaxNodes)) {
        return tooLarge(lattice.nx, lattice.ny);
    }
    // A surface needs neighbours each way; one row or column of nodes would only be solved
    // as a wider grid and then be cut to a grid no format can hold.
    if (lattice.nx < 2 || lattice.ny < 2) {
        return "The grid would be 1 node wide (" + std::to_string(lattice.nx) + " x " +
               std::to_string(lattice.ny) +
               " nodes): the readings lie along one row or column of nodes, and a grid "
               "needs two each way.";
    }
    return {};
}

int levelSize(int finest, int factor) {
    return (finest - 1 + factor - 1) / factor + 1;
}

// Coarsest first: each level halves the spacing of the one before, down to the grid's own.
std::vector<int> levelFactors(int nx, int ny) {
    std::vector<int> factors{1};
    while (factors.back() < (1 << 20) && levelSize(nx, factors.back() * 2) >= kMinNodes &&
           levelSize(ny, factors.back() * 2) >= kMinNodes) {
        factors.push_back(factors.back() * 2);
    }
    std::reverse(factors.begin(), factors.end());
    return factors;
}

void setMisfit(GriddingReport& report, const std::vector<double>& misfits) {
    double sum = 0.0;
    double sum2 = 0.0;
    for (const double m : misfits) {
        sum += m;
        sum2 += m * m;
    }
    report.meanMisfit = misfits.empty() ? 0.0 : sum / misfits.size();
    report.rmsMisfit = misfits.empty() ? 0.0 : std::sqrt(sum2 / misfits.size());
}

bool sameLattice(const std::optional<GridLattice>& a, const std::optional<GridLattice>& b) {
    return a.has_value() == b.has_value() &&
           (!a || (a->x0 == b->x0 && a->y0 == b->y0 && a->cell == b->cell && a->nx == b->nx &&
                   a->ny == b->ny));
}

bool sameOptions(const GriddingOptions& a, const GriddingOptions& b) {
    return a.tension == b.tension && a.cell == b.cell && a.blankDistance == b.blankDistance &&
           a.lineSpacing == b.lineSpacing && sameLattice(a.extent, b.extent) &&
           a.convergence == b.convergence && a.maxIterations == b.maxIterations &&
           a.overRelaxation == b.overRelaxation;
}

// A reading within the magnitudes the solver can take.
bool usable(const GridPoint& p) {
    return std::abs(p.x) <= MinimumCurvature::kMaxMagnitude &&
           std::abs(p.y) <= MinimumCurvature::kMaxMagnitude &&
           std::abs(p.value) <= MinimumCurvature::kMaxMagnitude;
}

// The same readings in the same order at the same places, each usable then and now: only
// then is the new surface the old one plus that of the changes.
bool samePlaces(const std::vector<GridPoint>& a, const std::vector<GridPoint>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].x != b[k].x || a[k].y != b[k].y || a[k].line != b[k].line || !usable(a[k]) ||
            !usable(b[k])) {
            return false;
        }
    }
    return true;
}

// A level whose largest change has fallen by less than this share over so many sweeps
// has stopped improving: it hands on what it has rather than sweeping on to the cap.
constexpr int kStallSweeps = 20;
constexpr double kLeastImprovement = 0.01;

class Solver {
  public:
    Solver(const GriddingOptions& options, const std::atomic<bool>& cancel,
           const MinimumCurvature::Progress& progress)
        : options_(options), cancel_(cancel), progress_(progress) {}

    // Solves for the conditions (x, y in cells of the finest grid, one a node); false when
    // cancelled.
    bool solve(int nx, int ny, std::vector<LevelReading> conditions, double limit, double spread,
               GriddingReport& report, double cell) {
        const std::vector<int> factors = levelFactors(nx, ny);
        double totalWork = 0.0;
        for (int f : factors) {
            totalWork += double(levelSize(nx, f)) * levelSize(ny, f);
        }
        double doneWork = 0.0;
        for (std::size_t l = 0; l < factors.size(); ++l) {
            const int f = factors[l];
            const int lnx = levelSize(nx, f);
            const int lny = levelSize(ny, f);
            level_.reset();  // its values are in coarse_
            level_ = std::make_unique<CurvatureLevel>(lnx, lny, options_.tension, startOf(lnx, lny),
                                                      conditions, static_cast<double>(f));
            if (l + 1 == factors.size()) {
                conditions = {};  // the finest level has its own
            }
            LevelReport lr{cell * f, lnx, lny, level_->constrainedNodes(), 0, 0.0, false, false};
            if (!relax(lr, limit, spread, doneWork, totalWork)) {
                return false;
            }
            report.levels.push_back(lr);
            doneWork += double(lnx) * lny;
            if (progress_) {
                progress_(doneWork / totalWork);
            }
            if (l + 1 < factors.size()) {
                coarse_ = level_->values();
                coarseNx_ = lnx;
                coarseNy_ = lny;
            }
        }
        return true;
    }

    const CurvatureLevel& finest() const { return *level_; }
    // The finest level's values; the levels are gone.
    std::vector<double> takeFinest() {
        std::vector<double> values = level_->takeValues();
        level_.reset();
        coarse_ = {};
        return values;
    }

  private:
    // Where a level starts: the coarser level's surface, or nought for the first.
    std::vector<double> startOf(int nx, int ny) const {
        if (coarse_.empty()) {
            return std::vector<double>(static_cast<std::size_t>(nx) * ny, 0.0);
        }
        return CurvatureLevel::refine(coarse_, coarseNx_, coarseNy_, nx, ny);
    }

    // Sweeps the level until it converges, stops improving or reaches the cap; false when
    // cancelled.
    bool relax(LevelReport& lr, double limit, double spread, double doneWork, double totalWork) {
        const double divergence = 1e6 * (spread + 1.0);
        const double work = double(lr.nx) * lr.ny;
        double before = std::numeric_limits<double>::infinity();
        // Once the whole level has been swept, bands of rows that have settled are left
        // alone while the others settle; only a pass over every node can end the level.
        bool everyNode = true;
        while (lr.iterations < options_.maxIterations) {
            if (cancel_.load(std::memory_order_relaxed)) {
                return false;
            }
            lr.lastChange = everyNode ? level_->sweep(options_.overRelaxation)
                                      : level_->sweepBusy(options_.overRelaxation, limit);
            ++lr.iterations;
            if (lr.lastChange <= limit) {
                if (everyNode) {
                    lr.converged = true;
                    break;
                }
                everyNode = true;
                continue;
            }
            if (everyNode) {
                // What the settled bands were left with shows in a pass over every node: the
                // stall is judged afresh from there.
                before = std::numeric_limits<double>::infinity();
            }
            everyNode = false;
            if (!(lr.lastChange < divergence)) {
                // Never seen, but a grid of overflowing numbers is no grid: hand on where
                // this level started.
                level_->restart(startOf(lr.nx, lr.ny));
                break;
            }
            if (lr.iterations % kStallSweeps == 0) {
                if (lr.lastChange > (1.0 - kLeastImprovement) * before) {
                    lr.stalled = true;
                    break;
                }
                before = lr.lastChange;
            }
            if (progress_ && lr.iterations % 16 == 0) {
                progress_((doneWork + work * lr.iterations / options_.maxIterations) / totalWork);
            }
        }
        return true;
    }

    const GriddingOptions& options_;
    const std::atomic<bool>& cancel_;
    const MinimumCurvature::Progress& progress_;
    std::unique_ptr<CurvatureLevel> level_;
    std::vector<double> coarse_;  // the coarser level's values
    int coarseNx_ = 0;
    int coarseNy_ = 0;
};

std::vector<GridPoint> usableOf(const std::vector<GridPoint>& points) {
    std::vector<GridPoint> kept;
    std::copy_if(points.begin(), points.end(), std::back_inserter(kept), usable);
    return kept;
}

// The readings a grid is made of: usable, and their nearest node inside the grid. The given
// readings themselves when that is every one (the readings are the gridder's largest store
// but for the grid), else a copy of those.
class UsedReadings {
  public:
    explicit UsedReadings(const std::vector<GridPoint>& points) : given_(points) {
        if (!std::all_of(points.begin(), points.end(), usable)) {
            kept_ = usableOf(points);
            copied_ = true;
        }
    }

    const std::vector<GridPoint>& get() const { return copied_ ? kept_ : given_; }

    void keepInside(const GridLattice& lattice) {
        auto outside = [&](const GridPoint& p) {
            const double i = std::round((p.x - lattice.x0) / lattice.cell);
            const double j = std::round((p.y - lattice.y0) / lattice.cell);
            return !(i >= 0.0 && j >= 0.0 && i < lattice.nx && j < lattice.ny);
        };
        if (!copied_ && std::none_of(given_.begin(), given_.end(), outside)) {
            return;
        }
        if (!copied_) {
            kept_ = given_;
            copied_ = true;
        }
        kept_.erase(std::remove_if(kept_.begin(), kept_.end(), outside), kept_.end());
    }

  private:
    const std::vector<GridPoint>& given_;
    std::vector<GridPoint> kept_;
    bool copied_ = false;
};

// A reading as the levels take it: in cells of the grid, the plane taken from its value.
class LevelReadings {
  public:
    LevelReadings(const GridLattice& lattice, const Plane& plane,
                  const std::vector<GridPoint>& inside)
        : lattice_(lattice), plane_(plane) {
        for (const GridPoint& p : inside) {
            largest_ = std::max(largest_, std::fabs(p.value));
        }
    }

    LevelReading of(const GridPoint& p) const {
        LevelReading r{(p.x - lattice_.x0) / lattice_.cell, (p.y - lattice_.y0) / lattice_.cell,
                       p.value - plane_.at(p.x, p.y)};
        // What is left of a reading below its own rounding says nothing; solved, it would
        // only be magnified where readings crowd.
        if (std::fabs(r.value) <= kRounding * largest_) {
            r.value = 0.0;
        }
        return r;
    }

    // The rms of what the plane leaves of the readings.
    double rms(const std::vector<GridPoint>& inside) const {
        double sumSquares = 0.0;
        for (const GridPoint& p : inside) {
            const double v = of(p).value;
            sumSquares += v * v;
        }
        return std::sqrt(sumSquares / inside.size());
    }

    // One condition a node of the finest grid (nx nodes a row): its nearest reading, the
    // first of equals, in the order of the nodes. The solver would keep no other, and every
    // coarser level takes its own nearest from these.
    std::vector<LevelReading> conditions(const std::vector<GridPoint>& inside, int nx,
                                         int ny) const {
        std::vector<int> nearest(static_cast<std::size_t>(nx) * ny, -1);
        auto distance = [&](const LevelReading& r) {
            const double di = r.fx - std::round(r.fx);
            const double dj = r.fy - std::round(r.fy);
            return di * di + dj * dj;
        };
        for (std::size_t n = 0; n < inside.size(); ++n) {
            const LevelReading r = of(inside[n]);
            const auto k = static_cast<std::size_t>(std::lround(r.fy)) * nx +
                           static_cast<std::size_t>(std::lround(r.fx));
            if (nearest[k] < 0 ||
                distance(r) < distance(of(inside[static_cast<std::size_t>(nearest[k])]))) {
                nearest[k] = static_cast<int>(n);
            }
        }
        std::vector<LevelReading> held;
        for (const int n : nearest) {
            if (n >= 0) {
                held.push_back(of(inside[static_cast<std::size_t>(n)]));
            }
        }
        held.shrink_to_fit();
        return held;
    }

  private:
    const GridLattice& lattice_;
    const Plane& plane_;
    double largest_ = 0.0;
};

// The finest level's surface (nx nodes a row) with the plane put back, on the lattice.
// In place: the grid takes the level's values (rows of the lattice's width are the first
// nx of each row of the level's) without a copy of them.
Grid gridOf(std::vector<double> values, int nx, const GridLattice& lattice, const Plane& plane) {
    Grid grid;
    grid.lattice = lattice;
    grid.values = std::move(values);
    for (int j = 0; j < lattice.ny; ++j) {
        for (int i = 0; i < lattice.nx; ++i) {
            grid.at(i, j) = grid.values[static_cast<std::size_t>(j) * nx + i] +
                            plane.at(lattice.x(i), lattice.y(j));
        }
    }
    grid.values.resize(lattice.size());
    grid.values.shrink_to_fit();
    return grid;
}

}  // namespace

MinimumCurvature::Defaults MinimumCurvature::defaults(const std::vector<GridPoint>& points,
                                                      const GriddingOptions& options) {
    const std::vector<GridPoint> usable = usableOf(points);
    return usable.empty() ? Defaults{} : defaultsOf(spacingsOf(usable, options), options);
}

MinimumCurvature::Result MinimumCurvature::run(const std::vector<GridPoint>& points,
                                               const GriddingOptions& options,
                                               const std::atomic<bool>& cancel,
                                               const Progress& progress) {
    Result result;
    GriddingReport& report = result.report;
    report.tension = options.tension;
    report.error = checkOptions(options);
    if (!report.error.empty()) {
        return result;
    }
    UsedReadings used(points);
    const std::vector<GridPoint>& usable = used.get();
    const std::size_t usableCount = usable.size();
    report.readingsLeftOut = static_cast<int>(points.size() - usableCount);
    if (usable.empty()) {
        report.error = "There are no readings to grid.";
        return result;
    }
    const Spacings spacings = spacingsOf(usable, options);
    GridLattice lattice;
    report.error = placeGrid(usable, options, spacings, lattice);
    if (!report.error.empty()) {
        return result;
    }
    report.cell = lattice.cell;

    used.keepInside(lattice);
    const std::vector<GridPoint>& inside = used.get();
    report.readingsUsed = static_cast<int>(inside.size());
    report.readingsLeftOut += static_cast<int>(usableCount - inside.size());
    if (inside.empty()) {
        report.error = "No reading lies inside the grid.";
        return result;
    }

    const Plane plane = Plane::fit(inside);
    const LevelReadings readings(lattice, plane, inside);
    const double rms = readings.rms(inside);
    report.convergenceLimit =
        options.convergence > 0.0 ? options.convergence : GriddingOptions::kConvergenceOfRms * rms;

    const int nx = std::max(lattice.nx, kMinNodes);
    const int ny = std::max(lattice.ny, kMinNodes);
    Solver solver(options, cancel, progress);
    if (!solver.solve(nx, ny, readings.conditions(inside, nx, ny), report.convergenceLimit, rms,
                      report, lattice.cell)) {
        report.cancelled = true;
        report.levels.clear();
        return result;
    }
    const CurvatureLevel& level = solver.finest();

    auto basis = std::make_shared<Basis>();
    basis->misfits.reserve(inside.size());
    for (const GridPoint& p : inside) {
        const LevelReading r = readings.of(p);
        basis->misfits.push_back(level.valueAt(r.fx, r.fy) - r.value);
    }
    setMisfit(report, basis->misfits);

    result.grid = gridOf(solver.takeFinest(), nx, lattice, plane);
    report.blankDistance = defaultsOf(spacings, options).blankDistance;
    basis->points = points;
    basis->options = options;
    basis->surface = result.grid;
    report.blankedNodes = GridBlanking::apply(result.grid, inside, report.blankDistance);
    result.basis = std::move(basis);
    return result;
}

MinimumCurvature::Result MinimumCurvature::regrid(const Result& previous,
                                                  const std::vector<GridPoint>& points,
                                                  const GriddingOptions& options,
                                                  const std::atomic<bool>& cancel,
                                                  const Progress& progress) {
    const Basis* basis = previous.basis.get();
    if (basis == nullptr || !sameOptions(basis->options, options) ||
        !samePlaces(basis->points, points)) {
        return run(points, options, cancel, progress);
    }
    // The changes, gridded on the same nodes to the same absolute limit and not blanked.
    std::vector<GridPoint> changes = points;
    bool changed = false;
    for (std::size_t k = 0; k < changes.size(); ++k) {
        changes[k].value -= basis->points[k].value;
        changed = changed || changes[k].value != 0.0;
    }
    if (!changed) {
        return previous;  // the same grid, with the report of its making
    }
    GriddingOptions o = options;
    o.extent = basis->surface.lattice;
    o.convergence = previous.report.convergenceLimit;
    o.blankDistance = std::numeric_limits<double>::infinity();
    Result delta = run(changes, o, cancel, progress);
    if (!delta.report.error.empty() || delta.report.cancelled ||
        delta.basis->misfits.size() != basis->misfits.size()) {
        return delta.report.cancelled ? delta : run(points, options, cancel, progress);
    }
    Result result;
    GriddingReport& report = result.report;
    report = delta.report;
    report.convergenceLimit = previous.report.convergenceLimit;
    report.blankDistance = previous.report.blankDistance;
    report.fromPrevious = true;
    auto next = std::make_shared<Basis>(*basis);
    next->points = points;
    for (std::size_t k = 0; k < next->misfits.size(); ++k) {
        next->misfits[k] += delta.basis->misfits[k];
    }
    setMisfit(report, next->misfits);
    for (std::size_t k = 0; k < next->surface.values.size(); ++k) {
        next->surface.values[k] += delta.grid.values[k];
    }
    result.grid = next->surface;
    UsedReadings used(points);
    used.keepInside(next->surface.lattice);
    report.blankedNodes = GridBlanking::apply(result.grid, used.get(), report.blankDistance);
    result.basis = std::move(next);
    return result;
}

}  // namespace velkor
