// The tracks on the survey map.
#include "pictures/TrackLines.h"

#include <algorithm>

#include "pictures/DrawingSurface.h"
#include "survey/Survey.h"

namespace velkor {
namespace {

using Device = SurveyMapGeometry::DevicePoint;

// The part of the segment a-b inside the rectangle (Liang-Barsky); false when none is.
bool clipped(Device& a, Device& b, const SurveyMapGeometry::Frame& r) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - r.left, r.right - a.x, a.y - r.top, r.bottom - a.y};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0) {
                return false;
            }
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    b = {a.x + t1 * dx, a.y + t1 * dy};
    a = {a.x + t0 * dx, a.y + t0 * dy};
    return true;
}

DrawingSurface::Point pixelOf(const Device& d) {
    return {SurveyMapGeometry::pixel(d.x), SurveyMapGeometry::pixel(d.y)};
}

bool samePixel(const DrawingSurface::Point& a, const DrawingSurface::Point& b) {
    return a.x == b.x && a.y == b.y;
}

void flush(DrawingSurface& s, std::vector<DrawingSurface::Point>& run) {
    if (run.size() > 1) {
        s.polyline(run);
    }
    run.clear();
}

}  // namespace

TrackLines TrackLines::of(const Survey& survey) {
    const TrackSet* set = survey.trackSet();
    if (set == nullptr) {
        return {};
    }
    const double maxGap = survey.settings().placement.track().maxGap;
    std::vector<Line> lines;
    for (const PositionTrack& track : set->tracks()) {
        std::vector<Line> more = broken(track.points(), maxGap);
        lines.insert(lines.end(), std::make_move_iterator(more.begin()),
                     std::make_move_iterator(more.end()));
    }
    return TrackLines(std::move(lines));
}

std::vector<TrackLines::Line> TrackLines::broken(const std::vector<PositionTrack::Point>& points,
                                                 double maxGap) {
    std::vector<Line> lines;
    Line line;
    for (std::size_t k = 0; k < points.size(); ++k) {
        if (k > 0 && points[k].seconds - points[k - 1].seconds > maxGap) {
            if (line.size() > 1) {
                lines.push_back(std::move(line));
            }
            line.clear();
        }
        line.push_back({points[k].x, points[k].y});
    }
    if (line.size() > 1) {
        lines.push_back(std::move(line));
    }
    return lines;
}

void TrackLines::draw(DrawingSurface& s, const SurveyMapGeometry::Transform& t,
                      const SurveyMapGeometry::Frame& clip) const {
    std::vector<DrawingSurface::Point> run;
    for (const Line& line : lines_) {
        for (std::size_t k = 1; k < line.size(); ++k) {
            Device a = t.toDevice(line[k - 1].easting, line[k - 1].northing);
            Device b = t.toDevice(line[k].easting, line[k].northing);
            if (!clipped(a, b, clip)) {
                flush(s, run);  // the line leaves the map here
                continue;
            }
            const DrawingSurface::Point from = pixelOf(a);
            const DrawingSurface::Point to = pixelOf(b);
            if (run.empty() || !samePixel(run.back(), from)) {
                flush(s, run);
                run.push_back(from);
            }
            if (!samePixel(run.back(), to)) {
                run.push_back(to);
            }
        }
        flush(s, run);
    }
}

}  // namespace velkor
