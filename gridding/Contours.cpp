#include "gridding/Contours.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace velkor {
namespace {

constexpr double kMinLabelledLength = 4.0;  // cells: shorter index lines get no label
constexpr double kPi = 3.14159265358979323846;

struct Segment {
    int from;  // edge ids
    int to;
};

// Edge ids: the horizontal edge from node (i, j) to (i + 1, j) is j * (nx - 1) + i; the
// vertical edge from (i, j) to (i, j + 1) follows all horizontal ones.
class EdgeMap {
  public:
    explicit EdgeMap(const Grid& grid)
        : grid_(grid), nx_(grid.lattice.nx), horizontal_((grid.lattice.nx - 1) * grid.lattice.ny) {}

    int count() const { return horizontal_ + nx_ * (grid_.lattice.ny - 1); }

    // The cell's edges anticlockwise from the bottom: each runs from corner k to corner k + 1
    // (corners anticlockwise from the south-west).
    void cellEdges(int i, int j, int edges[4]) const {
        edges[0] = j * (nx_ - 1) + i;
        edges[1] = horizontal_ + j * nx_ + i + 1;
        edges[2] = (j + 1) * (nx_ - 1) + i;
        edges[3] = horizontal_ + j * nx_ + i;
    }

    ContourPoint crossing(int edge, double level) const {
        int i0 = 0, j0 = 0, i1 = 0, j1 = 0;
        if (edge < horizontal_) {
            j0 = j1 = edge / (nx_ - 1);
            i0 = edge % (nx_ - 1);
            i1 = i0 + 1;
        } else {
            const int v = edge - horizontal_;
            j0 = v / nx_;
            i0 = i1 = v % nx_;
            j1 = j0 + 1;
        }
        const double a = grid_.at(i0, j0);
        const double b = grid_.at(i1, j1);
        const double t = (level - a) / (b - a);
        const GridLattice& s = grid_.lattice;
        return {s.x(i0) + t * (i1 - i0) * s.cell, s.y(j0) + t * (j1 - j0) * s.cell};
    }

  private:
    const Grid& grid_;
    int nx_;
    int horizontal_;
};

// The segments of one cell at one level, from a crossing where the corners (anticlockwise)
// go from below to above, to one where they go from above to below.
void cellSegments(const double corner[4], const int edges[4], double level,
                  std::vector<Segment>& out) {
    bool above[4];
    for (int k = 0; k < 4; ++k) {
        above[k] = corner[k] >= level;
    }
    int starts[2];
    int nStarts = 0;
    int end = -1;
    for (int k = 0; k < 4; ++k) {
        const bool a = above[k];
        const bool b = above[(k + 1) % 4];
        if (!a && b) {
            starts[nStarts++] = k;
        } else if (a && !b) {
            end = k;
        }
    }
    if (nStarts == 1) {
        out.push_back({edges[starts[0]], edges[end]});
        return;
    }
    if (nStarts == 2) {
        // Saddle: a centre above joins the high corners, so each segment cuts off a low one.
        const bool centreAbove = (corner[0] + corner[1] + corner[2] + corner[3]) / 4.0 >= level;
        for (int s : starts) {
            const int to = centreAbove ? (s + 3) % 4 : (s + 1) % 4;
            out.push_back({edges[s], edges[to]});
        }
    }
}

std::vector<ContourLine> join(const std::vector<Segment>& segments, const EdgeMap& edges,
                              const ContourLevel& level, std::vector<int>& startsAt,
                              std::vector<char>& endsAt) {
    for (std::size_t s = 0; s < segments.size(); ++s) {
        startsAt[static_cast<std::size_t>(segments[s].from)] = static_cast<int>(s);
        endsAt[static_cast<std::size_t>(segments[s].to)] = 1;
    }
    std::vector<char> used(segments.size(), 0);
    std::vector<ContourLine> lines;
    auto walk = [&](std::size_t first, bool closed) {
        ContourLine line{level.value, level.index, closed, {}};
        line.points.push_back(edges.crossing(segments[first].from, level.value));
        int s = static_cast<int>(first);
        while (s >= 0 && !used[static_cast<std::size_t>(s)]) {
            used[static_cast<std::size_t>(s)] = 1;
            const int to = segments[static_cast<std::size_t>(s)].to;
            line.points.push_back(edges.crossing(to, level.value));
            s = startsAt[static_cast<std::size_t>(to)];
        }
        lines.push_back(std::move(line));
    };
    // Open lines from their heads (no segment ends where they start), then the loops.
    for (std::size_t s = 0; s < segments.size(); ++s) {
        if (!endsAt[static_cast<std::size_t>(segments[s].from)]) {
            walk(s, false);
        }
    }
    for (std::size_t s = 0; s < segments.size(); ++s) {
        if (!used[s]) {
            walk(s, true);
        }
    }
    for (const Segment& s : segments) {
        startsAt[static_cast<std::size_t>(s.from)] = -1;
        endsAt[static_cast<std::size_t>(s.to)] = 0;
    }
    return lines;
}

void label(const ContourLine& line, double spacing, double minLength,
           std::vector<ContourLabel>& out) {
    std::vector<double> along{0.0};
    for (std::size_t k = 1; k < line.points.size(); ++k) {
        along.push_back(along.back() + std::hypot(line.points[k].x - line.points[k - 1].x,
                                                  line.points[k].y - line.points[k - 1].y));
    }
    const double length = along.back();
    if (length < minLength) {
        return;
    }
    std::vector<double> places;
    for (double s = 0.5 * spacing; s < length; s += spacing) {
        places.push_back(s);
    }
    if (places.empty()) {
        places.push_back(0.5 * length);
    }
    std::size_t k = 1;
    for (double s : places) {
        while (k + 1 < along.size() && along[k] < s) {
            ++k;
        }
        const ContourPoint& a = line.points[k - 1];
        const ContourPoint& b = line.points[k];
        const double piece = along[k] - along[k - 1];
        const double t = piece > 0.0 ? (s - along[k - 1]) / piece : 0.0;
        double angle = std::atan2(b.y - a.y, b.x - a.x) * 180.0 / kPi;
        if (angle > 90.0) {
            angle -= 180.0;
        } else if (angle <= -90.0) {
            angle += 180.0;
        }
        out.push_back({line.level, {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}, angle});
    }
}

// For each level, the cells it crosses (a corner below it and one at or above), in cell
// order: found once per cell among the sorted levels, so that the time goes with the
// crossings and not with levels times cells.
std::vector<std::vector<std::uint32_t>> cellsCrossed(const std::vector<double>& least,
                                                     const std::vector<double>& greatest,
                                                     const std::vector<ContourLevel>& levels) {
    std::vector<std::size_t> order;
    for (std::size_t l = 0; l < levels.size(); ++l) {
        if (!std::isnan(levels[l].value)) {
            order.push_back(l);
        }
    }
    std::sort(order.begin(), order.end(), [&levels](std::size_t a, std::size_t b) {
        return levels[a].value < levels[b].value;
    });
    std::vector<double> values;
    for (const std::size_t l : order) {
        values.push_back(levels[l].value);
    }
    std::vector<std::vector<std::uint32_t>> crossed(levels.size());
    for (std::size_t k = 0; k < least.size(); ++k) {
        if (std::isnan(least[k])) {
            continue;
        }
        const auto from = std::upper_bound(values.begin(), values.end(), least[k]);
        const auto to = std::upper_bound(from, values.end(), greatest[k]);
        for (auto v = from; v < to; ++v) {
            crossed[order[static_cast<std::size_t>(v - values.begin())]].push_back(
                static_cast<std::uint32_t>(k));
        }
    }
    return crossed;
}

}  // namespace

