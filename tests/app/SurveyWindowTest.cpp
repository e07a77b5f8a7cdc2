#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <cmath>
#include <fstream>
#include <limits>

#include "AppFixture.h"
#include "ImportFixture.h"
#include "core/CommandTable.h"
#include "pictures/BasePanel.h"
#include "pictures/SurveyTitleBlock.h"
#include "support/Fixture.h"
#include "support/RecordingSurface.h"
#include "support/SimControl.h"
#include "survey/Survey.h"
#include "survey/SurveyExport.h"
#include "survey/SurveyFile.h"
#include "widgets/day/CVelkor1trView.h"
#include "widgets/survey/BasePanelView.h"
#include "widgets/survey/DlgGriddingOptions.h"
#include "widgets/survey/DlgSurveySettings.h"
#include "widgets/survey/SurveyGridder.h"
#include "widgets/survey/SurveyMapWidget.h"
#include "widgets/survey/SurveySession.h"
#include "widgets/survey/SurveyWindow.h"

namespace velkor {
namespace {

// Every reading with a diurnal value (more than 1000 of them) shows at its place in the
// map's picture; the one drawn last in its own colour.
void expectEveryDiurnalValueShown(const SurveyMapPainter& painter, const QImage& image,
                                  const SurveyMapGeometry::Transform& t) {
    const auto range = painter.range(SurveyMapPainter::Value::Diurnal);
    int coloured = 0;
    int withValue = 0;
    QRgb lastSeen = 0;
    std::uint32_t lastColour = 0;
    for (const SurveyMapPainter::Dot& d : painter.dots()) {
        const float v = d.values[static_cast<std::size_t>(SurveyMapPainter::Value::Diurnal)];
        if (std::isnan(v)) {
            continue;
        }
        ++withValue;
        const auto p = t.toDevice(d.easting, d.northing);
        lastSeen =
            image.pixel(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))) &
            0xffffff;
        lastColour = PlanMapGeometry::colourOf(v, range);
        coloured += lastSeen != 0xffffff && lastSeen != 0xb4b4b4 ? 1 : 0;
    }
    ASSERT_GT(withValue, 1000);
    EXPECT_EQ(coloured, withValue);
    EXPECT_EQ(lastSeen, lastColour);
}

class SurveyWindowTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(start());
    }
    SurveySession& session() { return frame().survey(); }
    SurveyWindow& window() { return *frame().surveyWindow(); }
    void addDay(const std::string& path) {
        openData(path);
        ASSERT_TRUE(frame().action(cmd::AddToSurvey)->isEnabled());
        frame().dispatch(cmd::AddToSurvey);
        session().wait();
    }
    // The sample week as a new survey (name in the test's folder), placed, and the window
    // made large enough to draw it.
    void placeTheWeek(const std::string& name) {
        prompter.files.push_back(dir.path(name));
        frame().dispatch(cmd::NewSurvey);
        addDay(Fixture::sample("week.velkor"));
        ASSERT_TRUE(session().change(placed()));
        session().wait();
        ASSERT_TRUE(session().ready()) << testing::PrintToString(prompter.texts());
        window().resize(1000, 640);
    }
    // The grid and the contours shown, and their gridding finished.
    void showGridAndContours() {
        window().layerBox(1)->setChecked(true);
        window().layerBox(3)->setChecked(true);
        window().gridder().wait();
        ASSERT_NE(window().gridder().result(), nullptr);
    }
    // The placement and the base source a surveyor would set.
    SurveySettings placed() {
        SurveySettings s = session().survey()->settings();
        std::string message;
        s.placement = *Placement::byParameters(
            {500000.0, 6000000.0, 30.0, 20.0, 5.0, 0.0, 0.0, Placement::Side::Right}, message);
        s.baseSources.push_back({Fixture::sample("week-base.a"), 0});
        s.datum = 48000.0;
        return s;
    }
};

using SurveyImportTest = ImportFixture;

}  // namespace

