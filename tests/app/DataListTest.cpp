#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "core/CommandTable.h"
#include "data/DataSet.h"
#include "widgets/day/CVelkor1trView.h"

namespace velkor {
namespace {

class DataListTest : public AppFixture {
  protected:
    CVelkor1trView& list() { return *frame().listView(); }
    QString cell(int row, int column) {
        return list().model()->data(list().model()->index(row, column), Qt::DisplayRole).toString();
    }
    void select(std::initializer_list<int> rows) {
        list().clearSelection();
        for (int r : rows) {
            list().selectionModel()->select(
                list().model()->index(r, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
};

}  // namespace

TEST_F(DataListTest, ColumnsAndCells) {
    ASSERT_TRUE(start());
    EXPECT_EQ(list().model()->rowCount(), 0);
    openData(surveyFile("a.velkor", 10));
    QAbstractItemModel* m = list().model();
    ASSERT_EQ(m->rowCount(), 10);
    ASSERT_EQ(m->columnCount(), 12);
    const char* headers[] = {"No.",   "M",     "Date", "Time",  "Line",     "Position",
                             "Field", "Error", "Amp",  "Decay", "Gradient", "Note"};
    const int widths[] = {60, 30, 110, 100, 80, 80, 120, 50, 40, 50, 120, 80};
    for (int c = 0; c < 12; ++c) {
        EXPECT_EQ(m->headerData(c, Qt::Horizontal).toString(), headers[c]);
        EXPECT_EQ(list().columnWidth(c), widths[c]);
    }
    EXPECT_EQ(cell(0, 0), "1");
    EXPECT_EQ(cell(9, 0), "10");
    EXPECT_EQ(cell(2, 1), "S");
    EXPECT_EQ(cell(2, 2), "03.07.2026");
    EXPECT_EQ(cell(2, 4), "    1");  // blanks stay
    EXPECT_EQ(cell(2, 5), "    3");
    EXPECT_EQ(cell(2, 7), " 0.7");
    EXPECT_EQ(cell(2, 10), "        ");
    EXPECT_EQ(cell(2, 11), "Base ");
    const auto align = m->data(m->index(0, 11), Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_TRUE(align & Qt::AlignRight);
    EXPECT_TRUE(m->data(m->index(0, 10), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignLeft);
    EXPECT_TRUE(list().showGrid());
    EXPECT_EQ(list().selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list().selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_TRUE(list().horizontalHeader()->sectionsMovable());
}

TEST_F(DataListTest, CommaLayoutHasAnEmptyNoteColumn) {
    ASSERT_TRUE(start());
    openData(dir.write(
        "c.velkor",
        "M header\r\n"
        "S, 03.07.2026, 10:15:42,    12,     7, 48123.4,  0.7,   7,  1.5,    -12.5\r\n"
        "S, 03.07.2026, 10:15:50,    12,     8, 48124.4,  0.7,   7,  1.5,     12.5 Base \r\n"));
    ASSERT_EQ(list().model()->rowCount(), 2);
    EXPECT_EQ(cell(0, 2), "03.07.2026");
    EXPECT_EQ(cell(0, 10), "   -12.5");
    EXPECT_EQ(cell(0, 11), "");
    EXPECT_EQ(cell(1, 11), "");
}

TEST_F(DataListTest, DeletingSelectedReadings) {
    ASSERT_TRUE(start());
    openData(surveyFile("five.velkor", 5));
    const auto before = doc().data().lines();

    // Nothing selected: nothing removed, the flag as it was.
    list().clearSelection();
    frame().dispatch(cmd::Delete);
    EXPECT_EQ(doc().data().lineCount(), 6);
    EXPECT_FALSE(doc().isModified());

    doc().data().setCorrected(3, 48003.0f);
    doc().data().setCorrected(5, 48005.0f);
    select({3, 1});  // rows numbered 4 and 2
    frame().dispatch(cmd::Delete);
    ASSERT_EQ(list().model()->rowCount(), 3);
    EXPECT_EQ(doc().data().lines(),
              (std::vector<std::string>{before[0], before[1], before[3], before[5]}));
    EXPECT_EQ(cell(0, 0), "1");
    EXPECT_EQ(cell(2, 0), "3");
    EXPECT_EQ(cell(1, 5), "    3");
    EXPECT_EQ(cell(2, 5), "    5");
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(doc().data().corrected(2), 48003.0f);
    EXPECT_EQ(doc().data().corrected(3), 48005.0f);

    list().selectAll();
    frame().dispatch(cmd::Delete);
    EXPECT_EQ(list().model()->rowCount(), 0);
    EXPECT_EQ(doc().data().lines(), (std::vector<std::string>{before[0]}));
}

TEST_F(DataListTest, TheLastOfTwentyThousandRowsShowsItsFields) {
    ASSERT_TRUE(start());
    openData(surveyFile("big.velkor", 19999));
    ASSERT_EQ(list().model()->rowCount(), 19999);
    frame().resize(900, 600);
    list().scrollToBottom();
    QApplication::processEvents();
    const int bottomRow = list().rowAt(list().viewport()->height() - 2);
    EXPECT_GT(bottomRow, 19990);
    EXPECT_EQ(cell(19998, 0), "19999");
    EXPECT_EQ(cell(19998, 5), "19999");
    EXPECT_EQ(cell(bottomRow, 2), "03.07.2026");
    EXPECT_EQ(list().verticalScrollBar()->value(), list().verticalScrollBar()->maximum());
}

TEST_F(DataListTest, ScatteredSelectionsDeleteAsRowByRow) {
    ASSERT_TRUE(start());
    openData(surveyFile("scattered.velkor", 400));
    QItemSelectionModel& sel = *list().selectionModel();
    QAbstractItemModel& m = *list().model();
    const int lastColumn = m.columnCount() - 1;
    for (int round = 0; round < 4; ++round) {
        list().clearSelection();
        QItemSelection chosen;
        for (int r = 0; r < m.rowCount(); ++r) {
            // Every other row; runs of three; overlapping ranges; then single cells too,
            // which only count where a whole row ends up selected.
            const bool pick = round == 0 ? r % 2 == 1 : round == 1 ? r % 7 < 3 : r % 5 == 0;
            if (pick) {
                chosen.select(m.index(r, 0), m.index(round == 2 ? r + 1 : r, lastColumn));
            }
        }
        sel.select(chosen, QItemSelectionModel::Select);
        if (round == 3) {
            sel.select(m.index(3, 2), QItemSelectionModel::Select);
            sel.select(m.index(m.rowCount() - 1, 0), QItemSelectionModel::Select);
        }
        std::vector<int> want;
        for (const QModelIndex& index : sel.selectedRows()) {
            want.push_back(index.row());
        }
        std::sort(want.begin(), want.end());
        ASSERT_EQ(list().selectedRowList(), want) << round;

        // The reference: the lines and their values erased one by one from the last.
        for (int k = 1; k < doc().data().lineCount(); ++k) {
            doc().data().setCorrected(k, static_cast<float>(k + 1000 * round));
        }
        std::vector<std::string> lines = doc().data().lines();
        std::vector<float> values;
        for (int k = 0; k < DataSet::kCapacity; ++k) {
            values.push_back(doc().data().corrected(k));
        }
        for (auto it = want.rbegin(); it != want.rend(); ++it) {
            lines.erase(lines.begin() + *it + 1);
            values.erase(values.begin() + *it + 1);
            values.push_back(DataSet::kNoValue);
        }
        frame().dispatch(cmd::Delete);
        ASSERT_EQ(doc().data().lines(), lines) << round;
        for (int k = 0; k < DataSet::kCapacity; ++k) {
            ASSERT_EQ(doc().data().corrected(k), values[static_cast<std::size_t>(k)]) << round;
        }
        EXPECT_EQ(m.rowCount(), static_cast<int>(lines.size()) - 1);
    }
}

TEST_F(DataListTest, ALoadStartsAtItsFirstRowWhileEditsKeepThePlace) {
    ASSERT_TRUE(start());
    frame().resize(900, 600);
    const std::string first = surveyFile("first.velkor", 400);
    const std::string second = surveyFile("second.velkor", 400);
    const auto topRow = [this] {
        QApplication::processEvents();
        return list().rowAt(0);
    };
    const auto scrollDown = [this] {
        QApplication::processEvents();  // the scroll range follows the rows once laid out
        list().verticalScrollBar()->setValue(215);
        list().selectRow(220);
    };
    openData(first);
    scrollDown();
    ASSERT_EQ(topRow(), 215);

    // Deleting, undoing and showing corrected values keep the reader's place.
    frame().dispatch(cmd::Delete);
    EXPECT_EQ(topRow(), 215);
    frame().dispatch(cmd::UndoDelete);
    EXPECT_EQ(topRow(), 215);
    prompter.values.push_back(50000.0f);
    frame().dispatch(cmd::Geomagnetic);
    frame().dispatch(cmd::CorrectedValues);
    EXPECT_EQ(topRow(), 215);

    // Open Data, a dropped file and a file opened by name while the graph is shown
    // each start at the first reading, nothing selected.
    list().selectRow(220);
    openData(second);
    EXPECT_EQ(topRow(), 0);
    EXPECT_TRUE(list().selectedRowList().empty());
    scrollDown();
    app->openDropped({QString::fromStdString(first)});
    EXPECT_EQ(topRow(), 0);
    EXPECT_TRUE(list().selectedRowList().empty());
    scrollDown();
    frame().switchToView(1);
    ASSERT_TRUE(doc().openByName(second));
    frame().switchToView(0);
    EXPECT_EQ(topRow(), 0);
    EXPECT_TRUE(list().selectedRowList().empty());
}

}  // namespace velkor
