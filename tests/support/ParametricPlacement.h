// A placement by parameters, as a test sets one: the origin, the azimuth of increasing
// positions, the spacings; the first line and position 0, lines to the left.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "survey/Placement.h"

namespace velkor {

inline Placement::Parameters placementParameters(double easting, double northing, double azimuth,
                                                 double lineSpacing, double stationInterval) {
    Placement::Parameters p;
    p.originEasting = easting;
    p.originNorthing = northing;
    p.azimuth = azimuth;
    p.lineSpacing = lineSpacing;
    p.stationInterval = stationInterval;
    return p;
}

inline Placement parametricPlacement(double easting, double northing, double azimuth,
                                     double lineSpacing, double stationInterval) {
    const Placement::Parameters p =
        placementParameters(easting, northing, azimuth, lineSpacing, stationInterval);
    std::string message;
    const std::optional<Placement> placement = Placement::byParameters(p, message);
    if (!placement) {
        throw std::invalid_argument(message);
    }
    return *placement;
}

}  // namespace velkor
