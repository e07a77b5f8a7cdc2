// The arithmetic of the plan map: cells of a posted colour map, percentile clipping,
// the colour of a value and nice axis ticks. Plain functions, shared by the window,
// the printer and the command-line tool.
#pragma once

#include <cstdint>
#include <vector>

namespace velkor {

class MapGeometry {
  public:
    // One reading placed in the plane: its data line, position (x) and line (y).
    struct Point {
        int reading;
        double pos;
        double line;
        double value;
    };
    // The rectangle a reading colours, in survey units; stacked when other readings
    // share its line and position (it then takes its own band of the shared cell).
    struct Cell {
        int reading;
        double x0, x1, y0, y1;
        double value;
        bool stacked;
    };
    struct Range {
        double lo;
        double hi;
    };

    // Each reading reaches halfway to its neighbours along its line and halfway to the
    // neighbouring lines; the outer ones mirror their inner half-spacing. A lone
    // position or line takes the survey's most common spacing (1 without any).
    static std::vector<Cell> cells(const std::vector<Point>& points);
    // Linear interpolation between the order statistics; p from 0 to 100.
    static double percentile(std::vector<double> values, double p);
    // The 2nd and 98th percentiles, widened to a non-empty range.
    static Range clipRange(const std::vector<double>& values);
    // 0xRRGGBB on a viridis-like scale, t from 0 (dark blue) to 1 (yellow), clamped.
    static std::uint32_t colourAt(double t);
    static std::uint32_t colourOf(double value, const Range& range);
    static constexpr int kMaxTicks = 1000;
    // Round steps (1, 2 or 5 times a power of ten, at least minStep) inside lo..hi, at
    // most maxCount+2 (and maxCount at most kMaxTicks); none unless both are finite.
    static std::vector<double> ticks(double lo, double hi, int maxCount, double minStep = 0.0);
};

}  // namespace velkor
