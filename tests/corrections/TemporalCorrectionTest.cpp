#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench/LiteralTemporalCorrection.h"
#include "corrections/TemporalCorrection.h"
#include "corrections/VariationSet.h"
#include "data/DataSet.h"
#include "export/ExportFile.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

const char* const kGap = TemporalCorrection::kBigGap;
const char* const kLeft = TemporalCorrection::kUncorrected;

std::string temporalReading(char mode, const std::string& date, const std::string& time,
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

void expectLiteralResults(const DataSet& data, const VariationSet& variations, int round);

TEST_F(TemporalTest, WorkedExample) {
    setSamples(kThreeSamples);
    setData({temporalReading('S', "03.07.2026", "10:05:00", "48100.0")});
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
    setData({temporalReading('S', "03.07.2026", "10:05:00", "48000.0")});
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
    setData({temporalReading('S', "03.07.2026", "10:00:00", "48100.0"),  // first sample time
             temporalReading('S', "03.07.2026", "10:10:00", "48100.0"),  // last sample time
             temporalReading('S', "03.07.2026", "10:04:00", "48100.0"),  // inner sample time
             temporalReading('A', "03.07.2026", "10:05:00", "48100.0"),  // base station
             temporalReading('G', "03.07.2026", "10:02:00", "48100.0"),
             temporalReading('S', "04.07.2026", "10:05:00", "48100.0"),    // no sample of that date
             temporalReading('S', "3.07.2026 ", "10:05:00", "48100.0")});  // written differently
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
    setData({temporalReading('S', "03.07.2026", "09:00:00", "48100.0"),
             temporalReading('S', "03.07.2026", "10:00:00", "48100.0")});
    EXPECT_EQ(run(), 2);
    EXPECT_EQ(data.corrected(1), 90.0f);
    EXPECT_EQ(data.corrected(2), 80.0f);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kGap}));
}

TEST_F(TemporalTest, OneSampleAndTheOnlyAutomaticReadings) {
    setSamples({sample("03.07.2026", "08:00:00", "48000.0")});
    setData({temporalReading('S', "03.07.2026", "08:00:00", "48100.0"),
             temporalReading('S', "03.07.2026", "09:00:00", "48100.0")});
    EXPECT_EQ(run(), 0);
    EXPECT_FALSE(data.temporalDone);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kLeft}));

    prompter.shown.clear();
    setData({temporalReading('A', "03.07.2026", "09:00:00", "48100.0")});
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(prompter.shown.empty());  // 'A' readings never count as left out
}

TEST_F(TemporalTest, ASecondRunNeverTouchesCorrectedReadings) {
    setSamples(kThreeSamples);
    setData({temporalReading('S', "03.07.2026", "10:05:00", "48100.0")});
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
    setData({temporalReading('S', "03.07.2026", "10:04:00", "48100.0"),
             temporalReading('S', "03.07.2026", "10:06:00", "48100.0")});
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(data.corrected(1), 96.0f);
    EXPECT_EQ(data.corrected(2), DataSet::kNoValue);
}

TEST_F(TemporalTest, TextsThatHoldNoNumberCorrectNothing) {
    // The sample at 10:05 holds no number: it encloses the readings at 10:02 and 10:07.
    setSamples(
        {sample("03.07.2026", "10:00:00", "48000.0"), sample("03.07.2026", "10:05:00", "       "),
         sample("03.07.2026", "10:10:00", "48010.0"), sample("03.07.2026", "10:20:00", "48020.0")});
    setData({temporalReading('S', "03.07.2026", "10:02:00", "48109.9"),
             temporalReading('S', "03.07.2026", "10:07:00", "48109.9"),
             temporalReading('S', "03.07.2026", "10:15:00", "48109.9"),
             temporalReading('S', "03.07.2026", "10:16:00", "    nan"),
             temporalReading('S', "03.07.2026", "10:17:00", "       "),
             temporalReading('G', "03.07.2026", "10:18:00", "   1e39"),
             temporalReading('S', "03.07.2026", "10:12:00", "    0.0")});
    data.basis = 48000.0f;
    expectLiteralResults(data, variations, 0);
    EXPECT_EQ(run(), 2);
    EXPECT_EQ(data.corrected(3), 48094.9f);
    EXPECT_EQ(data.corrected(7), 0.0f - 48012.0f + 48000.0f);  // a written 0 is a number
    for (int i : {1, 2, 4, 5, 6}) {
        EXPECT_EQ(data.corrected(i), DataSet::kNoValue) << i;
    }
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, kLeft);
}