TEST_F(SurveyImportTest, AnUnsavedImportIsSavedWithSaveAsBeforeItIsAdded) {
    SimControl sim(SimControl::Settings{{"VELKOR_SIM_READINGS", "30"}});
    ASSERT_TRUE(start());
    prompter.files.push_back(dir.path("import.vsurvey"));
    frame().dispatch(cmd::NewSurvey);
    prompter.devices.push_back(0u);
    frame().dispatch(cmd::Import);
    ASSERT_EQ(doc().data().readingCount(), 30);

    // Save As cancelled: nothing is added.
    prompter.asked.clear();
    frame().dispatch(cmd::AddToSurvey);
    frame().survey().wait();
    EXPECT_EQ(prompter.asked, (std::vector<std::string>{"save-file:Velkor2tr files "
                                                        "(*.velkor)|*.velkor||:velkor"}));
    EXPECT_EQ(frame().survey().survey()->dayCount(), 0);

    prompter.files.push_back(dir.path("imported.velkor"));
    frame().dispatch(cmd::AddToSurvey);
    frame().survey().wait();
    ASSERT_EQ(frame().survey().survey()->dayCount(), 1);
    EXPECT_EQ(frame().survey().survey()->day(0).path, dir.path("imported.velkor"));
    EXPECT_EQ(frame().survey().survey()->readingCount(), 30);
}

TEST_F(SurveyWindowTest, NewSurveyAddDaysPlaceAndSeeTheMap) {
    EXPECT_FALSE(frame().action(cmd::AddToSurvey)->isEnabled());
    EXPECT_FALSE(frame().action(cmd::SurveySettings)->isEnabled());
    const std::string file = dir.path("walk.vsurvey");
    prompter.files.push_back(file);
    frame().dispatch(cmd::NewSurvey);
    ASSERT_NE(frame().surveyWindow(), nullptr);
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(window().isWindow());
    ASSERT_TRUE(session().ready());
    EXPECT_TRUE(std::ifstream(file).good());
    EXPECT_FALSE(frame().action(cmd::AddToSurvey)->isEnabled());  // no data file yet

    addDay(Fixture::sample("week.velkor"));
    addDay(Fixture::sample("survey.velkor"));
    ASSERT_TRUE(session().ready()) << testing::PrintToString(prompter.texts());
    EXPECT_EQ(session().survey()->dayCount(), 2);
    // The same file again is refused with the core's message; the survey keeps its two days.
    addDay(Fixture::sample("survey.velkor"));
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_NE(prompter.shown[0].text.find("survey.velkor"), std::string::npos);
    EXPECT_EQ(session().survey()->dayCount(), 2);

    // Both days listed with their dates and readings; no base source yet.
    const QTreeWidgetItem* days = window().days()->topLevelItem(0);
    ASSERT_EQ(days->childCount(), 2);
    EXPECT_EQ(days->child(0)->text(0), "week.velkor");
    EXPECT_EQ(days->child(0)->text(1), "06.07.2026 - 09.07.2026");
    EXPECT_EQ(days->child(0)->text(2).toInt(), session().survey()->summary(0).readings);
    EXPECT_EQ(days->child(0)->text(3), "no base source");

    ASSERT_TRUE(session().change(placed()));
    EXPECT_FALSE(frame().action(cmd::SurveySettings)->isEnabled());  // while it works
    session().wait();
    ASSERT_TRUE(session().ready());
    EXPECT_NE(window().summary().indexOf("Placement by parameters"), -1);
    EXPECT_EQ(window().days()->topLevelItem(1)->child(0)->text(0), "week-base.a");
    EXPECT_TRUE(window().days()->topLevelItem(0)->child(0)->text(3).endsWith(" %"));

    // Every placed reading is on the map where the placement puts it.
    const Survey& survey = *session().survey();
    const SurveyMapPainter& painter = session().painter();
    ASSERT_EQ(painter.dots().size(), static_cast<std::size_t>(survey.readingCount()));
    const Survey::Reading first = survey.reading(0);
    EXPECT_DOUBLE_EQ(painter.dots()[0].easting, first.easting);
    window().resize(1000, 640);
    SurveyMapWidget& map = *window().map();
    window().colourBy()->setCurrentIndex(static_cast<int>(SurveyMapPainter::Value::Diurnal));
    const QImage image = map.grab().toImage();
    const auto t = painter.transform(map.width(), map.height(), SurveyMapPainter::kScreenEm);
    ASSERT_NO_FATAL_FAILURE(expectEveryDiurnalValueShown(painter, image, t));

    // Hover tells the reading; a click opens its day at that reading in the list.
    const auto at = t.toDevice(first.easting, first.northing);
    const QPoint point(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y)));
    const int r = map.readingAt(point);
    ASSERT_GE(r, 0);
    QMouseEvent move(QEvent::MouseMove, point, map.mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&map, &move);
    EXPECT_TRUE(window().readout().startsWith("week.velkor   Reading"))
        << window().readout().toStdString();
    EXPECT_NE(window().readout().indexOf("Diurnal"), -1);
    openData(Fixture::sample("survey.velkor"));
    QTest::mouseClick(&map, Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_EQ(doc().loadedFrom(), Fixture::sample("week.velkor"));
    EXPECT_EQ(frame().shownViewIndex(), 0);
    EXPECT_EQ(frame().listView()->currentIndex().row(), survey.reading(r).line - 1);
}

