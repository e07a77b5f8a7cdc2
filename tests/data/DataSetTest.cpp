#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "data/DataSet.h"

namespace velkor {
namespace {

std::vector<std::string> dataSetSurvey(int readings) {
    std::vector<std::string> lines{
        "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note "};
    for (int i = 1; i <= readings; ++i) {
        lines.push_back("S 03.07.2026 10:15:42     1 " + std::to_string(10000 + i) +
                        " 48123.4  0.7 7 1.5          Base ");
    }
    return lines;
}

}  // namespace

TEST(DataSet, StartsEmptyWithNoValues) {
    DataSet d;
    EXPECT_EQ(d.lineCount(), 0);
    EXPECT_EQ(d.readingCount(), 0);
    EXPECT_FALSE(d.dataLoaded);
    EXPECT_FALSE(d.modified);
    EXPECT_TRUE(d.nothingWritten);
    EXPECT_EQ(d.layout().kind(), ColumnLayout::Kind::None);
    EXPECT_EQ(d.corrected(0), DataSet::kNoValue);
    EXPECT_EQ(d.corrected(DataSet::kCapacity - 1), DataSet::kNoValue);
}

TEST(DataSet, ReplacingClearsCorrectionsButKeepsVariationsAndModified) {
    DataSet d;
    d.replaceLines(dataSetSurvey(3));
    d.variationsLoaded = true;
    d.modified = true;
    d.temporalDone = true;
    d.geomagDone = true;
    d.nothingWritten = false;
    d.basis = 48000.0f;
    d.geomag = 47000.0f;
    d.setCorrected(2, 48100.0f);

    d.replaceLines(dataSetSurvey(5));
    EXPECT_EQ(d.lineCount(), 6);
    EXPECT_TRUE(d.dataLoaded);
    EXPECT_TRUE(d.variationsLoaded);
    EXPECT_TRUE(d.modified);
    EXPECT_FALSE(d.temporalDone);
    EXPECT_FALSE(d.geomagDone);
    EXPECT_TRUE(d.nothingWritten);
    EXPECT_EQ(d.basis, 0.0f);
    EXPECT_EQ(d.geomag, 0.0f);
    EXPECT_EQ(d.corrected(2), DataSet::kNoValue);
    EXPECT_EQ(d.field(1, Column::Line), "    1");
}

TEST(DataSet, DeletingMovesCorrectedValuesWithTheirLines) {
    DataSet d;
    d.replaceLines(dataSetSurvey(5));
    for (int k = 1; k <= 5; ++k) {
        d.setCorrected(k, 48000.0f + static_cast<float>(k));
    }
    const std::string third(d.line(3));
    d.deleteReading(2);
    EXPECT_EQ(d.lineCount(), 5);
    EXPECT_EQ(d.line(2), third);
    EXPECT_EQ(d.corrected(1), 48001.0f);
    EXPECT_EQ(d.corrected(2), 48003.0f);
    EXPECT_EQ(d.corrected(4), 48005.0f);
    EXPECT_EQ(d.corrected(5), DataSet::kNoValue);
    EXPECT_EQ(d.corrected(DataSet::kCapacity - 1), DataSet::kNoValue);

    // The header line and lines beyond the end are never removed.
    d.deleteReading(0);
    d.deleteReading(5);
    d.deleteReading(-1);
    EXPECT_EQ(d.lineCount(), 5);
    for (int k = 4; k >= 1; --k) {
        d.deleteReading(k);
    }
    EXPECT_EQ(d.lineCount(), 1);
    EXPECT_EQ(d.readingCount(), 0);
    EXPECT_EQ(d.line(0), dataSetSurvey(0)[0]);
}

TEST(DataSet, DeletingManyAtOnceEqualsDeletingOneAfterAnother) {
    std::mt19937 rnd(4);
    for (int round = 0; round < 30; ++round) {
        DataSet d;
        d.replaceLines(
            dataSetSurvey(round == 0 ? DataSet::kCapacity - 1 : static_cast<int>(rnd() % 300)));
        std::vector<std::string> lines = d.lines();
        std::vector<float> slots(DataSet::kCapacity, DataSet::kNoValue);
        for (int k = 0; k < d.lineCount(); ++k) {
            if (rnd() % 2 == 0) {
                slots[static_cast<std::size_t>(k)] = static_cast<float>(rnd() % 100000) / 10.0f;
                d.setCorrected(k, slots[static_cast<std::size_t>(k)]);
            }
        }
        // Every other line, runs, single lines, the first and the last reading, and
        // indices the deletion must leave alone (the header, past the end, repeats).
        std::vector<int> rows;
        for (int k = -2; k < d.lineCount() + 3; ++k) {
            if (round == 0 ? k % 2 == 1 : rnd() % 3 == 0) {
                rows.push_back(k);
            }
        }
        if (!rows.empty() && round % 2 == 1) {
            rows.push_back(rows.back());
        }
        // One by one, from the last: the lines and slots as erased from plain vectors.
        for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
            const int k = *it;
            if (k >= 1 && k < static_cast<int>(lines.size()) &&
                (it == rows.rbegin() || *it != *std::prev(it))) {
                lines.erase(lines.begin() + k);
                slots.erase(slots.begin() + k);
                slots.push_back(DataSet::kNoValue);
            }
        }
        d.deleteReadings(rows);
        ASSERT_EQ(d.lines(), lines) << round;
        for (int k = 0; k < DataSet::kCapacity; ++k) {
            ASSERT_EQ(d.corrected(k), slots[static_cast<std::size_t>(k)]) << round << " slot " << k;
        }
    }
}

TEST(DataSet, NeverHoldsMoreThanItsCapacity) {
    DataSet d;
    d.replaceLines(std::vector<std::string>(DataSet::kCapacity + 5, "S"));
    EXPECT_EQ(d.lineCount(), DataSet::kCapacity);
}

}  // namespace velkor
