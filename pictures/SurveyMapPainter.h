// Draws every placed reading of a survey to scale, coloured by one of its values, with a
// north arrow, a scale bar in metres and the colour scale; finds the reading under a
// device point. Holds its own copy of the placed readings, so that it can be drawn while
// the survey itself is being worked on.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "gridding/PointBuckets.h"
#include "pictures/PlanMapGeometry.h"
#include "pictures/SurveyMapGeometry.h"
#include "pictures/TrackLines.h"

namespace velkor {

class DrawingSurface;
class Survey;

class SurveyMapPainter {
  public:
    static constexpr int kScreenEm = 12;
    static constexpr const char* kNothingPlaced = "No reading is placed.";
    enum class Value { Field, Diurnal, Anomaly, Gradient };
    static constexpr int kValues = 4;
    // Pixels of the largest picture whose hidden squares are found and left out.
    static constexpr long long kMostCoverPixels = 16LL * 1024 * 1024;

    // One placed reading; NaN where it has no such value.
    struct Dot {
        int reading;  // survey reading index
        double easting;
        double northing;
        std::array<float, kValues> values;
        bool flagged = false;  // drawn hollow
    };

    SurveyMapPainter();
    explicit SurveyMapPainter(std::vector<Dot> dots);
    static SurveyMapPainter build(const Survey& survey);

    // "Field", "Diurnal", "Anomaly", "Gradient".
    static const char* valueName(Value v);
    // What the hover readout says of survey reading r: its file, reading, line, position,
    // coordinates and every value.
    static std::string describe(const Survey& survey, int r);

    const std::vector<Dot>& dots() const { return dots_; }
    // The position tracks drawn under the dots; none unless the survey is placed by track.
    const TrackLines& tracks() const { return tracks_; }
    void setTracks(TrackLines tracks) { tracks_ = std::move(tracks); }
    // The rectangle holding every dot, in metres.
    SurveyMapGeometry::Bounds bounds() const { return bounds_; }
    // Where the dots go in a picture of this size, and at what scale.
    static SurveyMapGeometry::Frame frame(int width, int height, int em);
    SurveyMapGeometry::Transform transform(int width, int height, int em,
                                           double shrink = 1.0) const;
    // The 2nd to 98th percentile of the value over the dots that have it.
    PlanMapGeometry::Range range(Value v) const { return ranges_[static_cast<std::size_t>(v)]; }

    void draw(DrawingSurface& surface, int width, int height, Value v, int em = kScreenEm,
              double shrink = 1.0) const;
    // The survey reading of the dot nearest the device point within a few pixels, or -1.
    int readingAt(int width, int height, int em, int x, int y) const;
    // The same on a map drawn with transform t; only the dots near the point are looked at.
    int readingAt(const SurveyMapGeometry::Transform& t, int x, int y) const;
    // The dots to draw over a grid on a map drawn with transform t: the first in each
    // square of cell x cell pixels that holds any, so that the grid shows between them
    // however many readings there are. Indexes into dots(), in order.
    std::vector<int> thinned(const SurveyMapGeometry::Transform& t, int cell) const;

    // Shared with the gridded map.
    static void drawNorthArrow(DrawingSurface& s, const SurveyMapGeometry::Frame& f, int em);
    static void drawScaleBar(DrawingSurface& s, const SurveyMapGeometry::Transform& t,
                             const SurveyMapGeometry::Frame& f, int em);

  private:
    // A dot's square on the picture: its top-left corner and colour.
    struct Square {
        int x;
        int y;
        std::uint32_t rgb;
    };
    // The squares of a picture that show, in the order they are drawn.
    std::vector<Square> squares(const SurveyMapGeometry::Transform& t, Value v,
                                const PlanMapGeometry::Range& range, int size) const;
    void drawDots(DrawingSurface& s, const SurveyMapGeometry::Transform& t, Value v,
                  const PlanMapGeometry::Range& range) const;
    static void drawColourScale(DrawingSurface& s, const SurveyMapGeometry::Frame& f, Value v,
                                const PlanMapGeometry::Range& range, int em);

    std::vector<Dot> dots_;
    TrackLines tracks_;
    // Worked out once: every redraw needs them, and the percentiles sort all values.
    SurveyMapGeometry::Bounds bounds_{};
    std::array<PlanMapGeometry::Range, kValues> ranges_{};
    PointBuckets buckets_;  // the dots by place, for the reading under the pointer
    // The squares of the last picture drawn: the same picture again (the window
    // uncovered, a readout shown) hands them over at once. So one painter is drawn from
    // one thread at a time.
    struct Drawn {
        int width = 0;
        int height = 0;
        int em = 0;
        Value value = Value::Field;
        double shrink = 1.0;
        std::vector<Square> squares;
    };
    mutable Drawn drawn_;
};

}  // namespace velkor
