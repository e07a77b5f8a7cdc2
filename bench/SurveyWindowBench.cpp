// A season's survey opened in the window against the same survey opened by the tool
// (bench/SurveyBenchData.h; VELKOR_BENCH_SURVEY_DAYS=100 makes it 1,000,000 readings).
// The window: Open Survey through the session, every day read on its worker thread, the
// survey computed, its map's dots built, the file saved and the window filled in. The
// tool: `velkor2tr-cli survey info` run on the survey file, the whole process.
// Then the reading under the pointer on the window's map, found among every dot, and the
// window's grid shown again after the datum changed.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bench/SurveyBenchData.h"
#include "core/CommandTable.h"
#include "core/QuietPrompter.h"
#include "pictures/SurveyMapPainter.h"
#include "survey/Survey.h"
#include "survey/SurveyFile.h"
#include "widgets/survey/SurveyGridder.h"
#include "widgets/survey/SurveySession.h"
#include "widgets/survey/SurveyWindow.h"

namespace {

using namespace velkor;
namespace sb = velkor::surveybench;
namespace bd = velkor::benchdata;

// Hands out the survey file to Open Survey every time.
class OpenPrompter : public QuietPrompter {
  public:
    explicit OpenPrompter(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> askOpenFile(const std::string&, const std::string&) override {
        return path_;
    }

  private:
    std::string path_;
};

const std::string& surveyPath() {
    static const std::string path = [] {
        const std::string p = bd::folder() + "/season.vsurvey";
        std::string message;
        if (!SurveyFile::write(p, sb::settings(), message)) {
            std::fprintf(stderr, "%s\n", message.c_str());
            std::exit(1);
        }
        return p;
    }();
    return path;
}

void BM_SurveyOpenWindow(benchmark::State& state) {
    OpenPrompter prompter(surveyPath());
    // The program's window is there before the survey is opened in it.
    SurveySession session([] { return std::optional<std::string>(); }, prompter);
    SurveyWindow window(session, prompter);
    int readings = 0;
    for (auto _ : state) {
        session.onCommand(cmd::OpenSurvey);
        session.wait();
        QApplication::processEvents();
        readings = session.ready() ? session.survey()->readingCount() : -1;
    }
    state.counters["readings"] = readings;
}
BENCHMARK(BM_SurveyOpenWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SurveyOpenTool(benchmark::State& state) {
    // A process of its own, as the surveyor runs it: its heap starts empty, as the
    // window's work does on a thread of its own.
    const std::string path = surveyPath();
    std::vector<char*> argv = {const_cast<char*>(VELKOR_CLI), const_cast<char*>("survey"),
                               const_cast<char*>("info"), const_cast<char*>(path.c_str()), nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    int status = 0;
    for (auto _ : state) {
        pid_t child = 0;
        if (posix_spawn(&child, VELKOR_CLI, &quiet, nullptr, argv.data(), environ) != 0 ||
            waitpid(child, &status, 0) != child) {
            state.SkipWithError("the tool did not run");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&quiet);
    state.counters["status"] = status;
}
BENCHMARK(BM_SurveyOpenTool)->Unit(benchmark::kMillisecond)->UseRealTime();

// One pointer move: the reading under it on a 1366x768 map of every reading.
void BM_SurveyHover(benchmark::State& state) {
    std::string message;
    const std::optional<Survey> survey = Survey::read(surveyPath(), message);
    const SurveyMapPainter map = SurveyMapPainter::build(*survey);
    const SurveyMapGeometry::Transform t = map.transform(1366, 768, SurveyMapPainter::kScreenEm);
    std::mt19937 random(3);
    std::uniform_int_distribution<int> x(0, 1365);
    std::uniform_int_distribution<int> y(0, 767);
    int hits = 0;
    for (auto _ : state) {
        hits += map.readingAt(t, x(random), y(random)) >= 0 ? 1 : 0;
    }
    benchmark::DoNotOptimize(hits);
    state.counters["dots"] = static_cast<double>(map.dots().size());
}
BENCHMARK(BM_SurveyHover)->Unit(benchmark::kMicrosecond);

// The window's gridder after a change of datum: from the moment it is asked to the grid
// coloured and in. The first grid, at the window's default cell, is made once beforehand
// and its time and nodes told.
void BM_SurveyRegridWindow(benchmark::State& state) {
    std::string message;
    std::optional<Survey> survey = Survey::read(surveyPath(), message);
    SurveyGridder gridder;
    const auto started = std::chrono::steady_clock::now();
    gridder.start(*survey, GridStretch::Choice());
    gridder.wait();
    const std::chrono::duration<double> first = std::chrono::steady_clock::now() - started;
    const SurveySettings settings = survey->settings();
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SurveySettings next = settings;
        next.datum = settings.datum + (++step % 2 == 1 ? 10.0 : 0.0);
        survey->change(next, message);
        state.ResumeTiming();
        gridder.start(*survey, GridStretch::Choice());
        gridder.wait();
    }
    const GridLattice& l = gridder.result()->gridded.grid.lattice;
    state.counters["first_grid_s"] = first.count();
    state.counters["nodes"] = static_cast<double>(l.size());
    state.counters["cell_m"] = l.cell;
    state.counters["readings"] = survey->readingCount();
}
BENCHMARK(BM_SurveyRegridWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
