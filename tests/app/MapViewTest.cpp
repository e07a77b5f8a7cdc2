#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QStatusBar>
#include <QTest>
#include <QWheelEvent>
#include <sstream>

#include "AppFixture.h"
#include "app/HelpWindow.h"
#include "cli/CliTool.h"
#include "core/CommandTable.h"
#include "text/TextFormat.h"
#include "widgets/day/CGraphView.h"
#include "widgets/day/CMapView.h"
#include "widgets/day/CVelkor1trView.h"
#include "widgets/day/MapScaleDialog.h"
#include "widgets/shared/PngPictureWriter.h"
#include "widgets/shared/PrintController.h"

namespace velkor {
namespace {

class MapViewTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(start());
        frame().resize(1000, 700);
    }
    CMapView& map() { return *frame().mapView(); }
    CVelkor1trView& list() { return *frame().listView(); }
    // The index of the map cell of data line k.
    int cellOf(int k) {
        const auto& cells = map().map().cells();
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (cells[i].reading == k) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
};

}  // namespace

TEST_F(MapViewTest, SwitchingListMapGraphMapListKeepsTheKeysWorking) {
    EXPECT_FALSE(frame().action(cmd::Map)->isEnabled());
    EXPECT_EQ(frame().action(cmd::Map)->shortcut(), QKeySequence("Ctrl+M"));
    openData(surveyFile("a.velkor", 100));
    EXPECT_TRUE(frame().action(cmd::Map)->isEnabled());
    EXPECT_EQ(frame().mapView(), nullptr);
    list().selectRow(0);

    frame().action(cmd::Map)->trigger();
    ASSERT_NE(frame().mapView(), nullptr);
    EXPECT_EQ(frame().shownViewIndex(), 2);
    EXPECT_EQ(frame().shownView(), frame().mapView());
    EXPECT_EQ(frame().graphView(), nullptr);
    EXPECT_EQ(map().map().cells().size(), 100u);
    EXPECT_EQ(caption(), "a - Velkor2tr");
    frame().dispatch(cmd::Help);
    EXPECT_EQ(frame().helpWindow()->pageTitle(), "Map");
    EXPECT_EQ(map().marked(), std::vector<int>{1});  // the list's selection
    frame().dispatch(cmd::Delete);
    EXPECT_EQ(doc().data().readingCount(), 99);

    frame().action(cmd::Graph)->trigger();
    EXPECT_EQ(frame().shownViewIndex(), 1);
    EXPECT_EQ(frame().shownView(), frame().graphView());
    frame().dispatch(cmd::Delete);  // the graph deletes nothing
    EXPECT_EQ(doc().data().readingCount(), 99);

    CMapView* first = frame().mapView();
    frame().action(cmd::Map)->trigger();
    EXPECT_EQ(frame().shownViewIndex(), 2);
    EXPECT_EQ(frame().mapView(), first);
    EXPECT_TRUE(frame().action(cmd::Print)->isEnabled());

    frame().action(cmd::DataList)->trigger();
    EXPECT_EQ(frame().shownViewIndex(), 0);
    EXPECT_EQ(frame().shownView(), frame().listView());
    list().selectRow(0);
    frame().dispatch(cmd::Delete);
    EXPECT_EQ(doc().data().readingCount(), 98);

    // Closing from the map ends on the list.
    frame().dispatch(cmd::Map);
    EXPECT_EQ(map().map().cells().size(), 98u);  // rebuilt from the data set
    doc().data().modified = false;
    frame().close();
    EXPECT_EQ(frame().shownViewIndex(), 0);
}

