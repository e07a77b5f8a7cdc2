#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "corrections/CorrectedValue.h"
#include "data/DataSet.h"
#include "data/DeleteHistory.h"
#include "export/ExportFile.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

const std::string kS1 = "S 03.07.2026 10:15:42    12     7 48123.4  0.7 7 1.5          Base ";
const std::string kBaseLine = "A 03.07.2026 10:20:00     0     0 48110.2  0.4 8 1.6          Base ";
const std::string kG = "G 03.07.2026 10:16:02    12     8 48130.9  1.2 6 1.4    124.0 Fence";
const std::string kS2 = "S 03.07.2026 10:17:00    12     9 48140.0  0.7 7 1.5               ";

// The value column of the corrected export's rows, in order.
std::vector<std::string> exportedValues(const DataSet& data) {
    int rows = 0;
    const std::vector<std::string> lines =
        ExportFile::lines(ExportFile::Kind::Corrected, data, rows);
    std::vector<std::string> values;
    for (std::size_t k = lines.size() - static_cast<std::size_t>(rows); k < lines.size(); ++k) {
        values.push_back(lines[k].substr(10));
    }
    return values;
}

// The same values as the views get them, in the export's format.
std::vector<std::string> valuesOfEveryLine(const DataSet& data) {
    std::vector<std::string> values;
    for (int i = 1; i < data.lineCount(); ++i) {
        if (const std::optional<float> v = CorrectedValue::of(data, i)) {
            values.push_back(formatText("%9.1f", static_cast<double>(*v)));
        }
    }
    return values;
}

class CorrectedValueTest : public ::testing::Test {
  protected:
    void SetUp() override { data.replaceLines({"M header ", kS1, kBaseLine, kG, kS2}); }
    DataSet data;
};

}  // namespace

TEST_F(CorrectedValueTest, FollowsTheExportInEveryFlagCombination) {
    EXPECT_FALSE(CorrectedValue::available(data));

    data.geomagDone = true;
    data.geomag = 48000.0f;  // measured field minus the value, 'A' left out
    EXPECT_TRUE(CorrectedValue::available(data));
    EXPECT_EQ(*CorrectedValue::of(data, 1), 48123.4f - 48000.0f);
    EXPECT_FALSE(CorrectedValue::of(data, 2).has_value());
    EXPECT_EQ(valuesOfEveryLine(data), exportedValues(data));
    EXPECT_EQ(exportedValues(data).size(), 3u);

    data.temporalDone = true;  // only the slots that hold a value, minus the value
    data.setCorrected(3, 48012.5f);
    data.setCorrected(4, 48001.0f);
    EXPECT_FALSE(CorrectedValue::of(data, 1).has_value());
    EXPECT_EQ(*CorrectedValue::of(data, 3), 12.5f);
    EXPECT_EQ(valuesOfEveryLine(data), exportedValues(data));
    EXPECT_EQ(exportedValues(data), (std::vector<std::string>{"     12.5", "      1.0"}));

    data.geomagDone = false;
    data.geomag = 0.0f;
    EXPECT_EQ(valuesOfEveryLine(data), exportedValues(data));
    EXPECT_EQ(*CorrectedValue::of(data, 4), 48001.0f);
    EXPECT_FALSE(CorrectedValue::of(data, 0).has_value());
    EXPECT_FALSE(CorrectedValue::of(data, 5).has_value());
}

TEST_F(CorrectedValueTest, StaysWithItsReadingThroughDeleteAndUndo) {
    data.temporalDone = true;
    data.setCorrected(1, 48100.0f);
    data.setCorrected(4, 48140.0f);
    data.modified = false;
    DeleteHistory history;
    EXPECT_EQ(history.record(data, {1, 3}), 2);
    data.deleteReading(3);
    data.deleteReading(1);
    data.modified = true;
    EXPECT_EQ(data.lineCount(), 3);
    EXPECT_EQ(*CorrectedValue::of(data, 2), 48140.0f);  // kS2, now line 2

    EXPECT_EQ(history.undo(data), 2);
    EXPECT_EQ(data.lines(), (std::vector<std::string>{"M header ", kS1, kBaseLine, kG, kS2}));
    EXPECT_EQ(*CorrectedValue::of(data, 1), 48100.0f);
    EXPECT_FALSE(CorrectedValue::of(data, 3).has_value());
    EXPECT_EQ(*CorrectedValue::of(data, 4), 48140.0f);
    EXPECT_EQ(data.corrected(5), DataSet::kNoValue);
    EXPECT_FALSE(data.modified);
    EXPECT_EQ(valuesOfEveryLine(data), exportedValues(data));
}

}  // namespace velkor
