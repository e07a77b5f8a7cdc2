// The arithmetic of the plan map: cells of a posted colour map, percentile clipping,
// the colour of a value and nice axis ticks. Plain functions, shared by the window,
// the printer and the command-line tool.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

class PlanMapGeometry {
  public:
    // One reading placed in the plane: its data line, position (x) and line (y).
    struct Point {
        int reading;
        double pos;
        double line;
        double value;
    };
    // The rectangle a reading colours, in plan units; stacked when other readings
    // share its line and position (it then takes its own band of the shared cell).
    struct Cell {
        int reading;
        double x0, x1, y0, y1;
        double value;
        bool stacked;
        // Where its value is posted: the reading's own place, in its own band when stacked.
        double atX, atY;
    };
    struct Range {
        double lo;
        double hi;
    };
    // A rectangle of the plane in plan units: positions across, lines upwards.
    struct Rect {
        double x0, x1, y0, y1;
    };
    // Metres between neighbouring lines and between neighbouring positions on a line.
    struct Scale {
        double lineSpacing = 1.0;
        double stationInterval = 1.0;
    };
    static constexpr double kMinSpacing = 0.01;
    static constexpr double kMaxSpacing = 10000.0;
    static bool validScale(const Scale& scale);
    // A typed line spacing or station interval: a number of metres from kMinSpacing to
    // kMaxSpacing, else the message that says what to type.
    struct SpacingEntry {
        bool ok;
        double metres;
        std::string message;
    };
    static SpacingEntry readSpacing(const std::string& text);

    // The rectangle shown on a plot area of width x height pixels when `wanted` is to be
    // seen whole and to scale: widened across or upwards about its centre until a metre
    // across the lines and a metre along them take as many pixels. `wanted` itself where
    // that cannot be worked out (an empty or endless rectangle or plot area).
    static Rect toScale(const Rect& wanted, double width, double height, const Scale& scale);

    // Each reading reaches halfway to its neighbours along its line and halfway to the
    // neighbouring lines; the outer ones mirror their inner half-spacing. A lone
    // position or line takes the day's most common spacing (1 without any).
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
