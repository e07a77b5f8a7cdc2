// Day offsets from ties: the normal equations of a graph, solved group by group.
#include "levelling/DayTies.h"

#include <cmath>
#include <numeric>

namespace velkor {
namespace {

// Days tied to one another, each group in increasing order.
std::vector<std::vector<int>> groups(int days, const std::vector<DayTies::Tie>& ties) {
    std::vector<int> root(static_cast<std::size_t>(days));
    std::iota(root.begin(), root.end(), 0);
    const auto up = [&root](int d) -> int& { return root[static_cast<std::size_t>(d)]; };
    const auto find = [&up](int d) {
        while (up(d) != d) {
            d = up(d) = up(up(d));
        }
        return d;
    };
    for (const DayTies::Tie& t : ties) {
        up(find(t.first)) = find(t.second);
    }
    std::vector<std::vector<int>> byRoot(static_cast<std::size_t>(days));
    for (int d = 0; d < days; ++d) {
        byRoot[static_cast<std::size_t>(find(d))].push_back(d);
    }
    std::vector<std::vector<int>> out;
    for (auto& g : byRoot) {
        if (g.size() > 1) {
            out.push_back(std::move(g));
        }
    }
    return out;
}

// Solves a x = b in place by Gaussian elimination with partial pivoting.
std::vector<double> solveLinear(std::vector<std::vector<double>> a, std::vector<double> b) {
    const std::size_t n = b.size();
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < n; ++r) {
            if (std::abs(a[r][c]) > std::abs(a[pivot][c])) {
                pivot = r;
            }
        }
        std::swap(a[c], a[pivot]);
        std::swap(b[c], b[pivot]);
        for (std::size_t r = c + 1; r < n; ++r) {
            const double f = a[r][c] / a[c][c];
            for (std::size_t k = c; k < n; ++k) {
                a[r][k] -= f * a[c][k];
            }
            b[r] -= f * b[c];
        }
    }
    std::vector<double> x(n);
    for (std::size_t r = n; r-- > 0;) {
        double s = b[r];
        for (std::size_t k = r + 1; k < n; ++k) {
            s -= a[r][k] * x[k];
        }
        x[r] = s / a[r][r];
    }
    return x;
}

// One group's offsets: o_first - o_second = difference for every tie in the least-squares
// sense, with one more equation holding the group's level.
void solveGroup(const std::vector<int>& group, const std::vector<DayTies::Tie>& ties,
                std::optional<int> fixedDay, std::vector<double>& offsets) {
    const std::size_t n = group.size();
    std::vector<int> index(offsets.size(), -1);
    for (std::size_t k = 0; k < n; ++k) {
        index[static_cast<std::size_t>(group[k])] = static_cast<int>(k);
    }
    // The Laplacian's normal equations plus a row of ones (or the fixed day) squared in.
    std::vector<std::vector<double>> a(n, std::vector<double>(n, 0.0));
    std::vector<double> b(n, 0.0);
    for (const DayTies::Tie& t : ties) {
        const int i = index[static_cast<std::size_t>(t.first)];
        const int j = index[static_cast<std::size_t>(t.second)];
        if (i < 0 || i == j) {
            continue;
        }
        const auto ui = static_cast<std::size_t>(i);
        const auto uj = static_cast<std::size_t>(j);
        a[ui][ui] += 1.0;
        a[uj][uj] += 1.0;
        a[ui][uj] -= 1.0;
        a[uj][ui] -= 1.0;
        b[ui] += t.difference;
        b[uj] -= t.difference;
    }
    const bool fixedHere = fixedDay && index[static_cast<std::size_t>(*fixedDay)] >= 0;
    for (std::size_t r = 0; r < n; ++r) {
        for (std::size_t c = 0; c < n; ++c) {
            const bool inR = !fixedHere || group[r] == *fixedDay;
            const bool inC = !fixedHere || group[c] == *fixedDay;
            a[r][c] += inR && inC ? 1.0 : 0.0;
        }
    }
    const std::vector<double> x = solveLinear(std::move(a), std::move(b));
    // The fixed day is held at exactly 0, not at the solver's rounding of it.
    const double held =
        fixedHere ? x[static_cast<std::size_t>(index[static_cast<std::size_t>(*fixedDay)])] : 0.0;
    for (std::size_t k = 0; k < n; ++k) {
        offsets[static_cast<std::size_t>(group[k])] = x[k] - held;
    }
}

double rms(const std::vector<DayTies::Tie>& ties, const std::vector<double>& offsets) {
    double sum = 0.0;
    for (const DayTies::Tie& t : ties) {
        const double d = t.difference - offsets[static_cast<std::size_t>(t.first)] +
                         offsets[static_cast<std::size_t>(t.second)];
        sum += d * d;
    }
    return ties.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(ties.size()));
}

}  // namespace

DayTies::Result DayTies::solve(int days, const std::vector<Tie>& ties,
                               std::optional<int> fixedDay) {
    Result r;
    r.offsets.assign(static_cast<std::size_t>(days), 0.0);
    r.ties.assign(static_cast<std::size_t>(days), 0);
    std::vector<Tie> valid;
    for (const Tie& t : ties) {
        if (t.first >= 0 && t.first < days && t.second >= 0 && t.second < days &&
            t.first != t.second && std::isfinite(t.difference)) {
            valid.push_back(t);
            ++r.ties[static_cast<std::size_t>(t.first)];
            ++r.ties[static_cast<std::size_t>(t.second)];
        }
    }
    for (const std::vector<int>& g : groups(days, valid)) {
        solveGroup(g, valid, fixedDay, r.offsets);
    }
    for (int d = 0; d < days; ++d) {
        if (r.ties[static_cast<std::size_t>(d)] == 0) {
            r.untied.push_back(d);
        }
    }
    r.rmsBefore = rms(valid, std::vector<double>(r.offsets.size(), 0.0));
    r.rmsAfter = rms(valid, r.offsets);
    return r;
}

}  // namespace velkor
