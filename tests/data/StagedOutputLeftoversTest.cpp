// A staging folder an older version of the program left beside a target (".<name>.XXXXXX",
// holding only that output's parts) goes at the next write of the target; a folder that
// only looks like one stays.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/StagedOutput.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

// A folder beside the target holding these files, each with its own name as text.
void leftoverFolder(const TempDir& dir, const std::string& folder,
                    const std::vector<std::string>& files) {
    fs::create_directory(dir.path(folder));
    for (const std::string& f : files) {
        dir.write(folder + "/" + f, f);
    }
}

}  // namespace

TEST(StagedOutputLeftovers, AnOldStagingFolderGoesAndLookAlikesStay) {
    const TempDir dir;
    leftoverFolder(dir, ".site.shp.Ab12Cd", {"site.shp", "site.dbf"});
    leftoverFolder(dir, ".site.shp.Xy34Zq", {});
    leftoverFolder(dir, ".site.shp.Zz99Yy", {"site.shp", "notes.txt"});  // not only ours
    leftoverFolder(dir, ".site.shp.Ab12Cde", {"site.shp"});              // not the pattern
    leftoverFolder(dir, ".other.shp.Ab12Cd", {"other.shp"});             // another target
    StagedOutput out(dir.path("site.shp"));
    std::string message;
    ASSERT_TRUE(out.open(message)) << message;
    ASSERT_TRUE(out.put("site.shp", "new", 3, message)) << message;
    ASSERT_TRUE(out.commit(message)) << message;
    EXPECT_FALSE(fs::exists(dir.path(".site.shp.Ab12Cd")));
    EXPECT_FALSE(fs::exists(dir.path(".site.shp.Xy34Zq")));
    EXPECT_TRUE(fs::exists(dir.path(".site.shp.Zz99Yy/notes.txt")));
    EXPECT_TRUE(fs::exists(dir.path(".site.shp.Ab12Cde/site.shp")));
    EXPECT_TRUE(fs::exists(dir.path(".other.shp.Ab12Cd/other.shp")));
    EXPECT_EQ(TempDir::read(dir.path("site.shp")), "new");
}

}  // namespace velkor
