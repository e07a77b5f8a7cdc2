// The gridder and the contours of any readings (places near or far, values ordinary, huge
// or no number: those beyond any measurement left out), cells, tensions, blanking distances and
// intervals: a grid of finite values and nodata, or a refusal that says why; contours on the grid,
// finite, inside it.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzPrompter.h"
#include "fuzz/FuzzedText.h"
#include "gridding/ContourLevels.h"
#include "gridding/Contours.h"
#include "gridding/MinimumCurvature.h"

using namespace velkor;

namespace {

// The places lie on a lattice of at most 64 x 64 steps, and a given cell is at least one
// step: the grid stays small enough to fuzz quickly; the gridder's own node cap is tested
// elsewhere.
std::vector<GridPoint> readings(FuzzedDataProvider& in, double step, double x0, double y0) {
    std::vector<GridPoint> points(in.ConsumeIntegralInRange<std::size_t>(0, 120));
    for (GridPoint& p : points) {
        p.x = x0 + step * in.ConsumeIntegralInRange(0, 63);
        p.y = y0 + step * in.ConsumeIntegralInRange(0, 63);
        p.value = FuzzedText::number(in, -5000.0, 60000.0);
        p.line = in.ConsumeIntegralInRange(0, 9);
    }
    return points;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider in(bytes, size);
    const double step = std::pow(10.0, in.ConsumeIntegralInRange(-3, 5));
    const double x0 = in.ConsumeBool() ? 0.0 : in.ConsumeFloatingPointInRange(-1e7, 1e7);
    const double y0 = in.ConsumeBool() ? 0.0 : in.ConsumeFloatingPointInRange(-1e7, 1e7);
    GriddingOptions options;
    options.tension = in.ConsumeBool() ? FuzzedText::number(in, -0.1, 1.1) : 0.25;
    if (in.ConsumeBool()) {
        options.cell = step * in.ConsumeIntegralInRange(1, 64) * (in.ConsumeBool() ? 1.0 : -1.0);
    }
    if (in.ConsumeBool()) {
        options.blankDistance = FuzzedText::number(in, 0.0, 300.0 * step);
    }
    options.lineSpacing = in.ConsumeBool() ? 0.0 : step * in.ConsumeIntegralInRange(0, 50);
    options.maxIterations = in.ConsumeIntegralInRange(1, 12);
    const double interval = FuzzedText::number(in, 0.0, 500.0);
    const std::vector<GridPoint> points = readings(in, step, x0, y0);

    const std::atomic<bool> cancel{false};
    const MinimumCurvature::Result r = MinimumCurvature::run(points, options, cancel);
    const Grid& grid = r.grid;
    if (!r.report.error.empty()) {
        FuzzPrompter::require(grid.lattice.empty() && grid.values.empty(),
                              "a refusal gives no grid");
        return 0;
    }
    FuzzPrompter::require(!grid.lattice.empty() && grid.values.size() == grid.lattice.size(),
                          "a grid has a value or nodata at every node");
    for (const double v : grid.values) {
        FuzzPrompter::require(Grid::isNoData(v) || std::isfinite(v), "a node is finite or nodata");
    }
    FuzzPrompter::require(std::isfinite(r.report.rmsMisfit) || r.report.readingsUsed == 0,
                          "the misfit of the readings used is a number");

    std::vector<ContourLevel> levels = ContourLevels::at(grid, interval);
    FuzzPrompter::require(levels.size() <= static_cast<std::size_t>(ContourLevels::kMaxLevels),
                          "contour levels are bounded");
    // Tracing takes time in proportion to levels times cells: a few dozen levels say as
    // much about the lines as a thousand.
    levels.resize(std::min<std::size_t>(levels.size(), 40));
    const ContourSet set = Contours::trace(grid, levels);
    const GridLattice& l = grid.lattice;
    const double slack = 1e-6 * l.cell + 1e-9 * (std::abs(l.x0) + std::abs(l.y0));
    for (const ContourLine& line : set.lines) {
        for (const ContourPoint& p : line.points) {
            FuzzPrompter::require(std::isfinite(p.x) && std::isfinite(p.y) && p.x >= l.x0 - slack &&
                                      p.x <= l.x(l.nx - 1) + slack && p.y >= l.y0 - slack &&
                                      p.y <= l.y(l.ny - 1) + slack,
                                  "a contour lies on its grid");
        }
    }
    return 0;
}
