#include "gridding/ContourLevels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velkor {
namespace {

struct Spread {
    double least = 0.0;
    double p2 = 0.0;
    double p98 = 0.0;
    double greatest = 0.0;
    bool any = false;
};

Spread spreadOf(const Grid& grid) {
    std::vector<double> v;
    v.reserve(grid.values.size());
    for (double x : grid.values) {
        if (!Grid::isNoData(x) && std::isfinite(x)) {
            v.push_back(x);
        }
    }
    Spread s;
    if (v.empty()) {
        return s;
    }
    s.any = true;
    auto rank = [&](double fraction) {
        const auto at = v.begin() + static_cast<std::ptrdiff_t>(fraction * (v.size() - 1));
        std::nth_element(v.begin(), at, v.end());
        return *at;
    };
    s.least = *std::min_element(v.begin(), v.end());
    s.greatest = *std::max_element(v.begin(), v.end());
    s.p2 = rank(0.02);
    s.p98 = rank(0.98);
    return s;
}

constexpr double kRoundSteps[] = {1.0, 2.0, 2.5, 5.0};

double levelCount(double least, double greatest, double interval) {
    return std::floor(greatest / interval) - std::ceil(least / interval) + 1.0;
}

std::vector<ContourLevel> multiples(double from, double to, double interval) {
    std::vector<ContourLevel> levels;
    const double first = std::ceil(from / interval);
    const double last = std::floor(to / interval);
    for (double k = first; k <= last && levels.size() < ContourLevels::kMaxLevels; k += 1.0) {
        const bool index = std::fmod(std::fabs(k), double(ContourLevels::kIndexEvery)) == 0.0;
        levels.push_back({k * interval, index});
    }
    return levels;
}

}  // namespace

double ContourLevels::roundInterval(double raw) {
    if (!(raw > 0.0) || !std::isfinite(raw)) {
        return 0.0;
    }
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    const double m = raw / decade;
    double step = 10.0;
    if (m < std::sqrt(2.0)) {
        step = 1.0;
    } else if (m < std::sqrt(10.0)) {
        step = 2.0;
    } else if (m < std::sqrt(50.0)) {
        step = 5.0;
    }
    return step * decade;
}

bool ContourLevels::isRoundStep(double interval) {
    if (!(interval > 0.0) || !std::isfinite(interval)) {
        return false;
    }
    const double decade = std::pow(10.0, std::floor(std::log10(interval)));
    const double m = interval / decade;
    return std::any_of(std::begin(kRoundSteps), std::end(kRoundSteps),
                       [m](double step) { return std::fabs(m - step) < 1e-9 * step; });
}

double ContourLevels::defaultInterval(const Grid& grid) {
    const Spread s = spreadOf(grid);
    return s.any ? defaultInterval(s.least, s.greatest) : 0.0;
}

double ContourLevels::defaultInterval(double least, double greatest) {
    if (!(greatest > least) || !std::isfinite(greatest - least)) {
        return 0.0;
    }
    // The candidates around the step that gives about kAboutLevels; the first in range
    // nearest kAboutLevels wins, and failing any in range the nearest outside.
    const double power = std::floor(std::log10((greatest - least) / kAboutLevels));
    double best = 0.0;
    double bestMiss = 0.0;
    for (int e = -1; e <= 1; ++e) {
        const double d = std::pow(10.0, power + e);
        for (const double step : kRoundSteps) {
            const double count = levelCount(least, greatest, step * d);
            const bool within = count >= kFewestDefault && count <= kMostDefault;
            const double miss = std::fabs(count - kAboutLevels) + (within ? 0.0 : 1.0e6);
            if (best == 0.0 || miss < bestMiss) {
                best = step * d;
                bestMiss = miss;
            }
        }
    }
    return best;
}

std::vector<ContourLevel> ContourLevels::at(const Grid& grid, double interval) {
    const Spread s = spreadOf(grid);
    if (!s.any || !(interval > 0.0) || !std::isfinite(interval)) {
        return {};
    }
    if (levelCount(s.least, s.greatest, interval) <= kMaxLevels) {
        return multiples(s.least, s.greatest, interval);
    }
    return multiples(s.p2, s.p98, interval);
}

std::string ContourLevels::refusal(const Grid& grid, double interval) {
    const Spread s = spreadOf(grid);
    if (!s.any || !(interval > 0.0) || !std::isfinite(interval)) {
        return {};
    }
    const double count = std::floor(s.greatest / interval) - std::ceil(s.least / interval) + 1.0;
    if (count <= kMaxAsked) {
        return {};
    }
    char text[160];
    std::snprintf(text, sizeof text,
                  "A contour interval of %g nT gives more than %.0f levels over the grid's "
                  "values (%g to %g nT): give a larger interval.",
                  interval, kMaxAsked, s.least, s.greatest);
    return text;
}

}  // namespace velkor
