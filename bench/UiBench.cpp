// Speed of the views on a full day's data, each beside a baseline of the same run: the
// graph repaint against one drawPolyline of the same points, the data list's reset and
// paint against a table over constant texts, an import through the Transfer window
// against the same import without a window, the gridded survey map (grid, relief,
// contours and 20,000 readings at 1920 x 1080) against one scaled image of the same grid.
// Runs offscreen (QT_QPA_PLATFORM=offscreen).
#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QTableView>
#include <clocale>
#include <cmath>
#include <ostream>

#include "bench/BenchData.h"
#include "core/ConsolePrompter.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "gridding/ContourLevels.h"
#include "gridding/Contours.h"
#include "pictures/DrawingSurface.h"
#include "pictures/GraphPainter.h"
#include "pictures/GridLayerPainter.h"
#include "pictures/SurveyPicture.h"
#include "transfer/CFTD2XX.h"
#include "transfer/Importer.h"
#include "widgets/day/DataListModel.h"
#include "widgets/day/DlgTransfer.h"
#include "widgets/shared/QPainterSurface.h"

namespace {

using namespace velkor;
namespace bd = velkor::benchdata;

const DataSet& survey() {
    static const DataSet data = [] {
        bd::Quiet quiet;
        DataSet d;
        DataFile::load(bd::surveyPath(), d, quiet.prompter);
        return d;
    }();
    return data;
}

const GraphWindow kFullHd{1920, 1080, 0, 0};

// The profile's points, as the graph hands them over.
class ProfileCatcher : public DrawingSurface {
  public:
    void setFont(int) override {}
    void segment(int, int, int, int) override {}
    void text(int, int, const std::string&) override {}
    void polyline(const std::vector<Point>& points) override {
        for (const Point& p : points) {
            profile.append(QPoint(p.x, p.y));
        }
    }
    QPolygon profile;
};

void BM_GraphRepaint_Ours(benchmark::State& state) {
    QImage image(kFullHd.W, kFullHd.H, QImage::Format_RGB32);
    image.fill(Qt::white);
    GraphPainter graph(survey());
    for (auto _ : state) {
        QPainter painter(&image);
        painter.translate(-kFullHd.Sx, -kFullHd.Sy);
        QPainterSurface surface(painter);
        surface.setVisibleArea(QRect(kFullHd.Sx, kFullHd.Sy, kFullHd.W, kFullHd.H));
        benchmark::DoNotOptimize(graph.drawScreen(surface, kFullHd, 1.0f));
    }
}
BENCHMARK(BM_GraphRepaint_Ours)->Unit(benchmark::kMicrosecond);

void BM_GraphRepaint_Baseline(benchmark::State& state) {
    QImage image(kFullHd.W, kFullHd.H, QImage::Format_RGB32);
    image.fill(Qt::white);
    ProfileCatcher catcher;
    GraphPainter(survey()).drawScreen(catcher, kFullHd, 1.0f);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawPolyline(catcher.profile);
    }
    state.counters["points"] = catcher.profile.size();
}
BENCHMARK(BM_GraphRepaint_Baseline)->Unit(benchmark::kMicrosecond);

// The floor: a table of as many rows and columns whose cells are constant texts.
class ConstantModel : public QAbstractTableModel {
  public:
    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : rows;
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : DataListModel::kColumns;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        return role == Qt::DisplayRole && index.isValid() ? QVariant(cell) : QVariant();
    }
    void reset() {
        beginResetModel();
        endResetModel();
    }
    int rows = 0;
    QString cell = QStringLiteral("48123.4");
};

// A list laid out like the data list, on screen at 1200 x 800.
void prepare(QTableView& view, QAbstractItemModel& model) {
    view.setModel(&model);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setShowGrid(true);
    view.setWordWrap(false);
    view.verticalHeader()->hide();
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 4);
    for (int c = 0; c < DataListModel::kColumns; ++c) {
        view.setColumnWidth(c, DataListModel::columnWidth(c));
    }
    view.resize(1200, 800);
    view.show();
    QApplication::processEvents();
}

// The list of the model reset (by reset) and painted again, each time.
template <typename Reset>
void resetAndPaint(benchmark::State& state, QAbstractItemModel& model, Reset reset) {
    QTableView view;
    prepare(view, model);
    QPixmap target(view.size());
    for (auto _ : state) {
        reset();
        view.render(&target);
    }
}

void BM_ListResetPaint_Ours(benchmark::State& state) {
    DataListModel model(survey());
    resetAndPaint(state, model, [&] { model.rebuild(); });
}
BENCHMARK(BM_ListResetPaint_Ours)->Unit(benchmark::kMicrosecond);

