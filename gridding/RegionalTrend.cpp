// Regional trend by least squares.
#include "gridding/RegionalTrend.h"

#include <algorithm>
#include <cmath>

namespace velkor {
namespace {

constexpr const char* kNames[RegionalTrend::kKinds] = {"none", "plane", "quadratic"};

int termCount(RegionalTrend::Kind kind) {
    switch (kind) {
        case RegionalTrend::Kind::None:
            return 0;
        case RegionalTrend::Kind::Plane:
            return 3;
        case RegionalTrend::Kind::Quadratic:
            return 6;
    }
    return 0;
}

// Solves the n x n normal equations in place by elimination with partial pivoting; an
// unknown whose pivot is lost in rounding (the points cannot tell it) is left nought.
template <std::size_t N>
std::array<double, N> solve(std::array<std::array<double, N + 1>, N> m, int n) {
    std::array<double, N> x{};
    std::array<bool, N> free{};
    double largest = 0.0;
    for (int i = 0; i < n; ++i) {
        largest = std::max(largest, std::fabs(m[i][i]));
    }
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r) {
            if (std::fabs(m[r][col]) > std::fabs(m[pivot][col])) {
                pivot = r;
            }
        }
        if (!(std::fabs(m[pivot][col]) > 1e-9 * largest)) {
            free[col] = true;
            continue;
        }
        std::swap(m[col], m[pivot]);
        for (int r = 0; r < n; ++r) {
            if (r != col) {
                const double f = m[r][col] / m[col][col];
                for (int c = col; c <= n; ++c) {
                    m[r][c] -= f * m[col][c];
                }
            }
        }
    }
    for (int i = 0; i < n; ++i) {
        x[i] = free[i] ? 0.0 : m[i][n] / m[i][i];
    }
    return x;
}

}  // namespace

const char* RegionalTrend::name(Kind kind) {
    return kNames[static_cast<int>(kind)];
}

std::optional<RegionalTrend::Kind> RegionalTrend::named(std::string_view name) {
    for (int k = 0; k < kKinds; ++k) {
        if (name == kNames[k]) {
            return static_cast<Kind>(k);
        }
    }
    return std::nullopt;
}

std::array<double, RegionalTrend::kTerms> RegionalTrend::terms(double x, double y) const {
    const double u = (x - xc_) / scale_;
    const double v = (y - yc_) / scale_;
    return {1.0, u, v, u * u, u * v, v * v};
}

double RegionalTrend::at(double x, double y) const {
    const std::array<double, kTerms> t = terms(x, y);
    double z = 0.0;
    for (int k = 0; k < kTerms; ++k) {
        z += c_[k] * t[k];
    }
    return z;
}

RegionalTrend RegionalTrend::fit(const std::vector<GridPoint>& points, Kind kind) {
    RegionalTrend trend;
    trend.kind_ = kind;
    const int n = termCount(kind);
    if (n == 0 || points.empty()) {
        return trend;
    }
    double spread = 0.0;
    for (const GridPoint& p : points) {
        trend.xc_ += p.x / static_cast<double>(points.size());
        trend.yc_ += p.y / static_cast<double>(points.size());
    }
    for (const GridPoint& p : points) {
        spread = std::max({spread, std::fabs(p.x - trend.xc_), std::fabs(p.y - trend.yc_)});
    }
    trend.scale_ = spread > 0.0 ? spread : 1.0;
    std::array<std::array<double, kTerms + 1>, kTerms> m{};
    for (const GridPoint& p : points) {
        const std::array<double, kTerms> t = trend.terms(p.x, p.y);
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < n; ++c) {
                m[r][c] += t[r] * t[c];
            }
            m[r][n] += t[r] * p.value;
        }
    }
    trend.c_ = solve<kTerms>(m, n);
    return trend;
}

std::vector<GridPoint> RegionalTrend::removed(std::vector<GridPoint> points, Kind kind) {
    if (kind == Kind::None) {
        return points;
    }
    const RegionalTrend trend = fit(points, kind);
    for (GridPoint& p : points) {
        p.value -= trend.at(p.x, p.y);
    }
    return points;
}

}  // namespace velkor
