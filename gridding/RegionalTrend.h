// A regional trend of the readings: a plane or a second-order surface fitted by least
// squares, taken away before gridding so that the grid shows the local anomalies.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "gridding/GridPoint.h"

namespace velkor {

class RegionalTrend {
  public:
    enum class Kind { None, Plane, Quadratic };
    static constexpr int kKinds = 3;

    // "none", "plane", "quadratic", as files and the command line write them.
    static const char* name(Kind kind);
    static std::optional<Kind> named(std::string_view name);

    RegionalTrend() = default;
    // The surface of this kind nearest the points' values; a term the points cannot tell
    // (all on one line, too few of them) stays nought.
    static RegionalTrend fit(const std::vector<GridPoint>& points, Kind kind);
    // The points with the fitted surface of this kind taken from their values.
    static std::vector<GridPoint> removed(std::vector<GridPoint> points, Kind kind);

    Kind kind() const { return kind_; }
    double at(double x, double y) const;

  private:
    static constexpr int kTerms = 6;  // 1, x, y, x², xy, y²
    std::array<double, kTerms> terms(double x, double y) const;

    Kind kind_ = Kind::None;
    // Centred and scaled, so that the sums stay well conditioned at map coordinates.
    double xc_ = 0.0;
    double yc_ = 0.0;
    double scale_ = 1.0;
    std::array<double, kTerms> c_{};
};

}  // namespace velkor
