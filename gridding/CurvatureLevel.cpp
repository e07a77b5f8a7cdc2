#include "gridding/CurvatureLevel.h"

#include <algorithm>
#include <cmath>
#include <limits>
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
                               const std::vector<LevelReading>& readings, double scale)
    : nx_(nx),
      ny_(ny),
      stencil_(tension),
      u_(std::move(start)),
      rowOf_(static_cast<std::size_t>(nx) * ny, kInterior),
      stiffness_(kStiffness * stencil_.centre) {
    holdByReadings(readings, scale);
    buildEdgeRows();
    findPlainRuns();
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

// Per node, the nearest of the readings in its cell (kInterior where none), written where
// the node's row goes once the conditions are made: no array of nodes of its own. The
// distances are not kept either: they are worked out again from the readings.
void CurvatureLevel::markNearestReadings(const std::vector<LevelReading>& readings, double scale) {
    std::vector<int>& nearest = rowOf_;
    auto distance = [&](const LevelReading& p, double ri, double rj) {
        const double fx = p.fx / scale;
        const double fy = p.fy / scale;
        return (fx - ri) * (fx - ri) + (fy - rj) * (fy - rj);
    };
    for (std::size_t r = 0; r < readings.size(); ++r) {
        const LevelReading& p = readings[r];
        const double ri = std::round(p.fx / scale);
        const double rj = std::round(p.fy / scale);
        if (!(ri >= 0.0 && rj >= 0.0 && ri < nx_ && rj < ny_)) {
            continue;
        }
        const int k = index(static_cast<int>(ri), static_cast<int>(rj));
        if (nearest[k] < 0 ||
            distance(p, ri, rj) <
                distance(readings[static_cast<std::size_t>(nearest[k])], ri, rj)) {
            nearest[k] = static_cast<int>(r);
        }
    }
}

void CurvatureLevel::holdByReadings(const std::vector<LevelReading>& readings, double scale) {
    markNearestReadings(readings, scale);
    const std::vector<int>& nearest = rowOf_;
    // Fixed nodes first: the other readings' conditions may reach them.
    for (int j = 0; j < ny_; ++j) {
        for (int i = 0; i < nx_; ++i) {
            const int k = index(i, j);
            if (nearest[k] < 0) {
                continue;
            }
            ++constrained_;
            const LevelReading& p = readings[static_cast<std::size_t>(nearest[k])];
            const double di = p.fx / scale - i;
            const double dj = p.fy / scale - j;
            if (di * di + dj * dj <= kFixRadius * kFixRadius) {
                rowOf_[k] = kFixed;
                u_[k] = p.value;
            }
        }
    }
    indexConditionsByNode(readings, scale);
    countConditionsByBand();
    std::replace_if(
        rowOf_.begin(), rowOf_.end(), [](int r) { return r >= 0; }, kInterior);
}

// Each held node that is not fixed gives one condition; the nodes its expansion reaches
// list it (a count first, then the entries), so that it is stored once.
void CurvatureLevel::indexConditionsByNode(const std::vector<LevelReading>& readings,
                                           double scale) {
    const std::vector<int>& nearest = rowOf_;  // or kFixed
    nodeStart_.assign(u_.size() + 1, 0);
    auto forEachCondition = [&](auto&& use) {
        int c = 0;
        for (std::size_t k = 0; k < nearest.size(); ++k) {
            if (nearest[k] >= 0) {
                const LevelReading& p = readings[static_cast<std::size_t>(nearest[k])];
                use(c++, p, expansionAt(p.fx / scale, p.fy / scale));
            }
        }
        return c;
    };
    const int count = forEachCondition([&](int, const LevelReading&, const Combination& terms) {
        for (const Term& t : terms) {
            if (static_cast<float>(t.weight) != 0.0f) {
                ++nodeStart_[static_cast<std::size_t>(t.node) + 1];
            }
        }
    });
    for (std::size_t k = 1; k < nodeStart_.size(); ++k) {
        nodeStart_[k] += nodeStart_[k - 1];
    }
    entries_.resize(static_cast<std::size_t>(nodeStart_.back()));
    conditionValue_.resize(static_cast<std::size_t>(count));
    held_.assign(static_cast<std::size_t>(count), Held{0.0, 0.0});
    // Each node's start serves as its cursor while the entries are written, and ends at the
    // next node's start: moved back one node afterwards. No second array of nodes.
    forEachCondition([&](int c, const LevelReading& p, const Combination& terms) {
        const auto c0 = static_cast<std::size_t>(c);
        conditionValue_[c0] = p.value;
        held_[c0].residual = -p.value;
        for (const Term& t : terms) {
            const auto weight = static_cast<float>(t.weight);
            if (weight != 0.0f) {
                const auto node = static_cast<std::size_t>(t.node);
                entries_[static_cast<std::size_t>(nodeStart_[node]++)] = {c, weight};
                held_[c0].residual += weight * u_[node];
            }
        }
    });
    std::copy_backward(nodeStart_.begin(), nodeStart_.end() - 1, nodeStart_.end());
    nodeStart_[0] = 0;
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

// The readings' terms of node k's equation, every other node held; adds their part of
// the diagonal to it.
double CurvatureLevel::dataTerms(int k, double& diagonal) const {
    const auto k0 = static_cast<std::size_t>(k);
    const double uk = u_[k0];
    double data = 0.0;
    double squares = 0.0;
    for (int e = nodeStart_[k0]; e < nodeStart_[k0 + 1]; ++e) {
        const Entry& t = entries_[static_cast<std::size_t>(e)];
        const auto c = static_cast<std::size_t>(t.condition);
        const double w = t.weight;
        data += w * (stiffness_ * (held_[c].residual - w * uk) + held_[c].multiplier);
        squares += w * w;
    }
    diagonal += stiffness_ * squares;
    return data;
}

// Node k moved by change: the residuals of the conditions it enters follow.
void CurvatureLevel::spread(int k, double change) {
    const auto k0 = static_cast<std::size_t>(k);
    for (int e = nodeStart_[k0]; e < nodeStart_[k0 + 1]; ++e) {
        const Entry& t = entries_[static_cast<std::size_t>(e)];
        held_[static_cast<std::size_t>(t.condition)].residual += t.weight * change;
    }
}

// The node's value that solves its tension equation plus the readings' terms, every other
// node held: for nodes near an edge, whose equations take the edge conditions in.
double CurvatureLevel::relax(int k, double overRelaxation) {
    const double* u = u_.data();
    const Row& r = rows_[static_cast<std::size_t>(rowOf_[static_cast<std::size_t>(k)])];
    double sum = 0.0;
    for (int t = r.begin; t < r.end; ++t) {
        const Term& term = rowTerms_[static_cast<std::size_t>(t)];
        sum += term.weight * u[term.node];
    }
    double diagonal = r.diagonal;
    sum += dataTerms(k, diagonal);
    const auto k0 = static_cast<std::size_t>(k);
    const double omega = nodeStart_[k0] == nodeStart_[k0 + 1] ? overRelaxation : 1.0;
    const double change = omega * (-sum / diagonal - u[k]);
    u_[k0] += change;
    spread(k, change);
    return std::fabs(change);
}

// An interior node that readings reach: the stencil and the readings' terms written out
// in one place (the sweep's time goes here), no over-relaxation. The divisor depends on
// the weights alone: its reciprocal is worked out aside while the sums wait for the
// residuals the node to the west has just moved.
double CurvatureLevel::relaxHeld(int k) {
    const double* u = u_.data();
    const int n1 = nx_;
    const int n2 = 2 * nx_;
    const Entry* first = entries_.data() + nodeStart_[static_cast<std::size_t>(k)];
    const Entry* last = entries_.data() + nodeStart_[static_cast<std::size_t>(k) + 1];
    double squares = 0.0;
    for (const Entry* e = first; e != last; ++e) {
        squares += double(e->weight) * e->weight;
    }
    const double inverse = 1.0 / (stencil_.centre + stiffness_ * squares);
    const double uk = u[k];
    double sum =
        stencil_.side * (u[k + 1] + u[k - n1] + u[k + n1]) +
        stencil_.diagonal * (u[k - n1 - 1] + u[k - n1 + 1] + u[k + n1 - 1] + u[k + n1 + 1]) +
        stencil_.far * (u[k - 2] + u[k + 2] + u[k - n2] + u[k + n2]) - stiffness_ * squares * uk;
    Held* held = held_.data();
    for (const Entry* e = first; e != last; ++e) {
        const Held& h = held[e->condition];
        sum += e->weight * (stiffness_ * h.residual + h.multiplier);
    }
    const double next = -(sum + stencil_.side * u[k - 1]) * inverse;
    const double change = next - uk;
    u_[static_cast<std::size_t>(k)] = next;
    for (const Entry* e = first; e != last; ++e) {
        held[e->condition].residual += e->weight * change;
    }
    return std::fabs(change);
}

// Interior nodes are at least two from the edges, so a run never spans two rows, nor two
// bands. Counted first, then written: the runs take no more memory than they need.
void CurvatureLevel::findPlainRuns() {
    auto forEachRun = [&](auto&& use) {
        const int count = static_cast<int>(u_.size());
        auto plain = [&](int n) {
            const auto n0 = static_cast<std::size_t>(n);
            return rowOf_[n0] == kInterior && nodeStart_[n0] == nodeStart_[n0 + 1];
        };
        int k = 0;
        while (k < count) {
            const int begin = k;
            while (k < count && plain(k)) {
                ++k;
            }
            if (k > begin) {
                use(begin, k);
            } else {
                ++k;
            }
        }
    };
    bandRuns_.assign(static_cast<std::size_t>(bands()) + 1, 0);
    forEachRun([&](int begin, int) {
        bandRuns_[static_cast<std::size_t>(begin / nx_ / kBandRows) + 1] += 2;
    });
    for (std::size_t b = 1; b < bandRuns_.size(); ++b) {
        bandRuns_[b] += bandRuns_[b - 1];
    }
    plainRuns_.reserve(static_cast<std::size_t>(bandRuns_.back()));
    forEachRun([&](int begin, int end) {
        plainRuns_.push_back(begin);
        plainRuns_.push_back(end);
    });
}

// The new value is (1 - w) u + w (the stencil's value), written so that the node just
// relaxed to the west enters last, by one product and one sum: the sweep runs along a
// row, each node waiting for that one, and this keeps the wait short.
double CurvatureLevel::relaxPlainRun(int begin, int end, double overRelaxation) {
    const double a = -stencil_.side / stencil_.centre;
    const double b = stencil_.diagonal / stencil_.centre;
    const double c = stencil_.far / stencil_.centre;
    const double west = overRelaxation * a;
    const double keep = 1.0 - overRelaxation;
    const int n1 = nx_;
    const int n2 = 2 * nx_;
    double* u = u_.data();
    double largest = 0.0;
    double left = u[begin - 1];
    for (int k = begin; k < end; ++k) {
        const double rest = a * (u[k + 1] + u[k - n1] + u[k + n1]) -
                            b * (u[k - n1 - 1] + u[k - n1 + 1] + u[k + n1 - 1] + u[k + n1 + 1]) -
                            c * (u[k - 2] + u[k + 2] + u[k - n2] + u[k + n2]);
        const double old = u[k];
        const double next = (keep * old + overRelaxation * rest) + west * left;
        u[k] = next;
        left = next;
        largest = std::max(largest, std::fabs(next - old));
    }
    return largest;
}

// The nodes between plain runs: near an edge, reached by a reading, or fixed.
double CurvatureLevel::relaxOthers(int begin, int end, double overRelaxation) {
    double largest = 0.0;
    for (int k = begin; k < end; ++k) {
        const int row = rowOf_[static_cast<std::size_t>(k)];
        if (row == kInterior) {
            largest = std::max(largest, relaxHeld(k));
        } else if (row != kFixed) {
            largest = std::max(largest, relax(k, overRelaxation));
        }
    }
    return largest;
}

int CurvatureLevel::bands() const {
    return (ny_ + kBandRows - 1) / kBandRows;
}

// The conditions are numbered in the order of their nodes: each band's are a range.
void CurvatureLevel::countConditionsByBand() {
    const std::vector<int>& nearest = rowOf_;  // or kFixed
    bandConditions_.assign(static_cast<std::size_t>(bands()) + 1, 0);
    for (std::size_t k = 0; k < nearest.size(); ++k) {
        if (nearest[k] >= 0) {
            ++bandConditions_[k / static_cast<std::size_t>(nx_) / kBandRows + 1];
        }
    }
    for (std::size_t b = 1; b < bandConditions_.size(); ++b) {
        bandConditions_[b] += bandConditions_[b - 1];
    }
    bandChange_.assign(static_cast<std::size_t>(bands()), std::numeric_limits<double>::infinity());
}

double CurvatureLevel::sweepBand(int band, double overRelaxation) {
    const auto b = static_cast<std::size_t>(band);
    int k = band * kBandRows * nx_;
    const int last = std::min(band * kBandRows + kBandRows, ny_) * nx_;
    double largest = 0.0;
    for (int r = bandRuns_[b]; r < bandRuns_[b + 1]; r += 2) {
        largest = std::max(largest, relaxOthers(k, plainRuns_[r], overRelaxation));
        largest =
            std::max(largest, relaxPlainRun(plainRuns_[r], plainRuns_[r + 1], overRelaxation));
        k = plainRuns_[r + 1];
    }
    largest = std::max(largest, relaxOthers(k, last, overRelaxation));
    bandChange_[b] = largest;
    return largest;
}

// After a pass, the multipliers of the conditions of the bands it swept take their step.
void CurvatureLevel::raiseMultipliers(int firstCondition, int endCondition) {
    for (int c = firstCondition; c < endCondition; ++c) {
        Held& h = held_[static_cast<std::size_t>(c)];
        h.multiplier += stiffness_ * h.residual;
    }
}

double CurvatureLevel::sweep(double overRelaxation) {
    double largest = 0.0;
    for (int band = 0; band < bands(); ++band) {
        largest = std::max(largest, sweepBand(band, overRelaxation));
    }
    raiseMultipliers(0, static_cast<int>(held_.size()));
    return largest;
}

double CurvatureLevel::sweepBusy(double overRelaxation, double busy) {
    const int count = bands();
    std::vector<bool> swept(static_cast<std::size_t>(count));
    double largest = 0.0;
    for (int band = 0; band < count; ++band) {
        const auto b = static_cast<std::size_t>(band);
        swept[b] = bandChange_[b] > busy || (band > 0 && bandChange_[b - 1] > busy) ||
                   (band + 1 < count && bandChange_[b + 1] > busy);
        if (swept[b]) {
            largest = std::max(largest, sweepBand(band, overRelaxation));
        }
    }
    for (std::size_t b = 0; b < swept.size(); ++b) {
        if (swept[b]) {
            raiseMultipliers(bandConditions_[b], bandConditions_[b + 1]);
        }
    }
    return largest;
}

void CurvatureLevel::restart(const std::vector<double>& values) {
    for (std::size_t k = 0; k < u_.size(); ++k) {
        if (rowOf_[k] != kFixed) {
            u_[k] = values[k];
        }
    }
    for (std::size_t c = 0; c < held_.size(); ++c) {
        held_[c] = {-conditionValue_[c], 0.0};
    }
    std::fill(bandChange_.begin(), bandChange_.end(), std::numeric_limits<double>::infinity());
    for (std::size_t k = 0; k < u_.size(); ++k) {
        for (int e = nodeStart_[k]; e < nodeStart_[k + 1]; ++e) {
            const Entry& t = entries_[static_cast<std::size_t>(e)];
            held_[static_cast<std::size_t>(t.condition)].residual += t.weight * u_[k];
        }
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
    return refine(u_, nx_, ny_, fineNx, fineNy);
}

std::vector<double> CurvatureLevel::refine(const std::vector<double>& coarse, int nx, int ny,
                                           int fineNx, int fineNy) {
    std::vector<double> fine(static_cast<std::size_t>(fineNx) * fineNy);
    auto at = [&](int i, int j) { return coarse[static_cast<std::size_t>(j) * nx + i]; };
    for (int j = 0; j < fineNy; ++j) {
        const int cj = j / 2;
        const int cj1 = std::min(cj + 1, ny - 1);
        const double wy = (j % 2) * 0.5;
        for (int i = 0; i < fineNx; ++i) {
            const int ci = i / 2;
            const int ci1 = std::min(ci + 1, nx - 1);
            const double wx = (i % 2) * 0.5;
            const double south = (1.0 - wx) * at(ci, cj) + wx * at(ci1, cj);
            const double north = (1.0 - wx) * at(ci, cj1) + wx * at(ci1, cj1);
            fine[static_cast<std::size_t>(j) * fineNx + i] = (1.0 - wy) * south + wy * north;
        }
    }
    return fine;
}

}  // namespace velkor
