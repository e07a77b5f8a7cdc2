// A fuzzed data set and variations file through the temporal correction, compared bit
// for bit with the algorithm written out literally: scans from the start and the end,
// a linear search for the nearest inner sample, one message per reading concerned.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "corrections/TemporalCorrection.h"
#include "corrections/ValueEntry.h"
#include "corrections/VariationSet.h"
#include "data/DataSet.h"
#include "fuzz/FuzzPrompter.h"
#include "fuzz/FuzzedText.h"
#include "text/NumberText.h"
#include "text/TextFormat.h"

namespace {

using namespace velkor;

// The text at columns from .. from + width - 1, shorter where the line ends.
std::string columns(const std::string& line, std::size_t from, std::size_t width) {
    return from < line.size() ? line.substr(from, width) : std::string();
}

std::string number(FuzzedDataProvider& in, int width) {
    if (in.ConsumeIntegralInRange(0, 7) == 0) {
        return FuzzedText::piece(in, static_cast<std::size_t>(width));
    }
    const double v = in.ConsumeFloatingPointInRange(-99999.0, 99999.0);
    return formatText("%*.1f", width, v);
}

// Columns 1-10 date, 12-19 time, 20-27 value, as Export Auto writes them.
std::string sampleLine(FuzzedDataProvider& in) {
    return " " + FuzzedText::date(in) + " " + FuzzedText::time(in) + " " + number(in, 7);
}

// A blank-separated reading: mode, date, time, line, position, field, error, A, D, grad.
std::string readingLine(FuzzedDataProvider& in) {
    const char mode = "SSSGA"[in.ConsumeIntegralInRange(0, 4)];
    return std::string(1, mode) + " " + FuzzedText::date(in) + " " + FuzzedText::time(in) +
           "     1     1 " + number(in, 7) + "  0.7 7 1.5          Base ";
}

struct Literal {
    std::vector<float> corrected;
    int bigGaps = 0;
    int count = 0;
    bool done = false;
    bool uncorrectedLeft = false;
};

int group(const std::string& text, std::size_t from) {
    return readInteger(columns(text, from, 2));
}

// The first and the last sample line of the date D, each found by a scan; 0 when none.
std::pair<int, int> dateSpan(const std::vector<std::string>& vlines, const std::string& D) {
    const int count = static_cast<int>(vlines.size());
    int first = 0;
    for (int k = 1; k < count && first == 0; ++k) {
        if (columns(vlines[static_cast<std::size_t>(k)], 1, 10) == D) {
            first = k;
        }
    }
    int last = 0;
    for (int k = count - 1; k >= 1 && last == 0; --k) {
        if (columns(vlines[static_cast<std::size_t>(k)], 1, 10) == D) {
            last = k;
        }
    }
    return {first, last};
}

Literal literal(const DataSet& data, const std::vector<std::string>& vlines, float basis) {
    Literal out;
    const int count = static_cast<int>(vlines.size());
    std::vector<int> slot(static_cast<std::size_t>(count > 0 ? count : 1));
    for (int k = 1; k < count; ++k) {
        const std::string& l = vlines[static_cast<std::size_t>(k)];
        slot[static_cast<std::size_t>(k)] = group(l, 12) * 3600 + group(l, 15) * 60 + group(l, 18);
    }
    for (int i = 0; i < data.lineCount(); ++i) {
        out.corrected.push_back(data.corrected(i));
    }
    for (int i = 1; i < data.lineCount(); ++i) {
        if (data.mode(i) == 'A' || data.corrected(i) != DataSet::kNoValue) {
            continue;
        }
        // Texts that hold no number correct nothing.
        const std::optional<double> F = readDecimalNumber(data.field(i, Column::Field));
        if (!F) {
            continue;
        }
        const auto [first, last] = dateSpan(vlines, std::string(data.field(i, Column::Date)));
        if (first == 0 || last <= first) {
            continue;
        }
        const std::string T(data.field(i, Column::Time));
        const int v = group(T, 0) * 3600 + group(T, 3) * 60 + group(T, 6);
        if (!(slot[first] < v && v < slot[last])) {
            continue;
        }
        int w = first;
        int distance = 99999;
        for (int k = first + 1; k <= last - 1; ++k) {
            if (std::abs(v - slot[k]) < distance) {
                w = k;
                distance = std::abs(v - slot[k]);
            }
        }
        if (distance > 3600) {
            ++out.bigGaps;
        }
        if (v < slot[w]) {
            w = w - 1;
        }
        if (slot[w + 1] == slot[w]) {
            continue;  // the open case of two samples at one time: left uncorrected
        }
        const std::optional<double> V1 =
            readDecimalNumber(columns(vlines[static_cast<std::size_t>(w)], 20, 8));
        const std::optional<double> V2 =
            readDecimalNumber(columns(vlines[static_cast<std::size_t>(w + 1)], 20, 8));
        if (!V1 || !V2) {
            continue;
        }
        const float Vi =
            static_cast<float>(*V1 + (*V2 - *V1) * (v - slot[w]) / (slot[w + 1] - slot[w]));
        out.corrected[static_cast<std::size_t>(i)] =
            static_cast<float>(static_cast<double>(static_cast<float>(*F)) -
                               static_cast<double>(Vi) + static_cast<double>(basis));
        out.done = true;
        ++out.count;
    }
    for (int i = 1; i < data.lineCount(); ++i) {
        if (data.mode(i) != 'A' &&
            out.corrected[static_cast<std::size_t>(i)] == DataSet::kNoValue) {
            out.uncorrectedLeft = true;
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider in(bytes, size);
    std::vector<std::string> readings{
        "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note "};
    const int readingCount = in.ConsumeIntegralInRange(1, 40);
    for (int i = 0; i < readingCount; ++i) {
        readings.push_back(readingLine(in));
    }
    std::string file = " Date       Time     Variations\r\n";
    std::vector<std::string> vlines{" Date       Time     Variations"};
    const int sampleCount = in.ConsumeIntegralInRange(0, 60);
    for (int k = 0; k < sampleCount; ++k) {
        vlines.push_back(sampleLine(in));
        file += vlines.back() + "\r\n";
    }
    DataSet data;
    data.replaceLines(readings);
    data.basis = in.ConsumeFloatingPointInRange(0.0f, ValueEntry::kBasisMax);
    for (int i = 1; i < data.lineCount(); ++i) {
        if (in.ConsumeIntegralInRange(0, 15) == 0) {
            data.setCorrected(i, 1.0f);  // corrected by an earlier run
        }
    }

    const std::string path = FuzzPrompter::writeScratch("a", file);
    FuzzPrompter user;
    VariationSet variations;
    FuzzPrompter::require(variations.load(path, user), "variations load");
    std::remove(path.c_str());
    FuzzPrompter::require(variations.lines() == vlines, "variation lines as written");

    const Literal expected = literal(data, vlines, data.basis);
    const int corrected = TemporalCorrection::run(data, variations, user);
    for (int i = 1; i < data.lineCount(); ++i) {
        const float got = data.corrected(i);
        const float want = expected.corrected[static_cast<std::size_t>(i)];
        FuzzPrompter::require(std::memcmp(&got, &want, sizeof got) == 0,
                              "corrected value bit for bit as the literal algorithm");
    }
    FuzzPrompter::require(data.temporalDone == expected.done, "done flag as the literal algorithm");
    FuzzPrompter::require(corrected == expected.count, "count of corrected readings");
    int gaps = 0;
    int left = 0;
    for (const std::string& m : user.messages) {
        gaps += m == TemporalCorrection::kBigGap ? 1 : 0;
        left += m == TemporalCorrection::kUncorrected ? 1 : 0;
    }
    // The program shows the big-gap message once per run, not once per reading.
    FuzzPrompter::require(gaps == (expected.bigGaps > 0 ? 1 : 0), "big-gap message");
    FuzzPrompter::require(left == (expected.uncorrectedLeft ? 1 : 0), "uncorrected message");
    return 0;
}
