#include <gtest/gtest.h>

#include <sys/stat.h>

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
    int n = 0;
    for (const auto& e : fs::directory_iterator(folder)) {
        (void)e;
        ++n;
    }
    return n;
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
    EXPECT_EQ(entries(dir.dir()), 2);  // no temporary file left behind
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
    EXPECT_EQ(entries(dir.dir()), 7);  // sub, real, new and the four links at the top
    EXPECT_EQ(entries(dir.path("sub")), 1);
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
    EXPECT_EQ(entries(dir.dir()), 2);
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
    EXPECT_EQ(entries(dir.dir()), 2);
}

}  // namespace velkor
