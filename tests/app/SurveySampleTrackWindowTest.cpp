// The sample week placed in the window from its own NMEA log, as the tool places it, and the
// lag's Estimate: a refusal told, an estimate shown and kept as estimated.
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

    DlgSurveySettings dialog(session.survey()->settings(), prompter);
    prompter.files.push_back(Fixture::sample("week-track.nmea"));
    ASSERT_TRUE(placeByTrackInDialog(dialog, "7200", 32633));
    auto* estimate = dialog.findChild<QPushButton*>("estimateLag");
    auto* lag = dialog.findChild<QDoubleSpinBox*>("lag");
    ASSERT_TRUE(estimate && lag);
    EXPECT_FALSE(estimate->isEnabled());

    // The week's lines were all walked one way: nothing to estimate from, and it says so.
    const Survey& open = *session.survey();
    dialog.setLagEstimate([&open](const Placement::Track& t, std::string& message) {
        const auto r = SurveyLagEstimate::of(open, t, message);
        return r ? std::optional<Placement::Track>(SurveyLagEstimate::withLag(t, *r))
                 : std::nullopt;
    });
    estimate->click();
    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_NE(prompter.texts()[0].find("needs a position track"), std::string::npos)
        << prompter.texts()[0];
    EXPECT_EQ(lag->value(), 0.0);

    // An estimate found is shown, and kept as estimated unless the lag is typed over.
    dialog.setLagEstimate([](const Placement::Track& t, std::string&) {
        Placement::Track found = t;
        found.lag = 0.35;
        found.lagEstimated = true;
        return std::optional<Placement::Track>(found);
    });
    estimate->click();
    EXPECT_DOUBLE_EQ(lag->value(), 0.35);
    std::string message;
    std::optional<SurveySettings> next = dialog.settings(message);
    ASSERT_TRUE(next) << message;
    EXPECT_TRUE(next->placement.track().lagEstimated);
    lag->setValue(0.4);
    EXPECT_FALSE(dialog.settings(message)->placement.track().lagEstimated);
    lag->setValue(0.0);

    dialog.accept();
    ASSERT_TRUE(session.change(dialog.result()));
    session.wait();
    ASSERT_TRUE(session.ready()) << testing::PrintToString(prompter.texts());
    const Survey& placed = *session.survey();
    EXPECT_EQ(placed.readingCount(), 40 * 81);
    EXPECT_EQ(placed.placedBy(0), 40 * 81);
    EXPECT_EQ(placed.total().inGap + placed.total().outsideTracks, 0);

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
