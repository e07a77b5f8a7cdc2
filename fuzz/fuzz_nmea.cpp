// A receiver's log, any bytes: every fix comes out a finite moment within the globe, and
// each sentence gives at most one fix or one refusal.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <string_view>

#include "fuzz/FuzzPrompter.h"
#include "tracks/NmeaLog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using velkor::FuzzPrompter;
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    const velkor::NmeaLog::Result r = velkor::NmeaLog::read(text);
    const int refused = std::accumulate(r.refused.begin(), r.refused.end(), 0);
    FuzzPrompter::require(static_cast<int>(r.fixes.size()) + refused <= r.sentences,
                          "no more fixes and refusals than sentences");
    for (const velkor::TrackFix& f : r.fixes) {
        FuzzPrompter::require(std::isfinite(f.seconds) && std::abs(f.latitude) <= 90.0 &&
                                  std::abs(f.longitude) <= 180.0,
                              "a fix is a moment and a place on the globe");
    }
    return 0;
}
