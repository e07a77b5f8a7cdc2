#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "corrections/TemporalCorrection.h"
#include "corrections/VariationSet.h"
#include "data/DataSet.h"
#include "data/NumberReading.h"
#include "export/ExportFile.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

const char* const kGap = TemporalCorrection::kBigGap;
const char* const kLeft = TemporalCorrection::kUncorrected;

std::string reading(char mode, const std::string& date, const std::string& time,
                    const std::string& field) {
    char line[96];
    std::snprintf(line, sizeof line, "%c %s %s     1     1 %s  0.7 7 1.5          Base ", mode,
                  date.c_str(), time.c_str(), field.c_str());
    return line;
}

std::string sample(const std::string& date, const std::string& time, const std::string& value) {
    return " " + date + " " + time + " " + value;
}

class TemporalTest : public ::testing::Test {
  protected:
    void setData(const std::vector<std::string>& readings) {
        std::vector<std::string> lines{"M header "};
        lines.insert(lines.end(), readings.begin(), readings.end());
        data.replaceLines(lines);
    }
    void setSamples(const std::vector<std::string>& samples) {
        std::string text = " Date       Time     Variations\r\n";
        for (const std::string& s : samples) {
            text += s + "\r\n";
        }
        ASSERT_TRUE(variations.load(dir.write("v.a", text), prompter));
    }
    int run() { return TemporalCorrection::run(data, variations, prompter); }

    TempDir dir;
    RecordingPrompter prompter;
    DataSet data;
    VariationSet variations;
};

const std::vector<std::string> kThreeSamples{sample("03.07.2026", "10:00:00", "48000.0"),
                                             sample("03.07.2026", "10:04:00", "48004.0"),
                                             sample("03.07.2026", "10:10:00", "48010.0")};

}  // namespace

TEST_F(TemporalTest, WorkedExample) {
    setSamples(kThreeSamples);
    setData({reading('S', "03.07.2026", "10:05:00", "48100.0")});
    data.basis = 48000.0f;
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(data.corrected(1), 48095.0f);
    EXPECT_TRUE(data.temporalDone);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(TemporalTest, TheCorrectedValueIsRoundedOnce) {
    setSamples({sample("03.07.2026", "10:00:00", "  0.000"),
                sample("03.07.2026", "10:05:00", "  0.052"),
                sample("03.07.2026", "10:10:00", "  0.100")});
    setData({reading('S', "03.07.2026", "10:05:00", "48000.0")});
    data.basis = 48000.0f;
    EXPECT_EQ(run(), 1);
    // 48000 - 0.052f + 48000 lies nearer 95999.945 than 95999.953; rounding F - Vi
    // first would land on the tie between them and go up, printing 96000.0.
    EXPECT_EQ(data.corrected(1), 95999.9453125f);
    int rows = 0;
    EXPECT_EQ(ExportFile::lines(ExportFile::Kind::Corrected, data, rows).back(),
              "    1    1  95999.9");
}

TEST_F(TemporalTest, SpanEndsInnerSamplesAndAutomaticReadings) {
    setSamples(kThreeSamples);
    setData({reading('S', "03.07.2026", "10:00:00", "48100.0"),  // first sample time
             reading('S', "03.07.2026", "10:10:00", "48100.0"),  // last sample time
             reading('S', "03.07.2026", "10:04:00", "48100.0"),  // inner sample time
             reading('A', "03.07.2026", "10:05:00", "48100.0"),  // base station
             reading('G', "03.07.2026", "10:02:00", "48100.0"),
             reading('S', "04.07.2026", "10:05:00", "48100.0"),    // no sample of that date
             reading('S', "3.07.2026 ", "10:05:00", "48100.0")});  // written differently
    EXPECT_EQ(run(), 2);
    EXPECT_EQ(data.corrected(1), DataSet::kNoValue);
    EXPECT_EQ(data.corrected(2), DataSet::kNoValue);
    EXPECT_EQ(data.corrected(3), 96.0f);  // exactly that sample's value
    EXPECT_EQ(data.corrected(4), DataSet::kNoValue);
    EXPECT_EQ(data.corrected(5), 98.0f);
    EXPECT_EQ(data.corrected(6), DataSet::kNoValue);
    EXPECT_EQ(data.corrected(7), DataSet::kNoValue);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kLeft}));
}

TEST_F(TemporalTest, TwoSamplesGiveTheGapMessageOnceAndStillCorrect) {
    setSamples(
        {sample("03.07.2026", "08:00:00", "48000.0"), sample("03.07.2026", "12:00:00", "48040.0")});
    setData({reading('S', "03.07.2026", "09:00:00", "48100.0"),
             reading('S', "03.07.2026", "10:00:00", "48100.0")});
    EXPECT_EQ(run(), 2);
    EXPECT_EQ(data.corrected(1), 90.0f);
    EXPECT_EQ(data.corrected(2), 80.0f);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kGap}));
}

TEST_F(TemporalTest, OneSampleAndTheOnlyAutomaticReadings) {
    setSamples({sample("03.07.2026", "08:00:00", "48000.0")});
    setData({reading('S', "03.07.2026", "08:00:00", "48100.0"),
             reading('S', "03.07.2026", "09:00:00", "48100.0")});
    EXPECT_EQ(run(), 0);
    EXPECT_FALSE(data.temporalDone);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kLeft}));

    prompter.shown.clear();
    setData({reading('A', "03.07.2026", "09:00:00", "48100.0")});
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(prompter.shown.empty());  // 'A' readings never count as left out
}

