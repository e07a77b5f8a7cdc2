// Speed and size of a survey of 20 days (200,000 readings, 20 variations files of 14,400
// samples): opening it, placed in a coordinate system with the IGRF-14 field taken away,
// beside loading its files alone with the program's own loaders; a settings change
// computed again; the survey's own memory beyond its loaded days; and a survey of
// thousands of small days opened as the tool and as the window open it.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/BenchData.h"
#include "bench/SurveyBenchData.h"
#include "corrections/VariationSet.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "pictures/SurveyMapPainter.h"
#include "survey/Survey.h"
#include "survey/SurveyDescription.h"
#include "survey/SurveyEditor.h"
#include "survey/SurveyFile.h"
#include "survey/SurveySettings.h"

namespace {

using namespace velkor;
namespace bd = velkor::benchdata;
namespace sb = velkor::surveybench;

Survey openOrStop(const SurveySettings& settings) {
    std::string message;
    std::optional<Survey> survey = Survey::open(settings, message);
    if (!survey) {
        std::fprintf(stderr, "%s\n", message.c_str());
        std::exit(1);
    }
    return std::move(*survey);
}

void BM_SurveyOpen_Ours(benchmark::State& state) {
    const SurveySettings settings = sb::settings();
    int readings = 0;
    int anomalies = 0;
    for (auto _ : state) {
        std::string message;
        std::optional<Survey> survey = Survey::open(settings, message);
        readings = survey ? survey->readingCount() : 0;
        benchmark::DoNotOptimize(survey);
        state.PauseTiming();
        // Every reading has its base, normal field and anomaly, or the case measures less.
        anomalies = 0;
        for (int r = 0; r < readings; ++r) {
            const Survey::Reading g = survey->readingWithoutLatLon(r);
            anomalies += g.base && g.normal && g.anomaly ? 1 : 0;
        }
        state.ResumeTiming();
    }
    state.counters["readings"] = readings;
    state.counters["anomalies"] = anomalies;
}
BENCHMARK(BM_SurveyOpen_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same files, each read by the loader the survey uses, and nothing more.
void BM_SurveyOpen_Baseline(benchmark::State& state) {
    const sb::Files& files = sb::files();
    for (auto _ : state) {
        bd::Quiet quiet;
        std::vector<DataSet> days(files.days.size());
        for (std::size_t d = 0; d < days.size(); ++d) {
            benchmark::DoNotOptimize(DataFile::load(files.days[d], days[d], quiet.prompter));
        }
        std::vector<VariationSet> bases(files.bases.size());
        for (std::size_t b = 0; b < bases.size(); ++b) {
            benchmark::DoNotOptimize(bases[b].load(files.bases[b], quiet.prompter));
        }
    }
}
BENCHMARK(BM_SurveyOpen_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

// One survey for every change case, opened once; each case leaves it as it found it.
Survey& changing() {
    static Survey survey = openOrStop(sb::settings());
    return survey;
}

void changeOrStop(Survey& survey, const SurveySettings& next) {
    std::string message;
    if (!survey.change(next, message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        std::exit(1);
    }
}

// Two settings a change goes between: 0 the datum, 1 every base source's offset, 2 the
// normal field from a constant to IGRF-14 (only that way round is timed), 3 the
// placement's azimuth, which moves every reading and so its IGRF-14 value.
void BM_SurveyChange(benchmark::State& state) {
    Survey& survey = changing();
    const SurveySettings start = sb::settings();
    SurveySettings other = start;
    switch (state.range(0)) {
        case 0:
            other.datum = 48150.0;
            break;
        case 1:
            for (SurveySettings::BaseSource& b : other.baseSources) {
                b.offset = 30;
            }
            break;
        case 2:
            other.normal.kind = SurveySettings::NormalField::Kind::Constant;
            other.normal.value = 48000.0;
            break;
        default:
            other.placement = sb::placement(31.0);
            break;
    }
    const bool timedOneWay = state.range(0) == 2;
    bool there = false;
    for (auto _ : state) {
        if (timedOneWay) {
            state.PauseTiming();
            changeOrStop(survey, other);
            state.ResumeTiming();
            changeOrStop(survey, start);
        } else {
            changeOrStop(survey, there ? start : other);
            there = !there;
        }
    }
    changeOrStop(survey, start);
}
BENCHMARK(BM_SurveyChange)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Bytes the heap holds, the large blocks it maps apart included.
double heapInUse() {
    const struct mallinfo2 m = ::mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd);
}

// What the survey holds beyond its days' own data sets: the heap grown by opening it,
// less the heap grown by loading the same data files alone, over its readings.
void BM_SurveyBytesPerReading(benchmark::State& state) {
    const SurveySettings settings = sb::settings();
    double perReading = 0.0;
    for (auto _ : state) {
        bd::Quiet quiet;
        double daysAlone = 0.0;
        {
            const double before = heapInUse();
            std::vector<DataSet> days(settings.days.size());
            for (std::size_t d = 0; d < days.size(); ++d) {
                DataFile::load(settings.days[d], days[d], quiet.prompter);
            }
            daysAlone = heapInUse() - before;
        }
        const double before = heapInUse();
        const Survey survey = openOrStop(settings);
        perReading = (heapInUse() - before - daysAlone) / survey.readingCount();
        benchmark::DoNotOptimize(survey);
    }
    state.counters["bytes_per_reading"] = perReading;
}
BENCHMARK(BM_SurveyBytesPerReading)->Unit(benchmark::kMillisecond)->Iterations(1);

// A survey of many small days (20 readings each), written once per count: thousands of
// days in the thousands, the smoke runs' one day per thousand.
const std::string& manyDaysSurvey(int thousands) {
    static std::map<int, std::string> written;
    std::string& path = written[thousands];
    if (path.empty()) {
        const int count = thousands * (sb::days() >= 20 ? 1000 : 1);
        SurveySettings s;
        for (int d = 0; d < count; ++d) {
            std::string text =
                "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
            for (int i = 0; i < 20; ++i) {
                text += bd::reading('S', sb::dateOfDay(d % sb::kMaxDays), 8 * 3600 + 4 * i, d, i,
                                    48000.0 + i, 0.0) +
                        "\r\n";
            }
            s.days.push_back(bd::writeFile("many-" + std::to_string(d) + ".velkor", text));
        }
        path = bd::folder() + "/many-" + std::to_string(count) + ".vsurvey";
        std::string message;
        if (!SurveyFile::write(path, s, message)) {
            std::fprintf(stderr, "%s\n", message.c_str());
            std::exit(1);
        }
    }
    return path;
}

// survey info in the tool: the survey file read and opened, and described.
void BM_SurveyManyDays_Tool(benchmark::State& state) {
    const std::string& path = manyDaysSurvey(static_cast<int>(state.range(0)));
    int days = 0;
    for (auto _ : state) {
        std::string message;
        const std::optional<Survey> survey = Survey::read(path, message);
        days = survey ? survey->dayCount() : 0;
        benchmark::DoNotOptimize(survey ? SurveyDescription::info(*survey)
                                        : std::vector<std::string>());
    }
    state.counters["days"] = days;
}
BENCHMARK(BM_SurveyManyDays_Tool)
    ->Arg(1)
    ->Arg(3)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Open Survey in the window, its work as the window does it: the file read, the days opened
// in one change that tells each day as it is opened, the map's dots built, and the file
// written back by the edit rules.
void BM_SurveyManyDays_Window(benchmark::State& state) {
    const std::string& path = manyDaysSurvey(static_cast<int>(state.range(0)));
    int told = 0;
    for (auto _ : state) {
        std::string message;
        const std::optional<SurveySettings> settings = SurveyFile::read(path, message);
        Survey survey = openOrStop(SurveySettings{});
        told = 0;
        survey.change(*settings, message, [&told](int, int) {
            ++told;
            return true;
        });
        benchmark::DoNotOptimize(SurveyMapPainter::build(survey));
        SurveyEditor::finish(survey, path, *settings);
    }
    state.counters["days"] = told;
}
BENCHMARK(BM_SurveyManyDays_Window)
    ->Arg(1)
    ->Arg(3)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
