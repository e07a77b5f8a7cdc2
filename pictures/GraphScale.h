// The graph's arithmetic: reading spacing, axis scales and label values.
#pragma once

#include <vector>

namespace velkor {

class GraphScale {
  public:
    static constexpr int kMaxWidth = 30000;  // pixels of reading positions at most

    struct Spacing {
        int dx;
        bool zoomInAllowed;
        bool zoomOutAllowed;
    };

    struct Axis {
        float span;
        float step;
        float bottom;
        float top;
    };

    // count is the data set's line count, header included.
    static Spacing spacing(int count, float zoom);
    // Span, label step, bottom and top of an axis holding values from minimum to maximum.
    static Axis axis(float minimum, float maximum);
    // Steps of 1, 2 or 5 times a power of ten, about six of them from lo to hi, the ends on
    // whole steps; values no float can hold give a plain axis around zero, so that every
    // label stays a number.
    static Axis roundAxis(double lo, double hi);
    // The values that get a tick and a label: bottom + step, ... below top - step.
    static std::vector<float> labelValues(const Axis& axis);
    // Ordinate of value v on an axis whose bottom lies at baseline. Inline: every
    // repaint works it out for every reading.
    static int y(const Axis& axis, float v, int baseline) {
        const double value = (static_cast<double>(axis.top) - static_cast<double>(v)) * baseline /
                             static_cast<double>(axis.span);
        // Values far outside the axis (only possible past the widest span) stay drawable.
        return pixel(value);
    }
    // A coordinate in whole pixels, truncated toward zero, for any double: held within
    // +-10^7 so that sums of coordinates stay inside int, and 0 for NaN (an infinite
    // axis squeezed into no height).
    static int pixel(double v) {
        if (v != v) {  // NaN
            return 0;
        }
        return static_cast<int>(v < -kFarAway ? -kFarAway : v > kFarAway ? kFarAway : v);
    }

  private:
    static constexpr double kFarAway = 10000000.0;
};

}  // namespace velkor
