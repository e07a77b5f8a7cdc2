// Any bytes as a CSV base file, its columns chosen from the header or named: read, or
// refused with a message naming the file (and the line at fault). A sample's value is a
// number of its row or none at all, and interpolation gives finite values only.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "corrections/TemporalCorrection.h"
#include "fuzz/FuzzPrompter.h"
#include "survey/BaseCsvFile.h"

using namespace velkor;

namespace {

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider in(bytes, size);
    const char* const named[] = {"", "DATE,TIME,VALUE", "DATETIME,VALUE", "date,f", "a,b,c"};
    std::string columns = named[in.ConsumeIntegralInRange<int>(0, 5) % 5];
    if (in.ConsumeBool() && in.ConsumeBool()) {
        columns = in.ConsumeRandomLengthString(24);
    }
    const std::string text = in.ConsumeRemainingBytesAsString();
    std::string message;
    const auto samples = BaseCsvFile::parse(text, "base.csv", columns, message);
    if (!samples) {
        FuzzPrompter::require(
            startsWith(message, "base.csv line ") || startsWith(message, "base.csv: "),
            "a refusal names the file, and the line at fault");
        return 0;
    }
    FuzzPrompter::require(!samples->empty(), "a file read has samples");
    // A row ends at LF, CR LF or a lone CR.
    std::size_t rows = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        rows += text[k] == '\n' || (text[k] == '\r' && text.compare(k + 1, 1, "\n") != 0);
    }
    FuzzPrompter::require(samples->size() <= rows, "no more samples than rows after the header");
    for (const TemporalCorrection::Sample& s : *samples) {
        FuzzPrompter::require(std::isnan(s.value) || std::isfinite(s.value),
                              "a value is a number or none");
        FuzzPrompter::require(s.seconds >= 0 && s.seconds <= 86400 && s.date.size() == 10,
                              "a date and a time of day");
    }
    TemporalCorrection::Samples index(*samples);
    for (const TemporalCorrection::Sample& s : *samples) {
        const TemporalCorrection::Base b =
            TemporalCorrection::interpolate(index, s.date, s.seconds + 1);
        FuzzPrompter::require(
            b.outcome != TemporalCorrection::Outcome::Interpolated || std::isfinite(b.value),
            "an interpolated value is a number");
    }
    return 0;
}