TEST_F(SurveyWindowTest, AChangeMadeOutsideTheWindowIsNeverWrittenOver) {
    const std::string file = dir.path("outside.vsurvey");
    prompter.files.push_back(file);
    frame().dispatch(cmd::NewSurvey);
    addDay(Fixture::sample("survey.velkor"));
    ASSERT_TRUE(session().ready());
    // The tool sets the datum while the window is open.
    std::string message;
    SurveySettings outside = session().survey()->settings();
    outside.datum = 46000.0;
    ASSERT_TRUE(SurveyFile::write(file, outside, message)) << message;
    SurveySettings mine = session().survey()->settings();
    mine.gridding.interval = 20.0;
    const std::size_t told = prompter.shown.size();
    EXPECT_FALSE(session().change(mine));
    ASSERT_EQ(prompter.shown.size(), told + 1);
    EXPECT_NE(prompter.shown.back().text.find("was changed outside this window"),
              std::string::npos);
    session().wait();
    ASSERT_TRUE(session().ready());
    EXPECT_EQ(session().survey()->settings().datum, 46000.0);
    EXPECT_EQ(SurveyFile::read(file, message)->datum, 46000.0);
    // Read again, the window's own changes are taken and written.
    mine = session().survey()->settings();
    mine.gridding.interval = 20.0;
    ASSERT_TRUE(session().change(mine));
    session().wait();
    EXPECT_EQ(SurveyFile::read(file, message)->gridding.interval, 20.0);
    EXPECT_EQ(SurveyFile::read(file, message)->datum, 46000.0);
    // A file broken outside is left as it is.
    dir.write("outside.vsurvey", "{\"format\": ");
    EXPECT_FALSE(session().change(outside));
    EXPECT_NE(prompter.shown.back().text.find("cannot be read now"), std::string::npos);
    EXPECT_EQ(TempDir::read(file), "{\"format\": ");
}

TEST_F(SurveyWindowTest, CancelledOpeningKeepsTheSurveyThatWasOpen) {
    prompter.files.push_back(dir.path("one.vsurvey"));
    frame().dispatch(cmd::NewSurvey);
    addDay(Fixture::sample("survey.velkor"));
    ASSERT_TRUE(session().ready());
    const SurveySettings before = session().survey()->settings();

    SurveySettings both;
    both.days = {Fixture::sample("week.velkor"), Fixture::sample("survey.velkor")};
    // A flag whose reading's line is no longer what it was: dropped on opening, and said.
    both.flags.push_back({Fixture::sample("week.velkor"), 3, "S changed since", "spike"});
    std::string message;
    ASSERT_TRUE(SurveyFile::write(dir.path("two.vsurvey"), both, message)) << message;
    prompter.files.push_back(dir.path("two.vsurvey"));
    frame().dispatch(cmd::OpenSurvey);
    EXPECT_TRUE(session().busy());
    session().cancel();
    session().wait();
    ASSERT_TRUE(session().ready());
    EXPECT_EQ(session().path(), dir.path("one.vsurvey"));
    EXPECT_TRUE(session().survey()->settings() == before);
    EXPECT_TRUE(prompter.shown.empty());

    // Not cancelled, it opens.
    prompter.files.push_back(dir.path("two.vsurvey"));
    frame().dispatch(cmd::OpenSurvey);
    session().wait();
    EXPECT_EQ(session().survey()->dayCount(), 2);
    EXPECT_EQ(session().path(), dir.path("two.vsurvey"));
    EXPECT_TRUE(session().survey()->settings().flags.empty());
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown[0].text.rfind("1 flag", 0), 0U) << prompter.shown[0].text;
    EXPECT_EQ(TempDir::read(dir.path("two.vsurvey")).find("changed since"), std::string::npos);
}

