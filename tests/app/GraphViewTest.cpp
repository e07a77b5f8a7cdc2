#include <gtest/gtest.h>

#include <QAction>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <optional>
#include <regex>

#include "AppFixture.h"
#include "core/CommandTable.h"
#include "data/DataSet.h"
#include "pictures/GraphPainter.h"
#include "widgets/day/CGraphView.h"
#include "widgets/day/CVelkor1trView.h"
#include "widgets/shared/PrintController.h"
#include "widgets/shared/QPainterSurface.h"

namespace velkor {
namespace {

class GraphViewTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(start());
        frame().resize(1000, 700);
    }

    CGraphView& graph() { return *frame().graphView(); }

    // Sends the next print to a PDF file and returns its path.
    std::string printToPdf(const std::string& name) {
        const std::string path = dir.path(name);
        QPrinter& p = frame().printing().printer();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(QString::fromStdString(path));
        return path;
    }

    static int pdfPages(const std::string& path) {
        const std::string pdf = TempDir::read(path);
        const std::regex page("/Type\\s*/Page[^s]");
        return static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page),
                                              std::sregex_iterator()));
    }

    void paint() {
        graph().viewport()->repaint();
        QApplication::processEvents();
    }
};

}  // namespace

TEST_F(GraphViewTest, SwitchingViewsAndZoom) {
    openData(surveyFile("a.velkor", 100));
    EXPECT_EQ(frame().graphView(), nullptr);
    EXPECT_FALSE(frame().action(cmd::ZoomIn)->isEnabled());

    frame().dispatch(cmd::Graph);
    ASSERT_NE(frame().graphView(), nullptr);
    EXPECT_EQ(frame().shownViewIndex(), 1);
    EXPECT_EQ(frame().shownView(), frame().graphView());
    EXPECT_EQ(graph().scrollHeight(), (9 * graph().viewport()->height()) / 10);
    EXPECT_GT(graph().scrollHeight(), 0);
    EXPECT_EQ(graph().horizontalScrollBar()->maximum(), 32000 - graph().viewport()->width());
    EXPECT_EQ(graph().horizontalScrollBar()->pageStep(), 3200);
    EXPECT_EQ(caption(), "a - Velkor2tr");
    EXPECT_TRUE(frame().action(cmd::Print)->isEnabled());

    // count 101: dx 9 at zoom 1; 32 x 9 = 288 still fits; 64 x 9 is capped at 297.
    paint();
    EXPECT_TRUE(frame().action(cmd::ZoomIn)->isEnabled());
    for (int i = 0; i < 6; ++i) {
        frame().dispatch(cmd::ZoomIn);
        paint();
    }
    EXPECT_EQ(graph().zoom(), 64.0f);
    EXPECT_FALSE(graph().zoomInAllowed());
    EXPECT_FALSE(frame().action(cmd::ZoomIn)->isEnabled());
    frame().dispatch(cmd::ZoomIn);  // greyed: nothing happens
    EXPECT_EQ(graph().zoom(), 64.0f);
    frame().dispatch(cmd::ZoomOut);
    paint();
    EXPECT_TRUE(frame().action(cmd::ZoomIn)->isEnabled());

    // The Delete key reaches only the data list.
    graph().setFocus();
    frame().dispatch(cmd::Delete);
    EXPECT_EQ(doc().data().readingCount(), 100);

    // Back to the list: zoom greyed, the zoom factor kept for the next time.
    frame().dispatch(cmd::DataList);
    EXPECT_EQ(frame().shownViewIndex(), 0);
    EXPECT_FALSE(frame().action(cmd::ZoomIn)->isEnabled());
    EXPECT_FALSE(frame().action(cmd::ZoomOut)->isEnabled());
    frame().dispatch(cmd::Graph);
    EXPECT_EQ(graph().zoom(), 32.0f);
}

