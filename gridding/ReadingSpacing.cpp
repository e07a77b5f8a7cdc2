#include "gridding/ReadingSpacing.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace velkor {
namespace {

double median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    const auto mid = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), mid, values.end());
    return *mid;
}

struct LineSummary {
    double sx = 0.0;
    double sy = 0.0;
    int count = 0;
    GridPoint first;
    GridPoint last;
};

}  // namespace

double ReadingSpacing::alongLines(const std::vector<GridPoint>& points) {
    std::vector<double> steps;
    for (std::size_t k = 1; k < points.size(); ++k) {
        if (points[k].line != points[k - 1].line) {
            continue;
        }
        const double d = std::hypot(points[k].x - points[k - 1].x, points[k].y - points[k - 1].y);
        if (d > 0.0 && std::isfinite(d)) {
            steps.push_back(d);
        }
    }
    return median(std::move(steps));
}

double ReadingSpacing::betweenLines(const std::vector<GridPoint>& points) {
    std::map<int, LineSummary> lines;
    for (const GridPoint& p : points) {
        LineSummary& s = lines[p.line];
        if (s.count == 0) {
            s.first = p;
        }
        s.last = p;
        s.sx += p.x;
        s.sy += p.y;
        ++s.count;
    }
    std::vector<double> gaps;
    const LineSummary* previous = nullptr;
    for (const auto& [line, s] : lines) {
        if (previous != nullptr) {
            // Square to the direction of the longer of the two lines.
            const LineSummary& along = std::hypot(s.last.x - s.first.x, s.last.y - s.first.y) >=
                                               std::hypot(previous->last.x - previous->first.x,
                                                          previous->last.y - previous->first.y)
                                           ? s
                                           : *previous;
            double dx = along.last.x - along.first.x;
            double dy = along.last.y - along.first.y;
            const double length = std::hypot(dx, dy);
            const double cx = s.sx / s.count - previous->sx / previous->count;
            const double cy = s.sy / s.count - previous->sy / previous->count;
            const double gap =
                length > 0.0 ? std::fabs(cx * dy - cy * dx) / length : std::hypot(cx, cy);
            if (gap > 0.0 && std::isfinite(gap)) {
                gaps.push_back(gap);
            }
        }
        previous = &s;
    }
    return median(std::move(gaps));
}

}  // namespace velkor
