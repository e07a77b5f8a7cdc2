// Generated surveys for the gridding benchmarks: a smooth regional field with two
// dipole-like bodies of a few hundred nT and reading noise, walked on straight lines or on
// wandering lines with a gap.
#pragma once

#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "gridding/GridPoint.h"

namespace velkor::bench {

// A smooth regional field, two dipole-like bodies of a few hundred nT, and reading noise.
inline double field(double x, double y) {
    auto body = [](double dx, double dy, double depth, double moment) {
        const double r2 = dx * dx + dy * dy + depth * depth;
        // Vertical field of a vertical dipole, tilted a little towards the north.
        return moment * (2.0 * depth * depth - dx * dx - dy * dy + 0.6 * dy * depth) /
               (r2 * r2 * std::sqrt(r2));
    };
    return 48500.0 + 0.02 * x - 0.015 * y + 5.0 * std::sin(x / 150.0) * std::cos(y / 230.0) +
           body(x - 205.0, y - 480.0, 12.0, 6.0e5) + body(x - 120.0, y - 760.0, 8.0, 1.0e5);
}

struct GridSurvey {
    std::string name;
    std::vector<GridPoint> points;
    double lineSpacing = 0.0;
    std::optional<double> cell;
};

// Straight lines north, stations every `step` metres with a little positioning scatter.
inline GridSurvey regular(int lines, int stations, double lineSpacing, double step, unsigned seed) {
    GridSurvey s{"regular", {}, lineSpacing, {}};
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0.0, 0.2);
    std::uniform_real_distribution<double> jitter(-0.15, 0.15);
    for (int l = 0; l < lines; ++l) {
        for (int k = 0; k < stations; ++k) {
            const double x = l * lineSpacing + jitter(rng);
            const double y = k * step + jitter(rng);
            s.points.push_back({x, y, field(x, y) + noise(rng), l});
        }
    }
    return s;
}

// Walked lines that wander, uneven steps, and a gap where the ground could not be walked.
inline GridSurvey irregular(unsigned seed) {
    GridSurvey s{"irregular_gap", {}, 10.0, {}};
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0.0, 0.2);
    std::uniform_real_distribution<double> step(1.2, 2.8);
    for (int l = 0; l < 40; ++l) {
        double y = step(rng);
        const double phase = 0.37 * l;
        while (y < 1000.0) {
            const double x = l * 10.0 + 1.5 * std::sin(y / 40.0 + phase);
            const bool inGap = l >= 17 && l <= 23 && y > 300.0 && y < 620.0;
            if (!inGap) {
                s.points.push_back({x, y, field(x, y) + noise(rng), l});
            }
            y += step(rng);
        }
    }
    return s;
}

}  // namespace velkor::bench
