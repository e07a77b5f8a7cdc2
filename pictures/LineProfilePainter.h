// Draws the profiles of survey lines: one value against position, one line alone or
// several stacked a number of nT apart; flagged readings hollow with their word, spike
// candidates in a diamond. Finds the reading under a point and the readings outside a
// range box drawn on the picture.
#pragma once

#include <memory>
#include <vector>

#include "pictures/GraphScale.h"
#include "pictures/LineProfileSet.h"

namespace velkor {

class DrawingSurface;

class LineProfilePainter {
  public:
    using Value = LineProfileSet::Value;
    static constexpr int kScreenEm = 12;
    static constexpr double kDefaultOffset = 20.0;  // nT between stacked lines
    static constexpr const char* kNoLine = "No survey line to show.";
    static constexpr const char* kLegend =
        "Filled: readings; hollow: flagged, with the flag's word; diamond: spike candidate "
        "(double: the one under review)";
    // A character's width in ems of the fixed-pitch font the pictures draw with.
    static constexpr double kCharWidth = 0.6;
    // The legend's font: em, or as much less as makes the legend fit in width.
    static int legendEm(int width, int em);

    // Where a picture goes on the surface.
    struct Area {
        int left;
        int top;
        int width;
        int height;
    };
    // The plot inside an area.
    struct Frame {
        int left;
        int top;
        int right;
        int bottom;
    };
    // Both axes of the shown lines, with the frame they are drawn in.
    struct Scales {
        Frame frame;
        GraphScale::Axis position;
        GraphScale::Axis value;
    };
    // A rectangle in surface coordinates, its corners in any order.
    struct Box {
        int x1;
        int y1;
        int x2;
        int y2;
    };

    LineProfilePainter();
    explicit LineProfilePainter(std::shared_ptr<const LineProfileSet> set);

    const LineProfileSet& set() const { return *set_; }
    void setValue(Value v) { value_ = v; }
    Value value() const { return value_; }
    // The lines drawn, by their index in the set; the k-th of several is drawn k times
    // the offset higher than its values. Indexes outside the set are dropped.
    void setLines(std::vector<int> lines);
    const std::vector<int>& lines() const { return lines_; }
    void setOffset(double nT) { offset_ = nT; }
    double offset() const { return offset_; }
    // Survey readings the spike finder proposes.
    void setCandidates(std::vector<int> readings);
    bool candidate(int reading) const;
    // The candidate under review, drawn in a second diamond; -1 for none.
    void setCurrent(int reading) { current_ = reading; }
    int current() const { return current_; }
    // Whether any reading of the shown lines has the chosen value.
    bool anyValue() const;

    static Frame frame(const Area& area, int em);
    // Steps of 1, 2 or 5 times a power of ten, about six over lo to hi, ends on a step.
    static GraphScale::Axis axis(double lo, double hi);
    Scales scales(const Area& area, int em) const;
    // Where the value v of the k-th shown line is drawn.
    double plotted(int k, float v) const { return static_cast<double>(v) + k * offset_; }
    static int x(const Scales& s, double position);
    static int y(const Scales& s, double plotted);
    static double valueAt(const Scales& s, int y);

    void draw(DrawingSurface& surface, const Area& area, int em = kScreenEm,
              bool legend = true) const;
    // The survey reading drawn nearest the point within a few pixels, or -1.
    int readingAt(const Area& area, int em, int x, int y) const;
    // The range despike: of every shown line with a reading inside the box, the readings
    // whose value lies above or below the box; in reading order.
    std::vector<int> outside(const Area& area, int em, const Box& box) const;

  private:
    void drawAxes(DrawingSurface& s, const Scales& sc, int em) const;
    void drawLine(DrawingSurface& s, const Scales& sc, int k, int em) const;

    std::shared_ptr<const LineProfileSet> set_;
    Value value_ = Value::Field;
    std::vector<int> lines_;
    double offset_ = kDefaultOffset;
    std::vector<int> candidates_;  // sorted
    int current_ = -1;
};

}  // namespace velkor
