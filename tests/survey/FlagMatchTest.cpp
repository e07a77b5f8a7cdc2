// A flag follows its reading when an edit of its day moves the reading's number; only a
// flag whose line is gone from its file is stale.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "survey/FlagList.h"
#include "survey/FlagMatch.h"
#include "survey/Survey.h"
#include "survey/SurveyFlags.h"

namespace velkor {
namespace {

const char* kFlagMatchHeader =
    "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";

std::string row(int pos, const char* field) {
    return "S 06.07.2026 08:00:0" + std::to_string(pos) + "     1     " + std::to_string(pos) +
           " " + field + "  0.7 7 1.5               \r\n";
}

// Readings 1 to 5; the fourth's line is the second's again.
std::string flagMatchDay(bool withFirst, const char* fifth = "48105.0") {
    return kFlagMatchHeader + (withFirst ? row(1, "48101.0") : "") + row(2, "48102.0") +
           row(3, "48103.0") + row(2, "48102.0") + row(5, fifth);
}

TEST(FlagMatchTest, AFlagFollowsItsReadingWhenAnEarlierOneIsDeleted) {
    TempDir dir;
    SurveySettings s;
    s.days = {dir.write("day.velkor", flagMatchDay(true))};
    std::string message;
    std::optional<Survey> survey = Survey::open(s, message);
    ASSERT_TRUE(survey) << message;
    for (const int reading : {3, 4, 5}) {
        ASSERT_TRUE(FlagList::set(s, *survey, s.days[0], reading, "spike", message)) << message;
    }
    // The first reading deleted: every later one moves up by one.
    dir.write("day.velkor", flagMatchDay(false));
    survey = Survey::open(s, message);
    ASSERT_TRUE(survey) << message;
    const SurveyFlags flags(*survey);
    std::vector<bool> flagged;
    for (int r = 0; r < survey->readingCount(); ++r) {
        flagged.push_back(flags.flagged(survey->reading(r)));
    }
    EXPECT_EQ(flagged, (std::vector<bool>{false, true, true, true}));
    EXPECT_TRUE(FlagList::stale(s, *survey).empty());
    EXPECT_EQ(FlagList::staleNote(*survey), "");

    // Kept, at their numbers now; the repeated text goes to the nearest (4 to 3, not 1).
    EXPECT_EQ(FlagList::dropStale(s, *survey), "");
    ASSERT_EQ(s.flags.size(), 3u);
    EXPECT_EQ(s.flags[0].reading, 2);
    EXPECT_EQ(s.flags[1].reading, 3);
    EXPECT_EQ(s.flags[2].reading, 4);

    // Only a flag whose line is gone is stale, and it is named.
    dir.write("day.velkor", flagMatchDay(false, "48155.0"));
    survey = Survey::open(s, message);
    ASSERT_TRUE(survey) << message;
    EXPECT_EQ(FlagList::staleNote(*survey),
              "1 flag matches no reading, its line is gone from its file: day.velkor reading 4 "
              "(spike)");
    const FlagMatch match(*survey);
    EXPECT_TRUE(match.places()[0] && match.places()[1]);
    EXPECT_FALSE(match.places()[2]);
}

}  // namespace
}  // namespace velkor
