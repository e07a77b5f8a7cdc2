// Draws the base-station curve of one date: the variation values against time of day,
// the survey's readings marked along the time axis, the long stretches without a sample
// hatched, and the date's figures. The same drawing serves the dialog and the tool.
#pragma once

#include <vector>

#include "pictures/GraphScale.h"

namespace velkor {

class BaseDay;
class DrawingSurface;

class BaseCurvePainter {
  public:
    static constexpr int kScreenEm = 12;
    static constexpr int kHatchSpacing = 6;

    // The plot area inside a picture of width x height.
    struct Frame {
        int left;
        int top;
        int right;
        int bottom;
    };
    // Whole hours (or quarters, or halves) around the samples and readings.
    struct TimeAxis {
        int from;
        int to;
        int step;
    };
    struct Segment {
        int x1, y1, x2, y2;
        bool operator==(const Segment& o) const {
            return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2;
        }
    };

    static Frame frame(int width, int height);
    static TimeAxis timeAxis(const BaseDay& day);
    // Whole hours around lo to hi seconds, labelled every 15 min to 2 h as the span asks.
    static TimeAxis hourAxis(int lo, int hi);
    static GraphScale::Axis valueAxis(const BaseDay& day);
    static constexpr int kMaxLabels = 100;
    // Every step from the bottom to the top of the axis; none if that is over kMaxLabels.
    static std::vector<double> labelValues(const GraphScale::Axis& a);
    static int x(const Frame& f, const TimeAxis& t, int seconds);
    // Within GraphScale::pixel's range for any value, NaN included.
    static int y(const Frame& f, const GraphScale::Axis& a, double value);
    // Parallel diagonal lines filling the rectangle, kHatchSpacing apart.
    static std::vector<Segment> hatch(int x1, int y1, int x2, int y2);
    // A reading's mark at pixel at on the frame's foot: short where a base value brackets it,
    // tall with a cross on top where none does, as it then stays uncorrected.
    static void readingMark(DrawingSurface& surface, const Frame& f, int at, int height,
                            bool based);

    static void draw(DrawingSurface& surface, const BaseDay& day, int width, int height,
                     int em = kScreenEm);
};

}  // namespace velkor
