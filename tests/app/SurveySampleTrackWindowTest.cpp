// The sample week placed in the window from its own NMEA log, as the tool places it, and the
// lag's Estimate: tracks changed in the dialog wait for OK, a refusal told, an estimate
// shown and kept as estimated; the track listed in the window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <string>

#include "AppFixture.h"
#include "TrackDialogSteps.h"
#include "support/Fixture.h"
#include "survey/Survey.h"
#include "survey/SurveyLagEstimate.h"
#include "widgets/survey/DlgSurveySettings.h"
#include "widgets/survey/SurveySession.h"
#include "widgets/survey/SurveyWindow.h"

namespace velkor {

TEST_F(AppFixture, TheSampleWeekIsPlacedByItsNmeaLogAndItsLagEstimateIsTold) {
    ASSERT_TRUE(start());
    ASSERT_TRUE(newSurveyWith(dir.path("week.vsurvey"), Fixture::sample("week.velkor")));
    SurveySession& session = frame().survey();
    const auto estimateFrom = [&session](const Placement::Track& t, std::string& message) {
        const auto r = SurveyLagEstimate::of(*session.survey(), t, message);
        return r ? std::optional<Placement::Track>(SurveyLagEstimate::withLag(t, *r))
                 : std::nullopt;
    };

    // A track added here is not the survey's yet: the estimate waits for OK and says so.
    DlgSurveySettings dialog(session.survey()->settings(), prompter);
    prompter.files.push_back(Fixture::sample("week-track.nmea"));
    ASSERT_TRUE(placeByTrackInDialog(dialog, "7200", 32633));
    auto* estimate = dialog.findChild<QPushButton*>("estimateLag");
    ASSERT_TRUE(estimate);
    EXPECT_FALSE(estimate->isEnabled());
    dialog.setLagEstimate(estimateFrom);
    estimate->click();
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{DlgSurveySettings::kEstimateAfterOk});
    dialog.accept();
    ASSERT_TRUE(session.change(dialog.result()));
    session.wait();
    ASSERT_TRUE(session.ready()) << testing::PrintToString(prompter.texts());
    const Survey& placed = *session.survey();
    EXPECT_EQ(placed.readingCount(), 40 * 81);
    EXPECT_EQ(placed.placedBy(0), 40 * 81);
    EXPECT_EQ(placed.total().inGap + placed.total().outsideTracks, 0);

    // The week's lines were all walked one way: nothing to estimate from, and it says so.
    DlgSurveySettings again(placed.settings(), prompter);
    again.setLagEstimate(estimateFrom);
    auto* lag = again.findChild<QDoubleSpinBox*>("lag");
    ASSERT_TRUE(lag);
    again.findChild<QPushButton*>("estimateLag")->click();
    ASSERT_EQ(prompter.texts().size(), 2u);
    EXPECT_NE(prompter.texts()[1].find("no neighbouring lines walked in opposite directions"),
              std::string::npos)
        << prompter.texts()[1];
    EXPECT_EQ(lag->value(), 0.0);

    // An estimate found is shown, and kept as estimated unless the lag is typed over.
    again.setLagEstimate([](const Placement::Track& t, std::string&) {
        Placement::Track found = t;
        found.lag = 0.35;
        found.lagEstimated = true;
        return std::optional<Placement::Track>(found);
    });
    again.findChild<QPushButton*>("estimateLag")->click();
    EXPECT_DOUBLE_EQ(lag->value(), 0.35);
    std::string message;
    std::optional<SurveySettings> next = again.settings(message);
    ASSERT_TRUE(next) << message;
    EXPECT_TRUE(next->placement.track().lagEstimated);
    lag->setValue(0.4);
    EXPECT_FALSE(again.settings(message)->placement.track().lagEstimated);

    // Another offset typed in is not the survey's either.
    auto* offsets = again.findChild<QTableWidget*>("tracks");
    ASSERT_TRUE(offsets);
    offsets->item(0, 2)->setText("7201");
    again.findChild<QPushButton*>("estimateLag")->click();
    ASSERT_EQ(prompter.texts().size(), 3u);
    EXPECT_EQ(prompter.texts()[2], DlgSurveySettings::kEstimateAfterOk);
    EXPECT_DOUBLE_EQ(lag->value(), 0.4);

    // The window lists the track beside the days and base sources, dated on the survey clock.
    const QTreeWidgetItem* tracks = frame().surveyWindow()->days()->topLevelItem(2);
    ASSERT_NE(tracks, nullptr);
    EXPECT_EQ(tracks->text(0), "Position tracks (1)");
    ASSERT_EQ(tracks->childCount(), 1);
    EXPECT_EQ(tracks->child(0)->text(0), "week-track.nmea");
    EXPECT_EQ(tracks->child(0)->text(1), "06.07.2026 - 09.07.2026");
    EXPECT_EQ(tracks->child(0)->text(2), QString("%1 fixes").arg(placed.tracks()[0].fixCount()));
    EXPECT_EQ(tracks->child(0)->text(3), "offset 7200 s");
}

}  // namespace velkor
