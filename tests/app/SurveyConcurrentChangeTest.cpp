// A change the tool makes while the window works on the same survey is never written over.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "core/CommandTable.h"
#include "survey/SurveyFile.h"
#include "widgets/survey/SurveySession.h"

namespace velkor {
namespace {

class SurveyConcurrentChange : public AppFixture {};

}  // namespace

TEST_F(SurveyConcurrentChange, AChangeMadeWhileTheWindowWorksIsKept) {
    ASSERT_TRUE(start());
    SurveySession& session = frame().survey();
    const std::string file = dir.path("s.vsurvey");
    ASSERT_TRUE(newSurveyWith(file, std::string(VELKOR_SAMPLES) + "/survey.velkor"));

    SurveySettings mine = session.survey()->settings();
    mine.gridding.interval = 20.0;
    ASSERT_TRUE(session.change(mine));
    // The tool sets the datum while the window's work runs.
    std::string message;
    SurveySettings outside = *SurveyFile::read(file, message);
    outside.datum = 46000.0;
    ASSERT_TRUE(SurveyFile::write(file, outside, message)) << message;
    session.wait();

    EXPECT_EQ(SurveyFile::read(file, message)->datum, 46000.0);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_NE(prompter.shown.back().text.find("was changed outside this window"), std::string::npos)
        << prompter.shown.back().text;
    // Read again, the window shows the survey as the file holds it.
    session.wait();
    ASSERT_TRUE(session.ready());
    EXPECT_EQ(session.survey()->settings().datum, 46000.0);
    EXPECT_FALSE(session.survey()->settings().gridding.interval.has_value());
}

}  // namespace velkor