TEST_F(MapViewTest, HoverTellsClickSelectsWheelZoomsDragMovesHomeFits) {
    openData(surveyFile("a.velkor", 100));
    frame().dispatch(cmd::Map);
    QApplication::processEvents();
    const int i = cellOf(57);
    ASSERT_GE(i, 0);
    const QPoint at = map().cellCentre(i);
    QTest::mouseMove(&map(), at);
    EXPECT_EQ(frame().statusBar()->currentMessage().toStdString(),
              "Reading 57   Line 1   Position 57   Field 48057.4 nT   Gradient -");

    QTest::mouseClick(&map(), Qt::LeftButton, {}, at);
    frame().dispatch(cmd::DataList);
    EXPECT_EQ(list().selectedRowList(), std::vector<int>{56});
    frame().dispatch(cmd::Delete);
    EXPECT_EQ(doc().data().readingCount(), 99);
    EXPECT_EQ(doc().data().field(57, Column::Pos), std::string_view("   58"));

    frame().dispatch(cmd::Map);
    const PlanMap::Bounds whole = map().shownWindow();
    const QPoint pointer = map().cellCentre(cellOf(30));
    QWheelEvent wheel(QPointF(pointer), QPointF(map().mapToGlobal(pointer)), {}, QPoint(0, 120),
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&map(), &wheel);
    const PlanMap::Bounds zoomed = map().shownWindow();
    EXPECT_NEAR((zoomed.x1 - zoomed.x0) * 1.2, whole.x1 - whole.x0, 1e-9);
    EXPECT_NEAR(map().cellCentre(cellOf(30)).x(), pointer.x(), 1);  // it stays under the pointer
    EXPECT_NEAR(map().cellCentre(cellOf(30)).y(), pointer.y(), 1);

    QTest::mousePress(&map(), Qt::LeftButton, {}, at);
    QTest::mouseMove(&map(), at + QPoint(60, 0));
    QTest::mouseRelease(&map(), Qt::LeftButton, {}, at + QPoint(60, 0));
    EXPECT_LT(map().shownWindow().x0, zoomed.x0);
    EXPECT_EQ(doc().data().readingCount(), 99);

    QTest::keyClick(&map(), Qt::Key_Home);
    EXPECT_DOUBLE_EQ(map().shownWindow().x0, whole.x0);
    EXPECT_DOUBLE_EQ(map().shownWindow().x1, whole.x1);
}

TEST_F(MapViewTest, ClickedReadingsAreMarkedAndDeleteRemovesThemWithUndo) {
    openData(surveyFile("a.velkor", 100));
    frame().dispatch(cmd::Map);
    QApplication::processEvents();
    QTest::mouseClick(&map(), Qt::LeftButton, {}, map().cellCentre(cellOf(57)));
    QTest::mouseClick(&map(), Qt::LeftButton, Qt::ControlModifier, map().cellCentre(cellOf(60)));
    QTest::mouseClick(&map(), Qt::LeftButton, Qt::ControlModifier, map().cellCentre(cellOf(62)));
    QTest::mouseClick(&map(), Qt::LeftButton, Qt::ControlModifier, map().cellCentre(cellOf(62)));
    EXPECT_EQ(map().marked(), (std::vector<int>{57, 60}));
    EXPECT_EQ(list().selectedRowList(), (std::vector<int>{56, 59}));  // one selection

    // A marked cell is framed black outside, white inside; its neighbour is not.
    const QImage image = map().grab().toImage();
    const PlanMapPainter::Frame f = PlanMapPainter::frame(map().width(), map().height(), 12);
    const PlanMap::Bounds w = map().shownWindow();
    const auto leftEdge = [&](int k) {
        const PlanMapGeometry::Cell& c = map().map().cells()[static_cast<std::size_t>(cellOf(k))];
        return QPoint(PlanMapPainter::deviceX(f, w, c.x0), map().cellCentre(cellOf(k)).y());
    };
    EXPECT_EQ(image.pixel(leftEdge(57)), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(leftEdge(57) + QPoint(1, 0)), qRgb(255, 255, 255));
    EXPECT_NE(image.pixel(leftEdge(58) + QPoint(1, 0)), qRgb(255, 255, 255));

    frame().dispatch(cmd::Delete);
    EXPECT_EQ(doc().data().readingCount(), 98);
    EXPECT_EQ(map().map().cells().size(), 98u);
    EXPECT_TRUE(map().marked().empty());
    EXPECT_EQ(frame().statusBar()->currentMessage().toStdString(),
              "2 readings deleted. Ctrl+Z brings them back.");
    frame().dispatch(cmd::UndoDelete);
    EXPECT_EQ(doc().data().readingCount(), 100);
    EXPECT_EQ(map().map().cells().size(), 100u);
    EXPECT_EQ(doc().data().field(57, Column::Pos), std::string_view("   57"));

    // What the list selects, the map marks.
    frame().dispatch(cmd::DataList);
    list().selectRows({4, 9});
    frame().dispatch(cmd::Map);
    EXPECT_EQ(map().marked(), (std::vector<int>{5, 10}));
}

