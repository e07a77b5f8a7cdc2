#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QStatusBar>
#include <QStatusTipEvent>

#include "AppFixture.h"
#include "core/CommandTable.h"
#include "corrections/VariationSet.h"
#include "pictures/DrawingSurface.h"
#include "support/RecordingSurface.h"
#include "widgets/day/BaseCurveView.h"
#include "widgets/day/CGraphView.h"
#include "widgets/day/CVelkor1trView.h"
#include "widgets/day/DlgVariations.h"
#include "widgets/shared/PngPictureWriter.h"

namespace velkor {
namespace {

class SeeCorrectionsTest : public AppFixture {
  protected:
    CVelkor1trView& list() { return *frame().listView(); }
    QAbstractItemModel& model() { return *list().model(); }
    QString cell(int row, int column) {
        return model().data(model().index(row, column), Qt::DisplayRole).toString();
    }
    QString status() { return frame().statusBar()->currentMessage(); }
    void correctDay() {
        openData(
            dir.write("day.velkor",
                      "M header \r\n"
                      "S 03.07.2026 10:05:00     1     1 48100.0  0.7 7 1.5          Base \r\n"
                      "S 03.07.2026 11:05:00     1     2 48200.0  0.7 7 1.5               \r\n"
                      "A 03.07.2026 10:05:00     0     0 48004.6  0.7 7 1.5               \r\n"
                      "S 03.07.2026 10:07:00     1     3 48110.0  0.7 7 1.5               \r\n"));
        prompter.files.push_back(dir.write("base.a",
                                           " Date       Time     Variations\r\n"
                                           " 03.07.2026 10:00:00 48000.0\r\n"
                                           " 03.07.2026 10:04:00 48004.0\r\n"
                                           " 03.07.2026 10:10:00 48010.0\r\n"));
        frame().dispatch(cmd::OpenVariations);
        prompter.values.push_back(48000.0f);
        frame().dispatch(cmd::Temporal);
    }
    std::string graphCaption() {
        RecordingSurface s;
        frame().graphView()->drawScreen(s);
        for (const char* caption : {"Field[nT]", "Corrected[nT]"}) {
            if (s.findText(caption) != nullptr) {
                return caption;
            }
        }
        return {};
    }
};

}  // namespace

TEST_F(SeeCorrectionsTest, CorrectedValuesShowInTheListAndTheGraphOnlyWhileChecked) {
    ASSERT_TRUE(start());
    QAction* toggle = frame().action(cmd::CorrectedValues);
    EXPECT_EQ(toggle->shortcut(), QKeySequence("Ctrl+K"));
    correctDay();
    frame().updateCommandStates();
    EXPECT_TRUE(toggle->isEnabled());
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_EQ(model().columnCount(), 12);

    frame().dispatch(cmd::CorrectedValues);
    EXPECT_TRUE(toggle->isChecked());
    ASSERT_EQ(model().columnCount(), 13);
    EXPECT_EQ(model().headerData(12, Qt::Horizontal).toString(), "Corrected");
    EXPECT_EQ(cell(0, 12), "48095.0");
    EXPECT_EQ(cell(1, 12), "");  // outside the samples' span: the export leaves it out
    EXPECT_EQ(cell(2, 12), "");  // 'A'
    EXPECT_EQ(cell(3, 12), "48103.0");
    EXPECT_EQ(cell(0, 11), "Base ");
    EXPECT_EQ(list().columnWidth(0), 60);
    EXPECT_EQ(list().columnWidth(11), 80);
    // The new column is scrolled into view, right of the twelve that fill the window.
    const int x = list().columnViewportPosition(12);
    EXPECT_GE(x, 0);
    EXPECT_LE(x + list().columnWidth(12), list().viewport()->width());

    frame().dispatch(cmd::Graph);
    EXPECT_EQ(graphCaption(), "Corrected[nT]");
    frame().dispatch(cmd::CorrectedValues);
    EXPECT_EQ(graphCaption(), "Field[nT]");
    frame().dispatch(cmd::CorrectedValues);
    frame().dispatch(cmd::DataList);
    EXPECT_EQ(model().columnCount(), 13);

    // A new load starts plain again.
    correctDay();
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_EQ(model().columnCount(), 12);
    frame().dispatch(cmd::Graph);
    EXPECT_EQ(graphCaption(), "Field[nT]");
}

TEST_F(SeeCorrectionsTest, TheStatusBarSaysWhatTheCorrectionDidUntilTheNextCommand) {
    ASSERT_TRUE(start());
    correctDay();
    const QString said =
        "Temporal correction: 2 corrected now, 0 corrected before and kept, 1 'A' skipped; "
        "1 uncorrected: 1 outside their date's span (2).";
    EXPECT_EQ(status(), said);
    EXPECT_EQ(prompter.texts().back(), "There are uncorrected readings in the file");
    // The prompt of a menu item passes over it and gives it back.
    QStatusTipEvent over("Show the data list");
    QApplication::sendEvent(&frame(), &over);
    EXPECT_EQ(status(), "Show the data list");
    QStatusTipEvent gone{QString()};
    QApplication::sendEvent(&frame(), &gone);
    EXPECT_EQ(status(), said);
    frame().dispatch(cmd::Graph);
    EXPECT_EQ(status(), "");
}

TEST_F(SeeCorrectionsTest, UndoBringsDeletedReadingsBackWithSlotsAndFlag) {
    ASSERT_TRUE(start());
    EXPECT_EQ(frame().action(cmd::UndoDelete)->shortcut(), QKeySequence("Ctrl+Z"));
    openData(surveyFile("u.velkor", 5));
    DataSet& data = doc().data();
    const std::vector<std::string> original = data.lines();
    data.setCorrected(2, 48002.0f);
    data.setCorrected(5, 48005.0f);
    for (int row : {1, 3}) {
        list().selectionModel()->select(model().index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    frame().dispatch(cmd::Delete);
    EXPECT_EQ(model().rowCount(), 3);
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(status(), "2 readings deleted. Ctrl+Z brings them back.");
    EXPECT_EQ(data.corrected(3), 48005.0f);

    frame().dispatch(cmd::UndoDelete);
    EXPECT_EQ(data.lines(), original);
    EXPECT_EQ(model().rowCount(), 5);
    EXPECT_EQ(data.corrected(2), 48002.0f);
    EXPECT_EQ(data.corrected(4), DataSet::kNoValue);
    EXPECT_EQ(data.corrected(5), 48005.0f);
    EXPECT_FALSE(doc().isModified());

    // A load starts a new history.
    list().selectionModel()->select(model().index(0, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    frame().dispatch(cmd::Delete);
    EXPECT_EQ(status(), "1 reading deleted. Ctrl+Z brings it back.");
    doc().setModified(false);
    openData(surveyFile("v.velkor", 2));
    frame().dispatch(cmd::UndoDelete);
    EXPECT_EQ(model().rowCount(), 2);
}

}  // namespace velkor

namespace velkor {

TEST_F(SeeCorrectionsTest, TheVariationsListGainsTheCurveOfOneDateAtATime) {
    ASSERT_TRUE(start());
    VariationSet set;
    ASSERT_TRUE(set.load(dir.write("two.a",
                                   " Date       Time     Variations\r\n"
                                   " 02.07.2026 10:00:00 47990.0\r\n"
                                   " 02.07.2026 11:00:00 47995.0\r\n"
                                   " 03.07.2026 10:00:00 48000.0\r\n"
                                   " 03.07.2026 10:10:00 48010.0\r\n"),
                         prompter));
    openData(surveyFile("s.velkor", 3));  // readings of 03.07.2026
    DlgVariations dialog(set.path(), set.lines(), prompter);
    EXPECT_EQ(dialog.curve(), nullptr);
    dialog.showCurve(set, &doc().data());
    EXPECT_EQ(dialog.list()->count(), 4);
    ASSERT_NE(dialog.curve(), nullptr);
    ASSERT_NE(dialog.dateChooser(), nullptr);
    EXPECT_EQ(dialog.curve()->day().date(), "03.07.2026");
    EXPECT_EQ(dialog.curve()->day().readings().size(), 3u);
    dialog.dateChooser()->setCurrentText("02.07.2026");
    EXPECT_EQ(dialog.curve()->day().samples().size(), 2u);
    EXPECT_TRUE(dialog.curve()->day().readings().empty());
}

}  // namespace velkor

namespace velkor {

TEST(PngPictureWriter, WritesTheDrawingAsAPicture) {
    TempDir dir;
    PngPictureWriter writer;
    const std::string path = dir.path("p.png");
    ASSERT_TRUE(writer.writePng(path, 300, 200, [](DrawingSurface& s) {
        s.setFont(12);
        s.segment(10, 100, 290, 100);
    }));
    const QImage image(QString::fromStdString(path));
    ASSERT_EQ(image.size(), QSize(300, 200));
    EXPECT_LT(qGray(image.pixel(150, 100)), 128);
    EXPECT_EQ(image.pixel(150, 50), qRgb(255, 255, 255));
    EXPECT_FALSE(writer.writePng(dir.path("missing/p.png"), 300, 200, [](DrawingSurface&) {}));
}

}  // namespace velkor
