// Any 52 bytes as an instrument record: its data line must read back as one line.
#include <cstdint>
#include <string>

#include "data/ColumnLayout.h"
#include "transfer/InstrumentRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size < velkor::InstrumentRecord::kHeadSize + velkor::InstrumentRecord::kBodySize) {
        return 0;
    }
    const auto r =
        velkor::InstrumentRecord::decode(bytes, bytes + velkor::InstrumentRecord::kHeadSize);
    const std::string line = r.dataLine();
    const std::string progress = r.progressLine();
    if (line.empty() || line.back() != '\n' || line.find('\n') != line.size() - 1 ||
        progress.empty()) {
        __builtin_trap();
    }
    const velkor::ColumnLayout layout = velkor::ColumnLayout::blankSeparated();
    for (int c = 0; c < velkor::kColumnCount; ++c) {
        (void)layout.cut(line, static_cast<velkor::Column>(c));
    }
    return 0;
}
