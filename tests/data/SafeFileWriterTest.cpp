#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
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

int writerFolderEntries(const fs::path& folder) {
    return static_cast<int>(std::distance(fs::directory_iterator(folder), {}));
}

}  // namespace

TEST(SafeFileWriter, ATargetTheUserMayNotWriteStaysAsItWas) {
    TempDir dir;
    fs::permissions(dir.dir(), fs::perms::all);  // the unprivileged child must write here
    const std::string locked = dir.path("locked.f");
    const std::string open = dir.path("open.f");
    const bool childOk = ForkedChild::run(
        [&] {
            // The user's own files: one read-only, one writable to show writing works at all.
            dir.write("locked.f", "old\r\n");
            dir.write("open.f", "old\r\n");
            ::chmod(locked.c_str(), 0444);
            return !writeFile(locked, "new") && writeFile(open, "new");
        },
        10, ForkedChild::kNobody);
    EXPECT_TRUE(childOk);
    EXPECT_EQ(TempDir::read(locked), "old\r\n");
    EXPECT_EQ(fs::status(locked).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(TempDir::read(open), "new\r\n");
    EXPECT_EQ(writerFolderEntries(dir.dir()), 2);  // no temporary file left behind
}

TEST(SafeFileWriter, LinksStayAndTheFileTheyNameIsWritten) {
    TempDir dir;
    fs::create_directory(dir.path("sub"));
    const std::string real = dir.write("real.f", "old\r\n");
    fs::create_symlink("real.f", dir.path("link.f"));
    // A chain through another folder: each link is read relative to its own folder.
    fs::create_symlink("../real.f", dir.path("sub/inner.f"));
    fs::create_symlink("sub/inner.f", dir.path("chain.f"));
    fs::create_symlink("new.f", dir.path("dangling.f"));
    fs::create_symlink("loop.f", dir.path("loop.f"));

    EXPECT_TRUE(writeFile(dir.path("link.f"), "via link"));
    EXPECT_TRUE(fs::is_symlink(dir.path("link.f")));
    EXPECT_EQ(TempDir::read(real), "via link\r\n");

    EXPECT_TRUE(writeFile(dir.path("chain.f"), "via chain"));
    EXPECT_TRUE(fs::is_symlink(dir.path("chain.f")));
    EXPECT_TRUE(fs::is_symlink(dir.path("sub/inner.f")));
    EXPECT_EQ(TempDir::read(real), "via chain\r\n");

    EXPECT_TRUE(writeFile(dir.path("dangling.f"), "made"));
    EXPECT_TRUE(fs::is_symlink(dir.path("dangling.f")));
    EXPECT_EQ(TempDir::read(dir.path("new.f")), "made\r\n");

    EXPECT_FALSE(writeFile(dir.path("loop.f"), "never"));
    EXPECT_TRUE(fs::is_symlink(dir.path("loop.f")));
    EXPECT_EQ(writerFolderEntries(dir.dir()), 7);  // sub, real, new and the four links at the top
    EXPECT_EQ(writerFolderEntries(dir.path("sub")), 1);
}

TEST(SafeFileWriter, OnlyRegularFilesAreReplaced) {
    TempDir dir;
    const std::string fifo = dir.path("pipe.f");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_directory(dir.path("folder.f"));
    EXPECT_FALSE(writeFile(fifo, "x"));
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_FALSE(writeFile(dir.path("folder.f"), "x"));
    EXPECT_TRUE(fs::is_directory(dir.path("folder.f")));
    EXPECT_EQ(writerFolderEntries(dir.dir()), 2);
}

TEST(SafeFileWriter, NamesOfTheLongestLengthAreWritten) {
    TempDir dir;
    const std::string longest = dir.path(std::string(255, 'n'));
    EXPECT_TRUE(writeFile(longest, "first"));
    EXPECT_TRUE(writeFile(longest, "second"));
    EXPECT_EQ(TempDir::read(longest), "second\r\n");
    const std::string almost = dir.write(std::string(249, 'a'), "old");
    EXPECT_TRUE(writeFile(almost, "new"));
    EXPECT_EQ(TempDir::read(almost), "new\r\n");
    EXPECT_EQ(writerFolderEntries(dir.dir()), 2);
}

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
    EXPECT_EQ(writerFolderEntries(shared), 1);

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
    ASSERT_EQ(writerFolderEntries(dir.dir()), 4);  // each left a temporary file behind

    // A writer at work on the same target keeps its file: only the dead one's goes.
    SafeFileWriter working(target);
    ASSERT_TRUE(working.open());
    working.writeLine("second");
    EXPECT_TRUE(writeFile(target, "first"));
    EXPECT_EQ(writerFolderEntries(dir.dir()), 4);  // the other's left-over, and the working one's
    EXPECT_TRUE(working.commit());
    EXPECT_EQ(TempDir::read(target), "second\r\n");
    EXPECT_EQ(writerFolderEntries(dir.dir()), 3);
    EXPECT_TRUE(writeFile(other, "new"));
    EXPECT_EQ(writerFolderEntries(dir.dir()), 2);
}

}  // namespace velkor
