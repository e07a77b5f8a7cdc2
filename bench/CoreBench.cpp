// How long the work on a full data set takes: loading, writing, the temporal
// correction, one graph drawing and the corrected export.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "core/ConsolePrompter.h"
#include "corrections/TemporalCorrection.h"
#include "corrections/VariationSet.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "export/ExportFile.h"
#include "views/DrawingSurface.h"
#include "views/GraphPainter.h"

namespace {

using namespace velkor;

std::string folder() {
    static const std::string dir = [] {
        const auto d = std::filesystem::temp_directory_path() / "velkor-bench";
        std::filesystem::create_directories(d);
        return d.string();
    }();
    return dir;
}

// 19999 readings, one every 4 s from 06:00, lines of 200 positions, every fifth a
// gradient reading; and a base station sampling every 4 s over the whole day.
const std::string& surveyPath() {
    static const std::string path = [] {
        const std::string p = folder() + "/full.velkor";
        std::ofstream out(p, std::ios::binary);
        out << "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
        char line[128];
        for (int i = 1; i < DataSet::kCapacity; ++i) {
            const int t = 6 * 3600 + 4 * i + 2;
            const double field = 48000.0 + (i % 977) * 0.37;
            if (i % 5 == 0) {
                std::snprintf(
                    line, sizeof line,
                    "G 03.07.2026 %02d:%02d:%02d %5d %5d %0.1f  0.7 7 1.5 %8.1f      \r\n",
                    t / 3600, t / 60 % 60, t % 60, 1 + i / 200, i % 200, field,
                    (i % 300) * 0.1 - 15.0);
            } else {
                std::snprintf(line, sizeof line,
                              "S 03.07.2026 %02d:%02d:%02d %5d %5d %0.1f  0.7 7 1.5               "
                              "\r\n",
                              t / 3600, t / 60 % 60, t % 60, 1 + i / 200, i % 200, field);
            }
            out << line;
        }
        return p;
    }();
    return path;
}

const std::string& basePath() {
    static const std::string path = [] {
        const std::string p = folder() + "/full.a";
        std::ofstream out(p, std::ios::binary);
        out << " Date       Time     Variations\r\n";
        char line[64];
        for (int k = 1; k < VariationSet::kCapacity; ++k) {
            const int t = 6 * 3600 - 100 + 4 * k;
            std::snprintf(line, sizeof line, " 03.07.2026 %02d:%02d:%02d %7.1f\r\n", t / 3600,
                          t / 60 % 60, t % 60, 48100.0 + (k % 211) * 0.1);
            out << line;
        }
        return p;
    }();
    return path;
}

class NullSurface : public DrawingSurface {
  public:
    void setFont(int) override {}
    void segment(int x1, int, int x2, int) override { benchmark::DoNotOptimize(x1 + x2); }
    void text(int x, int, const std::string& t) override { benchmark::DoNotOptimize(x + t.size()); }
};

void BM_LoadFullDataFile(benchmark::State& state) {
    ConsolePrompter prompter(std::cerr);
    for (auto _ : state) {
        DataSet data;
        benchmark::DoNotOptimize(DataFile::load(surveyPath(), data, prompter));
    }
}
BENCHMARK(BM_LoadFullDataFile)->Unit(benchmark::kMillisecond);

void BM_WriteFullDataFile(benchmark::State& state) {
    ConsolePrompter prompter(std::cerr);
    DataSet data;
    DataFile::load(surveyPath(), data, prompter);
    const std::string out = folder() + "/copy.velkor";
    for (auto _ : state) {
        benchmark::DoNotOptimize(DataFile::write(out, data, prompter));
    }
}
BENCHMARK(BM_WriteFullDataFile)->Unit(benchmark::kMillisecond);

void BM_TemporalCorrectionFullSets(benchmark::State& state) {
    ConsolePrompter prompter(std::cerr);
    DataSet loaded;
    DataFile::load(surveyPath(), loaded, prompter);
    VariationSet base;
    base.load(basePath(), prompter);
    for (auto _ : state) {
        DataSet data = loaded;
        data.basis = 48000.0f;
        benchmark::DoNotOptimize(TemporalCorrection::run(data, base, prompter));
    }
}
BENCHMARK(BM_TemporalCorrectionFullSets)->Unit(benchmark::kMillisecond);

void BM_GraphDrawingFullSet(benchmark::State& state) {
    ConsolePrompter prompter(std::cerr);
    DataSet data;
    DataFile::load(surveyPath(), data, prompter);
    GraphPainter painter(data);
    NullSurface surface;
    for (auto _ : state) {
        benchmark::DoNotOptimize(painter.drawScreen(surface, GraphWindow{1200, 800, 0, 0}, 1.0f));
    }
}
BENCHMARK(BM_GraphDrawingFullSet)->Unit(benchmark::kMillisecond);

void BM_CorrectedExportFullSet(benchmark::State& state) {
    ConsolePrompter prompter(std::cerr);
    DataSet data;
    DataFile::load(surveyPath(), data, prompter);
    data.geomagDone = true;
    data.geomag = 47000.0f;
    const std::string out = folder() + "/full.cf";
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            ExportFile::write(ExportFile::Kind::Corrected, out, data, prompter));
    }
}
BENCHMARK(BM_CorrectedExportFullSet)->Unit(benchmark::kMillisecond);

}  // namespace
