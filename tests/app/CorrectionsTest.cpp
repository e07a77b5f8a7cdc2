#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <sstream>

#include "AppFixture.h"
#include "app/QtPrompter.h"
#include "app/SettingsKeys.h"
#include "app/SettingsStore.h"
#include "cli/CliTool.h"
#include "core/CommandTable.h"
#include "corrections/DecimalYear.h"
#include "corrections/GeomagneticModel.h"
#include "corrections/ValueEntry.h"
#include "widgets/day/DlgIgrf.h"
#include "widgets/day/DlgVariations.h"
#include "widgets/day/ValueDialog.h"

namespace velkor {
namespace {

class CorrectionsTest : public AppFixture {
  protected:
    void openVariations(const std::string& path) {
        prompter.files.push_back(path);
        frame().dispatch(cmd::OpenVariations);
    }
    std::string baseFile() {
        return dir.write("base.a",
                         " Date       Time     Variations\r\n"
                         " 03.07.2026 10:00:00 48000.0\r\n"
                         " 03.07.2026 10:04:00 48004.0\r\n"
                         " 03.07.2026 10:10:00 48010.0\r\n");
    }
    std::string dayFile() {
        return dir.write("day.velkor",
                         "M header \r\n"
                         "S 03.07.2026 10:05:00     1     1 48100.0  0.7 7 1.5          Base \r\n"
                         "S 03.07.2026 11:05:00     1     2 48200.0  0.7 7 1.5               \r\n"
                         "A 03.07.2026 10:05:00     0     0 48004.6  0.7 7 1.5               \r\n");
    }
    std::string exportTo(int id, const std::string& name) {
        prompter.files.push_back(dir.path(name));
        frame().dispatch(id);
        return TempDir::read(dir.path(name));
    }
};

}  // namespace

TEST_F(CorrectionsTest, FromOpenDataToTheCorrectedExport) {
    ASSERT_TRUE(start());
    openData(dayFile());
    EXPECT_FALSE(frame().action(cmd::Temporal)->isEnabled());
    EXPECT_FALSE(frame().action(cmd::ExportCorrected)->isEnabled());

    // Cancel in the file dialog changes nothing.
    frame().dispatch(cmd::OpenVariations);
    EXPECT_FALSE(frame().action(cmd::VariationsList)->isEnabled());

    openVariations(baseFile());
    EXPECT_EQ(prompter.asked.back(), "variations:" + dir.path("base.a") + ":4");
    EXPECT_TRUE(frame().action(cmd::VariationsList)->isEnabled());
    EXPECT_TRUE(frame().action(cmd::Temporal)->isEnabled());
    frame().dispatch(cmd::VariationsList);
    EXPECT_EQ(prompter.asked.back(), "variations:" + dir.path("base.a") + ":4");

    prompter.values.push_back(48000.0f);
    frame().dispatch(cmd::Temporal);
    EXPECT_EQ(doc().data().corrected(1), 48095.0f);
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"There are uncorrected readings in the file"}));
    EXPECT_TRUE(frame().action(cmd::ExportCorrected)->isEnabled());

    // Cancel keeps the basis and still runs: nothing new to correct, the notice again.
    frame().dispatch(cmd::Temporal);
    EXPECT_EQ(prompter.asked.back(), "basis:" + std::to_string(48000.0f));
    EXPECT_EQ(doc().data().basis, 48000.0f);

    frame().dispatch(cmd::Geomagnetic);  // Cancel
    EXPECT_FALSE(doc().data().geomagDone);
    prompter.values.push_back(47000.0f);
    frame().dispatch(cmd::Geomagnetic);
    EXPECT_TRUE(doc().data().geomagDone);

    EXPECT_EQ(exportTo(cmd::ExportCorrected, "day.cf"),
              "Variations Basis  48000.0nT\r\nGeomagnetic Field  47000.0nT\r\n"
              " Line Pos  Corrected\r\n    1    1   1095.0\r\n");
    EXPECT_EQ(prompter.asked.back(), "save-file:Corrected field files (*.cf)|*.cf||:cf");
    EXPECT_EQ(exportTo(cmd::ExportField, "day.f"), "    1    1 48100.0\r\n    1    2 48200.0\r\n");
    EXPECT_EQ(exportTo(cmd::ExportAuto, "day.a"),
              " Date       Time     Variations\r\n 03.07.2026 10:05:00 48004.6\r\n");
    prompter.shown.clear();
    EXPECT_EQ(exportTo(cmd::ExportGradient, "day.g"), " Line  Pos  Gradient\r\n");
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"There is nothing to export. The output file is empty."}));

    // A new data set clears the corrections but keeps the variations.
    openData(dayFile());
    EXPECT_FALSE(frame().action(cmd::ExportCorrected)->isEnabled());
    EXPECT_TRUE(frame().action(cmd::Temporal)->isEnabled());
}