ContourSet Contours::trace(const Grid& grid, const std::vector<ContourLevel>& levels,
                           double labelSpacing) {
    ContourSet set;
    const GridLattice& lattice = grid.lattice;
    if (lattice.nx < 2 || lattice.ny < 2 || grid.values.size() != lattice.size()) {
        return set;
    }
    const int cellsX = lattice.nx - 1;
    const int cellsY = lattice.ny - 1;
    // Per cell its least and greatest corner; NaN when a corner has no value.
    std::vector<double> least(static_cast<std::size_t>(cellsX) * cellsY);
    std::vector<double> greatest(least.size());
    for (int j = 0; j < cellsY; ++j) {
        for (int i = 0; i < cellsX; ++i) {
            const double c[4] = {grid.at(i, j), grid.at(i + 1, j), grid.at(i + 1, j + 1),
                                 grid.at(i, j + 1)};
            const auto k = static_cast<std::size_t>(j) * cellsX + i;
            least[k] = std::min({c[0], c[1], c[2], c[3]});
            greatest[k] = std::max({c[0], c[1], c[2], c[3]});
            if (std::isnan(c[0] + c[1] + c[2] + c[3])) {
                least[k] = greatest[k] = Grid::kNoData;
            }
        }
    }
    const EdgeMap edges(grid);
    std::vector<int> startsAt(static_cast<std::size_t>(edges.count()), -1);
    std::vector<char> endsAt(startsAt.size(), 0);
    std::vector<Segment> segments;
    const double spacing =
        labelSpacing > 0.0 ? labelSpacing : std::max(lattice.nx, lattice.ny) * lattice.cell / 3.0;
    const std::vector<std::vector<std::uint32_t>> crossed = cellsCrossed(least, greatest, levels);
    for (std::size_t l = 0; l < levels.size(); ++l) {
        const ContourLevel& level = levels[l];
        segments.clear();
        for (const std::uint32_t k : crossed[l]) {
            const int i = static_cast<int>(k % static_cast<std::uint32_t>(cellsX));
            const int j = static_cast<int>(k / static_cast<std::uint32_t>(cellsX));
            const double c[4] = {grid.at(i, j), grid.at(i + 1, j), grid.at(i + 1, j + 1),
                                 grid.at(i, j + 1)};
            int e[4];
            edges.cellEdges(i, j, e);
            cellSegments(c, e, level.value, segments);
        }
        for (ContourLine& line : join(segments, edges, level, startsAt, endsAt)) {
            if (line.index) {
                label(line, spacing, kMinLabelledLength * lattice.cell, set.labels);
            }
            set.lines.push_back(std::move(line));
        }
    }
    return set;
}

}  // namespace velkor