TEST_F(MapViewTest, DrawnToTheScaleRememberedForTheFile) {
    // 6 lines of 10 positions.
    std::string grid = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    for (int line = 1; line <= 6; ++line) {
        for (int pos = 1; pos <= 10; ++pos) {
            grid += formatText("S 03.07.2026 10:05:00 %5d %5d %7.1f  0.7 7 1.5                \r\n",
                               line, pos, 48100.0 + line + pos);
        }
    }
    const std::string a = dir.write("a.velkor", grid);
    const std::string b = dir.write("b.velkor", grid);
    openData(a);
    frame().dispatch(cmd::Map);
    QApplication::processEvents();
    // Height over width of the cell of line 3, position 5, in pixels.
    const auto cellAspect = [&] {
        const PlanMapPainter::Frame f = PlanMapPainter::frame(map().width(), map().height(), 12);
        const PlanMap::Bounds w = map().shownWindow();
        const PlanMapGeometry::Cell& c = map().map().cells()[static_cast<std::size_t>(cellOf(25))];
        return (PlanMapPainter::deviceY(f, w, c.y0) - PlanMapPainter::deviceY(f, w, c.y1)) /
               static_cast<double>(PlanMapPainter::deviceX(f, w, c.x1) -
                                   PlanMapPainter::deviceX(f, w, c.x0));
    };
    // Readings 1 m apart both ways: square cells, however the window is shaped.
    EXPECT_NEAR(cellAspect(), 1.0, 0.05);
    frame().resize(600, 900);
    QApplication::processEvents();
    EXPECT_NEAR(cellAspect(), 1.0, 0.05);

    map().setScale({4.0, 2.0});
    EXPECT_NEAR(cellAspect(), 2.0, 0.1);
    const QPoint pointer = map().cellCentre(cellOf(25));
    QWheelEvent wheel(QPointF(pointer), QPointF(map().mapToGlobal(pointer)), {}, QPoint(0, 360),
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&map(), &wheel);
    EXPECT_NEAR(cellAspect(), 2.0, 0.05);  // zoomed in, the same shape
    QTest::mousePress(&map(), Qt::LeftButton, {}, pointer);
    QTest::mouseMove(&map(), pointer + QPoint(40, 30));
    QTest::mouseRelease(&map(), Qt::LeftButton, {}, pointer + QPoint(40, 30));
    EXPECT_NEAR(cellAspect(), 2.0, 0.05);

    openData(b);  // another file: 1 m and 1 m
    EXPECT_DOUBLE_EQ(doc().mapScale().lineSpacing, 1.0);
    EXPECT_NEAR(cellAspect(), 1.0, 0.05);
    openData(a);  // its own scale again
    EXPECT_DOUBLE_EQ(doc().mapScale().lineSpacing, 4.0);
    EXPECT_DOUBLE_EQ(doc().mapScale().stationInterval, 2.0);
}

TEST_F(MapViewTest, ScaleDialogTakesTwoDistancesInMetres) {
    MapScaleDialog dialog({1.0, 1.0}, prompter);
    EXPECT_EQ(dialog.windowTitle(), "Scale");
    EXPECT_EQ(dialog.lineSpacingEdit()->text(), "1");
    dialog.lineSpacingEdit()->setText("0");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);  // still open
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Enter a number between 0.01 and 10000."});
    dialog.lineSpacingEdit()->setText("12.5");
    dialog.stationIntervalEdit()->setText("0.25");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(dialog.scale().lineSpacing, 12.5);
    EXPECT_DOUBLE_EQ(dialog.scale().stationInterval, 0.25);
}

