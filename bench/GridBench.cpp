// Regridding a survey of 20,000 readings after a settings change: the minimum-curvature
// grid on the default cell, its contour levels and lines, as the survey window redoes them.
#include <benchmark/benchmark.h>

#include <atomic>

#include "bench/GridSurveys.h"
#include "survey/ContourLevels.h"
#include "survey/Contours.h"
#include "survey/MinimumCurvature.h"

namespace {

using namespace velkor;

void BM_Regrid_20000(benchmark::State& state) {
    // 40 lines 10 m apart, a station every 2 m: 20,000 readings.
    const bench::GridSurvey s = bench::regular(40, 500, 10.0, 2.0, 1);
    GriddingOptions options;
    options.lineSpacing = s.lineSpacing;
    const std::atomic<bool> cancel{false};
    for (auto _ : state) {
        const MinimumCurvature::Result r = MinimumCurvature::run(s.points, options, cancel);
        const ContourSet set = Contours::trace(
            r.grid, ContourLevels::at(r.grid, ContourLevels::defaultInterval(r.grid)));
        benchmark::DoNotOptimize(set.lines.data());
    }
}
BENCHMARK(BM_Regrid_20000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
