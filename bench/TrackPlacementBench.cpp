// Placing 200,000 readings by a 1 Hz NMEA log of 200,000 fixes (a zig-zag of lines 100 m
// long), against reading the log alone: the placement must cost little beside the reading.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bench/BenchData.h"
#include "geo/CoordinateSystem.h"
#include "survey/TrackSource.h"
#include "text/CalendarDate.h"
#include "tracks/NmeaLog.h"

namespace {

using namespace velkor;

constexpr int kTrackFixes = 200000;

std::string trackBenchSentence(const std::string& body) {
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", NmeaLog::checksum(body));
    return "$" + body + tail;
}

std::string trackBenchAngle(double degrees, int width) {
    const int whole = static_cast<int>(degrees);
    char text[32];
    std::snprintf(text, sizeof text, "%0*d%08.5f", width, whole, (degrees - whole) * 60.0);
    return text;
}

// A fix a second from 06.07.2026 00:00:00 UTC, an RMC sentence each minute to date them.
std::string trackBenchLog() {
    std::string log;
    log.reserve(static_cast<std::size_t>(kTrackFixes) * 75);
    for (int t = 0; t < kTrackFixes; ++t) {
        const int line = t / 100;
        const double along = line % 2 == 0 ? t % 100 : 100 - t % 100;
        const std::string where = trackBenchAngle(48.1 + along / 111000.0, 2) + ",N," +
                                  trackBenchAngle(11.5 + line / 74000.0, 3) + ",E";
        char hms[16];
        std::snprintf(hms, sizeof hms, "%02d%02d%02d.00", t / 3600 % 24, t / 60 % 60, t % 60);
        if (t % 60 == 0) {
            char date[8];
            std::snprintf(date, sizeof date, "%02d0726", 6 + t / 86400);
            log += trackBenchSentence("GPRMC," + std::string(hms) + ",A," + where + ",1.9,0.0," +
                                      date + ",,,A");
        }
        log += trackBenchSentence("GPGGA," + std::string(hms) + "," + where +
                                  ",1,09,0.8,520.0,M,47.0,M,,");
    }
    return log;
}

const std::string& trackBenchFile() {
    static const std::string path = benchdata::writeFile("track.nmea", trackBenchLog());
    return path;
}

SurveySettings::Track trackBenchSettings() {
    SurveySettings::Track t;
    t.path = trackBenchFile();
    t.format = SurveySettings::Track::Format::Nmea;
    return t;
}

void BM_TrackPlacement_Baseline(benchmark::State& state) {
    const SurveySettings::Track settings = trackBenchSettings();
    for (auto _ : state) {
        std::string message;
        const std::optional<TrackSource> track = TrackSource::open(settings, message);
        benchmark::DoNotOptimize(track->fixes().data());
    }
}
BENCHMARK(BM_TrackPlacement_Baseline)->Unit(benchmark::kMillisecond);

// The log read, its fixes projected to UTM and every reading, half a second after each fix,
// placed with an antenna offset.
void BM_TrackPlacement_Ours(benchmark::State& state) {
    const SurveySettings::Track settings = trackBenchSettings();
    std::string message;
    const std::optional<CoordinateSystem> utm = CoordinateSystem::fromEpsg(32632, message);
    const double start = CalendarDate::read("06.07.2026")->dayNumber() * 86400.0;
    int placed = 0;
    for (auto _ : state) {
        const std::optional<TrackSource> track = TrackSource::open(settings, message);
        const PositionTrack projected = track->projected(*utm);
        placed = 0;
        for (int r = 0; r < kTrackFixes; ++r) {
            const PositionTrack::Position p = projected.at(start + r + 0.5, 5.0, {-0.8, 0.0});
            placed += p.where == PositionTrack::Where::Placed ? 1 : 0;
        }
        benchmark::DoNotOptimize(placed);
    }
    state.counters["placed"] = placed;
}
BENCHMARK(BM_TrackPlacement_Ours)->Unit(benchmark::kMillisecond);

}  // namespace