void BM_ListResetPaint_Baseline(benchmark::State& state) {
    ConstantModel model;
    model.rows = survey().readingCount();
    resetAndPaint(state, model, [&] { model.reset(); });
}
BENCHMARK(BM_ListResetPaint_Baseline)->Unit(benchmark::kMicrosecond);

// An import of 19999 readings from the simulated instrument; with the Transfer window
// or with the silent monitor of the console.
class WindowPrompter : public ConsolePrompter {
  public:
    using ConsolePrompter::ConsolePrompter;
    std::unique_ptr<TransferMonitor> openTransferWindow() override {
        return std::make_unique<DlgTransfer>();
    }
};

template <typename P>
void import(benchmark::State& state) {
    ::setenv("TMPDIR", bd::folder().c_str(), 1);
    ::setenv("VELKOR2TR_D2XX", VELKOR_SIM_LIB, 1);
    ::setenv("VELKOR_SIM_READINGS", "19999", 1);
    std::ostream sink(nullptr);
    P prompter(sink);
    CFTD2XX usb(prompter);
    if (usb.bind() != 1) {
        state.SkipWithError("the simulated instrument library did not load");
        return;
    }
    int lines = 0;
    for (auto _ : state) {
        DataSet data;
        Importer(usb, prompter).run(data, 0);
        lines = data.lineCount();
    }
    state.counters["lines"] = lines;
}

void BM_Import_Ours(benchmark::State& state) {
    import <WindowPrompter>(state);
}
BENCHMARK(BM_Import_Ours)->Unit(benchmark::kMillisecond);

void BM_Import_Baseline(benchmark::State& state) {
    import <ConsolePrompter>(state);
}
BENCHMARK(BM_Import_Baseline)->Unit(benchmark::kMillisecond);

// A grid of 1000 x 400 nodes, 2 m apart: a dipole-like anomaly over a gentle slope, a
// corner blanked; contoured at the default interval; 40 lines of 500 readings over it.
struct GriddedMap {
    SurveyGridding::Result result;
    GridLayerPainter grid;
    SurveyMapPainter readings;

    GriddedMap() {
        Grid& g = result.gridded.grid;
        g.lattice = {500000.0, 6000000.0, 2.0, 1000, 400};
        g.values.resize(g.lattice.size());
        for (int j = 0; j < g.lattice.ny; ++j) {
            for (int i = 0; i < g.lattice.nx; ++i) {
                const double x = (i - 600) * 2.0;
                const double y = (j - 220) * 2.0;
                const double r2 = x * x + y * y + 900.0;
                g.at(i, j) = i + j * 9 > 3900 + 500 ? Grid::kNoData
                                                    : 0.02 * i + 4e6 * (2.0 * y * y - x * x) /
                                                                     (r2 * r2 * std::sqrt(r2));
            }
        }
        result.interval = ContourLevels::defaultInterval(g);
        result.contours = Contours::trace(g, ContourLevels::at(g, result.interval));
        grid = GridLayerPainter(result, GridStretch::Kind::Percentile);
        std::vector<SurveyMapPainter::Dot> dots;
        for (int line = 0; line < 40; ++line) {
            for (int k = 0; k < 500; ++k) {
                dots.push_back({line * 500 + k,
                                500000.0 + k * 4.0,
                                6000000.0 + line * 20.0,
                                {48000.f, 48000.f, 0.f, 0.f}});
            }
        }
        readings = SurveyMapPainter(std::move(dots));
    }
};

const GriddedMap& griddedMap() {
    static const GriddedMap map;
    return map;
}

void BM_GriddedMapFrame_Ours(benchmark::State& state) {
    const GriddedMap& map = griddedMap();
    QImage image(kFullHd.W, kFullHd.H, QImage::Format_RGB32);
    const SurveyPicture::Layers all{true, true, true, true};
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        QPainterSurface surface(painter);
        SurveyPicture::draw(surface, kFullHd.W, kFullHd.H, map.readings, &map.grid, all,
                            SurveyMapPainter::Value::Anomaly);
    }
    state.counters["contour_lines"] = static_cast<double>(map.result.contours.lines.size());
}
BENCHMARK(BM_GriddedMapFrame_Ours)->Unit(benchmark::kMillisecond);

void BM_GriddedMapFrame_Baseline(benchmark::State& state) {
    const GriddedMap& map = griddedMap();
    const DrawingSurface::Image& shaded = *map.grid.image(true, true);
    const QImage wrapped(reinterpret_cast<const uchar*>(shaded.pixels.data()), shaded.width,
                         shaded.height, shaded.width * 4, QImage::Format_ARGB32_Premultiplied);
    QImage image(kFullHd.W, kFullHd.H, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(36, 36, 1560, 624), wrapped);
    }
}
BENCHMARK(BM_GriddedMapFrame_Baseline)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return velkor::benchdata::runBenchmarks(argc, argv);
}
