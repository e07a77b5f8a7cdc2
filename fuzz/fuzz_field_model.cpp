// The field model at any typed place and any date: a place is read or refused with a
// message, the model answers or says why not, and every answer it gives is finite and
// consistent (F from its components, H from X and Y, angles in their ranges).
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "corrections/GeomagneticModel.h"
#include "corrections/PlaceEntry.h"
#include "fuzz/FuzzPrompter.h"

using namespace velkor;

namespace {

// Typed text: mostly a number with or without a hemisphere letter, sometimes any bytes.
std::string typed(FuzzedDataProvider& in, const char* letters) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return in.ConsumeRandomLengthString(24);
        case 1:
            return std::to_string(in.ConsumeFloatingPoint<double>());
        default: {
            std::string s = std::to_string(in.ConsumeFloatingPointInRange(-200.0, 200.0));
            if (in.ConsumeBool()) {
                s += std::string(" ") + letters[in.ConsumeIntegralInRange(0, 1)];
            }
            return s;
        }
    }
}

bool near(double a, double b) {
    return std::fabs(a - b) <= 1e-6 * std::fmax(1.0, std::fabs(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider in(bytes, size);
    const std::string lat = typed(in, "NS");
    const std::string lon = typed(in, "EW");
    const std::string height = in.ConsumeBool() ? std::to_string(in.ConsumeIntegral<int>())
                                                : in.ConsumeRandomLengthString(16);
    const double year = in.ConsumeBool() ? in.ConsumeFloatingPointInRange(1890.0, 2040.0)
                                         : in.ConsumeFloatingPoint<double>();

    const PlaceEntry::Result place = PlaceEntry::read(lat, lon, height);
    if (!place.ok) {
        FuzzPrompter::require(!place.message.empty(), "a refused place says why");
        return 0;
    }
    FuzzPrompter::require(std::isfinite(place.place.latitude) &&
                              std::isfinite(place.place.longitude) &&
                              std::isfinite(place.place.height),
                          "a place read is finite");
    const GeomagneticModel::Result r = GeomagneticModel::compute(place.place, year);
    if (!r.ok) {
        FuzzPrompter::require(!r.message.empty(), "a refused place or date says why");
        return 0;
    }
    const GeomagneticModel::Field& b = r.field;
    for (const double v : {b.x, b.y, b.z, b.h, b.f, b.d, b.i}) {
        FuzzPrompter::require(std::isfinite(v), "a finite field");
    }
    FuzzPrompter::require(near(b.f, std::sqrt(b.x * b.x + b.y * b.y + b.z * b.z)),
                          "F from X, Y and Z");
    FuzzPrompter::require(near(b.h, std::hypot(b.x, b.y)), "H from X and Y");
    FuzzPrompter::require(std::fabs(b.d) <= 180.0 && std::fabs(b.i) <= 90.0,
                          "declination and inclination in their ranges");
    FuzzPrompter::require(!GeomagneticModel::describe(b).empty(), "a description");
    return 0;
}
