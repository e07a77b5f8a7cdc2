// How line and position numbers become map coordinates: by origin, azimuth, spacing and
// side, or fitted to control points; or, by track, how the survey's position tracks place
// each reading by its time.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velkor {

class Placement {
  public:
    // Where increasing line numbers lie, looking along increasing positions.
    enum class Side { Right, Left };
    enum class By { Nothing, Parameters, ControlPoints, Track };

    struct Parameters {
        double originEasting = 0.0;
        double originNorthing = 0.0;
        double azimuth = 90.0;  // of increasing positions, degrees clockwise from north
        double lineSpacing = 1.0;
        double stationInterval = 1.0;
        double firstLine = 0.0;
        double firstPosition = 0.0;
        Side side = Side::Left;
        bool operator==(const Parameters& o) const;
    };
    struct ControlPoint {
        double line;
        double position;
        double easting;
        double northing;
        bool operator==(const ControlPoint& o) const;
    };
    // How a reading's moment becomes a position on the tracks.
    struct Track {
        double along = 0.0;         // metres from the antenna to the sensor, ahead as walked
        double across = 0.0;        // and to the right of the way walked
        double lag = 0.0;           // seconds the instrument's times run behind the moment measured
        double maxGap = 5.0;        // seconds between fixes beyond which nothing is interpolated
        bool lagEstimated = false;  // the lag was estimated from the survey, not given
        bool operator==(const Track& o) const;
    };
    // What the point's own coordinates lack of where the placement puts it.
    struct Residual {
        double easting;
        double northing;
        double distance() const;
    };
    struct Point {
        double easting;
        double northing;
    };

    // No placement: a reading sits at E = position, N = line, as the day's map draws it.
    Placement() = default;
    // Nothing and a message when a spacing or interval is not above 0 or a value is not
    // a number.
    static std::optional<Placement> byParameters(const Parameters& p, std::string& message);
    // The least-squares similarity (rotation, shift, one scale; never a mirror image) from
    // the local metres x = side x line spacing x line, y = station interval x position to
    // the points' eastings and northings. Nothing and a message unless two or more
    // points at different places fix it.
    static std::optional<Placement> byControlPoints(const std::vector<ControlPoint>& points,
                                                    Side side, double lineSpacing,
                                                    double stationInterval, std::string& message);

    // Nothing and a message when a value is not a number or the gap is not above 0.
    static std::optional<Placement> byTrack(const Track& t, std::string& message);

    // By track, the survey places each reading by its time: here a reading sits where no
    // placement puts it.
    Point place(double line, double position) const;

    By by() const { return by_; }
    // As given; for control points, the origin, azimuth and side found, with the spacing
    // and interval given.
    const Parameters& parameters() const { return parameters_; }
    // 1 for parameters; the fitted scale for control points.
    double scale() const;
    const std::vector<ControlPoint>& controlPoints() const { return points_; }
    const Track& track() const { return track_; }
    // One per control point, in their order.
    const std::vector<Residual>& residuals() const { return residuals_; }
    // A fit to control points whose largest residual is more than half the line spacing:
    // the point that is farthest, and the other side of the lines when a fit to it would
    // put every point kMuchBetter times nearer; empty for a fit that holds.
    std::string fitWarning() const;
    static constexpr double kMuchBetter = 4.0;

    // Equal definitions: the same way, the same numbers.
    bool operator==(const Placement& o) const;
    bool operator!=(const Placement& o) const { return !(*this == o); }

  private:
    // E = e0 + a x + b y, N = n0 - b x + a y with x = s (L - L0) spacing, y = (P - P0) interval.
    void setAzimuth(double degrees, double scale);

    By by_ = By::Nothing;
    Parameters parameters_;
    std::vector<ControlPoint> points_;
    std::vector<Residual> residuals_;
    Track track_;
    double a_ = 0.0;
    double b_ = 1.0;
};

}  // namespace velkor
