// A set of files (a shapefile and its sidecars) is replaced all or nothing: a kill between
// the moves is finished by the next write, a failed move puts the old set back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/StagedOutput.h"
#include "support/ForkedChild.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kSet = {"site.shp", "site.shx", "site.dbf"};

// The old set, each file holding "old <name>".
void writeOldSet(const TempDir& dir) {
    for (const std::string& name : kSet) {
        dir.write(name, "old " + name);
    }
}

// Puts the new set, each file holding "new <name>"; false at the first failure.
bool putNewSet(StagedOutput& out, std::string& message) {
    if (!out.open(message)) {
        return false;
    }
    for (const std::string& name : kSet) {
        const std::string text = "new " + name;
        if (!out.put(name, text.data(), text.size(), message)) {
            return false;
        }
    }
    return true;
}

std::string contents(const TempDir& dir) {
    std::string all;
    for (const std::string& name : kSet) {
        all += TempDir::read(dir.path(name)) + ";";
    }
    return all;
}

int stagedFolderEntries(const fs::path& folder) {
    return static_cast<int>(std::distance(fs::directory_iterator(folder), {}));
}

}  // namespace

TEST(StagedOutput, AKillBetweenTheMovesIsFinishedByTheNextWrite) {
    const TempDir dir;
    writeOldSet(dir);
    EXPECT_FALSE(ForkedChild::run(
        [&] {
            StagedOutput out(dir.path("site.shp"));
            int moves = 0;
            out.beforeEachMove([&moves](const std::string&) {
                if (++moves == 3) {
                    ::_exit(9);  // killed with two of the three files moved in
                }
            });
            std::string message;
            return putNewSet(out, message) && out.commit(message);
        },
        10));
    ASSERT_EQ(contents(dir), "new site.shp;new site.shx;old site.dbf;");

    {
        StagedOutput next(dir.path("site.shp"));
        std::string message;
        ASSERT_TRUE(next.open(message)) << message;
        EXPECT_EQ(contents(dir), "new site.shp;new site.shx;new site.dbf;");
    }
    EXPECT_EQ(stagedFolderEntries(dir.dir()), 3);  // the killed write's journal and files are gone
}

TEST(StagedOutput, AFailedMovePutsTheOldSetBack) {
    const TempDir dir;
    for (const std::string& name : {kSet[0], kSet[1]}) {
        dir.write(name, "old " + name);
    }
    {
        StagedOutput out(dir.path("site.shp"));
        std::string message;
        ASSERT_TRUE(putNewSet(out, message)) << message;
        // The last file's place is taken by a folder before its move: the move fails.
        out.beforeEachMove([&dir](const std::string& file) {
            if (file == dir.path("site.dbf")) {
                fs::create_directories(dir.path("site.dbf/taken"));
            }
        });
        EXPECT_FALSE(out.commit(message));
        EXPECT_EQ(message.rfind("Write error: " + dir.path("site.dbf") + ": ", 0), 0u) << message;
    }
    EXPECT_EQ(TempDir::read(dir.path("site.shp")), "old site.shp");
    EXPECT_EQ(TempDir::read(dir.path("site.shx")), "old site.shx");
    EXPECT_EQ(stagedFolderEntries(dir.dir()),
              3);  // the two old files and the folder, nothing of ours
}

}  // namespace velkor
