// The plan map of fuzzed readings (line and position numbers and values ordinary, huge,
// tiny or no number at all) at any scale, window, zoom and picture size: ticks few and
// finite, every coordinate drawable, a cell and its colour for every reading the map
// keeps, and a zoom that never leaves a finite window.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "fuzz/CheckingSurface.h"
#include "fuzz/FuzzPrompter.h"
#include "fuzz/FuzzedText.h"
#include "pictures/PlanMap.h"
#include "pictures/PlanMapGeometry.h"
#include "pictures/PlanMapPainter.h"

using namespace velkor;

namespace {

double anyDouble(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return in.ConsumeFloatingPoint<double>();
        case 1:
            return in.ConsumeBool() ? NAN : INFINITY;
        default:
            return in.ConsumeFloatingPointInRange(-1000.0, 1000.0);
    }
}

bool finite(const PlanMap::Bounds& b) {
    return std::isfinite(b.x0) && std::isfinite(b.x1) && std::isfinite(b.y0) && std::isfinite(b.y1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider in(bytes, size);
    std::vector<std::string> lines{
        "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note "};
    const int readings = in.ConsumeIntegralInRange(0, 300);
    for (int i = 0; i < readings && in.remaining_bytes() > 0; ++i) {
        const char mode = "SGA"[in.ConsumeIntegralInRange(0, 2)];
        lines.push_back(std::string(1, mode) + " 03.07.2026 10:15:42 " + FuzzedText::value(in, 5) +
                        " " + FuzzedText::value(in, 5) + " " + FuzzedText::value(in, 7) +
                        "  0.7 7 1.5 " + FuzzedText::value(in, 8) + " Base ");
    }
    DataSet data;
    data.replaceLines(lines);
    const PlanMap::By by = in.ConsumeBool() ? PlanMap::By::Field : PlanMap::By::Gradient;
    const PlanMapGeometry::Scale scale{anyDouble(in), anyDouble(in)};
    const double lo = anyDouble(in);
    const double hi = anyDouble(in);
    const int maxCount = in.ConsumeIntegralInRange(-5, 5000);
    const int width = in.ConsumeIntegralInRange(0, 20000);
    const int height = in.ConsumeIntegralInRange(0, 20000);
    const int em = in.ConsumeIntegralInRange(1, 200);
    const double zoom = anyDouble(in);

    const std::vector<double> ticks = PlanMapGeometry::ticks(lo, hi, maxCount, anyDouble(in));
    FuzzPrompter::require(ticks.size() <= PlanMapGeometry::kMaxTicks + 2, "few ticks");
    for (const double t : ticks) {
        FuzzPrompter::require(std::isfinite(t), "finite ticks");
    }

    const PlanMap map = PlanMap::build(data, by);
    FuzzPrompter::require(map.colours().size() == map.cells().size(), "a colour for every cell");
    FuzzPrompter::require(map.cells().size() <= static_cast<std::size_t>(data.lineCount()),
                          "at most one cell a reading");
    FuzzPrompter::require(std::isfinite(map.range().lo) && std::isfinite(map.range().hi),
                          "a finite colour range");
    if (map.empty()) {
        return 0;
    }
    const PlanMap::Bounds whole = map.bounds();
    FuzzPrompter::require(finite(whole), "finite bounds");
    PlanMapPainter::View view{
        whole,
        PlanMapGeometry::validScale(scale) ? scale : PlanMapGeometry::Scale{},
        in.ConsumeBool() ? PlanMapPainter::Style::Colours : PlanMapPainter::Style::Values,
        {}};
    view.window = PlanMapPainter::zoomed(whole, zoom, {whole.x0, whole.y1}, whole);
    FuzzPrompter::require(finite(view.window), "a zoom leaves a finite window");
    if (in.ConsumeBool() && !map.cells().empty()) {
        view.marked.push_back(map.cells().front().reading);
    }
    CheckingSurface surface;
    PlanMapPainter::draw(surface, map, view, width, height, "fuzz", em);
    FuzzPrompter::require(surface.segments + surface.texts + surface.fills <= 5000000,
                          "a picture of at most 5*10^6 marks");
    return 0;
}