TEST_F(CorrectionsTest, ValueDialogsCheckWhatIsTyped) {
    RecordingPrompter local;
    DlgBasVar basis(48123.4f, local);
    EXPECT_EQ(basis.windowTitle(), "Temporal Variations Basis");
    EXPECT_EQ(basis.edit()->text(), "48123.4");

    basis.edit()->clear();
    QTest::keyClicks(basis.edit(), "4a8.0-x1");
    EXPECT_EQ(basis.edit()->text(), "4801");  // digits only from the keyboard

    basis.edit()->setText("");
    basis.accept();
    basis.edit()->setText("99001");
    basis.accept();
    EXPECT_EQ(local.texts(),
              (std::vector<std::string>{"Enter a number.", "Enter a number between 0 and 99000."}));
    EXPECT_EQ(basis.result(), 0);
    basis.edit()->setText("99000");
    basis.accept();
    EXPECT_EQ(basis.result(), QDialog::Accepted);
    EXPECT_EQ(basis.value(), 99000.0f);

    DlgGeomag geomag(0.0f, local);
    EXPECT_EQ(geomag.windowTitle(), "Geomagnetic Field");
    EXPECT_EQ(geomag.edit()->text(), "0");
    geomag.edit()->setText("90001");
    geomag.accept();
    EXPECT_EQ(local.texts().back(), "Enter a number between 0 and 90000.");
}

TEST_F(CorrectionsTest, VariationsListShowsTheSamplesAsStored) {
    RecordingPrompter local;
    DlgVariations dialog("/data/base.a", {"header", " 03.07.2026 10:00:00 48000.0", "x"}, local);
    EXPECT_EQ(dialog.windowTitle(), "Variations List");
    EXPECT_EQ(dialog.fileEdit()->text(), "File   /data/base.a");
    ASSERT_EQ(dialog.list()->count(), 2);
    EXPECT_EQ(dialog.list()->item(0)->text(), " 03.07.2026 10:00:00 48000.0");
    EXPECT_EQ(dialog.list()->selectionMode(), QAbstractItemView::NoSelection);
    EXPECT_TRUE(dialog.font().fixedPitch());

    dialog.fileEdit()->setText(QString(101, 'x'));
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(local.texts(), (std::vector<std::string>{"Enter no more than 100 characters."}));
    EXPECT_EQ(dialog.result(), 0);
    dialog.fileEdit()->setText("File   short");
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(CorrectionsTest, TheWindowAndTheToolWriteTheSameFiles) {
    ASSERT_TRUE(start());
    const std::string day = dayFile();
    const std::string base = baseFile();
    openData(day);
    openVariations(base);
    prompter.values.push_back(48000.0f);
    frame().dispatch(cmd::Temporal);
    prompter.values.push_back(45000.0f);
    frame().dispatch(cmd::Geomagnetic);
    const std::string corrected = exportTo(cmd::ExportCorrected, "w.cf");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(CliTool(out, err).run({"export", "corrected", day, dir.path("t.cf"), "--variations",
                                     base, "--basis", "48000", "--geomag", "45000"}),
              0);
    EXPECT_EQ(TempDir::read(dir.path("t.cf")), corrected);
    for (const auto& [id, kind] :
         std::vector<std::pair<int, std::string>>{{cmd::ExportField, "field"},
                                                  {cmd::ExportGradient, "gradient"},
                                                  {cmd::ExportAuto, "auto"}}) {
        const std::string window = exportTo(id, "w." + kind);
        ASSERT_EQ(CliTool(out, err).run({"export", kind, day, dir.path("t." + kind)}), 0);
        EXPECT_EQ(TempDir::read(dir.path("t." + kind)), window) << kind;
    }
}

// Runs what the user does in the next modal dialog once it is open.
template <typename Dialog, typename Steps>
void inNextDialog(Steps steps) {
    QTimer::singleShot(0, [steps] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        steps(*dialog);
    });
}

