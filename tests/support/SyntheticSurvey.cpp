#include "support/SyntheticSurvey.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <random>

namespace velkor {
namespace {

constexpr int kLines = 41;
constexpr int kStations = 121;
constexpr double kLineSpacing = 1.0;
constexpr double kStationInterval = 0.5;

struct Dipole {
    double x;
    double y;
    double depth;
    double peak;  // nT straight above it, about
};

// Total-field anomaly of a body magnetised along the Earth's field (inclination 65
// degrees), the field being the only direction that matters for a proton magnetometer.
double anomaly(const Dipole& d, double x, double y) {
    const double inclination = 65.0 * M_PI / 180.0;
    const double t[3] = {0.0, std::cos(inclination), std::sin(inclination)};
    const double r[3] = {x - d.x, y - d.y, -d.depth};
    const double length = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
    const double along = (t[0] * r[0] + t[1] * r[1] + t[2] * r[2]) / length;
    const double above = 3.0 * std::sin(inclination) * std::sin(inclination) - 1.0;
    const double moment = d.peak * std::pow(d.depth, 3) / above;
    return moment * (3.0 * along * along - 1.0) / std::pow(length, 3);
}

}  // namespace

SyntheticSurvey::SyntheticSurvey(unsigned seed) {
    // One right under a line, one between two lines, the others anywhere.
    const std::array<Dipole, 4> dipoles{{{10.0, 10.0, 1.0, 250.0},
                                         {30.2, 25.5, 1.5, 150.0},
                                         {48.0, 12.3, 2.0, 120.0},
                                         {20.0, 33.0, 3.0, 80.0}}};
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 0.15);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    for (int line = 1; line <= kLines; ++line) {
        int lastSpike = -100;
        int spikeLength = 0;
        for (int station = 1; station <= kStations; ++station) {
            const double x = (station - 1) * kStationInterval;
            const double y = (line - 1) * kLineSpacing;
            double dipole = 0.0;
            for (const Dipole& d : dipoles) {
                dipole += anomaly(d, x, y);
            }
            const double value = 48500.0 + 0.05 * x + 0.03 * y + dipole + noise(random);
            readings_.push_back({line, station, value, false, std::abs(dipole) >= 1.0});
            // Spikes only where no dipole shows, and a few stations apart.
            const bool quiet = std::abs(dipole) < 0.3 && station > 2 && station < kStations - 1;
            const bool second = station - lastSpike == 1 && spikeLength == 1;
            const bool spike =
                quiet && (second ? uniform(random) < 0.3
                                 : station - lastSpike >= 8 && uniform(random) < 0.03);
            if (spike) {
                spikeLength = second ? 2 : 1;
                const double size = 10.0 + 290.0 * uniform(random);
                readings_.back().value += uniform(random) < 0.5 ? size : -size;
                readings_.back().spike = true;
                lastSpike = station;
            }
        }
    }
}

std::string SyntheticSurvey::dayFile() const {
    std::string text = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    int seconds = 0;
    for (const Reading& r : readings_) {
        char row[96];
        std::snprintf(
            row, sizeof row, "S 06.07.2026 %02d:%02d:%02d %5d %5d %7.1f  0.4 7 1.5%15s\r\n",
            8 + seconds / 3600, seconds / 60 % 60, seconds % 60, r.line, r.station, r.value, "");
        text += row;
        seconds += 5;
    }
    return text;
}

}  // namespace velkor
