// Changes of one survey made at the same moment by two runs of the tool: each waits for
// the other, and every change either says it was made and is in the file, or says it failed.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/ToolRun.h"
#include "survey/SurveyFile.h"

namespace velkor {

TEST(SurveyConcurrentChange, TwoToolsFlaggingAtOnceLoseNoFlag) {
    TempDir dir;
    const std::string file = dir.path("s.vsurvey");
    const std::string day = std::string(VELKOR_SAMPLES) + "/survey.velkor";
    ASSERT_EQ(tool({"survey", "new", file}).status, 0);
    ASSERT_EQ(tool({"survey", "add", file, day}).status, 0);
    constexpr int kRounds = 40;
    std::vector<pid_t> children;
    for (int c = 0; c < 2; ++c) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // Each child flags its own readings, one run of the tool per flag.
            int failed = 0;
            for (int k = 1; k <= kRounds; ++k) {
                const std::string reading = std::to_string(c * kRounds + k);
                failed += tool({"survey", "flag", file, day, reading}).status != 0 ? 1 : 0;
            }
            ::_exit(failed == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a flag run failed";
    }
    std::string message;
    const auto settings = SurveyFile::read(file, message);
    ASSERT_TRUE(settings) << message;
    EXPECT_EQ(settings->flags.size(), 2U * kRounds);
}

}  // namespace velkor