TEST_F(GraphViewTest, TheGraphIsDrawnAndAnEmptyOneIsWhite) {
    openData(surveyFile("a.velkor", 50));
    frame().dispatch(cmd::Graph);
    const QImage picture = graph().viewport()->grab().toImage();
    int dark = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            dark += qGray(picture.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 500);
    if (!qEnvironmentVariableIsEmpty("VELKOR_SHOT")) {
        frame().grab().save(qEnvironmentVariable("VELKOR_SHOT"));
    }

    DataSet& data = doc().data();
    data.deleteReading(1);
    while (data.lineCount() > 1) {
        data.deleteReading(1);
    }
    const QImage empty = graph().viewport()->grab().toImage();
    for (int y = 0; y < empty.height(); y += 7) {
        for (int x = 0; x < empty.width(); x += 7) {
            ASSERT_EQ(empty.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
        }
    }
}

TEST_F(GraphViewTest, PrintingTheGraphLeavesTheZoomFlags) {
    openData(surveyFile("a.velkor", 100));
    frame().dispatch(cmd::Graph);
    for (int i = 0; i < 6; ++i) {
        frame().dispatch(cmd::ZoomIn);
        paint();
    }
    ASSERT_FALSE(graph().zoomInAllowed());
    const std::string pdf = printToPdf("graph.pdf");
    frame().dispatch(cmd::PrintDirect);
    EXPECT_EQ(pdfPages(pdf), 1);
    EXPECT_FALSE(graph().zoomInAllowed());
    EXPECT_TRUE(graph().zoomOutAllowed());
}

TEST_F(GraphViewTest, PrintingSelectedReadings) {
    openData(surveyFile("a.velkor", 100));
    CVelkor1trView& list = *frame().listView();

    const std::string none = printToPdf("none.pdf");
    list.clearSelection();
    frame().dispatch(cmd::PrintDirect);
    frame().dispatch(cmd::PrintPreview);
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"No items were selected", "No items were selected"}));
    EXPECT_FALSE(std::filesystem::exists(none));

    for (int rows : {1, 40, 41}) {
        list.clearSelection();
        for (int r = 0; r < rows; ++r) {
            list.selectionModel()->select(list.model()->index(r * 2, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        const std::string pdf = printToPdf("rows" + std::to_string(rows) + ".pdf");
        frame().dispatch(cmd::PrintDirect);
        EXPECT_EQ(pdfPages(pdf), rows == 41 ? 2 : 1) << rows;
    }
}

TEST_F(GraphViewTest, TheWheelAndASwipeScrollAlongTheProfile) {
    openData(surveyFile("a.velkor", 100));
    frame().dispatch(cmd::Graph);
    QScrollBar* h = graph().horizontalScrollBar();
    const int step = h->singleStep();
    ASSERT_GT(h->maximum(), 10 * step);
    const auto turn = [this](QPoint delta, Qt::KeyboardModifiers modifiers) {
        const QPointF at(50, 50);
        QWheelEvent wheel(at, graph().viewport()->mapToGlobal(at), QPoint(), delta, Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(graph().viewport(), &wheel);
    };
    turn({0, -120}, Qt::NoModifier);  // one notch down: one line step on
    EXPECT_EQ(h->value(), step);
    turn({0, -120}, Qt::ShiftModifier);
    EXPECT_EQ(h->value(), 2 * step);
    turn({-120, 0}, Qt::NoModifier);  // a swipe to the left
    EXPECT_EQ(h->value(), 3 * step);
    turn({0, 240}, Qt::NoModifier);  // two notches up: back
    EXPECT_EQ(h->value(), step);
    for (int i = 0; i < 4; ++i) {
        turn({0, -30}, Qt::NoModifier);  // a touchpad's small steps add up
    }
    EXPECT_EQ(h->value(), 2 * step);
    EXPECT_EQ(graph().verticalScrollBar()->value(), 0);
}

TEST_F(GraphViewTest, ClosingShowsTheGraphOnceThenTheList) {
    openData(surveyFile("a.velkor", 10));
    doc().setModified(true);
    prompter.saveAnswers.push_back(Prompter::Answer::Cancel);
    EXPECT_FALSE(frame().close());
    ASSERT_NE(frame().graphView(), nullptr);
    EXPECT_EQ(frame().shownViewIndex(), 0);
    EXPECT_TRUE(frame().isVisible());
    EXPECT_EQ(frame().listView()->model()->rowCount(), 10);
}

}  // namespace velkor

namespace velkor {

TEST_F(AppFixture, PrintRequestFromTheDesktopPrintsTheWholeFileAndEnds) {
    // A printer said to be there that cannot print: the request fails with a message, and
    // still ends the run. (With none at all, NoPrinterTest.)
    app->setPrinterCheck([] { return true; });
    const std::string file = surveyFile("p.velkor", 45);
    EXPECT_FALSE(start({"--print", QString::fromStdString(file)}));
    EXPECT_TRUE(app->finishedEarly());
    EXPECT_EQ(doc().data().readingCount(), 45);
    EXPECT_EQ(frame().listView()->selectedRowList().size(), 45u);
    const int printed = frame().printing().pagesPrinted();
    // The desktop learns from the exit status whether the pages went out.
    EXPECT_EQ(app->earlyExitCode(), printed == 2 ? 0 : 1);
    if (printed == 0) {
        EXPECT_EQ(prompter.texts(),
                  (std::vector<std::string>{
                      "The document could not be printed. Check the printer and try again."}));
    } else {
        EXPECT_EQ(printed, 2);
    }
}

namespace {

// The painter adapter as it drew before polylines and skipping: one drawLine per
// segment, every text measured and drawn wherever it lies.
class EveryLineSurface : public DrawingSurface {
  public:
    explicit EveryLineSurface(QPainter& p) : p_(p) {
        p_.setPen(QPen(Qt::black, 1));
        p_.setBackground(Qt::white);
        p_.setBackgroundMode(Qt::OpaqueMode);
    }
    void setFont(int em) override { p_.setFont(QPainterSurface::font(em)); }
    void segment(int x1, int y1, int x2, int y2) override { p_.drawLine(x1, y1, x2, y2); }
    void text(int x, int y, const std::string& t) override {
        p_.drawText(x, y + p_.fontMetrics().ascent(), QString::fromLatin1(t.c_str()));
    }

  private:
    QPainter& p_;
};

QImage paintGraph(const DataSet& data, const GraphWindow& w, float zoom, bool fast,
                  bool gap = false) {
    QImage image(w.W, w.H, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(-w.Sx, -w.Sy);
    GraphPainter graph(data);
    if (gap) {
        // Readings 300 to 699 without a value: the line from 299 to 700 crosses windows
        // that hold none of them.
        graph.setProfile(
            [&data](int i) -> std::optional<float> {
                if (i >= 300 && i < 700) {
                    return std::nullopt;
                }
                return static_cast<float>(i % 13) + static_cast<float>(data.lineCount() % 7);
            },
            "Other");
    }
    if (fast) {
        QPainterSurface surface(painter);
        surface.setVisibleArea(QRect(w.Sx, w.Sy, w.W, w.H));
        graph.drawScreen(surface, w, zoom);
    } else {
        EveryLineSurface surface(painter);
        graph.drawScreen(surface, w, zoom);
    }
    return image;
}

}  // namespace

TEST(GraphPixels, PolylinesAndSkippedElementsPaintTheSamePixels) {
    // Big swings, flat runs, gradient crosses and line changes; scrolled to the start,
    // the middle and the end, zoomed in and out, in a small and a full-HD window.
    for (int readings : {40, 1500, 19999}) {
        std::vector<std::string> lines{
            "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note "};
        for (int i = 1; i <= readings; ++i) {
            char line[96];
            const double field = 48000.0 + ((i * 7919) % 1000) * (i % 50 < 25 ? 1.3 : 0.01);
            std::snprintf(line, sizeof line,
                          "%c 03.07.2026 10:00:00 %5d %5d %7.1f  0.7 7 1.5 %8.1f Base ",
                          i % 9 == 0 ? 'G' : 'S', 1 + i / 37, i % 37, field, (i % 61) * 0.5 - 12.0);
            lines.push_back(line);
        }
        DataSet data;
        data.replaceLines(lines);
        for (const GraphWindow& w :
             {GraphWindow{640, 420, 0, 0}, GraphWindow{1920, 1080, 0, 0},
              GraphWindow{1920, 1080, 14000, 0}, GraphWindow{900, 500, 29000, 30}}) {
            for (float zoom : {1.0f, 4.0f, 0.25f}) {
                ASSERT_EQ(paintGraph(data, w, zoom, true), paintGraph(data, w, zoom, false))
                    << readings << " readings, window " << w.W << "x" << w.H << " at " << w.Sx
                    << ", zoom " << zoom;
            }
        }
        if (readings == 1500) {
            for (const GraphWindow& w :
                 {GraphWindow{640, 420, 1200, 0}, GraphWindow{640, 420, 900, 0},
                  GraphWindow{640, 420, 1800, 0}}) {
                ASSERT_EQ(paintGraph(data, w, 1.0f, true, true),
                          paintGraph(data, w, 1.0f, false, true))
                    << "gap, window at " << w.Sx;
            }
        }
    }
}

}  // namespace velkor
