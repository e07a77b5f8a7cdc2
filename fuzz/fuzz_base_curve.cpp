// The base-station curve of every date of a fuzzed variations file (huge, tiny and
// unreadable values, times in any order) with a fuzzed survey, drawn at any size: no
// conversion may be undefined, every coordinate stays drawable, the value labels are
// few, and the figures of a date describe its samples.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "corrections/BaseDay.h"
#include "corrections/VariationSet.h"
#include "data/DataSet.h"
#include "fuzz/CheckingSurface.h"
#include "fuzz/FuzzPrompter.h"
#include "fuzz/FuzzedText.h"
#include "pictures/BaseCurvePainter.h"

using namespace velkor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider in(bytes, size);
    std::string file = " Date       Time     Variations\n";
    const int samples = in.ConsumeIntegralInRange(0, 200);
    for (int k = 0; k < samples && in.remaining_bytes() > 0; ++k) {
        file += " " + FuzzedText::date(in) + " " + FuzzedText::time(in) + " " +
                FuzzedText::value(in, 7) + "\n";
    }
    std::vector<std::string> readings{
        "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note "};
    const int count = in.ConsumeIntegralInRange(0, 100);
    for (int i = 0; i < count && in.remaining_bytes() > 0; ++i) {
        const char mode = "SGA"[in.ConsumeIntegralInRange(0, 2)];
        readings.push_back(std::string(1, mode) + " " + FuzzedText::date(in) + " " +
                           FuzzedText::time(in) + "     1     1 48000.0  0.7 7 1.5 ");
    }
    const int width = in.ConsumeIntegralInRange(0, 20000);
    const int height = in.ConsumeIntegralInRange(0, 20000);
    const int em = in.ConsumeIntegralInRange(1, 200);

    const std::string path = FuzzPrompter::writeScratch("base", file);
    FuzzPrompter user;
    VariationSet variations;
    const bool loaded = variations.load(path, user);
    std::remove(path.c_str());
    if (!loaded) {
        return 0;
    }
    DataSet survey;
    survey.replaceLines(readings);

    const std::vector<std::string> dates = BaseDay::dates(variations);
    FuzzPrompter::require(dates.size() <= static_cast<std::size_t>(samples) + 1,
                          "no more dates than samples");
    for (const std::string& date : dates) {
        const BaseDay day = BaseDay::of(variations, date, &survey);
        FuzzPrompter::require(day.firstTime() <= day.lastTime(), "first time before last");
        const std::vector<double> labels =
            BaseCurvePainter::labelValues(BaseCurvePainter::valueAxis(day));
        FuzzPrompter::require(labels.size() <= 1000, "at most 1000 value labels");
        const BaseCurvePainter::TimeAxis t = BaseCurvePainter::timeAxis(day);
        FuzzPrompter::require(t.step > 0 && t.from <= t.to, "a time axis that moves forward");
        CheckingSurface surface;
        BaseCurvePainter::draw(surface, day, width, height, em);
        FuzzPrompter::require(surface.segments + surface.texts <= 2000000,
                              "a picture of at most 2*10^6 marks");
    }
    return 0;
}
