// velkor2tr-cli survey level: the steps stored and every estimate printed; steps that
// cannot be estimated refused with the survey file left as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velkor {
namespace {

constexpr double kLevelStagger = 0.5;    // m
constexpr double kLevelDirection = 3.0;  // nT forward lines read above backward ones

// A bump across every line, read at its place moved half the stagger the way the line was
// walked, and the direction offset on top.
double levelTestField(double position, int way, double offset) {
    const double at = position + way * kLevelStagger / 2.0 - 20.0;
    return 48000.0 + offset + 60.0 * std::exp(-at * at / 18.0) + way * kLevelDirection / 2.0;
}

// Eight lines of 40 readings a metre apart, walked zig-zag unless oneWay; the day reads
// offset nT high and starts at the given hour.
std::string levelTestDay(bool oneWay, double offset, int hour, int lines = 8) {
    std::string text = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    int seconds = hour * 3600;
    for (int line = 1; line <= lines; ++line) {
        const int way = oneWay || line % 2 == 1 ? 1 : -1;
        for (int k = 1; k <= 40; ++k, seconds += 10) {
            const int position = way > 0 ? k : 41 - k;
            char row[96];
            std::snprintf(row, sizeof row, "S 03.07.2026 %02d:%02d:%02d %5d %5d %7.1f  0.7 7 1.5",
                          seconds / 3600, seconds / 60 % 60, seconds % 60, line, position,
                          levelTestField(position, way, offset));
            text += std::string(row) + "               \r\n";
        }
    }
    return text;
}

ToolRun levelTestSurvey(std::vector<std::string> args) {
    args.insert(args.begin(), "survey");
    return tool(args);
}

// The number after words in the printed text; NaN when it is not there.
double levelTestNumber(const std::string& text, const std::string& words) {
    std::smatch m;
    const std::regex pattern(words + " ([-+0-9.]+)");
    return std::regex_search(text, m, pattern) ? std::stod(m[1].str()) : std::nan("");
}

class SurveyLevelTest : public ::testing::Test {
  protected:
    std::string make(const std::vector<std::string>& days) {
        EXPECT_EQ(levelTestSurvey({"new", file}).status, 0);
        std::vector<std::string> add{"add", file};
        add.insert(add.end(), days.begin(), days.end());
        EXPECT_EQ(levelTestSurvey(add).status, 0);
        return TempDir::read(file);
    }

    TempDir dir;
    const std::string file = dir.path("l.vsurvey");
};

}  // namespace

TEST_F(SurveyLevelTest, StoresTheStepsAndPrintsEveryEstimate) {
    // The second day walks the first line again, 4 nT higher.
    make({dir.write("one.velkor", levelTestDay(false, 0.0, 8)),
          dir.write("two.velkor", levelTestDay(false, 4.0, 14, 1))});
    const ToolRun r = levelTestSurvey(
        {"level", file, "--days", "--lines", "--directions", "--destagger", "auto"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NEAR(levelTestNumber(r.out, "stagger:"), kLevelStagger, 0.05) << r.out;
    EXPECT_NEAR(levelTestNumber(r.out, "direction offset:"), kLevelDirection, 0.1) << r.out;
    const double one = levelTestNumber(r.out, "one.velkor:");
    EXPECT_NEAR(levelTestNumber(r.out, "two.velkor:") - one, 4.0, 0.1) << r.out;
    EXPECT_NE(r.out.find("one.velkor line 8 (back):"), std::string::npos) << r.out;
    EXPECT_NE(TempDir::read(file).find("\"destagger\": \"auto\""), std::string::npos);

    // info tells the same estimates, without a line for each line; level alone shows them.
    const ToolRun info = levelTestSurvey({"info", file});
    const std::size_t from = r.out.find("Levelling:");
    ASSERT_NE(from, std::string::npos);
    const std::string head = r.out.substr(from, r.out.find("    one.velkor line") - from);
    EXPECT_NE(info.out.find(head), std::string::npos) << info.out;
    EXPECT_EQ(info.out.find("one.velkor line"), std::string::npos);
    EXPECT_EQ(levelTestSurvey({"level", file}).out, r.out.substr(from));

    // The given stagger places the readings where the estimate did.
    const std::string before = TempDir::read(file);
    ASSERT_EQ(levelTestSurvey({"export", file, dir.path("auto.csv")}).status, 0);
    const std::string given = std::to_string(levelTestNumber(r.out, "stagger:"));
    ASSERT_EQ(
        levelTestSurvey({"level", file, "--days", "--lines", "--directions", "--destagger", given})
            .status,
        0);
    ASSERT_EQ(levelTestSurvey({"export", file, dir.path("given.csv")}).status, 0);
    EXPECT_EQ(TempDir::read(dir.path("given.csv")), TempDir::read(dir.path("auto.csv")));

    // The second day held at 0 instead: the first reads 4 nT below it.
    const ToolRun held =
        levelTestSurvey({"level", file, "--days", "--fix-day", dir.path("two.velkor")});
    ASSERT_EQ(held.status, 0) << held.err;
    EXPECT_NE(held.out.find("two.velkor held at 0"), std::string::npos) << held.out;
    EXPECT_NEAR(levelTestNumber(held.out, "one.velkor:"), -4.0, 0.1) << held.out;
    EXPECT_EQ(levelTestNumber(held.out, "two.velkor:"), 0.0) << held.out;

    EXPECT_EQ(levelTestSurvey({"level", file, "--clear"}).status, 0);
    EXPECT_EQ(TempDir::read(file).find("levelling"), std::string::npos);
    EXPECT_NE(before.find("levelling"), std::string::npos);
}

TEST_F(SurveyLevelTest, StepsThatCannotBeEstimatedAreRefusedPlainly) {
    const std::string kept = make({dir.write("oneway.velkor", levelTestDay(true, 0.0, 8))});
    for (const std::vector<std::string>& step : {std::vector<std::string>{"--directions"},
                                                 {"--destagger", "auto"},
                                                 {"--destagger", "0.5"}}) {
        std::vector<std::string> args{"level", file};
        args.insert(args.end(), step.begin(), step.end());
        const ToolRun r = levelTestSurvey(args);
        EXPECT_EQ(r.status, 1) << step[0];
        EXPECT_EQ(r.out, "") << step[0];
        EXPECT_NE(r.err.find(step[0] + ": every line was walked the same way"), std::string::npos)
            << r.err;
    }
    const ToolRun days = levelTestSurvey({"level", file, "--days"});
    EXPECT_EQ(days.status, 1);
    EXPECT_NE(days.err.find("no ties for oneway.velkor"), std::string::npos) << days.err;
    EXPECT_EQ(levelTestSurvey({"level", file, "--fix-day", dir.path("none.velkor")}).status, 2);
    EXPECT_EQ(TempDir::read(file), kept);
}

}  // namespace velkor
