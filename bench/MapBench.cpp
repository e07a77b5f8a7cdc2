// How long the plan map takes at full size: its cells and colours once per change of
// the data set, and a redraw of 19999 readings, which must fit in one frame.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "pictures/DrawingSurface.h"
#include "pictures/PlanMap.h"
#include "pictures/PlanMapPainter.h"

namespace {

using namespace velkor;

class FillCountingSurface : public DrawingSurface {
  public:
    void setFont(int) override {}
    void segment(int, int, int, int) override { ++items; }
    void text(int, int, const std::string&) override { ++items; }
    void fillRect(int, int, int, int, std::uint32_t) override { ++items; }
    long items = 0;
};

// 19999 readings on 100 lines of 200 positions, walked back and forth, one anomaly.
DataSet gridSurvey() {
    std::vector<std::string> lines{
        "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note "};
    char line[128];
    for (int i = 1; i < DataSet::kCapacity; ++i) {
        const int l = 1 + i / 200;
        const int p = l % 2 == 0 ? i % 200 : 199 - i % 200;
        const double d2 = (l - 40) * (l - 40) + (p - 120) * (p - 120) / 4.0;
        std::snprintf(line, sizeof line,
                      "%c 03.07.2026 10:00:00 %5d %5d %0.1f  0.7 7 1.5 %8s      ",
                      i % 5 == 0 ? 'G' : 'S', l, p, 48000.0 + 300.0 / (1.0 + d2 / 50.0),
                      i % 5 == 0 ? "1.5" : "");
        lines.emplace_back(line);
    }
    DataSet data;
    data.replaceLines(lines);
    return data;
}

void BM_MapBuildFullSet(benchmark::State& state) {
    const DataSet data = gridSurvey();
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlanMap::build(data, PlanMap::By::Field));
    }
}
BENCHMARK(BM_MapBuildFullSet)->Unit(benchmark::kMillisecond);

void BM_MapRedrawFullSet(benchmark::State& state) {
    const DataSet data = gridSurvey();
    const PlanMap map = PlanMap::build(data, PlanMap::By::Field);
    FillCountingSurface surface;
    for (auto _ : state) {
        PlanMapPainter::draw(surface, map, {map.bounds(), {}, PlanMapPainter::Style::Colours, {}},
                             1200, 800, "grid");
    }
    state.counters["items"] = static_cast<double>(surface.items) / state.iterations();
}
BENCHMARK(BM_MapRedrawFullSet)->Unit(benchmark::kMillisecond);

void BM_MapPostedFullSet(benchmark::State& state) {
    const DataSet data = gridSurvey();
    const PlanMap map = PlanMap::build(data, PlanMap::By::Field);
    FillCountingSurface surface;
    for (auto _ : state) {
        PlanMapPainter::draw(surface, map, {map.bounds(), {}, PlanMapPainter::Style::Values, {}},
                             1200, 800, "grid");
    }
    state.counters["items"] = static_cast<double>(surface.items) / state.iterations();
}
BENCHMARK(BM_MapPostedFullSet)->Unit(benchmark::kMillisecond);

}  // namespace
