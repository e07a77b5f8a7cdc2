// What the safe writer owes a user beside others: another user's link in a shared folder
// is never followed, and what a killed write left is cleared by the next write.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/SafeFileWriter.h"
#include "support/ForkedChild.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

bool writeFile(const std::string& target, const std::string& text) {
    SafeFileWriter out(target);
    if (out.open()) {
        out.writeLine(text);
    }
    return out.commit();
}

int entries(const fs::path& folder) {
    return static_cast<int>(std::distance(fs::directory_iterator(folder), {}));
}

}  // namespace

TEST(SafeFileWriterSafety, AnotherUsersLinkInASharedFolderIsNeverFollowed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a link to another user takes root";
    }
    TempDir dir;
    const std::string precious = dir.write("precious.txt", "mine\r\n");
    const fs::path shared = dir.dir() / "tmp";
    fs::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);  // as /tmp is
    const std::string planted = (shared / "day.velkor").string();
    fs::create_symlink(precious, planted);
    ASSERT_EQ(::lchown(planted.c_str(), ForkedChild::kNobody, ForkedChild::kNobody), 0);

    SafeFileWriter out(planted);
    EXPECT_FALSE(out.open());
    EXPECT_FALSE(out.commit());
    EXPECT_NE(out.reason().find(planted), std::string::npos) << out.reason();
    EXPECT_EQ(TempDir::read(precious), "mine\r\n");
    EXPECT_TRUE(fs::is_symlink(planted));
    EXPECT_EQ(entries(shared), 1);

    // The user's own link there is followed, as the kernel follows it.
    const std::string own = (shared / "own.velkor").string();
    fs::create_symlink(precious, own);
    EXPECT_TRUE(writeFile(own, "through my own link"));
    EXPECT_EQ(TempDir::read(precious), "through my own link\r\n");
}

TEST(SafeFileWriterSafety, AKilledWritesTemporaryFileGoesAtTheNextWriteOfItsTarget) {
    TempDir dir;
    const std::string target = dir.write("day.velkor", "old\r\n");
    const std::string other = dir.write("other.velkor", "other\r\n");
    for (const std::string& killed : {target, other}) {
        EXPECT_FALSE(ForkedChild::run(
            [&] {
                SafeFileWriter out(killed);
                out.open();
                out.writeLine("never finished");
                ::_exit(9);  // killed before its commit
                return true;
            },
            10));
    }
    ASSERT_EQ(entries(dir.dir()), 4);  // each left a temporary file behind

    // A writer at work on the same target keeps its file: only the dead one's goes.
    SafeFileWriter working(target);
    ASSERT_TRUE(working.open());
    working.writeLine("second");
    EXPECT_TRUE(writeFile(target, "first"));
    EXPECT_EQ(entries(dir.dir()), 4);  // the other's left-over, and the working one's
    EXPECT_TRUE(working.commit());
    EXPECT_EQ(TempDir::read(target), "second\r\n");
    EXPECT_EQ(entries(dir.dir()), 3);
    EXPECT_TRUE(writeFile(other, "new"));
    EXPECT_EQ(entries(dir.dir()), 2);
}

}  // namespace velkor
