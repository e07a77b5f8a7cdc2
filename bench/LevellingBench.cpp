// Levelling 200,000 readings with all four steps: two days tied by ten control lines, a
// zig-zag of 500 lines of 400 readings 0.25 m apart with a stagger, a direction offset and
// an offset per line.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "survey/SurveyLevelling.h"

namespace {

using namespace velkor;

std::vector<SurveyLevelling::Input> levellingBenchReadings() {
    std::vector<SurveyLevelling::Input> in;
    const auto walk = [&in](int day, int line, double offset) {
        const int way = line % 2 == 1 ? 1 : -1;
        for (int k = 1; k <= 400; ++k) {
            const int position = way > 0 ? k : 401 - k;
            const double y = position * 0.25 + way * 0.125;
            const double value = 48000.0 + offset +
                                 30.0 * std::sin(y / 3.0) * std::cos(line / 7.0) + way * 1.5 +
                                 (line * 37 % 11) * 0.3;
            in.push_back(
                {day, static_cast<double>(line), static_cast<double>(position), value, true});
        }
    };
    for (int line = 1; line <= 490; ++line) {
        walk(0, line, 0.0);
    }
    for (int line = 1; line <= 10; ++line) {
        walk(1, line, 4.0);
    }
    return in;
}

void BM_Level_200000(benchmark::State& state) {
    const std::vector<SurveyLevelling::Input> in = levellingBenchReadings();
    SurveySettings::Levelling all;
    all.days = true;
    all.directions = true;
    all.lines = true;
    all.destagger = SurveySettings::Levelling::Destagger::Auto;
    for (auto _ : state) {
        const SurveyLevelling::Outcome out = SurveyLevelling::run(all, std::nullopt, 2, in, 0.25);
        benchmark::DoNotOptimize(out.level.data());
    }
    state.counters["readings"] = static_cast<double>(in.size());
}
BENCHMARK(BM_Level_200000)->Unit(benchmark::kMillisecond);

}  // namespace
