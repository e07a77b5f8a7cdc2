// The arithmetic of the survey map: metres to device pixels at one scale on both axes
// (north up), a scale bar of a round number of metres and the place of the north arrow.
// Plain functions, shared by the window and the tests.
#pragma once

#include <cmath>

namespace velkor {

class SurveyMapGeometry {
  public:
    // A rectangle in metres (easting e0..e1, northing n0..n1).
    struct Bounds {
        double e0, e1, n0, n1;
    };
    // The device rectangle the readings are fitted into.
    struct Frame {
        int left, top, right, bottom;
    };
    struct DevicePoint {
        double x, y;
    };
    struct MetrePoint {
        double easting, northing;
    };

    // One scale for both axes, so that a metre east is as long as a metre north.
    class Transform {
      public:
        Transform() = default;
        Transform(double pixelsPerMetre, double originE, double originN, double x0, double y0)
            : scale_(pixelsPerMetre), e0_(originE), n0_(originN), x0_(x0), y0_(y0) {}
        DevicePoint toDevice(double easting, double northing) const {
            return {x0_ + (easting - e0_) * scale_, y0_ - (northing - n0_) * scale_};
        }
        MetrePoint toMetres(double x, double y) const;
        double pixelsPerMetre() const { return scale_; }

      private:
        double scale_ = 1.0;
        double e0_ = 0.0;
        double n0_ = 0.0;
        double x0_ = 0.0;
        double y0_ = 0.0;
    };

    struct ScaleBar {
        double metres;
        int pixels;
    };
    // A vertical arrow pointing up (grid north), its tip above its tail.
    struct NorthArrow {
        int x, tipY, tailY;
    };

    // The largest extent of b fills the frame, centred; a single point or a single line
    // of readings still gets a finite scale (10 m across the frame at the least).
    // shrink below 1 draws the map that much smaller about the same centre.
    static Transform fit(const Bounds& b, const Frame& f, double shrink = 1.0);
    // The longest 1, 2 or 5 times a power of ten metres that is no longer than maxPixels
    // at this scale.
    static ScaleBar scaleBar(const Transform& t, int maxPixels);
    // The round length itself: the largest 1, 2 or 5 x 10^k not above metres (> 0).
    static double roundMetres(double metres);
    // "250 m", "2 km", "0.5 m".
    static const char* unitFor(double metres);
    static NorthArrow northArrow(const Frame& f, int em);
    // The nearest whole pixel, halves away from zero: what std::lround gives, without a
    // call into the maths library for each of many thousand dots.
    static int pixel(double v) {
        if (!(v > -1e9 && v < 1e9)) {
            return static_cast<int>(std::lround(v));
        }
        // v less its whole part is exact, so the half is judged on v itself.
        const auto whole = static_cast<int>(v);
        const double part = v - whole;
        return part >= 0.5 ? whole + 1 : part <= -0.5 ? whole - 1 : whole;
    }
};

}  // namespace velkor
