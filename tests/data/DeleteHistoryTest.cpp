#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/DataSet.h"
#include "data/DeleteHistory.h"

namespace velkor {
namespace {

std::vector<std::string> historySurvey(int readings) {
    std::vector<std::string> lines{"M header "};
    for (int i = 1; i <= readings; ++i) {
        lines.push_back("S 03.07.2026 10:15:42     1 " + std::to_string(10000 + i) +
                        " 48123.4  0.7 7 1.5          Base ");
    }
    return lines;
}

// Deletes the given lines the way the list does: noted first, then removed.
void deleteLines(DataSet& data, DeleteHistory& history, const std::vector<int>& lines) {
    history.record(data, lines);
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        data.deleteReading(*it);
    }
    data.modified = true;
}

}  // namespace

TEST(DeleteHistory, UndoesDeletesLastFirstWithSlotsAndFlag) {
    DataSet data;
    const std::vector<std::string> original = historySurvey(6);
    data.replaceLines(original);
    for (int i = 1; i <= 6; ++i) {
        data.setCorrected(i, 48000.0f + static_cast<float>(i));
    }
    DeleteHistory history;
    deleteLines(data, history, {1, 2, 6});  // the first ones and the last one
    const std::vector<std::string> afterFirst = data.lines();
    deleteLines(data, history, {2});
    EXPECT_EQ(data.lineCount(), 3);
    EXPECT_EQ(history.record(data, {0, 3}), 0);  // the header and lines past the end: no step

    EXPECT_EQ(history.undo(data), 1);
    EXPECT_EQ(data.lines(), afterFirst);
    EXPECT_TRUE(data.modified);  // the Delete before it still stands
    EXPECT_EQ(history.undo(data), 3);
    EXPECT_EQ(data.lines(), original);
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(data.corrected(i), 48000.0f + static_cast<float>(i)) << i;
    }
    EXPECT_EQ(data.corrected(7), DataSet::kNoValue);
    EXPECT_FALSE(data.modified);
    EXPECT_TRUE(history.empty());
    EXPECT_EQ(history.undo(data), 0);
    EXPECT_EQ(data.lines(), original);
}

TEST(DeleteHistory, AfterASaveAnUndoLeavesTheDataModified) {
    DataSet data;
    data.replaceLines(historySurvey(3));
    DeleteHistory history;
    deleteLines(data, history, {2});
    data.modified = false;  // saved
    history.saved();
    EXPECT_EQ(history.undo(data), 1);
    EXPECT_TRUE(data.modified);

    deleteLines(data, history, {1});
    history.clear();  // a load
    EXPECT_EQ(history.undo(data), 0);
    EXPECT_EQ(data.lineCount(), 3);
}

}  // namespace velkor
