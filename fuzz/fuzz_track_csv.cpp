// Any bytes as a CSV file of positions, its columns chosen from the header or named: read,
// or refused with a message naming the file (and the line at fault). Every fix is a finite
// moment and a place on the globe, or a finite easting and northing; never both kinds.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz/FuzzPrompter.h"
#include "survey/TrackCsvFile.h"

using namespace velkor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider in(bytes, size);
    const char* const named[] = {"", "DATE,TIME,LAT,LON", "DATETIME,E,N", "time,x,y", "a,b"};
    std::string columns = named[in.ConsumeIntegralInRange<int>(0, 5) % 5];
    if (in.ConsumeBool() && in.ConsumeBool()) {
        columns = in.ConsumeRandomLengthString(24);
    }
    const std::string text = in.ConsumeRemainingBytesAsString();
    std::string message;
    const auto track = TrackCsvFile::parse(text, "track.csv", columns, message);
    if (!track) {
        FuzzPrompter::require(
            message.rfind("track.csv line ", 0) == 0 || message.rfind("track.csv: ", 0) == 0,
            "a refusal names the file, and the line at fault");
        return 0;
    }
    FuzzPrompter::require(track->fixes.empty() || track->planned.empty(),
                          "a track's fixes are of one kind");
    for (const TrackFix& f : track->fixes) {
        FuzzPrompter::require(std::isfinite(f.seconds) && std::abs(f.latitude) <= 90.0 &&
                                  std::abs(f.longitude) <= 180.0,
                              "a fix is a finite moment on the globe");
    }
    for (const PositionTrack::Point& p : track->planned) {
        FuzzPrompter::require(std::isfinite(p.seconds) && std::isfinite(p.x) && std::isfinite(p.y),
                              "a planned fix is a finite moment and place");
    }
    return 0;
}
