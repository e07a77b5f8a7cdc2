// The settings dialog keeps a placement by position track as the tool set it, and does not
// make one of its own.
#include <gtest/gtest.h>

#include <QComboBox>

#include "support/RecordingPrompter.h"
#include "survey/SurveySettings.h"
#include "widgets/survey/DlgSurveySettings.h"

namespace velkor {

TEST(SurveySettingsTrack, APlacementByTrackIsKeptAndNotMadeHere) {
    RecordingPrompter prompter;
    SurveySettings s;
    s.epsg = 32633;
    Placement::Track t;
    t.along = -0.8;
    t.lag = 0.6;
    std::string message;
    const std::optional<Placement> byTrack = Placement::byTrack(t, message);
    ASSERT_TRUE(byTrack) << message;
    s.placement = *byTrack;
    const DlgSurveySettings kept(s, prompter);
    const std::optional<SurveySettings> back = kept.settings(message);
    ASSERT_TRUE(back) << message;
    EXPECT_TRUE(back->placement == s.placement);

    s.placement = Placement();
    DlgSurveySettings asked(s, prompter);
    for (QComboBox* box : asked.findChildren<QComboBox*>()) {
        if (box->count() == 4) {  // how the readings are placed
            box->setCurrentIndex(3);
        }
    }
    EXPECT_FALSE(asked.settings(message));
    EXPECT_NE(message.find("--by-track"), std::string::npos);
}

}  // namespace velkor
