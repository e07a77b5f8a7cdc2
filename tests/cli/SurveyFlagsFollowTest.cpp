// Flags through velkor2tr-cli survey after a day is edited: moved ones hold and are kept,
// stale ones are told by every command that uses the flags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RecordingPictures.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velkor {
namespace {

// Three lines of five readings; from is the first reading kept, spike the third reading
// of line 2.
std::string day(int from, const char* spike) {
    std::string text = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    for (int k = from; k <= 15; ++k) {
        const int line = (k - 1) / 5 + 1;
        const int pos = (k - 1) % 5 + 1;
        const std::string field = k == 8 ? spike : std::to_string(48100 + 10 * line + pos) + ".0";
        text += "S 03.07.2026 10:" + std::to_string(10 + k) + ":00     " + std::to_string(line) +
                "     " + std::to_string(pos) + " " + field + "  0.7 7 1.5               \r\n";
    }
    return text;
}

TEST(SurveyFlagsFollowTest, MovedFlagsHoldAndStaleOnesAreToldByEveryCommandUsingFlags) {
    TempDir dir;
    const std::string data = dir.write("day.velkor", day(1, "48153.0"));
    const std::string file = dir.path("t.vsurvey");
    ASSERT_EQ(surveyTool({"new", file}).status, 0);
    ASSERT_EQ(surveyTool({"add", file, data}).status, 0);
    ASSERT_EQ(surveyTool({"place", file, "--origin", "0,0", "--azimuth", "0", "--line-spacing",
                          "10", "--station-interval", "5"})
                  .status,
              0);
    ASSERT_EQ(surveyTool({"flag", file, data, "8", "--word", "spike"}).status, 0);

    // The first reading deleted: the spike is reading 7 now, and still flagged.
    dir.write("day.velkor", day(2, "48153.0"));
    ToolRun r = surveyTool({"export", file, dir.path("a.csv")});
    EXPECT_EQ(r.err, "");
    const std::string csv = TempDir::read(dir.path("a.csv"));
    const std::size_t row = csv.find("day.velkor,7,2,3,");
    ASSERT_NE(row, std::string::npos) << csv;
    EXPECT_EQ(csv.substr(csv.find('\r', row) - 11, 11), ",spike,0.00") << csv;
    r = surveyTool({"set", file, "--datum", "48000"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_NE(TempDir::read(file).find("\"reading\": 7,"), std::string::npos);

    // Downloaded again with another value: the flag's line is gone.
    dir.write("day.velkor", day(2, "48123.0"));
    const std::string told =
        "1 flag matches no reading, its line is gone from its file: day.velkor reading 7 "
        "(spike)\n";
    RecordingPictures pictures;
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"export", file, dir.path("b.csv")},
                                               {"grid", file, dir.path("b.asc")},
                                               {"contours", file, dir.path("b.dxf")},
                                               {"plot", file, dir.path("b.png")},
                                               {"plot-lines", file, dir.path("b.pdf")},
                                               {"despike", file}}) {
        r = surveyTool(args, &pictures);
        EXPECT_EQ(r.status, 0) << args[0] << ": " << r.err;
        EXPECT_EQ(r.err, told) << args[0];
    }
}

}  // namespace
}  // namespace velkor
