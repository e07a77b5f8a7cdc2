// Placement of readings on the map.
#include "survey/Placement.h"

#include <algorithm>
#include <cmath>

#include "text/TextFormat.h"

namespace velkor {
namespace {

constexpr double kPi = 3.14159265358979323846;

double sign(Placement::Side side) {
    return side == Placement::Side::Right ? 1.0 : -1.0;
}

bool finite(std::initializer_list<double> values) {
    for (const double v : values) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

// Spacing and interval are lengths along the ground: nothing else can be placed.
bool lengthsValid(double lineSpacing, double stationInterval, std::string& message) {
    if (!(lineSpacing > 0.0) || !std::isfinite(lineSpacing)) {
        message = "The line spacing must be a number of metres greater than 0.";
        return false;
    }
    if (!(stationInterval > 0.0) || !std::isfinite(stationInterval)) {
        message = "The station interval must be a number of metres greater than 0.";
        return false;
    }
    return true;
}

}  // namespace

bool Placement::Parameters::operator==(const Parameters& o) const {
    return originEasting == o.originEasting && originNorthing == o.originNorthing &&
           azimuth == o.azimuth && lineSpacing == o.lineSpacing &&
           stationInterval == o.stationInterval && firstLine == o.firstLine &&
           firstPosition == o.firstPosition && side == o.side;
}

bool Placement::ControlPoint::operator==(const ControlPoint& o) const {
    return line == o.line && position == o.position && easting == o.easting &&
           northing == o.northing;
}

double Placement::Residual::distance() const {
    return std::hypot(easting, northing);
}

void Placement::setAzimuth(double degrees, double scale) {
    // Whole quarter turns exactly, so that a placement along the axes puts whole
    // numbers on whole numbers.
    const double turned = std::fmod(std::fmod(degrees, 360.0) + 360.0, 360.0);
    if (turned == 0.0 || turned == 90.0 || turned == 180.0 || turned == 270.0) {
        const int quarter = static_cast<int>(turned / 90.0);
        static constexpr double kCos[] = {1.0, 0.0, -1.0, 0.0};
        static constexpr double kSin[] = {0.0, 1.0, 0.0, -1.0};
        a_ = scale * kCos[quarter];
        b_ = scale * kSin[quarter];
        return;
    }
    a_ = scale * std::cos(turned * kPi / 180.0);
    b_ = scale * std::sin(turned * kPi / 180.0);
}

std::optional<Placement> Placement::byParameters(const Parameters& p, std::string& message) {
    if (!finite({p.originEasting, p.originNorthing, p.azimuth, p.firstLine, p.firstPosition})) {
        message = "Every value of the placement must be a number.";
        return std::nullopt;
    }
    if (!lengthsValid(p.lineSpacing, p.stationInterval, message)) {
        return std::nullopt;
    }
    Placement placement;
    placement.by_ = By::Parameters;
    placement.parameters_ = p;
    placement.setAzimuth(p.azimuth, 1.0);
    return placement;
}

bool Placement::Track::operator==(const Track& o) const {
    return along == o.along && across == o.across && lag == o.lag && maxGap == o.maxGap &&
           lagEstimated == o.lagEstimated;
}

std::optional<Placement> Placement::byTrack(const Track& t, std::string& message) {
    if (!finite({t.along, t.across, t.lag, t.maxGap})) {
        message = "Every value of the placement must be a number.";
        return std::nullopt;
    }
    if (!(t.maxGap > 0.0)) {
        message = "The largest gap between fixes must be above 0 seconds.";
        return std::nullopt;
    }
    Placement placement;
    placement.by_ = By::Track;
    placement.track_ = t;
    return placement;
}

std::optional<Placement> Placement::byControlPoints(const std::vector<ControlPoint>& points,
                                                    Side side, double lineSpacing,
                                                    double stationInterval, std::string& message) {
    if (!lengthsValid(lineSpacing, stationInterval, message)) {
        return std::nullopt;
    }
    if (points.size() < 2) {
        message = "A placement by control points needs two or more points.";
        return std::nullopt;
    }
    for (const ControlPoint& c : points) {
        if (!finite({c.line, c.position, c.easting, c.northing})) {
            message = "Every value of a control point must be a number.";
            return std::nullopt;
        }
    }
    const double s = sign(side);
    const auto localX = [&](const ControlPoint& c) { return s * c.line * lineSpacing; };
    const auto localY = [&](const ControlPoint& c) { return c.position * stationInterval; };
    const double n = static_cast<double>(points.size());
    double mx = 0.0, my = 0.0, me = 0.0, mn = 0.0;
    for (const ControlPoint& c : points) {
        mx += localX(c) / n;
        my += localY(c) / n;
        me += c.easting / n;
        mn += c.northing / n;
    }
    // Normal equations of E' = a x' + b y', N' = -b x' + a y' about the centroids.
    double sa = 0.0, sb = 0.0, ss = 0.0;
    for (const ControlPoint& c : points) {
        const double x = localX(c) - mx;
        const double y = localY(c) - my;
        const double e = c.easting - me;
        const double north = c.northing - mn;
        sa += x * e + y * north;
        sb += y * e - x * north;
        ss += x * x + y * y;
    }
    if (!(ss > 0.0)) {
        message =
            "The control points stand at one place of the lines; a placement needs "
            "two or more different places.";
        return std::nullopt;
    }
    Placement placement;
    placement.by_ = By::ControlPoints;
    placement.points_ = points;
    placement.a_ = sa / ss;
    placement.b_ = sb / ss;
    if (!(placement.scale() > 0.0)) {
        message =
            "The control points do not fix a placement: their eastings and northings "
            "do not change along the lines.";
        return std::nullopt;
    }
    Parameters& p = placement.parameters_;
    p.originEasting = me - placement.a_ * mx - placement.b_ * my;
    p.originNorthing = mn + placement.b_ * mx - placement.a_ * my;
    const double azimuth = std::atan2(placement.b_, placement.a_) * 180.0 / kPi;
    p.azimuth = azimuth < 0.0 ? azimuth + 360.0 : azimuth;
    p.lineSpacing = lineSpacing;
    p.stationInterval = stationInterval;
    p.firstLine = 0.0;
    p.firstPosition = 0.0;
    p.side = side;
    for (const ControlPoint& c : points) {
        const Point at = placement.place(c.line, c.position);
        placement.residuals_.push_back({c.easting - at.easting, c.northing - at.northing});
    }
    return placement;
}

Placement::Point Placement::place(double line, double position) const {
    const Parameters& p = parameters_;
    const double x = sign(p.side) * (line - p.firstLine) * p.lineSpacing;
    const double y = (position - p.firstPosition) * p.stationInterval;
    return {p.originEasting + a_ * x + b_ * y, p.originNorthing - b_ * x + a_ * y};
}

std::string Placement::fitWarning() const {
    if (by_ != By::ControlPoints || residuals_.empty()) {
        return {};
    }
    const auto farthest = [](const std::vector<Residual>& residuals) {
        return std::max_element(
            residuals.begin(), residuals.end(),
            [](const Residual& a, const Residual& b) { return a.distance() < b.distance(); });
    };
    const auto worst = farthest(residuals_);
    const Parameters& p = parameters_;
    if (!(worst->distance() > p.lineSpacing / 2.0)) {
        return {};
    }
    const ControlPoint& c = points_[static_cast<std::size_t>(worst - residuals_.begin())];
    std::string text = formatText(
        "Control point %td (line %g, position %g) is %.3f m from where the fit places it, "
        "more than half the line spacing: check its line, position, easting and northing.",
        worst - residuals_.begin() + 1, c.line, c.position, worst->distance());
    // Lines given to the wrong side fit only as a mirror image, which a placement never is.
    const Side other = p.side == Side::Left ? Side::Right : Side::Left;
    std::string ignored;
    const std::optional<Placement> mirrored =
        byControlPoints(points_, other, p.lineSpacing, p.stationInterval, ignored);
    if (mirrored) {
        const double better = farthest(mirrored->residuals_)->distance();
        if (better < worst->distance() / kMuchBetter) {
            text += formatText(
                " With the lines to the %s the largest residual is %.3f m: the lines may lie "
                "on the other side.",
                other == Side::Left ? "left" : "right", better);
        }
    }
    return text;
}

double Placement::scale() const {
    return std::hypot(a_, b_);
}

bool Placement::operator==(const Placement& o) const {
    if (by_ != o.by_) {
        return false;
    }
    switch (by_) {
        case By::Nothing:
            return true;
        case By::Parameters:
            return parameters_ == o.parameters_;
        case By::ControlPoints:
            return points_ == o.points_ && parameters_.side == o.parameters_.side &&
                   parameters_.lineSpacing == o.parameters_.lineSpacing &&
                   parameters_.stationInterval == o.parameters_.stationInterval;
        case By::Track:
            return track_ == o.track_;
    }
    return false;
}

}  // namespace velkor
