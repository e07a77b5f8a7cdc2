// Any bytes as a GPX file, read through GDAL: refused with a message naming the file, or
// read into fixes that are finite moments on the globe, with what was left out counted.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz/FuzzPrompter.h"
#include "geo/GpxFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using velkor::FuzzPrompter;
    static const std::string path = "/tmp/velkor_fuzz_gpx_" + std::to_string(::getpid()) + ".gpx";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    std::string message;
    const auto r = velkor::GpxFile::read(path, message);
    if (!r) {
        FuzzPrompter::require(message.rfind(path + ": ", 0) == 0, "the refusal names the file");
        return 0;
    }
    FuzzPrompter::require(!r->fixes.empty() || r->noTime + r->badPosition > 0,
                          "a file read holds a point");
    for (const velkor::TrackFix& f : r->fixes) {
        FuzzPrompter::require(std::isfinite(f.seconds) && std::abs(f.latitude) <= 90.0 &&
                                  std::abs(f.longitude) <= 180.0,
                              "a fix is a moment and a place on the globe");
    }
    return 0;
}
