#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "levelling/DirectionOffset.h"
#include "levelling/LineTraverse.h"
#include "levelling/Median.h"
#include "levelling/Stagger.h"

namespace velkor {
namespace {

constexpr int kLines = 41;         // 1 m apart, x = 0 to 40 m
constexpr double kStation = 0.25;  // m along, y = 0 to 40 m
constexpr double kStagger = 0.25;
constexpr double kDirection = 3.0;  // forward lines read 1.5 nT high, backward 1.5 low

double dipole(double x, double y, double x0, double y0, double depth, double peak) {
    const double r2 = (x - x0) * (x - x0) + (y - y0) * (y - y0);
    const double z2 = depth * depth;
    return peak * depth * depth * depth / 2.0 * (2.0 * z2 - r2) / std::pow(r2 + z2, 2.5);
}

double truth(double x, double y) {
    const double ditch = std::abs(y - 0.6 * x - 8.0) / std::sqrt(1.36);
    return dipole(x, y, 12.0, 15.0, 1.5, 80.0) + dipole(x, y, 28.0, 27.0, 2.0, 80.0) +
           8.0 * std::exp(-ditch * ditch / (2.0 * 0.7 * 0.7));
}

struct Survey {
    std::vector<LevelLine> lines;
    std::vector<double> lineOffsets;
};

// The zig-zag as walked: each reading measured half the stagger ahead of its mark in the
// direction walked, each line off by its own amount (zero mean in each direction), the
// direction offset and noise on top.
Survey walk() {
    std::mt19937 random(11);
    std::normal_distribution<double> spread(0.0, 3.0);
    std::normal_distribution<double> noise(0.0, 0.5);
    Survey s;
    for (int l = 0; l < kLines; ++l) {
        s.lineOffsets.push_back(spread(random));
    }
    for (int d = 0; d < 2; ++d) {
        double mean = 0.0;
        int n = 0;
        for (int l = d; l < kLines; l += 2, ++n) {
            mean += s.lineOffsets[static_cast<std::size_t>(l)];
        }
        for (int l = d; l < kLines; l += 2) {
            s.lineOffsets[static_cast<std::size_t>(l)] -= mean / n;
        }
    }
    for (int l = 0; l < kLines; ++l) {
        LevelLine line;
        line.number = l + 1;
        line.direction = l % 2 == 0 ? 1 : -1;
        for (int k = 0; k <= 160; ++k) {
            const double y = k * kStation;
            line.along.push_back(y);
            line.value.push_back(truth(l, y + line.direction * kStagger / 2.0) +
                                 s.lineOffsets[static_cast<std::size_t>(l)] +
                                 line.direction * kDirection / 2.0 + noise(random));
        }
        s.lines.push_back(line);
    }
    return s;
}

}  // namespace

TEST(ZigZagLevelling, StaggerDirectionAndLinesEstimatedAndRemoved) {
    Survey s = walk();
    const auto stagger = Stagger::estimate(s.lines, kStation);
    ASSERT_TRUE(stagger);
    EXPECT_NEAR(*stagger, kStagger, 0.05);
    for (LevelLine& line : s.lines) {
        for (double& a : line.along) {
            a = Stagger::moved(a, line.direction, *stagger);
        }
    }
    const auto direction = DirectionOffset::estimate(s.lines);
    ASSERT_TRUE(direction);
    EXPECT_NEAR(*direction, kDirection, 0.3);
    std::vector<std::vector<double>> values;
    for (LevelLine& line : s.lines) {
        for (double& v : line.value) {
            v -= line.direction * *direction / 2.0;
        }
        values.push_back(line.value);
    }
    const std::vector<double> shifts = LineTraverse::shifts(values, 3.0);

    // What is left of each line's offset, less what all lines share.
    std::vector<double> left;
    double peak = 0.0;
    double truePeak = 0.0;
    for (std::size_t l = 0; l < s.lines.size(); ++l) {
        std::vector<double> residual;
        for (std::size_t k = 0; k < s.lines[l].along.size(); ++k) {
            const double levelled = s.lines[l].value[k] + shifts[l];
            residual.push_back(levelled - truth(double(l), s.lines[l].along[k]));
            peak = std::max(peak, levelled);
            truePeak = std::max(truePeak, truth(double(l), s.lines[l].along[k]));
        }
        left.push_back(Median::of(residual));
    }
    const double shared = Median::of(left);
    double sum = 0.0;
    for (const double r : left) {
        sum += (r - shared) * (r - shared);
    }
    EXPECT_LT(std::sqrt(sum / double(left.size())), 0.3);
    // The dipoles keep their amplitude (80 nT) within 5 %.
    EXPECT_NEAR(peak - shared, truePeak, 4.0);
}

TEST(ZigZagLevelling, NothingToCompareWhenEveryLineWasWalkedOneWay) {
    Survey s = walk();
    for (LevelLine& line : s.lines) {
        line.direction = 1;
    }
    EXPECT_FALSE(Stagger::estimate(s.lines, kStation));
    EXPECT_FALSE(DirectionOffset::estimate(s.lines));
}

}  // namespace velkor
