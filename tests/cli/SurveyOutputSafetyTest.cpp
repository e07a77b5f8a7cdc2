// The survey's outputs spare the survey's own files and what another user plants: every
// file an output is made of is held against the survey's, and a new survey replaces nothing.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/Fixture.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

}  // namespace

TEST(SurveyOutputSafety, EverySidecarIsHeldAgainstTheSurveysOwnFiles) {
    const TempDir dir;
    const std::string file = dir.path("s.vsurvey");
    // A day and a base file whose names a GIS output's sidecars would take.
    const std::string day = dir.write("site.dbf", TempDir::read(Fixture::sample("week.velkor")));
    const std::string base = dir.write("grid.prj", TempDir::read(Fixture::sample("week-base.a")));
    ASSERT_EQ(placedSurvey(file, day, base, "0").status, 0);
    for (const auto& [args, own] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"export", file, dir.path("site.shp")}, day},
             {{"contours", file, dir.path("site.shp")}, day},
             {{"grid", file, dir.path("grid.asc")}, base},
             {{"grid", file, dir.path("grid.txt"), "--format", "esri"}, base}}) {
        const ToolRun r = surveyTool(args);
        EXPECT_EQ(r.status, 2) << args[0] << " " << args[2];
        EXPECT_NE(r.err.find(own + " is the survey file or one of its days or base sources: "
                                   "give the output another name."),
                  std::string::npos)
            << r.err;
    }
    EXPECT_TRUE(TempDir::read(day) == TempDir::read(Fixture::sample("week.velkor")));
    EXPECT_TRUE(TempDir::read(base) == TempDir::read(Fixture::sample("week-base.a")));
}

TEST(SurveyOutputSafety, ANewSurveyNeverFollowsAnotherUsersLink) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a link to another user takes root";
    }
    const TempDir dir;
    const fs::path shared = dir.dir() / "tmp";
    fs::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    const std::string planted = (shared / "new.vsurvey").string();
    const std::string aimed = dir.path("aimed.txt");
    fs::create_symlink(aimed, planted);
    ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);
    EXPECT_EQ(surveyTool({"new", planted}).status, 1);
    EXPECT_FALSE(fs::exists(aimed));
    EXPECT_TRUE(fs::is_symlink(planted));
}

}  // namespace velkor
