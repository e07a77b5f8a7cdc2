// The survey map of 200,000 readings (bench/SurveyBenchData.h): its dots taken from the
// survey after a change, and a redraw into a 1366x768 picture through the surface the
// window paints with, which must fit in one frame at 60 Hz.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "bench/SurveyBenchData.h"
#include "pictures/SurveyMapPainter.h"
#include "survey/Survey.h"
#include "widgets/shared/QPainterSurface.h"

namespace {

using namespace velkor;
namespace sb = velkor::surveybench;

constexpr int kWidth = 1366;
constexpr int kHeight = 768;

const Survey& survey() {
    static const Survey opened = [] {
        std::string message;
        std::optional<Survey> s = Survey::open(sb::settings(), message);
        if (!s) {
            std::fprintf(stderr, "%s\n", message.c_str());
            std::exit(1);
        }
        return std::move(*s);
    }();
    return opened;
}

void BM_SurveyMapBuild(benchmark::State& state) {
    const Survey& s = survey();
    for (auto _ : state) {
        benchmark::DoNotOptimize(SurveyMapPainter::build(s));
    }
}
BENCHMARK(BM_SurveyMapBuild)->Unit(benchmark::kMillisecond)->UseRealTime();

// 0: the same picture again (the window uncovered, a readout shown); 1: a new picture
// every time, one pixel narrower or wider than the last, as while the window is resized.
void BM_SurveyMapRedraw(benchmark::State& state) {
    const SurveyMapPainter map = SurveyMapPainter::build(survey());
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    int width = kWidth;
    for (auto _ : state) {
        if (state.range(0) == 1) {
            width = width == kWidth ? kWidth - 1 : kWidth;
        }
        image.fill(Qt::white);
        QPainter painter(&image);
        QPainterSurface surface(painter);
        surface.setVisibleArea(QRect(0, 0, kWidth, kHeight));
        map.draw(surface, width, kHeight, SurveyMapPainter::Value::Anomaly);
    }
    state.counters["dots"] = static_cast<double>(map.dots().size());
}
BENCHMARK(BM_SurveyMapRedraw)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
