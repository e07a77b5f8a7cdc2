// The data every benchmark works on, made the same way on every run: a surveyor's full
// day of readings and base-station records of several shapes, written to a scratch folder.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "core/ConsolePrompter.h"

namespace velkor::benchdata {

constexpr int kLines = 20000;  // header included: 19999 readings

// Messages go nowhere: the program's notices are not what is measured.
struct Quiet {
    std::ostream sink{nullptr};
    ConsolePrompter prompter{sink};
};

inline std::string folder() {
    static const std::string dir = [] {
        const auto d =
            std::filesystem::temp_directory_path() / ("velkor-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d.string();
    }();
    return dir;
}

inline std::string writeFile(const std::string& name, const std::string& bytes) {
    const std::string p = folder() + "/" + name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
}

inline std::string clock(int seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600 % 100, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

// One reading line of the import's layout.
inline std::string reading(char mode, const std::string& date, int seconds, int line, int pos,
                           double field, double gradient) {
    char text[128];
    if (mode == 'G') {
        std::snprintf(text, sizeof text, "G %s %s %5d %5d %0.1f  0.7 7 1.5 %8.1f      ",
                      date.c_str(), clock(seconds).c_str(), line, pos, field, gradient);
    } else {
        std::snprintf(text, sizeof text, "%c %s %s %5d %5d %0.1f  0.7 7 1.5               ", mode,
                      date.c_str(), clock(seconds).c_str(), line, pos, field);
    }
    return text;
}

inline const char* date(int d) {
    static const char* const dates[] = {"03.07.2026", "04.07.2026", "05.07.2026", "06.07.2026",
                                        "07.07.2026"};
    return dates[d % 5];
}

// A day of 19999 readings, one every 4 s from 00:00:12, lines of 200 positions, every
// fifth a gradient reading; dates follows the sample sets below (datesOf(i)).
template <typename DateOf>
std::string surveyText(DateOf dateOf, int (*secondsOf)(int)) {
    std::string out = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    for (int i = 1; i < kLines; ++i) {
        const double field = 48000.0 + (i % 977) * 0.37 + (i % 13) * 0.05;
        out += reading(i % 5 == 0 ? 'G' : 'S', dateOf(i), secondsOf(i), 1 + i / 200, i % 200, field,
                       (i % 300) * 0.1 - 15.0) +
               "\r\n";
    }
    return out;
}

inline int oneDaySeconds(int i) {
    return 12 + 4 * (i - 1);
}
inline const char* oneDayDate(int) {
    return date(0);
}

// The full survey of one date: 1.38 MB.
inline const std::string& surveyPath() {
    static const std::string path = writeFile("full.velkor", surveyText(oneDayDate, oneDaySeconds));
    return path;
}

inline std::string sampleLine(const std::string& d, int seconds, double value) {
    char text[64];
    std::snprintf(text, sizeof text, " %s %s %7.1f\r\n", d.c_str(), clock(seconds).c_str(), value);
    return text;
}

inline std::string variationsHeader() {
    return " Date       Time     Variations\r\n";
}

// 19999 samples of one date, one every 4 s from 00:00:10: every reading lies inside.
inline const std::string& oneDateSamples() {
    static const std::string path = [] {
        std::string out = variationsHeader();
        for (int k = 1; k < kLines; ++k) {
            out += sampleLine(date(0), 10 + 4 * (k - 1), 48100.0 + (k % 211) * 0.1);
        }
        return writeFile("one-date.a", out);
    }();
    return path;
}

// Five dates of 4000 samples each, one every 4 s; the readings of each date lie inside.
inline int fiveDatesSeconds(int i) {
    return 12 + 4 * ((i - 1) % 3999);
}
inline const char* fiveDatesDate(int i) {
    return date((i - 1) / 3999);
}
inline const std::string& fiveDatesSamples() {
    static const std::string path = [] {
        std::string out = variationsHeader();
        for (int k = 0; k < 5 * 4000 - 1; ++k) {
            out += sampleLine(date(k / 4000), 10 + 4 * (k % 4000), 48100.0 + (k % 211) * 0.1);
        }
        return writeFile("five-dates.a", out);
    }();
    return path;
}

// Dates interleaved in blocks of 50 samples, every 97th sample a duplicate time and
// every 89th pair swapped out of order.
inline const std::string& interleavedSamples() {
    static const std::string path = [] {
        std::string out = variationsHeader();
        int clockOf[5] = {10, 10, 10, 10, 10};
        std::string pending;
        for (int k = 0; k < kLines - 1; ++k) {
            const int d = (k / 50) % 5;
            const std::string line = sampleLine(date(d), clockOf[d], 48100.0 + (k % 211) * 0.1);
            if (k % 97 != 0) {
                clockOf[d] += 4;
            }
            if (k % 89 == 0) {
                pending = line;
                continue;
            }
            out += line + pending;
            pending.clear();
        }
        out += pending;
        return writeFile("interleaved.a", out);
    }();
    return path;
}
inline const char* interleavedDate(int i) {
    return date(i % 5);
}
inline int interleavedSeconds(int i) {
    return 12 + 4 * ((i / 5) % 3900);
}

inline const std::string& fiveDatesSurvey() {
    static const std::string path =
        writeFile("five-dates.velkor", surveyText(fiveDatesDate, fiveDatesSeconds));
    return path;
}
inline const std::string& interleavedSurvey() {
    static const std::string path =
        writeFile("interleaved.velkor", surveyText(interleavedDate, interleavedSeconds));
    return path;
}

inline void removeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder(), ignored);
}

// Runs the benchmarks the command line names and removes the scratch folder.
inline int runBenchmarks(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    removeFolder();
    return 0;
}

}  // namespace velkor::benchdata
