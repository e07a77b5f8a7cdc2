// Any 52 bytes as an instrument record: its data line is one line, encoding gives the
// bytes that decode to the same lines, and a record with values an instrument can hold
// makes a data line of at most 84 characters whose Field column reads back its field.
#include <cmath>
#include <cstdint>
#include <string>

#include "data/ColumnLayout.h"
#include "fuzz/FuzzPrompter.h"
#include "text/NumberText.h"
#include "transfer/InstrumentRecord.h"

namespace {

using namespace velkor;

bool within(double v, double low, double high) {
    return v >= low && v <= high;
}

// Values that fit their columns: a four-digit year, a two-digit date and time, five-digit line and
// position, a five-digit field, a one-digit amplitude and an error below 10.
bool ordinary(const InstrumentRecord& r) {
    const auto twoDigits = [](int v) { return v >= 0 && v <= 99; };
    return r.year >= 1000 && r.year <= 9999 && twoDigits(r.month) && twoDigits(r.day) &&
           twoDigits(r.hour) && twoDigits(r.minute) && twoDigits(r.second) && r.mode >= 0 &&
           r.mode <= 2 && within(r.line, 0, 99999) && within(r.position, 0, 99999) &&
           within(r.field(), 10000.0, 99999.0) && within(r.error, 0.0, 9.9) &&
           within(r.amplitude, 0.0, 9.9) && within(r.decay, 0.0, 9.9) &&
           within(r.gradient(), -9999.0, 99999.0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size < InstrumentRecord::kHeadSize + InstrumentRecord::kBodySize) {
        return 0;
    }
    const auto r = InstrumentRecord::decode(bytes, bytes + InstrumentRecord::kHeadSize);
    const std::string line = r.dataLine();
    const std::string progress = r.progressLine();
    FuzzPrompter::require(!line.empty() && line.back() == '\n' &&
                              line.find('\n') == line.size() - 1 &&
                              line.find('\r') == std::string::npos,
                          "a data line is one line ending in LF");
    FuzzPrompter::require(
        progress.size() >= 2 && (progress.back() == '\n' || progress.back() == '\r'),
        "a progress line ends in its line end");

    std::uint8_t head[InstrumentRecord::kHeadSize];
    std::uint8_t body[InstrumentRecord::kBodySize];
    r.encode(head, body);
    const auto again = InstrumentRecord::decode(head, body);
    FuzzPrompter::require(again.dataLine() == line && again.progressLine() == progress,
                          "encode gives bytes that decode to the same lines");

    const ColumnLayout layout = ColumnLayout::blankSeparated();
    for (int c = 0; c < kColumnCount; ++c) {
        (void)layout.cut(line, static_cast<Column>(c));
    }
    if (ordinary(r)) {
        FuzzPrompter::require(line.size() - 1 <= 84, "an ordinary record fits 84 characters");
        const double field = readDecimal(layout.cut(line, Column::Field));
        FuzzPrompter::require(std::fabs(field - static_cast<double>(r.field())) <= 0.0500001,
                              "the Field column reads back the field");
    }
    return 0;
}
