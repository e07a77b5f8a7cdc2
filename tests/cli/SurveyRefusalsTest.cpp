// Values the tool refuses when they are given, and texts that cannot break a file's layout.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/Fixture.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velkor {
namespace {}  // namespace

TEST(SurveyRefusals, AnOffsetTheSurveyFileCannotHoldIsRefusedWhenGiven) {
    TempDir dir;
    const std::string file = dir.path("s.vsurvey");
    ASSERT_EQ(surveyTool({"new", file}).status, 0);
    const std::string before = TempDir::read(file);
    const ToolRun r =
        surveyTool({"base", file, Fixture::sample("week-base.a"), "--offset", "-2147483648"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--offset"), std::string::npos) << r.err;
    EXPECT_EQ(TempDir::read(file), before);
    EXPECT_EQ(surveyTool({"info", file}).status, 0);
}

TEST(SurveyRefusals, AContourIntervalOfMoreThanTenThousandLevelsIsRefused) {
    TempDir dir;
    const std::string file = dir.path("s.vsurvey");
    ASSERT_EQ(surveyTool({"new", file}).status, 0);
    ASSERT_EQ(surveyTool({"add", file, Fixture::sample("survey.velkor")}).status, 0);
    const ToolRun fine = surveyTool({"contours", file, dir.path("c.gpkg"), "--interval", "0.001"});
    EXPECT_EQ(fine.status, 1);
    EXPECT_NE(fine.err.find("more than 10000 levels"), std::string::npos) << fine.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path("c.gpkg")));
    EXPECT_EQ(surveyTool({"contours", file, dir.path("c.gpkg"), "--interval", "5"}).status, 0);
}

TEST(SurveyRefusals, ASurveyNameWithLineBreaksStaysOneHeaderLine) {
    TempDir dir;
    const std::string file = dir.path("s\r\nLINE 9\n.vsurvey");
    ASSERT_EQ(surveyTool({"new", file}).status, 0);
    ASSERT_EQ(surveyTool({"add", file, Fixture::sample("survey.velkor")}).status, 0);
    ASSERT_EQ(surveyTool({"export", file, dir.path("s.xyz")}).status, 0);
    const std::string xyz = TempDir::read(dir.path("s.xyz"));
    EXPECT_EQ(xyz.substr(0, xyz.find("\r\n")), "/ Velkor2tr survey: s  LINE 9 ");
    EXPECT_EQ(xyz.find("\r\nLINE 9"), std::string::npos);
}

TEST(SurveyRefusals, AHugeFieldIsQuotedShort) {
    TempDir dir;
    const std::string file = dir.path("s.vsurvey");
    ASSERT_EQ(surveyTool({"new", file}).status, 0);
    const std::string field(10'000'000, 'x');
    const std::string base =
        dir.write("big.csv", "DATE,TIME,VALUE\n" + field + ",08:00:00,48000\n");
    const ToolRun r = surveyTool({"base", file, base, "--format", "csv"});
    EXPECT_EQ(r.status, 1);
    EXPECT_LE(r.err.size(), 500U);
    EXPECT_EQ(r.err.rfind("big.csv line 2: \"xxx", 0), 0U) << r.err.substr(0, 500);
    EXPECT_NE(r.err.find("xxx...xxx"), std::string::npos) << r.err.substr(0, 500);
    EXPECT_NE(r.err.find("xxx\" is no date"), std::string::npos) << r.err.substr(0, 500);
}

}  // namespace velkor
