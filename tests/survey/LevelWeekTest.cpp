// The sample week walked for levelling (samples/level-*.velkor, made by
// sim/make_samples.py): its days, stagger and direction offset come out as they were made.
#include <gtest/gtest.h>

#include <string>

#include "survey/Survey.h"

namespace velkor {

TEST(LevelWeek, TheSampleDaysStaggerAndDirectionComeOutAsMade) {
    SurveySettings s;
    for (const char* day : {"06", "07", "08", "09"}) {
        s.days.push_back(std::string(VELKOR_SAMPLES) + "/level-" + day + ".velkor");
    }
    s.baseSources = {{std::string(VELKOR_SAMPLES) + "/week-base.a", 0}};
    s.datum = 48000.0;
    s.levelling.days = true;
    s.levelling.fixDay = s.days[0];
    s.levelling.directions = true;
    s.levelling.destagger = SurveySettings::Levelling::Destagger::Auto;
    std::string message;
    const std::optional<Survey> survey = Survey::open(s, message);
    ASSERT_TRUE(survey) << message;
    const SurveyLevelling::Report& r = survey->levelling();
    // As sim/make_samples.py makes them: LEVEL_DAY_OFFSETS, LEVEL_STAGGER, LEVEL_DIRECTION.
    ASSERT_EQ(r.dayOffsets.size(), 4u);
    EXPECT_EQ(r.dayOffsets[0], 0.0);
    EXPECT_NEAR(r.dayOffsets[1], 4.0, 0.2);
    EXPECT_NEAR(r.dayOffsets[2], -2.5, 0.2);
    EXPECT_NEAR(r.dayOffsets[3], 1.5, 0.2);
    EXPECT_LT(r.tieRmsAfter, r.tieRmsBefore / 3.0);
    ASSERT_TRUE(r.stagger);
    EXPECT_NEAR(*r.stagger, 0.5, 0.05);
    ASSERT_TRUE(r.direction);
    EXPECT_NEAR(*r.direction, 3.0, 0.4);
}

}  // namespace velkor