TEST_F(SurveyWindowTest, SettingsDialogGivesBackWhatItShowsWithResiduals) {
    SurveySettings s;
    std::string message;
    s.placement =
        *Placement::byControlPoints({{0, 0, 1000, 2000}, {10, 0, 1100, 2000}, {0, 10, 1000, 2101}},
                                    Placement::Side::Right, 10.0, 10.0, message);
    s.epsg = 32635;
    s.datum = 48000.5;
    s.normal.kind = SurveySettings::NormalField::Kind::Igrf;
    s.normal.height = 120.0;
    s.baseSources.push_back({Fixture::sample("week-base.a"), -30});
    // Sources of the other kinds come back as they are read: kind and columns kept.
    s.baseSources.push_back(
        {Fixture::sample("week-base.iaga"), 7200, SurveySettings::BaseSource::Format::Iaga2002});
    s.baseSources.push_back({Fixture::sample("week-base.csv"), 3600,
                             SurveySettings::BaseSource::Format::Csv, "DATE,TIME,VALUE"});
    s.baseSources.push_back({std::string(), 0, SurveySettings::BaseSource::Format::Survey});
    DlgSurveySettings dialog(s, prompter);
    const std::optional<SurveySettings> back = dialog.settings(message);
    ASSERT_TRUE(back) << message;
    EXPECT_TRUE(*back == s);
    int tables = 0;
    for (const QTableWidget* t : dialog.findChildren<QTableWidget*>()) {
        if (t->columnCount() == 5) {  // the control points and their residuals
            ++tables;
            const QString shown = t->item(2, 4)->text();
            EXPECT_EQ(shown, QString::number(s.placement.residuals()[2].distance(), 'f', 3));
            EXPECT_NE(shown, "0.000");
        }
    }
    EXPECT_EQ(tables, 1);
}

TEST_F(SurveyWindowTest, SettingsDialogTakesAFitThatDoesNotHoldAndSaysSo) {
    SurveySettings s;
    std::string message;
    // Lines to the left of positions running north, given to the right.
    s.placement = *Placement::byControlPoints({{0, 0, 500000, 6000000},
                                               {40, 0, 499960, 6000000},
                                               {0, 120, 500000, 6000060},
                                               {40, 120, 499960, 6000060}},
                                              Placement::Side::Right, 1.0, 0.5, message);
    DlgSurveySettings dialog(s, prompter);
    dialog.accept();
    EXPECT_TRUE(dialog.result().placement == s.placement);
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown[0].text, s.placement.fitWarning());
    EXPECT_NE(prompter.shown[0].text.find("With the lines to the left"), std::string::npos);
}

TEST_F(SurveyWindowTest, ExportSurveyWritesTheFormatItsFileNameEndsIn) {
    EXPECT_FALSE(frame().action(cmd::ExportSurvey)->isEnabled());
    prompter.files.push_back(dir.path("walk.vsurvey"));
    frame().dispatch(cmd::NewSurvey);
    addDay(Fixture::sample("survey.velkor"));
    ASSERT_TRUE(session().ready());
    EXPECT_TRUE(frame().action(cmd::ExportSurvey)->isEnabled());

    const std::string csv = dir.path("walk.csv");
    prompter.files.push_back(csv);
    frame().dispatch(cmd::ExportSurvey);
    std::ifstream in(csv);
    std::string header;
    ASSERT_TRUE(std::getline(in, header));
    EXPECT_EQ(header, std::string(SurveyExport::kColumns) + "\r");
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        ++rows;
    }
    EXPECT_EQ(rows, session().survey()->readingCount());
    EXPECT_EQ(window().readout().toStdString(),
              "Exported " + std::to_string(rows) + " readings to " + csv);

    // A name whose ending names no format writes nothing and says what to type.
    prompter.files.push_back(dir.path("walk.txt"));
    frame().dispatch(cmd::ExportSurvey);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_NE(prompter.shown.back().text.find(".gpkg"), std::string::npos);
    EXPECT_FALSE(std::ifstream(dir.path("walk.txt")).good());
}

