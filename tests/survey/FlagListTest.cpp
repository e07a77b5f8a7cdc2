#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "survey/FlagList.h"
#include "survey/Survey.h"
#include "survey/SurveyFile.h"
#include "survey/SurveyFlags.h"

namespace velkor {
namespace {

const char* kFlagListHeader =
    "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";

std::string flagListDay(const std::string& secondField) {
    return std::string(kFlagListHeader) +
           "S 06.07.2026 08:00:00     1     1 48100.0  0.7 7 1.5          Base \r\n"
           "S 06.07.2026 08:00:30     1     2 " +
           secondField +
           "  0.7 7 1.5          Base \r\n"
           "S 06.07.2026 08:01:00     1     3 48102.0  0.7 7 1.5          Base \r\n";
}

// A survey of one day of three readings, the second of which is 48900.0.
class FlagListTest : public testing::Test {
  protected:
    void SetUp() override {
        s.days = {dir.write("day.velkor", flagListDay("48900.0"))};
        survey = Survey::open(s, message);
        ASSERT_TRUE(survey) << message;
    }

    TempDir dir;
    SurveySettings s;
    std::string message;
    std::optional<Survey> survey;
};

TEST_F(FlagListTest, FlagsAreSetClearedAndSurviveTheSurveyFile) {
    ASSERT_TRUE(FlagList::set(s, *survey, s.days[0], 2, SurveySettings::Flag::kManual, message));
    ASSERT_TRUE(FlagList::set(s, *survey, s.days[0], 2, SurveySettings::Flag::kSpike, message));
    FlagList::set(s, *survey, 2, SurveySettings::Flag::kManual);
    ASSERT_EQ(s.flags.size(), 2u);  // one flag per reading, its word the last given
    EXPECT_EQ(s.flags[0].word, "spike");
    EXPECT_EQ(s.flags[0].text,
              "S 06.07.2026 08:00:30     1     2 48900.0  0.7 7 1.5          Base ");
    EXPECT_FALSE(FlagList::set(s, *survey, s.days[0], 4, "manual", message));
    EXPECT_EQ(message, "day.velkor: no reading 4 (it has 3)");

    const std::string path = dir.path("survey.vsurvey");
    ASSERT_TRUE(SurveyFile::write(path, s, message)) << message;
    std::optional<Survey> reopened = Survey::read(path, message);
    ASSERT_TRUE(reopened) << message;
    EXPECT_EQ(reopened->settings().flags, s.flags);
    const SurveyFlags flags(*reopened);
    EXPECT_EQ(flags.word(reopened->reading(1)), "spike");
    EXPECT_EQ(flags.word(reopened->reading(2)), "manual");
    EXPECT_TRUE(FlagList::stale(s, *reopened).empty());

    EXPECT_TRUE(FlagList::clear(s, s.days[0], 2));
    EXPECT_FALSE(FlagList::clear(s, s.days[0], 2));
    ASSERT_EQ(s.flags.size(), 1u);
    EXPECT_EQ(s.flags[0].reading, 3);
}

TEST_F(FlagListTest, ADayChangedUnderItsFlagsDropsThemWithAWarning) {
    FlagList::set(s, *survey, 1, SurveySettings::Flag::kSpike);
    FlagList::set(s, *survey, 2, SurveySettings::Flag::kManual);
    s.flags.push_back({dir.path("gone.velkor"), 1, "S", "manual"});

    // The second reading downloaded again with another value: its flag no longer holds.
    dir.write("day.velkor", flagListDay("48101.0"));
    survey = Survey::open(s, message);
    ASSERT_TRUE(survey) << message;
    EXPECT_FALSE(SurveyFlags(*survey).flagged(survey->reading(1)));
    EXPECT_EQ(FlagList::dropStale(s, *survey),
              "2 flags dropped, their readings have changed: day.velkor reading 2 (spike), "
              "gone.velkor reading 1 (manual)");
    ASSERT_EQ(s.flags.size(), 1u);
    EXPECT_EQ(s.flags[0].reading, 3);
    EXPECT_EQ(FlagList::dropStale(s, *survey), "");
}

}  // namespace
}  // namespace velkor
