// A survey of many days made up the same way on every run: each day a data file of
// 10,000 readings and a variations file of 14,400 samples (one every 6 s) covering it,
// written once to the scratch folder, and the settings that place it in UTM zone 33 N
// and take the IGRF-14 field away, so that every value is computed.
// VELKOR_BENCH_SURVEY_DAYS sets the number of days (20 unless told; the smoke runs use
// one, so that the normal test suite stays quick).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchData.h"
#include "survey/Placement.h"
#include "survey/SurveySettings.h"

namespace velkor::surveybench {

constexpr int kReadingsPerDay = 10000;
constexpr int kSamplesPerDay = 14400;
constexpr int kSampleStep = 6;  // s
constexpr int kPositionsPerLine = 200;
constexpr int kFirstReading = 7 * 3600;  // 07:00:00
constexpr int kReadingStep = 4;          // s

constexpr int kMaxDays = 6 * 28;  // the dates below stay in 2026

inline int days() {
    static const int n = [] {
        const char* text = std::getenv("VELKOR_BENCH_SURVEY_DAYS");
        const int asked = text ? std::atoi(text) : 20;
        return asked > 0 ? std::min(asked, kMaxDays) : 20;
    }();
    return n;
}

// From 1 July, 28 days a month so that every date is one of the calendar.
inline std::string dateOfDay(int d) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.2026", 1 + d % 28, 7 + d / 28 % 6);
    return text;
}

// A dyke striking across the lines and a slow regional slope, in nT.
inline double anomaly(int line, int position) {
    const double x = position - (60.0 + 0.1 * line);
    return 250.0 / (1.0 + x * x / 40.0) + 0.02 * line;
}

// The base station's day: a daily swing and a ripple.
inline double variation(int d, int seconds) {
    const double hours = d * 24.0 + seconds / 3600.0;
    return 48100.0 - 20.0 * std::sin((seconds / 3600.0 - 6.0) / 24.0 * 6.283185307179586) +
           1.5 * std::sin(hours * 3600.0 / 1100.0);
}

// Day d walks 50 lines of 200 positions, back and forth, one reading every 4 s from
// 07:00; every fifth reading is a gradient reading.
inline std::string dayText(int d) {
    std::string out = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    out.reserve(static_cast<std::size_t>(kReadingsPerDay + 1) * 70);
    const std::string date = dateOfDay(d);
    for (int i = 0; i < kReadingsPerDay; ++i) {
        const int line = 1 + d * (kReadingsPerDay / kPositionsPerLine) + i / kPositionsPerLine;
        const int step = i % kPositionsPerLine;
        const int position = line % 2 == 0 ? step : kPositionsPerLine - 1 - step;
        const int seconds = kFirstReading + kReadingStep * i;
        const double field = variation(d, seconds) - 100.0 + anomaly(line, position);
        out += benchdata::reading(i % 5 == 4 ? 'G' : 'S', date, seconds, line, position, field,
                                  anomaly(line, position + 1) - anomaly(line, position)) +
               "\r\n";
    }
    return out;
}

inline std::string samplesText(int d) {
    std::string out = benchdata::variationsHeader();
    out.reserve(static_cast<std::size_t>(kSamplesPerDay + 1) * 32);
    const std::string date = dateOfDay(d);
    for (int k = 0; k < kSamplesPerDay; ++k) {
        out += benchdata::sampleLine(date, kSampleStep * k, variation(d, kSampleStep * k));
    }
    return out;
}

struct Files {
    std::vector<std::string> days;
    std::vector<std::string> bases;
};

// Written on first use, outside every timed loop.
inline const Files& files() {
    static const Files written = [] {
        Files f;
        for (int d = 0; d < days(); ++d) {
            const std::string n = std::to_string(d + 1);
            f.days.push_back(benchdata::writeFile("survey-day-" + n + ".velkor", dayText(d)));
            f.bases.push_back(benchdata::writeFile("survey-base-" + n + ".a", samplesText(d)));
        }
        return f;
    }();
    return written;
}

inline Placement placement(double azimuth) {
    Placement::Parameters p;
    p.originEasting = 500000.0;
    p.originNorthing = 5500000.0;
    p.azimuth = azimuth;
    p.lineSpacing = 2.0;
    p.stationInterval = 1.0;
    p.firstLine = 1.0;
    p.side = Placement::Side::Right;
    std::string ignored;
    return *Placement::byParameters(p, ignored);
}

// Every day and base source, placed by parameters in EPSG:32633, IGRF-14 at 200 m.
inline SurveySettings settings() {
    SurveySettings s;
    s.days = files().days;
    for (const std::string& b : files().bases) {
        s.baseSources.push_back({b, 0});
    }
    s.epsg = 32633;
    s.placement = placement(30.0);
    s.datum = 48100.0;
    s.normal.kind = SurveySettings::NormalField::Kind::Igrf;
    s.normal.height = 200.0;
    return s;
}

}  // namespace velkor::surveybench