TEST_F(CorrectionsTest, IgrfProposesTheFieldOfTheSurveysPlaceAndDay) {
    ASSERT_TRUE(start());
    openData(dayFile());
    frame().dispatch(cmd::Geomagnetic);
    EXPECT_EQ(prompter.asked.back(), "geomag:" + std::to_string(0.0f) + ":03.07.2026");

    const GeomagneticModel::Result model =
        GeomagneticModel::compute({55.0, 37.0, 200.0}, DecimalYear::of({2026, 7, 3}));
    ASSERT_TRUE(model.ok);
    const float f = GeomagneticModel::roundedIntensity(model.field);

    QtPrompter windows;
    QString result;
    QString proposed;
    inNextDialog<DlgGeomag>([&](DlgGeomag& geomag) {
        inNextDialog<DlgIgrf>([&](DlgIgrf& igrf) {
            EXPECT_EQ(igrf.dateEdit()->date(), QDate(2026, 7, 3));
            EXPECT_FALSE(igrf.okButton()->isEnabled());  // no place yet
            igrf.latitudeEdit()->setText("55.0 N");
            igrf.longitudeEdit()->setText("37");
            igrf.heightEdit()->setText("200");
            result = igrf.resultLabel()->text();
            igrf.okButton()->click();
        });
        geomag.igrfButton()->click();
        proposed = geomag.edit()->text();
        geomag.accept();
    });
    EXPECT_EQ(windows.askValue(Prompter::ValueKind::Geomagnetic, 0.0f, "03.07.2026"), f);
    EXPECT_EQ(proposed.toStdString(), ValueEntry::show(f));
    EXPECT_TRUE(result.startsWith(QString("F %1 nT").arg(static_cast<double>(f), 0, 'f', 1)))
        << result.toStdString();

    // The place is kept in a section of its own and offered again; a day the model does
    // not cover is refused, and Cancel leaves the value as it was.
    QSettings stored = SettingsStore::open();
    stored.beginGroup(settings::kIgrfSection);
    EXPECT_EQ(stored.childKeys(), (QStringList{"Height", "Latitude", "Longitude"}));
    EXPECT_EQ(stored.value(settings::kHeight).toDouble(), 200.0);
    inNextDialog<DlgGeomag>([&](DlgGeomag& geomag) {
        inNextDialog<DlgIgrf>([&](DlgIgrf& igrf) {
            EXPECT_EQ(igrf.latitudeEdit()->text(), "55 N");
            EXPECT_EQ(igrf.longitudeEdit()->text(), "37 E");
            EXPECT_TRUE(igrf.okButton()->isEnabled());
            igrf.dateEdit()->setDate(QDate(2030, 1, 2));
            result = igrf.resultLabel()->text();
            EXPECT_FALSE(igrf.okButton()->isEnabled());
            igrf.reject();
        });
        geomag.igrfButton()->click();
        proposed = geomag.edit()->text();
        geomag.reject();
    });
    EXPECT_EQ(windows.askValue(Prompter::ValueKind::Geomagnetic, 47000.0f, ""), std::nullopt);
    EXPECT_EQ(proposed, "47000");
    EXPECT_EQ(result, "The field model IGRF-14 covers the dates from 1900.0 to 2030.0 only.");
}

}  // namespace velkor
