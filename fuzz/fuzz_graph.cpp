// The graph on the screen and on paper for a fuzzed data set, window size, scroll, zoom
// and page: with the sanitizers no conversion or sum may be undefined, and every
// coordinate handed to the surface stays within a drawable range.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "fuzz/CheckingSurface.h"
#include "fuzz/FuzzPrompter.h"
#include "fuzz/FuzzedText.h"
#include "pictures/GraphPainter.h"
#include "text/TextFormat.h"

using namespace velkor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider in(bytes, size);
    std::vector<std::string> lines{
        "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note "};
    const int readings = in.ConsumeIntegralInRange(0, 400);
    for (int i = 0; i < readings && in.remaining_bytes() > 0; ++i) {
        const char mode = "SGA"[in.ConsumeIntegralInRange(0, 2)];
        const int line = in.ConsumeIntegralInRange(-9999, 99999);
        lines.push_back(formatText("%c 03.07.2026 10:15:42 %5d     1 ", mode, line) +
                        FuzzedText::value(in, 7) + "  0.7 7 1.5 " + FuzzedText::value(in, 8) +
                        " Base ");
    }
    DataSet data;
    data.replaceLines(lines);
    const GraphWindow window{
        in.ConsumeIntegralInRange(0, 20000), in.ConsumeIntegralInRange(0, 20000),
        in.ConsumeIntegralInRange(0, 40000), in.ConsumeIntegralInRange(0, 20000)};
    const float zoom = in.ConsumeBool()
                           ? in.ConsumeFloatingPoint<float>()
                           : static_cast<float>(1 << in.ConsumeIntegralInRange(0, 8)) / 16.0f;
    const int pageWidth = in.ConsumeIntegralInRange(1, 50000);
    const int pageHeight = in.ConsumeIntegralInRange(1, 50000);

    GraphPainter painter(data);
    CheckingSurface surface;
    const GraphScale::Spacing spacing = painter.drawScreen(surface, window, zoom);
    FuzzPrompter::require(spacing.dx >= 1 && spacing.dx <= GraphScale::kMaxWidth,
                          "a reading spacing of 1 to 30000 pixels");
    painter.drawPrinted(surface, window, zoom, pageWidth, pageHeight);
    return 0;
}
