// survey flag takes the day's file as despike lists it, or by its path from the current
// folder or from the survey file's folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velkor {
namespace {

const std::string kFlagFileDay =
    "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n"
    "S 03.07.2026 10:05:00     1     1 48111.0  0.7 7 1.5               \r\n"
    "S 03.07.2026 10:05:20     1     2 48112.0  0.7 7 1.5               \r\n"
    "S 03.07.2026 10:05:40     1     3 48113.0  0.7 7 1.5               \r\n";

// Back to the folder it was in when the test ends.
class InFolder {
  public:
    explicit InFolder(const std::filesystem::path& folder)
        : before_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(before_); }

  private:
    std::filesystem::path before_;
};

TEST(SurveyFlagFileTest, TheFileAsDespikeListsItOrFromHereOrFromTheSurvey) {
    TempDir dir;
    std::filesystem::create_directories(dir.dir() / "days");
    std::filesystem::create_directories(dir.dir() / "surveys");
    const std::string day = dir.write("days/day.velkor", kFlagFileDay);
    const std::string file = dir.path("surveys/s.vsurvey");
    ASSERT_EQ(tool({"survey", "new", file}).status, 0);
    ASSERT_EQ(tool({"survey", "add", file, day}).status, 0);
    const InFolder here(dir.dir());
    for (const std::string& typed : {std::string("day.velkor"), std::string("../days/day.velkor"),
                                     std::string("days/day.velkor"), day}) {
        ToolRun r = tool({"survey", "flag", file, typed, "2"});
        EXPECT_EQ(r.status, 0) << typed << ": " << r.err;
        r = tool({"survey", "flag", file, typed, "2", "--clear"});
        EXPECT_EQ(r.status, 0) << typed << ": " << r.err;
    }
    const ToolRun r = tool({"survey", "flag", file, "other.velkor", "2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, (dir.dir() / "other.velkor").string() + ": no day of the survey\n");
}

}  // namespace
}  // namespace velkor
