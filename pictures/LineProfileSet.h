// The survey's readings sorted into survey lines, each in position order with every value
// a profile can show and its flag word. A copy, so that the profiles can be drawn while
// the survey itself is being worked on.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "pictures/SurveyMapPainter.h"

namespace velkor {

class Survey;

class LineProfileSet {
  public:
    using Value = SurveyMapPainter::Value;
    static constexpr int kValues = SurveyMapPainter::kValues;

    // One reading on its line; NaN where it has no such value.
    struct Point {
        int reading;  // survey reading index
        double position;
        std::array<float, kValues> values;
        std::string word;  // the flag's word; empty when it is not flagged

        float value(Value v) const { return values[static_cast<std::size_t>(v)]; }
        bool flagged() const { return !word.empty(); }
    };
    struct Line {
        double number;
        std::vector<Point> points;  // by position; equal positions in reading order
    };

    LineProfileSet() = default;
    // Lines in increasing number; the points of each are sorted here.
    explicit LineProfileSet(std::vector<Line> lines);
    // Every survey reading with a line and a position, base-station readings left out.
    static LineProfileSet build(const Survey& survey);

    const std::vector<Line>& lines() const { return lines_; }
    int lineCount() const { return static_cast<int>(lines_.size()); }
    const Line& line(int k) const { return lines_[static_cast<std::size_t>(k)]; }
    // The index of the line holding survey reading r, or -1.
    int lineOf(int reading) const;
    // The point of survey reading r, or nullptr.
    const Point* point(int reading) const;

  private:
    struct Place {
        int reading;
        int line;
        int point;
    };
    std::vector<Line> lines_;
    std::vector<Place> places_;  // by reading: a hover asks on every move of the pointer
};

}  // namespace velkor
