// Speed of the whole program on a full day's data, offscreen: start-up with a
// 20000-line file to the first painted window against a bare main window with a menu
// and a status bar, and Delete of every other reading of 19999 (and of 9999, to show
// that the time grows linearly). Lives beside the shell it drives; scripts/bench runs it.
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/CMainFrame.h"
#include "app/CVelkor1trApp.h"
#include "app/CVelkor1trDoc.h"
#include "bench/BenchData.h"
#include "core/CommandTable.h"
#include "widgets/day/CVelkor1trView.h"

namespace {

using namespace velkor;
namespace bd = velkor::benchdata;
using bd::Quiet;

// Start-up is measured from outside, one fresh process per run: this program started
// again as a child that builds the window, paints it once, tells the parent through a
// pipe and ends. The time runs from the fork to that word: the ending is not start-up.
constexpr const char* kChildOurs = "--start-ours";
constexpr const char* kChildBare = "--start-bare";

void painted(const char* pipe) {
    const int fd = std::atoi(pipe);
    const char done = 'p';
    benchmark::DoNotOptimize(::write(fd, &done, 1));
}

int ours(const char* file, const char* pipe) {
    Quiet quiet;
    CVelkor1trApp app(quiet.prompter);
    if (!app.initInstance({QString::fromLocal8Bit(file)})) {
        return 1;
    }
    benchmark::DoNotOptimize(app.mainFrame()->grab());
    painted(pipe);
    return 0;
}

// The program's first window has the size of ours, so both fill as many pixels.
int bare(const char* pipe) {
    QMainWindow window;
    QMenu* file = window.menuBar()->addMenu("&File");
    file->addAction("&Open Data...");
    file->addAction("&Save As...");
    file->addSeparator();
    file->addAction("E&xit");
    window.menuBar()->addMenu("&View")->addAction("&Data List");
    window.menuBar()->addMenu("&Help")->addAction("&About Velkor2tr...");
    window.statusBar()->showMessage("Ready");
    window.resize(CMainFrame::kFirstSize);
    window.show();
    benchmark::DoNotOptimize(window.grab());
    painted(pipe);
    return 0;
}

void startChild(benchmark::State& state, const char* mode) {
    const std::string file = bd::surveyPath();
    for (auto _ : state) {
        int pipe[2];
        if (::pipe(pipe) != 0) {
            state.SkipWithError("no pipe");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipe[0]);
            const std::string fd = std::to_string(pipe[1]);
            ::execl("/proc/self/exe", "velkor_shell_bench", mode, file.c_str(), fd.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(pipe[1]);
        char done = 0;
        const bool painted = ::read(pipe[0], &done, 1) == 1;
        const auto end = std::chrono::steady_clock::now();
        ::close(pipe[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!painted || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the started program failed");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

void BM_StartUp_Ours(benchmark::State& state) {
    startChild(state, kChildOurs);
}
BENCHMARK(BM_StartUp_Ours)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_StartUp_Baseline(benchmark::State& state) {
    startChild(state, kChildBare);
}
BENCHMARK(BM_StartUp_Baseline)->Unit(benchmark::kMillisecond)->UseManualTime();

// Delete with every other row of the list selected; the load and the selection are
// made outside the timing.
void BM_DeleteEveryOther(benchmark::State& state) {
    Quiet quiet;
    CVelkor1trApp app(quiet.prompter);
    app.initInstance({});
    const int readings = static_cast<int>(state.range(0));
    std::string text = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    for (int i = 1; i <= readings; ++i) {
        text += bd::reading('S', bd::date(0), 10 + 4 * i, 1 + i / 200, i % 200, 48000.0 + i % 977,
                            0.0) +
                "\r\n";
    }
    const std::string path = bd::writeFile("delete-" + std::to_string(readings) + ".velkor", text);
    CVelkor1trView& list = *app.mainFrame()->listView();
    for (auto _ : state) {
        state.PauseTiming();
        app.document()->setModified(false);
        app.document()->openByName(path);
        QItemSelection every;
        const int last = list.model()->columnCount() - 1;
        for (int r = 1; r < list.model()->rowCount(); r += 2) {
            every.select(list.model()->index(r, 0), list.model()->index(r, last));
        }
        list.selectionModel()->select(every, QItemSelectionModel::Select);
        state.ResumeTiming();
        app.mainFrame()->dispatch(cmd::Delete);
    }
    state.counters["left"] = app.document()->data().readingCount();
    app.document()->setModified(false);
}
BENCHMARK(BM_DeleteEveryOther)->Arg(9999)->Arg(19999)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const bool child =
        argc == 4 && (std::string(argv[1]) == kChildOurs || std::string(argv[1]) == kChildBare);
    if (!child) {
        // Recent files and settings of these runs stay in the scratch folder; the
        // started children inherit the setting.
        ::setenv("XDG_CONFIG_HOME", velkor::benchdata::folder().c_str(), 1);
    }
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Velkor2tr");
    if (child && std::string(argv[1]) == kChildOurs) {
        return ours(argv[2], argv[3]);
    }
    if (child) {
        return bare(argv[3]);
    }
    return velkor::benchdata::runBenchmarks(argc, argv);
}