namespace velkor {

TEST_F(SurveyWindowTest, TheWeekGriddedAndContoured) {
    ASSERT_NO_FATAL_FAILURE(placeTheWeek("grid.vsurvey"));
    SurveyWindow& w = window();
    SurveyGridder& gridder = w.gridder();
    QProgressBar* bar = w.findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    // Nothing is gridded while the readings alone are shown.
    EXPECT_FALSE(gridder.busy());
    EXPECT_EQ(gridder.result(), nullptr);
    EXPECT_FALSE(w.map()->showsGrid());

    // Grid and contours: gridded off the user-interface thread, the bar showing meanwhile.
    w.layerBox(1)->setChecked(true);
    EXPECT_TRUE(gridder.busy());
    EXPECT_FALSE(bar->isHidden());
    w.layerBox(3)->setChecked(true);  // the same grid: asked for once
    gridder.wait();
    EXPECT_TRUE(bar->isHidden());
    ASSERT_NE(gridder.result(), nullptr);
    const SurveyGridding::Result& r = *gridder.result();
    EXPECT_EQ(r.what, SurveyGridding::What::Anomaly);
    ASSERT_FALSE(r.gridded.grid.lattice.empty());
    ASSERT_FALSE(r.contours.lines.empty());
    EXPECT_DOUBLE_EQ(r.gridded.report.tension, GriddingOptions::kDefaultTension);
    EXPECT_TRUE(w.map()->showsGrid());
    EXPECT_FALSE(w.colourBy()->isEnabled());
    EXPECT_NE(w.summary().indexOf("misfit at the readings: mean"), -1);
    EXPECT_NE(w.summary().indexOf("level 1: "), -1);
    EXPECT_NE(w.summary().indexOf("Placement by parameters"), -1);

    // What the window draws: the grid as one image, the contours and their labels, the
    // colour bar of the anomaly, the readings' positions on top.
    RecordingSurface s;
    const SurveyMapWidget& map = *w.map();
    SurveyPicture::draw(s, map.width(), map.height(), session().painter(), gridder.painter(),
                        map.layers(), map.value());
    ASSERT_EQ(s.pictures.size(), 1U);
    EXPECT_EQ(s.pictures[0].image.width, r.gridded.grid.lattice.nx);
    EXPECT_NE(s.findText("Anomaly (nT)"), nullptr);
    const std::size_t contourLabels = std::count_if(s.turnedTexts.begin(), s.turnedTexts.end(),
                                                    [](const auto& t) { return t.angle != 90.0; });
    EXPECT_GT(contourLabels, 0U);
    EXPECT_LE(contourLabels, r.contours.labels.size());
    EXPECT_GT(s.segments.size(), r.contours.lines.size());
    EXPECT_GE(
        std::count_if(s.fills.begin(), s.fills.end(), [](const auto& f) { return f.rgb == 0u; }),
        static_cast<long>(session().painter().dots().size()));
    // On screen the grid fills much of the map.
    const QImage image = w.map()->grab().toImage();
    int coloured = 0;
    const RecordingSurface::Picture& p = s.pictures[0];
    for (int y = static_cast<int>(p.y); y < static_cast<int>(p.y + p.height); y += 4) {
        for (int x = static_cast<int>(p.x); x < static_cast<int>(p.x + p.width); x += 4) {
            coloured += (image.pixel(x, y) & 0xffffff) != 0xffffff ? 1 : 0;
        }
    }
    EXPECT_GT(coloured, static_cast<int>(p.width * p.height / 16 / 3));
}

TEST_F(SurveyWindowTest, TheGriddedWeekPrintedWithItsTitleBlock) {
    ASSERT_NO_FATAL_FAILURE(placeTheWeek("grid.vsurvey"));
    SurveyWindow& w = window();
    SurveyGridder& gridder = w.gridder();
    ASSERT_NO_FATAL_FAILURE(showGridAndContours());
    const SurveyMapWidget& map = *w.map();
    // The print: one page, its title block telling how the grid was made.
    EXPECT_EQ(w.preparePrinting(), 1);
    const std::vector<std::string> title =
        SurveyTitleBlock::lines(*session().survey(), "grid", gridder.result(), map.value());
    ASSERT_EQ(title.size(), 8U);
    EXPECT_EQ(std::vector<std::string>(title.begin(), title.begin() + 4),
              (std::vector<std::string>{"Survey grid", "Dates 06.07.2026 - 09.07.2026",
                                        "Gridded: anomaly", "Datum 48000.00 nT, no normal field"}));
    EXPECT_NE(title.back().find("tension 0.25, blanking distance"), std::string::npos);
    QImage page(1400, 2000, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        w.printPage(painter, page.width(), page.height(), 1);
    }
    EXPECT_NE(page.pixel(700, 1000) & 0xffffff, 0xffffffu);
}

namespace {

// How wide the coloured readings lie on a printed page, in pixels.
int printedMapWidth(SurveyWindow& w) {
    QImage page(1400, 2000, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        w.printPage(painter, page.width(), page.height(), 1);
    }
    int left = page.width();
    int right = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (std::max({c.red(), c.green(), c.blue()}) -
                    std::min({c.red(), c.green(), c.blue()}) >
                60) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return right - left;
}

}  // namespace

TEST_F(SurveyWindowTest, PrintedAtAStandardScaleTheMapIsSmaller) {
    ASSERT_NO_FATAL_FAILURE(placeTheWeek("scale.vsurvey"));
    SurveyWindow& w = window();
    const int filling = printedMapWidth(w);
    w.standardScale()->setChecked(true);
    const int standard = printedMapWidth(w);
    EXPECT_GT(filling, 0);
    EXPECT_LT(standard, filling);
}

TEST_F(SurveyWindowTest, AGriddingCancelledAndOnlyTheLatestOfTwoTaken) {
    ASSERT_NO_FATAL_FAILURE(placeTheWeek("grid.vsurvey"));
    SurveyWindow& w = window();
    SurveyGridder& gridder = w.gridder();
    ASSERT_NO_FATAL_FAILURE(showGridAndContours());
    // Another tension: while it grids, Cancel. The grid of the old tension is not shown
    // for the new one; the survey and its readings stay.
    std::vector<double> taken;
    QObject::connect(&gridder, &SurveyGridder::changed, [&] {
        if (gridder.result() != nullptr) {
            taken.push_back(gridder.result()->gridded.report.tension);
        }
    });
    SurveySettings::Gridding o = w.gridding();
    o.tension = 0.9;
    ASSERT_TRUE(w.setGridding(o));
    session().wait();  // the survey takes it and is saved; then it grids
    ASSERT_TRUE(gridder.busy());
    QPushButton* cancel = nullptr;
    for (QPushButton* b : w.findChildren<QPushButton*>()) {
        cancel = b->text() == "Cancel" ? b : cancel;
    }
    ASSERT_NE(cancel, nullptr);
    EXPECT_FALSE(cancel->isHidden());
    cancel->click();
    gridder.wait();
    EXPECT_FALSE(gridder.busy());
    EXPECT_EQ(gridder.result(), nullptr);
    EXPECT_FALSE(w.map()->showsGrid());
    EXPECT_TRUE(w.colourBy()->isEnabled());
    EXPECT_EQ(w.summary().indexOf("misfit"), -1);
    EXPECT_TRUE(session().ready());
    EXPECT_FALSE(session().painter().dots().empty());
    EXPECT_FALSE(w.map()->grab().toImage().isNull());

    // Two changes in a row: only the latest grid is taken.
    o.tension = 0.5;
    ASSERT_TRUE(w.setGridding(o));
    session().wait();
    o.tension = 0.1;
    ASSERT_TRUE(w.setGridding(o));
    session().wait();
    gridder.wait();
    ASSERT_NE(gridder.result(), nullptr);
    EXPECT_DOUBLE_EQ(gridder.result()->gridded.report.tension, 0.1);
    EXPECT_EQ(std::count(taken.begin(), taken.end(), 0.5), 0);
    EXPECT_EQ(std::count(taken.begin(), taken.end(), 0.9), 0);
    EXPECT_TRUE(w.map()->showsGrid());
}

TEST_F(SurveyWindowTest, TheGriddingIsTheSurveys) {
    ASSERT_NO_FATAL_FAILURE(placeTheWeek("grid.vsurvey"));
    SurveyWindow& w = window();
    SurveyGridder& gridder = w.gridder();
    ASSERT_NO_FATAL_FAILURE(showGridAndContours());
    SurveySettings::Gridding o = w.gridding();
    o.tension = 0.1;
    ASSERT_TRUE(w.setGridding(o));
    session().wait();
    gridder.wait();
    // The gridding is the survey's: Grid of and the options are in its file, and a survey
    // opened again grids as it was left.
    w.gridOf()->setCurrentIndex(static_cast<int>(SurveyGridding::What::Field));
    session().wait();
    gridder.wait();
    ASSERT_NE(gridder.result(), nullptr);
    EXPECT_EQ(gridder.result()->what, SurveyGridding::What::Field);
    std::string message;
    const std::optional<SurveySettings> saved = SurveyFile::read(dir.path("grid.vsurvey"), message);
    ASSERT_TRUE(saved) << message;
    EXPECT_EQ(saved->gridding.what, SurveyGridding::What::Field);
    EXPECT_DOUBLE_EQ(saved->gridding.tension, 0.1);
    prompter.files.push_back(dir.path("grid.vsurvey"));
    frame().dispatch(cmd::OpenSurvey);
    session().wait();
    EXPECT_EQ(w.gridOf()->currentIndex(), static_cast<int>(SurveyGridding::What::Field));
    gridder.wait();
    ASSERT_NE(gridder.result(), nullptr);
    EXPECT_DOUBLE_EQ(gridder.result()->gridded.report.tension, 0.1);
    // While the survey is busy, its gridding cannot change.
    ASSERT_TRUE(session().change(*saved));
    EXPECT_FALSE(w.gridOf()->isEnabled());
    EXPECT_FALSE(w.setGridding(SurveySettings::Gridding()));
    session().wait();
    EXPECT_TRUE(w.gridOf()->isEnabled());
}

TEST_F(SurveyWindowTest, TheBasePanelStepsThroughTheSurveysDates) {
    prompter.files.push_back(dir.path("base.vsurvey"));
    frame().dispatch(cmd::NewSurvey);
    addDay(Fixture::sample("week.velkor"));
    ASSERT_TRUE(session().change(placed()));
    session().wait();
    ASSERT_TRUE(session().ready());
    SurveyWindow& w = window();
    // Worked out once it is looked at.
    EXPECT_EQ(w.baseDate()->count(), 0);
    w.tabs()->setCurrentIndex(1);
    ASSERT_EQ(w.baseDate()->count(), 4);
    EXPECT_EQ(w.baseDate()->currentText(), "06.07.2026");
    const BasePanel& first = w.basePanel()->panel();
    EXPECT_EQ(first.date(), "06.07.2026");
    ASSERT_EQ(first.curves().size(), 1u);
    EXPECT_EQ(first.curves()[0].name, "week-base.a");
    EXPECT_FALSE(first.curves()[0].runs.empty());
    EXPECT_FALSE(first.readings().empty());

    w.baseDate()->setCurrentIndex(3);
    EXPECT_EQ(w.basePanel()->panel().date(), "09.07.2026");
    // A source taken away leaves the panel with none.
    SurveySettings bare = session().survey()->settings();
    bare.baseSources.clear();
    ASSERT_TRUE(session().change(bare));
    session().wait();
    EXPECT_TRUE(w.basePanel()->panel().curves().empty());
    EXPECT_EQ(w.basePanel()->panel().date(), "09.07.2026");
}

TEST_F(SurveyWindowTest, GriddingOptionsDialogTakesNumbersOrDefaults) {
    SurveySettings::Gridding current;
    current.cell = 2.5;
    current.interval = 10.0;
    DlgGriddingOptions dialog(current, prompter);
    EXPECT_EQ(dialog.cell()->text(), "2.5");
    EXPECT_EQ(dialog.tension()->text(), "0.25");
    EXPECT_TRUE(dialog.blankDistance()->text().isEmpty());
    EXPECT_EQ(dialog.interval()->text(), "10");
    dialog.interval()->setText("");
    dialog.cell()->setText("");
    dialog.blankDistance()->setText("40");
    dialog.tension()->setText("1.5");
    dialog.accept();
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown[0].text, "The tension must be a number from 0 to 1.");
    dialog.tension()->setText("0.6");
    dialog.accept();
    EXPECT_EQ(prompter.shown.size(), 1U);
    EXPECT_FALSE(dialog.result().cell);
    EXPECT_EQ(dialog.result().blankDistance, 40.0);
    EXPECT_DOUBLE_EQ(dialog.result().tension, 0.6);
    EXPECT_FALSE(dialog.result().interval);
    // "none" blanks nothing, both ways.
    current.blankDistance = std::numeric_limits<double>::infinity();
    DlgGriddingOptions unblanked(current, prompter);
    EXPECT_EQ(unblanked.blankDistance()->text(), "none");
    unblanked.accept();
    EXPECT_EQ(unblanked.result().blankDistance, current.blankDistance);
}

}  // namespace velkor

