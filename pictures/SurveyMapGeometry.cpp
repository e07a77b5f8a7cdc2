// Survey map geometry.
#include "pictures/SurveyMapGeometry.h"

#include <algorithm>
#include <cmath>

namespace velkor {
namespace {

constexpr double kLeastExtent = 10.0;  // metres shown across a frame at the least

}  // namespace

SurveyMapGeometry::MetrePoint SurveyMapGeometry::Transform::toMetres(double x, double y) const {
    return {e0_ + (x - x0_) / scale_, n0_ - (y - y0_) / scale_};
}

SurveyMapGeometry::Transform SurveyMapGeometry::fit(const Bounds& b, const Frame& f,
                                                    double shrink) {
    const double width = std::max(1, f.right - f.left);
    const double height = std::max(1, f.bottom - f.top);
    const double spanE = std::max(b.e1 - b.e0, 0.0);
    const double spanN = std::max(b.n1 - b.n0, 0.0);
    // The extent that limits the scale, never below the least one.
    const double across = std::max({spanE / width, spanN / height, kLeastExtent / width});
    const double scale = shrink / across;
    const double midE = (b.e0 + b.e1) / 2.0;
    const double midN = (b.n0 + b.n1) / 2.0;
    return Transform(scale, midE, midN, f.left + width / 2.0, f.top + height / 2.0);
}

double SurveyMapGeometry::roundMetres(double metres) {
    const double power = std::pow(10.0, std::floor(std::log10(metres)));
    for (const double step : {5.0, 2.0, 1.0}) {
        // A hair of tolerance: 200 is a round 200, not a 100 because of rounding.
        if (step * power <= metres * (1.0 + 1e-9)) {
            return step * power;
        }
    }
    return power;
}

SurveyMapGeometry::ScaleBar SurveyMapGeometry::scaleBar(const Transform& t, int maxPixels) {
    const double metres = roundMetres(maxPixels / t.pixelsPerMetre());
    return {metres, static_cast<int>(std::lround(metres * t.pixelsPerMetre()))};
}

const char* SurveyMapGeometry::unitFor(double metres) {
    return metres >= 1000.0 ? "km" : "m";
}

SurveyMapGeometry::NorthArrow SurveyMapGeometry::northArrow(const Frame& f, int em) {
    const int x = f.right - 2 * em;
    return {x, f.top + em, f.top + 4 * em};
}

}  // namespace velkor
