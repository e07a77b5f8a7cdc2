// The window opens a survey of many days, and takes many days in one change, computing
// the survey once: the days are read one by one, the values worked out at the end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppFixture.h"
#include "core/CommandTable.h"
#include "survey/Survey.h"
#include "survey/SurveyFile.h"
#include "widgets/survey/SurveySession.h"

namespace velkor {
namespace {

class SurveyOpenOnceTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(start());
    }
    SurveySession& session() { return frame().survey(); }
    // Days of 30 readings each, under names of their own.
    std::vector<std::string> daysFrom(int first, int count) {
        std::vector<std::string> days;
        for (int d = first; d < first + count; ++d) {
            days.push_back(surveyFile("once-" + std::to_string(d) + ".velkor", 30));
        }
        return days;
    }
};

}  // namespace

TEST_F(SurveyOpenOnceTest, OpeningFiveDaysComputesTheSurveyOnce) {
    SurveySettings settings;
    settings.days = daysFrom(0, 5);
    std::string message;
    const std::string path = dir.path("five.vsurvey");
    ASSERT_TRUE(SurveyFile::write(path, settings, message)) << message;
    std::vector<int> told;
    QObject::connect(&session(), &SurveySession::progress,
                     [&told](int done, int) { told.push_back(done); });
    prompter.files.push_back(path);
    frame().dispatch(cmd::OpenSurvey);
    session().wait();
    ASSERT_TRUE(session().ready()) << testing::PrintToString(prompter.texts());
    EXPECT_EQ(session().survey()->dayCount(), 5);
    EXPECT_EQ(session().survey()->computations(), 1);
    // The bar still moves a day at a time.
    EXPECT_EQ(told, (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(SurveyOpenOnceTest, ThreeDaysAddedInOneChangeComputeOnce) {
    ASSERT_TRUE(newSurveyWith(dir.path("grow.vsurvey"), surveyFile("first.velkor", 30)));
    const int before = session().survey()->computations();
    SurveySettings next = session().survey()->settings();
    for (const std::string& d : daysFrom(10, 3)) {
        next.days.push_back(d);
    }
    ASSERT_TRUE(session().change(next));
    session().wait();
    ASSERT_TRUE(session().ready()) << testing::PrintToString(prompter.texts());
    EXPECT_EQ(session().survey()->dayCount(), 4);
    EXPECT_EQ(session().survey()->computations(), before + 1);
}

}  // namespace velkor
