#include "gridding/GridBlanking.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace velkor {
namespace {

constexpr double kFar = 1e20;

// The lower envelope of the parabolas (q - p)^2 + f[p] along one row or column.
void transform1d(const double* f, int n, double* out, std::vector<int>& v, std::vector<double>& z) {
    const double inf = std::numeric_limits<double>::infinity();
    auto cut = [&](int q, int p) {
        return ((f[q] + double(q) * q) - (f[p] + double(p) * p)) / (2.0 * (q - p));
    };
    int k = 0;
    v[0] = 0;
    z[0] = -inf;
    z[1] = inf;
    for (int q = 1; q < n; ++q) {
        double s = cut(q, v[static_cast<std::size_t>(k)]);
        while (s <= z[static_cast<std::size_t>(k)]) {
            --k;
            s = cut(q, v[static_cast<std::size_t>(k)]);
        }
        ++k;
        v[static_cast<std::size_t>(k)] = q;
        z[static_cast<std::size_t>(k)] = s;
        z[static_cast<std::size_t>(k) + 1] = inf;
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[static_cast<std::size_t>(k) + 1] < q) {
            ++k;
        }
        const int p = v[static_cast<std::size_t>(k)];
        out[q] = double(q - p) * (q - p) + f[p];
    }
}

// Readings sorted into square buckets, for the exact test near the blanking distance.
class Buckets {
  public:
    Buckets(const std::vector<GridPoint>& points, const GridLattice& lattice, double size)
        : lattice_(lattice), size_(size) {
        nbx_ = std::max(1, static_cast<int>(std::ceil((lattice.nx - 1) * lattice.cell / size)) + 1);
        nby_ = std::max(1, static_cast<int>(std::ceil((lattice.ny - 1) * lattice.cell / size)) + 1);
        start_.assign(static_cast<std::size_t>(nbx_) * nby_ + 1, 0);
        std::vector<int> of(points.size(), -1);
        for (std::size_t k = 0; k < points.size(); ++k) {
            of[k] = bucketOf(points[k].x, points[k].y);
            if (of[k] >= 0) {
                ++start_[static_cast<std::size_t>(of[k]) + 1];
            }
        }
        std::partial_sum(start_.begin(), start_.end(), start_.begin());
        std::vector<int> fill(start_.begin(), start_.end() - 1);
        xy_.resize(static_cast<std::size_t>(start_.back()));
        for (std::size_t k = 0; k < points.size(); ++k) {
            if (of[k] >= 0) {
                xy_[static_cast<std::size_t>(fill[static_cast<std::size_t>(of[k])]++)] = {
                    points[k].x, points[k].y};
            }
        }
    }

    bool anyWithin(double x, double y, double distance) const {
        const int bx = static_cast<int>(std::floor((x - lattice_.x0) / size_));
        const int by = static_cast<int>(std::floor((y - lattice_.y0) / size_));
        const double d2 = distance * distance;
        for (int j = std::max(0, by - 1); j <= std::min(nby_ - 1, by + 1); ++j) {
            for (int i = std::max(0, bx - 1); i <= std::min(nbx_ - 1, bx + 1); ++i) {
                const std::size_t b = static_cast<std::size_t>(j) * nbx_ + i;
                for (int k = start_[b]; k < start_[b + 1]; ++k) {
                    const auto& p = xy_[static_cast<std::size_t>(k)];
                    if ((p.first - x) * (p.first - x) + (p.second - y) * (p.second - y) <= d2) {
                        return true;
                    }
                }
            }
        }
        return false;
    }

  private:
    int bucketOf(double x, double y) const {
        const double fx = (x - lattice_.x0) / size_;
        const double fy = (y - lattice_.y0) / size_;
        if (!(fx >= 0.0 && fy >= 0.0 && fx < nbx_ && fy < nby_)) {
            return -1;
        }
        return static_cast<int>(fy) * nbx_ + static_cast<int>(fx);
    }

    GridLattice lattice_;
    double size_;
    int nbx_ = 1;
    int nby_ = 1;
    std::vector<int> start_;
    std::vector<std::pair<double, double>> xy_;
};

}  // namespace

std::vector<double> GridBlanking::squaredDistance(const std::vector<char>& seeds, int nx, int ny) {
    std::vector<double> f(seeds.size());
    for (std::size_t k = 0; k < seeds.size(); ++k) {
        f[k] = seeds[k] ? 0.0 : kFar;
    }
    const int n = std::max(nx, ny);
    std::vector<int> v(static_cast<std::size_t>(n));
    std::vector<double> z(static_cast<std::size_t>(n) + 1);
    std::vector<double> in(static_cast<std::size_t>(n));
    std::vector<double> out(static_cast<std::size_t>(n));
    for (int j = 0; j < ny; ++j) {
        double* row = f.data() + static_cast<std::size_t>(j) * nx;
        std::copy(row, row + nx, in.begin());
        transform1d(in.data(), nx, row, v, z);
    }
    for (int i = 0; i < nx; ++i) {
        for (int j = 0; j < ny; ++j) {
            in[static_cast<std::size_t>(j)] = f[static_cast<std::size_t>(j) * nx + i];
        }
        transform1d(in.data(), ny, out.data(), v, z);
        for (int j = 0; j < ny; ++j) {
            f[static_cast<std::size_t>(j) * nx + i] = out[static_cast<std::size_t>(j)];
        }
    }
    return f;
}

// The distance to the nearest reading differs from the distance to the nearest node that
// holds one by at most how far readings lie from their nodes; only nodes within that
// margin of the blanking distance are measured exactly.
int GridBlanking::apply(Grid& grid, const std::vector<GridPoint>& points, double distance) {
    const GridLattice& lattice = grid.lattice;
    if (lattice.empty() || !(distance < std::numeric_limits<double>::infinity())) {
        return 0;
    }
    std::vector<char> seeds(lattice.size(), 0);
    std::vector<GridPoint> inside;
    double margin = 0.0;
    for (const GridPoint& p : points) {
        const double fx = (p.x - lattice.x0) / lattice.cell;
        const double fy = (p.y - lattice.y0) / lattice.cell;
        const double ri = std::round(fx);
        const double rj = std::round(fy);
        if (!(ri >= 0.0 && rj >= 0.0 && ri < lattice.nx && rj < lattice.ny)) {
            continue;
        }
        seeds[static_cast<std::size_t>(rj) * lattice.nx + static_cast<std::size_t>(ri)] = 1;
        margin = std::max(margin, std::hypot(fx - ri, fy - rj));
        inside.push_back(p);
    }
    const double reach = distance / lattice.cell;
    const std::vector<double> d2 = squaredDistance(seeds, lattice.nx, lattice.ny);
    const Buckets buckets(inside, lattice, std::max(distance, lattice.cell));
    int blanked = 0;
    for (int j = 0; j < lattice.ny; ++j) {
        for (int i = 0; i < lattice.nx; ++i) {
            const std::size_t k = static_cast<std::size_t>(j) * lattice.nx + i;
            const double d = std::sqrt(d2[k]);
            bool keep = d + margin <= reach;
            if (!keep && d - margin <= reach) {
                keep = buckets.anyWithin(lattice.x(i), lattice.y(j), distance);
            }
            if (!keep) {
                grid.values[k] = Grid::kNoData;
                ++blanked;
            }
        }
    }
    return blanked;
}

}  // namespace velkor
