// The settings dialog's position tracks and its placement by track: tracks added by their
// content, a track given twice refused, the placement kept as it was unless edited.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTableWidget>

#include "TrackDialogSteps.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"
#include "survey/SurveySettings.h"
#include "widgets/survey/DlgSurveySettings.h"

namespace velkor {
namespace {

SurveySettings settingsPlacedByTrack() {
    SurveySettings s;
    s.epsg = 32633;
    s.tracks.push_back({"/data/walk.gpx", SurveySettings::Track::Format::Gpx, 7200.5});
    // The columns named for a CSV track go back as they came: the dialog never shows them.
    s.tracks.push_back(
        {"/data/walk.csv", SurveySettings::Track::Format::Csv, 0.0, "date,time,x,y"});
    Placement::Track t;
    t.along = -0.8;
    t.across = 0.25;
    t.lag = 0.6125;  // finer than the dialog shows it
    t.maxGap = 4.0;
    std::string message;
    s.placement = *Placement::byTrack(t, message);
    return s;
}

}  // namespace

TEST(SurveySettingsTrack, APlacementByTrackIsKeptUnlessEditedAndMadeHere) {
    RecordingPrompter prompter;
    const SurveySettings s = settingsPlacedByTrack();
    DlgSurveySettings dialog(s, prompter);
    std::string message;
    std::optional<SurveySettings> back = dialog.settings(message);
    ASSERT_TRUE(back) << message;
    EXPECT_TRUE(*back == s);

    dialog.findChild<QDoubleSpinBox*>("along")->setValue(-1.2);
    back = dialog.settings(message);
    ASSERT_TRUE(back) << message;
    EXPECT_EQ(back->placement.by(), Placement::By::Track);
    EXPECT_EQ(back->placement.track().along, -1.2);
    EXPECT_EQ(back->placement.track().across, 0.25);
    EXPECT_EQ(back->placement.track().maxGap, 4.0);

    // The core's own refusal, told through the prompter; the dialog stays open.
    dialog.findChild<QDoubleSpinBox*>("maxGap")->setValue(0.0);
    Placement::Track none;
    none.maxGap = 0.0;
    std::string expected;
    ASSERT_FALSE(Placement::byTrack(none, expected));
    dialog.accept();
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{expected});
    EXPECT_TRUE(dialog.result() == s);

    // Chosen here for a survey placed otherwise: the default gap.
    SurveySettings plain = s;
    plain.placement = Placement();
    DlgSurveySettings chosen(plain, prompter);
    chosen.findChild<QComboBox*>("placeBy")->setCurrentIndex(3);
    back = chosen.settings(message);
    ASSERT_TRUE(back) << message;
    EXPECT_EQ(back->placement.by(), Placement::By::Track);
    EXPECT_EQ(back->placement.track().maxGap, Placement::Track().maxGap);
}

TEST(SurveySettingsTrack, TracksAreToldByContentAndOneGivenTwiceIsRefused) {
    TempDir dir;
    RecordingPrompter prompter;
    const std::string gpx =
        dir.write("walk.gpx",
                  "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\"><trk><trkseg>\n"
                  "<trkpt lat=\"48.1\" lon=\"11.5\"><time>2026-07-06T08:00:00Z</time></trkpt>\n"
                  "</trkseg></trk></gpx>\n");
    const std::string nmea = dir.write("walk.log", "$GPZDA,080000,06,07,2026,00,00*47\r\n");
    SurveySettings s;
    s.tracks.push_back({gpx, SurveySettings::Track::Format::Gpx, 0.0});
    DlgSurveySettings dialog(s, prompter);
    auto* table = dialog.findChild<QTableWidget*>("tracks");
    ASSERT_NE(table, nullptr);

    const std::string csv = dir.write("walk.csv",
                                      "time,easting,northing\n"
                                      "2026-07-06T08:00:00Z,500000,5300000\n");
    prompter.files = {dir.write("notes.txt", "a walk\n"), nmea, csv};
    clickDialogButton(dialog, "Add Track...");
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{
                  dir.path("notes.txt") +
                  ": neither a GPX file nor an NMEA log nor a CSV file of times and positions"});
    clickDialogButton(dialog, "Add Track...");
    clickDialogButton(dialog, "Add Track...");
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(1, 1)->text(), "NMEA");
    EXPECT_EQ(table->item(2, 1)->text(), "CSV");
    table->removeRow(2);
    table->item(1, 2)->setText("7200");
    std::string message;
    const std::optional<SurveySettings> back = dialog.settings(message);
    ASSERT_TRUE(back) << message;
    ASSERT_EQ(back->tracks.size(), 2u);
    EXPECT_TRUE(back->tracks[0] == s.tracks[0]);
    EXPECT_EQ(back->tracks[1].format, SurveySettings::Track::Format::Nmea);
    EXPECT_EQ(back->tracks[1].offset, 7200.0);

    table->item(1, 2)->setText("two hours");
    EXPECT_FALSE(dialog.settings(message));
    EXPECT_EQ(message, "Position track 2: the offset must be a number of seconds.");
    prompter.files = {gpx};
    clickDialogButton(dialog, "Add Track...");
    table->item(1, 2)->setText("0");
    EXPECT_FALSE(dialog.settings(message));
    EXPECT_EQ(message, "walk.gpx is a position track of the survey already.");
}

}  // namespace velkor
