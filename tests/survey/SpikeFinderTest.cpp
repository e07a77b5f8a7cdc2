#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "survey/SpikeFinder.h"
#include "survey/Survey.h"
#include "survey/SurveySettings.h"

namespace velkor {
namespace {

using Reading = SpikeFinder::Reading;

std::vector<Reading> flatLine(int count, double value) {
    std::vector<Reading> line;
    for (int k = 0; k < count; ++k) {
        line.push_back({7.0, static_cast<double>(k), value, k, false});
    }
    return line;
}

TEST(SpikeFinderTest, FindsNearlyEverySpikeOnNoisyLinesAndMarksFewCleanReadings) {
    std::mt19937 random(20260706);
    std::normal_distribution<double> noise(0.0, 0.3);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::vector<Reading> readings;
    std::set<int> spikes;
    for (int line = 1; line <= 60; ++line) {
        int lastSpike = -100;
        for (int pos = 0; pos < 300; ++pos) {
            // A smooth field: a broad anomaly over a slow regional slope.
            const double x = (pos - 150.0 - 2.0 * line) / 25.0;
            double value = 48000.0 + 0.05 * pos + 80.0 / (1.0 + x * x) + noise(random);
            const int index = static_cast<int>(readings.size());
            if (pos - lastSpike >= 8 && uniform(random) < 0.04) {
                const double size = 10.0 + 290.0 * uniform(random);
                value += uniform(random) < 0.5 ? size : -size;
                spikes.insert(index);
                lastSpike = pos;
            }
            readings.push_back(
                {static_cast<double>(line), static_cast<double>(pos), value, index, false});
        }
    }
    const std::vector<SpikeFinder::Candidate> found = SpikeFinder::find(readings, {});
    int hits = 0;
    int falseMarks = 0;
    for (const SpikeFinder::Candidate& c : found) {
        (spikes.count(c.index) ? hits : falseMarks) += 1;
    }
    const double clean = static_cast<double>(readings.size() - spikes.size());
    ASSERT_GT(spikes.size(), 300u);
    EXPECT_GE(hits, 0.95 * static_cast<double>(spikes.size())) << hits << " of " << spikes.size();
    EXPECT_LE(falseMarks, 0.01 * clean) << falseMarks << " of " << clean;
}

TEST(SpikeFinderTest, ASpikeIsItsOwnCandidateNotItsNeighbours) {
    std::vector<Reading> line = flatLine(41, 100.0);
    line[20].value = 150.0;
    std::vector<SpikeFinder::Candidate> found = SpikeFinder::find(line, {});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].index, 20);
    EXPECT_EQ(found[0].median, 100.0);
    EXPECT_EQ(found[0].threshold, SpikeFinder::kMinThreshold);
    EXPECT_EQ(found[0].reason, SpikeFinder::Reason::Median);

    // Under the threshold from the median, the fourth difference (6 x 15 at the spike,
    // 4 x 15 beside it) still points at the spike alone.
    line[20].value = 115.0;
    found = SpikeFinder::find(line, {5, 20.0});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].index, 20);
    EXPECT_STREQ(SpikeFinder::name(found[0].reason), "fourth-difference");
}

TEST(SpikeFinderTest, FlaggedReadingsAndReadingsWithoutValueAreNobodysNeighbours) {
    std::vector<Reading> line = flatLine(9, 100.0);
    line[3].value = 1000.0;
    line[3].flagged = true;
    line[5].value = std::nan("");
    // Given in no order: the line is taken by position.
    std::swap(line[0], line[8]);
    EXPECT_TRUE(SpikeFinder::find(line, {3, 5.0}).empty());
    line[3].flagged = false;
    const std::vector<SpikeFinder::Candidate> found = SpikeFinder::find(line, {5, 5.0});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].index, 3);
}

std::optional<Survey> openSample(const std::string& name) {
    SurveySettings s;
    s.days = {std::string(VELKOR_SAMPLES) + "/" + name};
    std::string message;
    std::optional<Survey> survey = Survey::open(s, message);
    EXPECT_TRUE(survey) << name << ": " << message;
    return survey;
}

TEST(SpikeFinderTest, FindsEverySpikeOfTheSampleWeek) {
    const std::optional<Survey> week = openSample("week.velkor");
    const std::optional<Survey> spikedWeek = openSample("week-spikes.velkor");
    ASSERT_TRUE(week && spikedWeek);
    const Survey& clean = *week;
    const Survey& spiked = *spikedWeek;
    ASSERT_EQ(clean.readingCount(), spiked.readingCount());
    ASSERT_GT(clean.readingCount(), 0);
    // The readings the two files disagree on are the spikes put in.
    std::set<int> spikes;
    for (int r = 0; r < spiked.readingCount(); ++r) {
        const Survey::Reading a = clean.readingWithoutLatLon(r);
        const Survey::Reading b = spiked.readingWithoutLatLon(r);
        if (a.field != b.field) {
            EXPECT_NE(b.mode, 'A') << "reading " << r;
            spikes.insert(r);
        }
    }
    ASSERT_GE(spikes.size(), 10u);
    // Found because of the spike: the same reading of the clean week is no candidate.
    const auto candidates = [](const Survey& survey) {
        std::set<int> out;
        for (const SpikeFinder::Candidate& c :
             SpikeFinder::find(SpikeFinder::readingsOf(survey), {})) {
            out.insert(c.index);
        }
        return out;
    };
    const std::set<int> found = candidates(spiked);
    const std::set<int> before = candidates(clean);
    for (const int r : spikes) {
        const double size =
            spiked.readingWithoutLatLon(r).field - clean.readingWithoutLatLon(r).field;
        EXPECT_TRUE(found.count(r)) << "reading " << r << ", " << size << " nT";
        EXPECT_FALSE(before.count(r)) << "reading " << r << ", " << size << " nT";
    }
}

}  // namespace
}  // namespace velkor
