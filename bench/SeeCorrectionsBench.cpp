// How long the pictures of the corrections take at full size: the corrected profile of
// 19999 readings and the base-station curve of a day of 19999 samples with as many
// readings marked.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "core/ConsolePrompter.h"
#include "corrections/BaseDay.h"
#include "corrections/CorrectedValue.h"
#include "corrections/VariationSet.h"
#include "data/DataSet.h"
#include "pictures/BaseCurvePainter.h"
#include "pictures/DrawingSurface.h"
#include "pictures/GraphPainter.h"

namespace {

using namespace velkor;

class CountingSurface : public DrawingSurface {
  public:
    void setFont(int) override {}
    void segment(int, int, int, int) override { ++items; }
    void text(int, int, const std::string&) override { ++items; }
    long items = 0;
};

// 19999 readings one every 4 s from 06:00; every seventh left uncorrected.
DataSet correctedSurvey() {
    std::vector<std::string> lines{
        "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note "};
    char line[128];
    for (int i = 1; i < DataSet::kCapacity; ++i) {
        const int t = 6 * 3600 + 4 * i + 2;
        std::snprintf(line, sizeof line,
                      "S 03.07.2026 %02d:%02d:%02d %5d %5d %0.1f  0.7 7 1.5               ",
                      t / 3600, t / 60 % 60, t % 60, 1 + i / 200, i % 200,
                      48000.0 + (i % 977) * 0.37);
        lines.emplace_back(line);
    }
    DataSet data;
    data.replaceLines(lines);
    data.temporalDone = true;
    for (int i = 1; i < data.lineCount(); ++i) {
        if (i % 7 != 0) {
            data.setCorrected(i, 48000.0f + static_cast<float>(i % 311) * 0.1f);
        }
    }
    return data;
}

void BM_CorrectedProfileFullSet(benchmark::State& state) {
    const DataSet data = correctedSurvey();
    GraphPainter painter(data);
    painter.setProfile([&data](int i) { return CorrectedValue::of(data, i); }, "Corrected[nT]");
    CountingSurface surface;
    for (auto _ : state) {
        benchmark::DoNotOptimize(painter.drawScreen(surface, GraphWindow{1200, 800, 0, 0}, 1.0f));
    }
}
BENCHMARK(BM_CorrectedProfileFullSet)->Unit(benchmark::kMillisecond);

void BM_BaseCurveFullDay(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "velkor-bench";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "day.a").string();
    {
        std::ofstream out(path, std::ios::binary);
        out << " Date       Time     Variations\r\n";
        char line[64];
        for (int k = 1; k < VariationSet::kCapacity; ++k) {
            const int t = 6 * 3600 - 100 + 4 * k;
            std::snprintf(line, sizeof line, " 03.07.2026 %02d:%02d:%02d %7.1f\r\n", t / 3600,
                          t / 60 % 60, t % 60, 48100.0 + (k % 211) * 0.1);
            out << line;
        }
    }
    ConsolePrompter prompter(std::cerr);
    VariationSet set;
    set.load(path, prompter);
    const DataSet survey = correctedSurvey();
    CountingSurface surface;
    for (auto _ : state) {
        // Choosing the date and drawing it: what the dialog does for a new date.
        const BaseDay day = BaseDay::of(set, "03.07.2026", &survey);
        BaseCurvePainter::draw(surface, day, 1200, 700);
    }
    benchmark::DoNotOptimize(surface.items);
}
BENCHMARK(BM_BaseCurveFullDay)->Unit(benchmark::kMillisecond);

}  // namespace