TEST_F(SurveyWindowTest, GriddingOptionsShowTheValuesTheDefaultsStandFor) {
    prompter.files.push_back(dir.path("defaults.vsurvey"));
    frame().dispatch(cmd::NewSurvey);
    addDay(Fixture::sample("week.velkor"));
    ASSERT_TRUE(session().change(placed()));
    session().wait();
    SurveyWindow& w = window();
    // Nothing gridded yet: the values the readings and placement give.
    const DlgGriddingOptions before(w.gridding(), prompter, w.griddingDefaults());
    bool number = false;
    EXPECT_GT(before.interval()->placeholderText().toDouble(&number), 0.0);
    EXPECT_TRUE(number);
    w.layerBox(1)->setChecked(true);
    w.gridder().wait();
    ASSERT_NE(w.gridder().result(), nullptr);
    const DlgGriddingOptions dialog(w.gridding(), prompter, w.griddingDefaults());
    // Half the 5 m station interval, 2.5 line spacings of 20 m, the grid's contour step.
    EXPECT_EQ(dialog.cell()->placeholderText(), "2.5");
    EXPECT_EQ(dialog.blankDistance()->placeholderText(), "50");
    EXPECT_EQ(before.cell()->placeholderText(), "2.5");
    EXPECT_EQ(before.blankDistance()->placeholderText(), "50");
    EXPECT_EQ(before.interval()->placeholderText(), dialog.interval()->placeholderText());
    EXPECT_EQ(dialog.interval()->placeholderText(),
              QString::number(w.gridder().result()->interval));
    EXPECT_GT(w.gridder().result()->interval, 0.0);
}

