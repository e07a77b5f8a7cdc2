// Gridding a survey of 20,000 readings, and gridding it again after a settings change (the
// values change, the readings' places do not), with contour levels and lines, as the
// survey window does: afresh, after a change by a constant (the datum), and after a smooth
// change of a few nT (a base source's time offset moves the diurnal values).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>

#include "bench/GridSurveys.h"
#include "survey/SurveyGridding.h"

namespace {

using namespace velkor;

void BM_Regrid_20000(benchmark::State& state) {
    // 40 lines 10 m apart, a station every 2 m: 20,000 readings.
    const bench::GridSurvey s = bench::regular(40, 500, 10.0, 2.0, 1);
    GriddingOptions options;
    options.lineSpacing = s.lineSpacing;
    const std::atomic<bool> cancel{false};
    const auto what = SurveyGridding::What::Anomaly;
    const SurveyGridding::Result first = SurveyGridding::run(s.points, what, options, 0.0, cancel);
    std::vector<GridPoint> changed = s.points;
    for (GridPoint& p : changed) {
        p.value += state.range(0) == 1 ? 12.0 : 1.5 * std::sin(p.y / 97.0 + p.x / 300.0);
    }
    for (auto _ : state) {
        const SurveyGridding::Result r =
            state.range(0) == 0
                ? SurveyGridding::run(s.points, what, options, 0.0, cancel)
                : SurveyGridding::regrid(first, changed, what, options, 0.0, cancel);
        benchmark::DoNotOptimize(r.contours.lines.data());
    }
}
// 0: afresh; 1: after a change by a constant; 2: after a smooth change.
BENCHMARK(BM_Regrid_20000)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