TEST_F(MapViewTest, CorrectedValuesAndTheContextMenuChooseWhatColoursTheMap) {
    openData(surveyFile("a.velkor", 10));
    frame().dispatch(cmd::Map);
    EXPECT_EQ(map().map().by(), PlanMap::By::Field);
    doc().data().geomagDone = true;
    doc().data().geomag = 48000.0f;
    frame().updateCommandStates();
    frame().dispatch(cmd::CorrectedValues);
    ASSERT_EQ(map().map().by(), PlanMap::By::Corrected);
    EXPECT_NEAR(map().map().cells()[3].value, 4.4, 0.01);  // 48004.4 less the normal field

    map().setShows(CMapView::Shows::Gradient);
    EXPECT_EQ(map().map().by(), PlanMap::By::Gradient);
    EXPECT_TRUE(map().map().empty());  // no 'G' reading here
    map().setShows(CMapView::Shows::Values);
    EXPECT_EQ(map().map().by(), PlanMap::By::Corrected);
    frame().dispatch(cmd::CorrectedValues);
    EXPECT_EQ(map().map().by(), PlanMap::By::Field);
}

TEST_F(MapViewTest, PrintsOnePage) {
    openData(surveyFile("a.velkor", 100));
    frame().dispatch(cmd::Map);
    const std::string path = dir.path("map.pdf");
    QPrinter& p = frame().printing().printer();
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(path));
    frame().dispatch(cmd::PrintDirect);
    EXPECT_TRUE(frame().printing().lastPrintSucceeded());
    EXPECT_EQ(frame().printing().pagesPrinted(), 1);
}

}  // namespace velkor

namespace velkor {

TEST(MapPicture, TheHottestPixelLiesInTheHottestReadingsCell) {
    // A 6 x 5 grid, 2 m apart, quiet but for one buried object at line 2, position 8.
    TempDir dir;
    std::string survey = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    for (int line = 1; line <= 5; ++line) {
        for (int pos = 2; pos <= 12; pos += 2) {
            const double d2 = (line - 2) * (line - 2) + (pos - 8) * (pos - 8) / 4.0;
            char row[96];
            std::snprintf(row, sizeof row,
                          "S 03.07.2026 10:05:00 %5d %5d %7.1f  0.7 7 1.5                \r\n",
                          line, pos, 48100.0 + 80.0 / (1.0 + d2) + (pos % 3) * 0.3);
            survey += row;
        }
    }
    const std::string in = dir.write("drum.velkor", survey);
    const std::string png = dir.path("drum.png");
    PngPictureWriter writer;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(CliTool(out, err, &writer).run({"plot", "map", in, png, "--size", "700x500"}), 0)
        << err.str();
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(700, 500));

    // The most yellow pixel of the plot area (the scale bar beside it is left out).
    const PlanMapPainter::Frame f = PlanMapPainter::frame(700, 500, 12);
    QPoint hottest;
    int best = -1000;
    for (int y = f.top + 1; y < f.bottom; ++y) {
        for (int x = f.left + 1; x < f.right; ++x) {
            const QRgb c = image.pixel(x, y);
            const int heat = qRed(c) + qGreen(c) - qBlue(c);
            if (heat > best) {
                best = heat;
                hottest = {x, y};
            }
        }
    }
    // Lines 1 to 5 span 0.5 to 5.5 upwards, line 2 from 1.5 to 2.5; positions 2 to 12 span
    // 1 to 13, position 8 from 7 to 9.
    // The plot shows them to scale, 1 m apart both ways.
    const PlanMap::Bounds b = PlanMapPainter::shown(f, {1, 13, 0.5, 5.5}, {});
    EXPECT_GE(hottest.x(), PlanMapPainter::deviceX(f, b, 7.0));
    EXPECT_LT(hottest.x(), PlanMapPainter::deviceX(f, b, 9.0));
    EXPECT_GE(hottest.y(), PlanMapPainter::deviceY(f, b, 2.5));
    EXPECT_LT(hottest.y(), PlanMapPainter::deviceY(f, b, 1.5));
    EXPECT_EQ(image.pixel(hottest), QColor(QRgb(PlanMapGeometry::colourAt(1.0))).rgb());
}

}  // namespace velkor