TEST_F(SurveyWindowTest, ASourceGivenTwiceIsRefusedAndOneThatNeverMeetsTheDaysIsNamed) {
    prompter.files.push_back(dir.path("rules.vsurvey"));
    frame().dispatch(cmd::NewSurvey);
    addDay(Fixture::sample("week.velkor"));
    ASSERT_TRUE(session().change(placed()));
    session().wait();
    ASSERT_TRUE(session().ready());

    // The dialog will not close on the same file at the same offset again.
    SurveySettings twice = session().survey()->settings();
    twice.baseSources.push_back({Fixture::sample("week-base.a"), 0});
    DlgSurveySettings dialog(session().survey()->settings(), prompter);
    std::string message;
    ASSERT_TRUE(dialog.settings(message)) << message;
    prompter.files.push_back(Fixture::sample("week-base.a"));
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == "Add...") {
            b->click();
        }
    }
    EXPECT_FALSE(dialog.settings(message));
    EXPECT_EQ(message, "week-base.a at offset 0 s is a base source of the survey already.");
    // Nor does the window take it by any other way; the survey stays as it was.
    prompter.shown.clear();
    EXPECT_FALSE(session().change(twice));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{message});
    EXPECT_EQ(session().survey()->settings().baseSources.size(), 1u);

    // A source of other dates is taken, and named once, when it is added.
    std::ofstream(dir.path("base.a")) << " Date       Time     Variations\n"
                                         " 03.07.2026 07:00:00 48224.3\n"
                                         " 03.07.2026 07:03:00 48223.8\n";
    SurveySettings other = session().survey()->settings();
    other.baseSources.push_back({dir.path("base.a"), 0});
    prompter.shown.clear();
    ASSERT_TRUE(session().change(other));
    session().wait();
    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_EQ(prompter.texts()[0].rfind("base.a: its dates (03.07.2026 to 03.07.2026) never meet "
                                        "the survey's",
                                        0),
              0u)
        << prompter.texts()[0];
    prompter.shown.clear();
    SurveySettings datum = session().survey()->settings();
    datum.datum = 47000.0;
    ASSERT_TRUE(session().change(datum));
    session().wait();
    EXPECT_TRUE(prompter.texts().empty());
}

}  // namespace velkor