TEST_F(TemporalTest, ASecondRunNeverTouchesCorrectedReadings) {
    setSamples(kThreeSamples);
    setData({reading('S', "03.07.2026", "10:05:00", "48100.0")});
    data.basis = 0.0f;
    run();
    EXPECT_EQ(data.corrected(1), 48100.0f - 48005.0f);
    data.basis = 48000.0f;
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(data.corrected(1), 95.0f);
}

TEST_F(TemporalTest, EqualEnclosingTimesLeaveTheReadingUncorrected) {
    setSamples(
        {sample("03.07.2026", "10:00:00", "48000.0"), sample("03.07.2026", "10:05:00", "48005.0"),
         sample("03.07.2026", "10:05:00", "48006.0"), sample("03.07.2026", "10:10:00", "48010.0")});
    // Nearest inner sample: line 2 (earliest of the two at 10:05); 10:04 lies before it,
    // so lines 1 and 2 enclose it. 10:06 lies after line 2: lines 2 and 3, at one time.
    setData({reading('S', "03.07.2026", "10:04:00", "48100.0"),
             reading('S', "03.07.2026", "10:06:00", "48100.0")});
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(data.corrected(1), 96.0f);
    EXPECT_EQ(data.corrected(2), DataSet::kNoValue);
}

// The correction done literally, line by line, as the reference for the fast one.
void literalRun(DataSet& d, const VariationSet& v, int& gaps) {
    for (int i = 1; i < d.lineCount(); ++i) {
        if (d.mode(i) == 'A' || d.corrected(i) != DataSet::kNoValue) {
            continue;
        }
        const std::string_view date = d.field(i, Column::Date);
        int first = 0;
        int last = 0;
        for (int k = 1; k < v.count() && first == 0; ++k) {
            first = v.date(k) == date ? k : 0;
        }
        for (int k = v.count() - 1; k >= 1 && last == 0; --k) {
            last = v.date(k) == date ? k : 0;
        }
        if (first == 0 || last <= first) {
            continue;
        }
        const std::string_view t = d.field(i, Column::Time);
        const int sec = readInteger(t.substr(0, 2)) * 3600 + readInteger(t.substr(3, 2)) * 60 +
                        readInteger(t.substr(6, 2));
        if (!(v.seconds(first) < sec && sec < v.seconds(last))) {
            continue;
        }
        int w = first;
        int distance = 99999;
        for (int k = first + 1; k <= last - 1; ++k) {
            if (std::abs(sec - v.seconds(k)) < distance) {
                w = k;
                distance = std::abs(sec - v.seconds(k));
            }
        }
        gaps += distance > 3600 ? 1 : 0;
        if (sec < v.seconds(w)) {
            --w;
        }
        const int t1 = v.seconds(w);
        const int t2 = v.seconds(w + 1);
        if (t1 == t2) {
            continue;
        }
        const float vi =
            static_cast<float>(v.value(w) + (v.value(w + 1) - v.value(w)) * (sec - t1) / (t2 - t1));
        const float f = static_cast<float>(readDecimal(d.field(i, Column::Field)));
        d.setCorrected(i, static_cast<float>(static_cast<double>(f) - static_cast<double>(vi) +
                                             static_cast<double>(d.basis)));
    }
}

TEST_F(TemporalTest, SameResultsAsTheLiteralAlgorithm) {
    std::mt19937 rnd(7);
    const char* dates[] = {"03.07.2026", "04.07.2026", "05.07.2026"};
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> samples;
        const int n = 2 + static_cast<int>(rnd() % 60);
        for (int k = 0; k < n; ++k) {
            char time[16];
            // Mostly increasing, with repeats, jumps back and dates mixed in.
            const int s = static_cast<int>(k * 300 + rnd() % 400) % 86400;
            std::snprintf(time, sizeof time, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
            char value[16];
            std::snprintf(value, sizeof value, "%7.1f", 48000.0 + (rnd() % 2000) / 10.0);
            samples.push_back(sample(dates[rnd() % 100 < 80 ? 0 : rnd() % 3], time, value));
        }
        setSamples(samples);
        std::vector<std::string> readings;
        for (int i = 0; i < 200; ++i) {
            const int s = static_cast<int>(rnd() % (n * 300 + 600));
            char time[16];
            std::snprintf(time, sizeof time, "%02d:%02d:%02d", s / 3600 % 24, s / 60 % 60, s % 60);
            char field[16];
            std::snprintf(field, sizeof field, "%7.1f", 48000.0 + (rnd() % 9000) / 10.0);
            readings.push_back(reading(rnd() % 10 == 0 ? 'A' : 'S', dates[rnd() % 3], time, field));
        }
        setData(readings);
        data.basis = 1000.0f;
        DataSet reference = data;
        int gaps = 0;
        literalRun(reference, variations, gaps);
        prompter.shown.clear();
        run();
        for (int i = 1; i < data.lineCount(); ++i) {
            ASSERT_EQ(data.corrected(i), reference.corrected(i))
                << "round " << round << " line " << i;
        }
        const bool gapShown = !prompter.shown.empty() && prompter.shown.front().text == kGap;
        EXPECT_EQ(gapShown, gaps > 0) << round;
    }
}

}  // namespace velkor
