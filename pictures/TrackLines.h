// The survey's position tracks as the map draws them: thin lines in the survey's
// coordinates under the readings, broken wherever two fixes are farther apart in time than
// the placement's largest gap, so that a gap shows where no reading could be placed.
#pragma once

#include <utility>
#include <vector>

#include "pictures/SurveyMapGeometry.h"
#include "tracks/PositionTrack.h"

namespace velkor {

class DrawingSurface;
class Survey;

class TrackLines {
  public:
    using Line = std::vector<SurveyMapGeometry::MetrePoint>;

    TrackLines() = default;
    explicit TrackLines(std::vector<Line> lines) : lines_(std::move(lines)) {}
    // The tracks of a survey placed by track; none for any other placement.
    static TrackLines of(const Survey& survey);
    // The points of one track, in time order, as lines broken at every gap longer than
    // maxGap seconds; a point alone between two gaps makes no line.
    static std::vector<Line> broken(const std::vector<PositionTrack::Point>& points, double maxGap);

    const std::vector<Line>& lines() const { return lines_; }
    bool empty() const { return lines_.empty(); }

    // Each line as polylines of the parts inside clip; of points on one pixel only the
    // first is drawn, so that a long track at a small scale costs no more than its pixels.
    void draw(DrawingSurface& s, const SurveyMapGeometry::Transform& t,
              const SurveyMapGeometry::Frame& clip) const;

  private:
    std::vector<Line> lines_;
};

}  // namespace velkor
