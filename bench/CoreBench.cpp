// Speed of the work on a full day's data (20000 lines), each case beside a baseline
// measured in the same run: loading against one read() of the file, the temporal
// correction against the literal algorithm, the exports against writing and syncing a
// file of the same size. scripts/bench prints the medians and the ratios.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "bench/BenchData.h"
#include "bench/LiteralTemporalCorrection.h"
#include "corrections/TemporalCorrection.h"
#include "corrections/VariationSet.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "export/ExportFile.h"

namespace {

using namespace velkor;
namespace bd = velkor::benchdata;
using bd::Quiet;

std::string readAll(const std::string& path) {
    std::string bytes(2 * 1024 * 1024, '\0');
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const ssize_t n = ::read(fd, bytes.data(), bytes.size());
    ::close(fd);
    bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return bytes;
}

void BM_Load_Ours(benchmark::State& state) {
    Quiet quiet;
    DataSet data;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DataFile::load(bd::surveyPath(), data, quiet.prompter));
    }
}
BENCHMARK(BM_Load_Ours)->Unit(benchmark::kMicrosecond);

void BM_Load_Baseline(benchmark::State& state) {
    std::string bytes(2 * 1024 * 1024, '\0');
    for (auto _ : state) {
        const int fd = ::open(bd::surveyPath().c_str(), O_RDONLY | O_CLOEXEC);
        benchmark::DoNotOptimize(::read(fd, bytes.data(), bytes.size()));
        ::close(fd);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Load_Baseline)->Unit(benchmark::kMicrosecond);

// Each case: a survey and a variations file; every iteration starts uncorrected.
struct TemporalCase {
    const std::string& (*survey)();
    const std::string& (*samples)();
};

const TemporalCase kTemporal[] = {
    {bd::surveyPath, bd::oneDateSamples},
    {bd::fiveDatesSurvey, bd::fiveDatesSamples},
    {bd::interleavedSurvey, bd::interleavedSamples},
};

template <typename Run>
void temporal(benchmark::State& state, Run run) {
    Quiet quiet;
    const TemporalCase& c = kTemporal[state.range(0)];
    DataSet data;
    DataFile::load(c.survey(), data, quiet.prompter);
    VariationSet variations;
    variations.load(c.samples(), quiet.prompter);
    data.basis = 48000.0f;
    int corrected = 0;
    for (auto _ : state) {
        for (int i = 1; i < data.lineCount(); ++i) {
            data.setCorrected(i, DataSet::kNoValue);
        }
        data.temporalDone = false;
        run(data, variations, quiet.prompter);
        benchmark::DoNotOptimize(data.corrected(data.lineCount() / 2));
    }
    for (int i = 1; i < data.lineCount(); ++i) {
        corrected += data.corrected(i) != DataSet::kNoValue ? 1 : 0;
    }
    state.counters["corrected"] = corrected;
}

void BM_Temporal_Ours(benchmark::State& state) {
    temporal(state, [](DataSet& d, const VariationSet& v, Prompter& p) {
        TemporalCorrection::run(d, v, p);
    });
}
BENCHMARK(BM_Temporal_Ours)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_Temporal_Literal(benchmark::State& state) {
    temporal(state, [](DataSet& d, const VariationSet& v, Prompter& p) {
        literal::temporalCorrection(d, v, p);
    });
}
BENCHMARK(BM_Temporal_Literal)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// A data set with corrections, so the corrected export writes every reading.
const DataSet& exportData() {
    static const DataSet data = [] {
        Quiet quiet;
        DataSet d;
        DataFile::load(bd::surveyPath(), d, quiet.prompter);
        VariationSet v;
        v.load(bd::oneDateSamples(), quiet.prompter);
        d.basis = 48000.0f;
        TemporalCorrection::run(d, v, quiet.prompter);
        d.geomagDone = true;
        d.geomag = 47000.0f;
        return d;
    }();
    return data;
}

// Some automatic readings too, so the Auto export has rows.
const DataSet& exportDataWithBase() {
    static const DataSet data = [] {
        DataSet d = exportData();
        std::vector<std::string> lines = d.lines();
        for (std::size_t i = 3; i < lines.size(); i += 4) {
            lines[i][0] = 'A';
        }
        d.replaceLines(lines);
        return d;
    }();
    return data;
}

constexpr ExportFile::Kind kKinds[] = {ExportFile::Kind::Field, ExportFile::Kind::Gradient,
                                       ExportFile::Kind::Auto, ExportFile::Kind::Corrected};

void BM_Export_Ours(benchmark::State& state) {
    Quiet quiet;
    const ExportFile::Kind kind = kKinds[state.range(0)];
    DataSet data = kind == ExportFile::Kind::Auto ? exportDataWithBase() : exportData();
    const std::string out = bd::folder() + "/export.out";
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExportFile::write(kind, out, data, quiet.prompter));
    }
    state.counters["bytes"] = static_cast<double>(readAll(out).size());
}
BENCHMARK(BM_Export_Ours)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The same number of bytes, already made: create, write, fsync, close.
void BM_Export_Baseline(benchmark::State& state) {
    Quiet quiet;
    const ExportFile::Kind kind = kKinds[state.range(0)];
    int rows = 0;
    const std::string bytes = ExportFile::text(
        kind, kind == ExportFile::Kind::Auto ? exportDataWithBase() : exportData(), rows);
    const std::string out = bd::folder() + "/plain.out";
    for (auto _ : state) {
        const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
        ::fsync(fd);
        ::close(fd);
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_Export_Baseline)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return velkor::benchdata::runBenchmarks(argc, argv);
}