// Runs both on copies of the same data and compares values, flags and messages.
void expectLiteralResults(const DataSet& data, const VariationSet& variations, int round) {
    DataSet reference = data;
    RecordingPrompter literalSaid;
    literal::temporalCorrection(reference, variations, literalSaid);
    DataSet ours = data;
    RecordingPrompter oursSaid;
    TemporalCorrection::run(ours, variations, oursSaid);
    for (int i = 1; i < ours.lineCount(); ++i) {
        ASSERT_EQ(ours.corrected(i), reference.corrected(i)) << "round " << round << " line " << i;
    }
    EXPECT_EQ(ours.temporalDone, reference.temporalDone) << round;
    ASSERT_EQ(oursSaid.shown.size(), literalSaid.shown.size()) << round;
    for (std::size_t m = 0; m < oursSaid.shown.size(); ++m) {
        EXPECT_EQ(oursSaid.shown[m].text, literalSaid.shown[m].text) << round;
    }
}

std::string temporalClock(int s) {
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", s / 3600 % 24, s / 60 % 60, s % 60);
    return time;
}

TEST_F(TemporalTest, SameResultsAsTheLiteralAlgorithm) {
    std::mt19937 rnd(7);
    const char* dates[] = {"03.07.2026", "04.07.2026", "05.07.2026"};
    for (int round = 0; round < 40; ++round) {
        // Even rounds: times in order with repeats and readings on and halfway between
        // samples (ties); odd rounds: jumps back and dates mixed in.
        const bool ordered = round % 2 == 0;
        std::vector<std::string> samples;
        const int n = 2 + static_cast<int>(rnd() % 60);
        int s = 30000;
        for (int k = 0; k < n; ++k) {
            // Rounds 3, 7, ...: out of order on a 10 s grid, so times repeat and readings
            // on the 5 s grid lie as near to a sample below as to one above.
            s = ordered          ? s + 10 * static_cast<int>(rnd() % 3)
                : round % 4 == 3 ? 30000 + 10 * static_cast<int>(rnd() % (2 * n))
                                 : static_cast<int>(k * 300 + rnd() % 400) % 86400;
            if (ordered && rnd() % 15 == 0) {
                s += 4000;  // a gap of more than an hour
            }
            char value[16];
            std::snprintf(value, sizeof value, "%7.1f", 48000.0 + (rnd() % 2000) / 10.0);
            const char* date =
                dates[rnd() % 100 < 80 || (ordered && round % 4 == 0) ? 0 : rnd() % 3];
            // Now and then a value that holds no number.
            samples.push_back(sample(date, temporalClock(s), rnd() % 25 == 0 ? "       " : value));
        }
        setSamples(samples);
        std::vector<std::string> readings;
        for (int i = 0; i < 200; ++i) {
            const int t = ordered          ? 29990 + 5 * static_cast<int>(rnd() % (2 * n + 900))
                          : round % 4 == 3 ? 29990 + 5 * static_cast<int>(rnd() % (4 * n + 4))
                                           : static_cast<int>(rnd() % (n * 300 + 600));
            char field[16];
            std::snprintf(field, sizeof field, "%7.1f", 48000.0 + (rnd() % 9000) / 10.0);
            readings.push_back(temporalReading(rnd() % 10 == 0 ? 'A' : 'S', dates[rnd() % 3],
                                               temporalClock(t),
                                               rnd() % 25 == 0 ? "    nan" : field));
        }
        setData(readings);
        data.basis = 1000.0f;
        expectLiteralResults(data, variations, round);
    }
}

TEST_F(TemporalTest, SameResultsAsTheLiteralAlgorithmOnOddTexts) {
    // Short lines, blanks and signs in the time groups, far-away times, a date that
    // returns after another one: the direct digit reading must fall back exactly.
    setSamples(
        {sample("03.07.2026", "10:00:00", "48000.0"), sample("03.07.2026", " 9:59:-1", "48001.0"),
         sample("04.07.2026", "10:00:00", "48002.0"), sample("03.07.2026", "10:30:00", "48003.0"),
         sample("03.07.2026", "99:00:00", "  48004"), sample("03.07.2026", "10:40:00", "x"),
         sample("03.07.2026", "10:50:00", "48005.5"), " 03.07.2026 10:5"});
    setData({temporalReading('S', "03.07.2026", "10:10:00", "48100.0"),
             temporalReading('S', "03.07.2026", " 9:59:30", "48100.0"),
             temporalReading('S', "03.07.2026", "10:35:+1", "48100.0"),
             temporalReading('S', "03.07.2026", "10:45:00", "   -1.5"), "S 03.07.2026 10:4",
             temporalReading('G', "03.07.2026", "10:20:00", "1e3    "), "S 03.07.2026",
             temporalReading('S', "04.07.2026", "10:00:00", "48100.0")});
    data.basis = 48000.0f;
    expectLiteralResults(data, variations, 0);
}

}  // namespace velkor
