#include "gridding/CurvatureLevel.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "gridding/BriggsCoefficients.h"

namespace velkor {
namespace {

constexpr int kStencilReach = 2;

struct Neighbour {
    int di;
    int dj;
};
constexpr Neighbour kSides[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
constexpr Neighbour kDiagonals[] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
constexpr Neighbour kFar[] = {{2, 0}, {-2, 0}, {0, 2}, {0, -2}};

}  // namespace

CurvatureLevel::CurvatureLevel(int nx, int ny, double tension, std::vector<double> start,
                               const std::vector<LevelReading>& readings)
    : nx_(nx),
      ny_(ny),
      stencil_(tension),
      u_(std::move(start)),
      rowOf_(static_cast<std::size_t>(nx) * ny, kInterior),
      stiffness_(kStiffness * stencil_.centre) {
    holdByReadings(readings);
    indexConditionsByNode();
    buildEdgeRows();
}

void CurvatureLevel::add(Combination& to, const Combination& from, double weight) const {
    for (const Term& t : from) {
        auto it =
            std::find_if(to.begin(), to.end(), [&](const Term& o) { return o.node == t.node; });
        if (it == to.end()) {
            to.push_back({t.node, t.weight * weight});
        } else {
            it->weight += t.weight * weight;
        }
    }
}

// A node outside the grid stands for what the edge conditions make of the nodes inside.
CurvatureLevel::Combination CurvatureLevel::expand(int i, int j) const {
    if (inside(i, j)) {
        return {{index(i, j), 1.0}};
    }
    const bool outX = i < 0 || i >= nx_;
    const bool outY = j < 0 || j >= ny_;
    if (outX && outY) {
        return ghostCorner(i, j);
    }
    return outX ? ghostAcrossX(i, j) : ghostAcrossY(i, j);
}

// West or east of the grid. One step out: the curvature-and-slope condition. Two steps out:
// the slope of del^2 u across the edge is zero.
CurvatureLevel::Combination CurvatureLevel::ghostAcrossX(int i, int j) const {
    const int edge = i < 0 ? 0 : nx_ - 1;
    const int in = i < 0 ? 1 : -1;  // step inwards
    Combination c;
    if (i == edge - in) {
        add(c, expand(edge, j), stencil_.edgeSelf);
        add(c, expand(edge + in, j), stencil_.edgeInner);
        return c;
    }
    const int out1 = edge - in;
    const int in1 = edge + in;
    add(c, expand(edge + 2 * in, j), 1.0);
    add(c, expand(in1, j + 1), 1.0);
    add(c, expand(in1, j - 1), 1.0);
    add(c, expand(in1, j), -4.0);
    add(c, expand(out1, j + 1), -1.0);
    add(c, expand(out1, j - 1), -1.0);
    add(c, expand(out1, j), 4.0);
    return c;
}

CurvatureLevel::Combination CurvatureLevel::ghostAcrossY(int i, int j) const {
    const int edge = j < 0 ? 0 : ny_ - 1;
    const int in = j < 0 ? 1 : -1;
    Combination c;
    if (j == edge - in) {
        add(c, expand(i, edge), stencil_.edgeSelf);
        add(c, expand(i, edge + in), stencil_.edgeInner);
        return c;
    }
    const int out1 = edge - in;
    const int in1 = edge + in;
    add(c, expand(i, edge + 2 * in), 1.0);
    add(c, expand(i + 1, in1), 1.0);
    add(c, expand(i - 1, in1), 1.0);
    add(c, expand(i, in1), -4.0);
    add(c, expand(i + 1, out1), -1.0);
    add(c, expand(i - 1, out1), -1.0);
    add(c, expand(i, out1), 4.0);
    return c;
}

// Diagonally off a corner: the cross derivative at the corner node is zero.
CurvatureLevel::Combination CurvatureLevel::ghostCorner(int i, int j) const {
    const int ci = i < 0 ? 0 : nx_ - 1;
    const int cj = j < 0 ? 0 : ny_ - 1;
    const int si = i - ci;
    const int sj = j - cj;
    Combination c;
    add(c, expand(ci + si, cj - sj), 1.0);
    add(c, expand(ci - si, cj + sj), 1.0);
    add(c, expand(ci - si, cj - sj), -1.0);
    return c;
}

void CurvatureLevel::holdByReadings(const std::vector<LevelReading>& readings) {
    std::vector<int> nearest(rowOf_.size(), -1);
    std::vector<double> distance(rowOf_.size(), 0.0);
    for (std::size_t r = 0; r < readings.size(); ++r) {
        const LevelReading& p = readings[r];
        const double ri = std::round(p.fx);
        const double rj = std::round(p.fy);
        if (!(ri >= 0.0 && rj >= 0.0 && ri < nx_ && rj < ny_)) {
            continue;
        }
        const int k = index(static_cast<int>(ri), static_cast<int>(rj));
        const double d = (p.fx - ri) * (p.fx - ri) + (p.fy - rj) * (p.fy - rj);
        if (nearest[k] < 0 || d < distance[k]) {
            nearest[k] = static_cast<int>(r);
            distance[k] = d;
        }
    }
    // Fixed nodes first: the other readings' conditions may reach them.
    for (std::size_t k = 0; k < nearest.size(); ++k) {
        if (nearest[k] >= 0 && distance[k] <= kFixRadius * kFixRadius) {
            const LevelReading& p = readings[static_cast<std::size_t>(nearest[k])];
            rowOf_[k] = kFixed;
            u_[k] = p.value;
        }
    }
    for (int j = 0; j < ny_; ++j) {
        for (int i = 0; i < nx_; ++i) {
            const int k = index(i, j);
            if (nearest[k] < 0) {
                continue;
            }
            ++constrained_;
            if (rowOf_[k] == kFixed) {
                continue;
            }
            const LevelReading& p = readings[static_cast<std::size_t>(nearest[k])];
            addCondition(expansionAt(p.fx, p.fy), p.value);
        }
    }
}

void CurvatureLevel::addCondition(const Combination& terms, double value) {
    double residual = -value;
    for (const Term& t : terms) {
        if (t.weight != 0.0) {
            conditionTerms_.push_back(t);
            residual += t.weight * u_[static_cast<std::size_t>(t.node)];
        }
    }
    conditionStart_.push_back(static_cast<int>(conditionTerms_.size()));
    conditionValue_.push_back(value);
    residual_.push_back(residual);
    multiplier_.push_back(0.0);
}

void CurvatureLevel::indexConditionsByNode() {
    nodeStart_.assign(u_.size() + 1, 0);
    dataDiagonal_.assign(u_.size(), 0.0);
    for (const Term& t : conditionTerms_) {
        ++nodeStart_[static_cast<std::size_t>(t.node) + 1];
    }
    for (std::size_t k = 1; k < nodeStart_.size(); ++k) {
        nodeStart_[k] += nodeStart_[k - 1];
    }
    std::vector<int> fill(nodeStart_.begin(), nodeStart_.end() - 1);
    nodeConditions_.resize(conditionTerms_.size());
    for (std::size_t c = 0; c + 1 < conditionStart_.size(); ++c) {
        for (int t = conditionStart_[c]; t < conditionStart_[c + 1]; ++t) {
            const Term& term = conditionTerms_[static_cast<std::size_t>(t)];
            const auto node = static_cast<std::size_t>(term.node);
            nodeConditions_[static_cast<std::size_t>(fill[node]++)] = {static_cast<int>(c),
                                                                       term.weight};
            dataDiagonal_[node] += term.weight * term.weight;
        }
    }
}

// Nodes within two steps of an edge reach past it: their equations take the edge conditions in.
void CurvatureLevel::buildEdgeRows() {
    for (int j = 0; j < ny_; ++j) {
        for (int i = 0; i < nx_; ++i) {
            const int k = index(i, j);
            const bool nearEdge = i < kStencilReach || j < kStencilReach ||
                                  i >= nx_ - kStencilReach || j >= ny_ - kStencilReach;
            if (rowOf_[k] == kFixed || !nearEdge) {
                continue;
            }
            Combination equation{{k, stencil_.centre}};
            for (const Neighbour& n : kSides) {
                add(equation, expand(i + n.di, j + n.dj), stencil_.side);
            }
            for (const Neighbour& n : kDiagonals) {
                add(equation, expand(i + n.di, j + n.dj), stencil_.diagonal);
            }
            for (const Neighbour& n : kFar) {
                add(equation, expand(i + n.di, j + n.dj), stencil_.far);
            }
            Row row{0.0, static_cast<int>(rowTerms_.size()), 0};
            for (const Term& t : equation) {
                if (t.node == k) {
                    row.diagonal += t.weight;
                } else if (t.weight != 0.0) {
                    rowTerms_.push_back(t);
                }
            }
            row.end = static_cast<int>(rowTerms_.size());
            rowOf_[k] = static_cast<int>(rows_.size());
            rows_.push_back(row);
        }
    }
}

// The node's value that solves its tension equation plus the readings' terms, every other
// node held.
double CurvatureLevel::relax(int k, double overRelaxation) {
    double* u = u_.data();
    const int row = rowOf_[static_cast<std::size_t>(k)];
    double sum = 0.0;
    double diagonal = 0.0;
    if (row == kInterior) {
        const int n1 = nx_;
        const int n2 = 2 * nx_;
        sum = stencil_.side * (u[k - 1] + u[k + 1] + u[k - n1] + u[k + n1]) +
              stencil_.diagonal * (u[k - n1 - 1] + u[k - n1 + 1] + u[k + n1 - 1] + u[k + n1 + 1]) +
              stencil_.far * (u[k - 2] + u[k + 2] + u[k - n2] + u[k + n2]);
        diagonal = stencil_.centre;
    } else {
        const Row& r = rows_[static_cast<std::size_t>(row)];
        for (int t = r.begin; t < r.end; ++t) {
            const Term& term = rowTerms_[static_cast<std::size_t>(t)];
            sum += term.weight * u[term.node];
        }
        diagonal = r.diagonal;
    }
    const auto k0 = static_cast<std::size_t>(k);
    double data = 0.0;
    for (int c = nodeStart_[k0]; c < nodeStart_[k0 + 1]; ++c) {
        const Term& t = nodeConditions_[static_cast<std::size_t>(c)];
        const auto c0 = static_cast<std::size_t>(t.node);
        data += t.weight * (stiffness_ * (residual_[c0] - t.weight * u[k]) + multiplier_[c0]);
    }
    sum += data;
    diagonal += stiffness_ * dataDiagonal_[k0];
    const double omega = nodeStart_[k0] == nodeStart_[k0 + 1] ? overRelaxation : 1.0;
    const double change = omega * (-sum / diagonal - u[k]);
    u[k] += change;
    for (int c = nodeStart_[k0]; c < nodeStart_[k0 + 1]; ++c) {
        const Term& t = nodeConditions_[static_cast<std::size_t>(c)];
        residual_[static_cast<std::size_t>(t.node)] += t.weight * change;
    }
    return std::fabs(change);
}

double CurvatureLevel::sweep(double overRelaxation) {
    const double a = -stencil_.side / stencil_.centre;
    const double b = stencil_.diagonal / stencil_.centre;
    const double c = stencil_.far / stencil_.centre;
    const int n1 = nx_;
    const int n2 = 2 * nx_;
    double largest = 0.0;
    double* u = u_.data();
    const int* start = nodeStart_.data();
    for (int j = 0; j < ny_; ++j) {
        for (int i = 0; i < nx_; ++i) {
            const int k = j * nx_ + i;
            const int row = rowOf_[static_cast<std::size_t>(k)];
            if (row == kFixed) {
                continue;
            }
            if (row != kInterior || start[k] != start[k + 1]) {
                largest = std::max(largest, relax(k, overRelaxation));
                continue;
            }
            const double next =
                a * (u[k - 1] + u[k + 1] + u[k - n1] + u[k + n1]) -
                b * (u[k - n1 - 1] + u[k - n1 + 1] + u[k + n1 - 1] + u[k + n1 + 1]) -
                c * (u[k - 2] + u[k + 2] + u[k - n2] + u[k + n2]);
            const double change = overRelaxation * (next - u[k]);
            u[k] += change;
            largest = std::max(largest, std::fabs(change));
        }
    }
    for (std::size_t d = 0; d < residual_.size(); ++d) {
        multiplier_[d] += stiffness_ * residual_[d];
    }
    return largest;
}

void CurvatureLevel::restart(const std::vector<double>& values) {
    for (std::size_t k = 0; k < u_.size(); ++k) {
        if (rowOf_[k] != kFixed) {
            u_[k] = values[k];
        }
    }
    std::fill(multiplier_.begin(), multiplier_.end(), 0.0);
    for (std::size_t c = 0; c < residual_.size(); ++c) {
        double r = -conditionValue_[c];
        for (int t = conditionStart_[c]; t < conditionStart_[c + 1]; ++t) {
            const Term& term = conditionTerms_[static_cast<std::size_t>(t)];
            r += term.weight * u_[static_cast<std::size_t>(term.node)];
        }
        residual_[c] = r;
    }
}

// About the nearest node; past the edges the edge conditions stand in for the nodes.
CurvatureLevel::Combination CurvatureLevel::expansionAt(double fx, double fy) const {
    const int i = std::clamp(static_cast<int>(std::lround(fx)), 0, nx_ - 1);
    const int j = std::clamp(static_cast<int>(std::lround(fy)), 0, ny_ - 1);
    Combination terms;
    for (const BriggsTerm& t : BriggsCoefficients::at(fx - i, fy - j)) {
        add(terms, expand(i + t.di, j + t.dj), t.weight);
    }
    return terms;
}

double CurvatureLevel::valueAt(double fx, double fy) const {
    double value = 0.0;
    for (const Term& t : expansionAt(fx, fy)) {
        value += t.weight * u_[static_cast<std::size_t>(t.node)];
    }
    return value;
}

std::vector<double> CurvatureLevel::refined(int fineNx, int fineNy) const {
    std::vector<double> fine(static_cast<std::size_t>(fineNx) * fineNy);
    for (int j = 0; j < fineNy; ++j) {
        const int cj = j / 2;
        const int cj1 = std::min(cj + 1, ny_ - 1);
        const double wy = (j % 2) * 0.5;
        for (int i = 0; i < fineNx; ++i) {
            const int ci = i / 2;
            const int ci1 = std::min(ci + 1, nx_ - 1);
            const double wx = (i % 2) * 0.5;
            const double south = (1.0 - wx) * u_[index(ci, cj)] + wx * u_[index(ci1, cj)];
            const double north = (1.0 - wx) * u_[index(ci, cj1)] + wx * u_[index(ci1, cj1)];
            fine[static_cast<std::size_t>(j) * fineNx + i] = (1.0 - wy) * south + wy * north;
        }
    }
    return fine;
}

}  // namespace velkor
