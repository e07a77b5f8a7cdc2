// The Levelling dialog: each step's estimate shows as soon as it is ticked, the map is
// asked for before and after, and the summary lists the offsets.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "survey/LevellingDescription.h"
#include "survey/Survey.h"
#include "widgets/survey/DlgLevelling.h"

namespace velkor {
namespace {

// Eight lines walked zig-zag over a bump, each reading taken 0.25 m on in the direction
// walked, lines walked forward reading 3 nT above those walked back.
std::string levellingDialogDay() {
    std::string text = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    int seconds = 8 * 3600;
    for (int line = 1; line <= 8; ++line) {
        const int way = line % 2 == 1 ? 1 : -1;
        for (int k = 1; k <= 40; ++k, seconds += 10) {
            const int position = way > 0 ? k : 41 - k;
            const double at = position + way * 0.25 - 20.0;
            char row[96];
            std::snprintf(row, sizeof row, "S 03.07.2026 %02d:%02d:%02d %5d %5d %7.1f  0.7 7 1.5",
                          seconds / 3600, seconds / 60 % 60, seconds % 60, line, position,
                          48000.0 + 60.0 * std::exp(-at * at / 18.0) + way * 1.5);
            text += std::string(row) + "               \r\n";
        }
    }
    return text;
}

}  // namespace

TEST(LevellingDialog, EachEstimateShowsWhenTickedAndTheMapFollowsTheToggle) {
    TempDir dir;
    SurveySettings settings;
    settings.days = {dir.write("zigzag.velkor", levellingDialogDay())};
    std::string message;
    const std::optional<Survey> survey = Survey::open(settings, message);
    ASSERT_TRUE(survey) << message;
    std::vector<SurveySettings::Levelling> shown;
    DlgLevelling dialog(
        settings,
        [&survey](const SurveySettings::Levelling& l) {
            return LevellingDescription::lines(*survey, l, survey->levellingFor(l), false);
        },
        [&shown](const SurveySettings::Levelling& l) { shown.push_back(l); });
    EXPECT_EQ(dialog.summary(), "Levelling: none");
    EXPECT_TRUE(shown.empty());

    dialog.step(DlgLevelling::Directions)->setChecked(true);
    EXPECT_NE(dialog.estimate(DlgLevelling::Directions)->text().indexOf("3.00 nT"), -1)
        << dialog.estimate(DlgLevelling::Directions)->text().toStdString();
    dialog.step(DlgLevelling::Destagger)->setChecked(true);
    const QString stagger = dialog.estimate(DlgLevelling::Destagger)->text();
    EXPECT_TRUE(stagger.startsWith("stagger: ")) << stagger.toStdString();
    EXPECT_NEAR(stagger.section(' ', 1, 1).toDouble(), 0.5, 0.05) << stagger.toStdString();
    dialog.step(DlgLevelling::Lines)->setChecked(true);
    EXPECT_NE(dialog.summary().indexOf("direction offset: 3.00 nT"), -1);
    EXPECT_NE(dialog.summary().indexOf("8 shifted by"), -1) << dialog.summary().toStdString();
    EXPECT_EQ(dialog.estimate(DlgLevelling::Days)->text(), "");

    // After: the map levelled as chosen; before: not levelled at all.
    dialog.levelledMap()->setChecked(true);
    ASSERT_FALSE(shown.empty());
    EXPECT_TRUE(shown.back() == dialog.levelling());
    EXPECT_TRUE(shown.back().directions && shown.back().lines);
    EXPECT_EQ(shown.back().destagger, SurveySettings::Levelling::Destagger::Auto);
    dialog.levelledMap()->setChecked(false);
    EXPECT_TRUE(shown.back() == SurveySettings::Levelling());
}

}  // namespace velkor
