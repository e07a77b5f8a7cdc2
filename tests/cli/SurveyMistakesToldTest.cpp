// Mistakes a surveyor can mend are told: a placement whose control points do not fit, and
// which readings could not be read.
#include <gtest/gtest.h>

#include <string>

#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velkor {
namespace {

const std::string kMistakenDay =
    "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n"
    "S 03.07.2026 10:05:00     1     1 48111.0  0.7 7 1.5               \r\n"
    "S 03.07.2026 10:05:20     1     2 xxxxx.x  0.7 7 1.5               \r\n"
    "S 03.07.2026 10:05:40     1     3 48113.0  0.7 7 1.5               \r\n"
    "S 03.07.2026 10:06:00     x     4 48114.0  0.7 7 1.5               \r\n";

TEST(SurveyMistakesToldTest, AFitThatDoesNotHoldWarnsAndUnreadableReadingsAreNamed) {
    TempDir dir;
    const std::string file = dir.path("s.vsurvey");
    ASSERT_EQ(tool({"survey", "new", file}).status, 0);
    ASSERT_EQ(tool({"survey", "add", file, dir.write("day.velkor", kMistakenDay)}).status, 0);
    ToolRun r = tool({"survey", "info", file});
    EXPECT_NE(r.out.find("field without a number 1)\n  day.velkor: readings 2, 4 left out\n"),
              std::string::npos)
        << r.out;

    // The lines lie to the left of the positions; given to the right, only a mirror fits.
    r = tool({"survey", "place", file, "--control", "0,0,500000,6000000", "--control",
              "40,0,499960,6000000", "--control", "0,120,500000,6000060", "--control",
              "40,120,499960,6000060", "--line-spacing", "1", "--station-interval", "0.5",
              "--lines-to", "right"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.substr(0, 14), "Control point ") << r.err;
    EXPECT_NE(r.err.find("With the lines to the left the largest residual is 0.000 m"),
              std::string::npos)
        << r.err;
}

}  // namespace
}  // namespace velkor
