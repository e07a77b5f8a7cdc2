// Transforms of a gridded total-field anomaly in the wavenumber domain: reduction to the
// pole, continuation, first and second derivatives, total horizontal gradient, analytic
// signal and tilt. A transform knows grids only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "gridding/Grid.h"

namespace velkor {

class GridTransform {
  public:
    enum class Kind { Rtp, Continue, Dx, Dy, Dz, Thg, Asig, Tilt };
    static constexpr int kKinds = 8;

    // Degrees: inclination positive down, declination east of north.
    struct Direction {
        double inclination = 90.0;
        double declination = 0.0;
    };
    struct Parameters {
        Kind kind = Kind::Dz;
        double height = 0.0;  // continuation, metres up; below 0 is downward
        int order = 1;        // dz: 1 or 2
        Direction field;
        std::optional<Direction> magnetisation;  // the field's where none is given
        // Reduction to the pole treats inclinations nearer the equator than this as this
        // in its amplitude (Grant & Dodds), so that it does not blow up along declination.
        double rtpLimitInclination = 20.0;
    };
    struct Result {
        Grid grid;
        std::string unit;  // "nT", "nT/m", "nT/m2" or "degrees"
        int paddedX = 0;   // the transform's size, nodes
        int paddedY = 0;
        int borderX = 0;  // tapered nodes before the grid, each way
        int borderY = 0;
        std::string warning;  // a downward continuation's, else empty
    };

    // filled: the grid with a value at every node (blanked nodes filled smoothly, as the
    // gridder's surface without blanking does); blanked: the same lattice, NaN where the
    // result is to be blanked again. Nothing and a message in plain words when refused.
    static std::optional<Result> apply(const Grid& filled, const Grid& blanked,
                                       const Parameters& parameters, std::string& message);

    // "rtp", "continue", "dx", "dy", "dz", "thg", "asig", "tilt".
    static const char* name(Kind kind);
    static std::optional<Kind> kindNamed(std::string_view name);
};

}  // namespace velkor
