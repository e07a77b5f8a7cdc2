#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "corrections/VariationSet.h"
#include "support/ForkedChild.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"

namespace velkor {

TEST(VariationSet, ReadsSamplesWithEitherLineEnd) {
    TempDir dir;
    RecordingPrompter prompter;
    const std::string body =
        " Date       Time     Variations\n 03.07.2026 10:04:00 48004.0\n 03.07.2026 10:10:30 "
        "-12.5\n";
    VariationSet lf;
    ASSERT_TRUE(lf.load(dir.write("lf.a", body), prompter));
    std::string crlf;
    for (char c : body) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    VariationSet cr;
    ASSERT_TRUE(cr.load(dir.write("crlf.a", crlf), prompter));
    EXPECT_EQ(cr.lines(), lf.lines());
    ASSERT_EQ(lf.count(), 3);
    EXPECT_EQ(lf.path(), dir.path("lf.a"));
    EXPECT_EQ(lf.date(1), "03.07.2026");
    EXPECT_EQ(lf.seconds(1), 36240);
    EXPECT_EQ(lf.seconds(2), 36630);
    EXPECT_DOUBLE_EQ(lf.value(1), 48004.0);
    EXPECT_DOUBLE_EQ(lf.value(2), -12.5);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(VariationSet, OddLinesReadAsZeroAndNothingFails) {
    TempDir dir;
    RecordingPrompter prompter;
    VariationSet v;
    ASSERT_TRUE(v.load(dir.write("odd.a", "head\r\n\r\n 03.07.2026 1x:-5:  abc\r\n"), prompter));
    ASSERT_EQ(v.count(), 3);
    EXPECT_EQ(v.date(1), "");
    EXPECT_EQ(v.seconds(1), 0);
    EXPECT_EQ(v.value(1), 0.0);
    EXPECT_EQ(v.seconds(2), 3600 - 5 * 60);
    EXPECT_EQ(v.value(2), 0.0);
}

// A line cut short inside its time keeps the groups, or the one digit of a group, it has.
TEST(VariationSet, ALineCutShortInItsTimeKeepsWhatItHas) {
    TempDir dir;
    RecordingPrompter prompter;
    const std::string full = " 03.07.2026 10:04:30 48004.0";
    std::string body = "head\n";
    for (const std::size_t length : {12, 13, 16, 19, 20}) {
        body += full.substr(0, length) + "\n";
    }
    VariationSet v;
    ASSERT_TRUE(v.load(dir.write("short.a", body), prompter));
    ASSERT_EQ(v.count(), 6);
    EXPECT_EQ(v.seconds(1), 0);
    EXPECT_EQ(v.seconds(2), 1 * 3600);
    EXPECT_EQ(v.seconds(3), 10 * 3600);
    EXPECT_EQ(v.seconds(4), 10 * 3600 + 4 * 60 + 3);
    EXPECT_EQ(v.seconds(5), 10 * 3600 + 4 * 60 + 30);
}

TEST(VariationSet, FailuresKeepThePreviousSet) {
    TempDir dir;
    RecordingPrompter prompter;
    VariationSet v;
    const std::string good = dir.write("good.a", "head\r\n 03.07.2026 10:00:00 48000.0\r\n");
    ASSERT_TRUE(v.load(good, prompter));

    EXPECT_FALSE(v.load(dir.path("missing.a"), prompter));
    EXPECT_EQ(prompter.texts().back(), "Read error ");
    EXPECT_FALSE(v.load(dir.write("empty.a", ""), prompter));
    EXPECT_EQ(prompter.texts().back(), "The file is empty");
    std::string big;
    for (int i = 0; i <= VariationSet::kCapacity; ++i) {
        big += " 03.07.2026 10:00:00 48000.0\r\n";
    }
    EXPECT_FALSE(v.load(dir.write("big.a", big), prompter));
    EXPECT_EQ(prompter.texts().back(), VariationSet::tooManyLinesMessage());
    EXPECT_EQ(v.count(), 2);
    EXPECT_EQ(v.path(), good);

    // Anything but a regular file is refused at once; the deadline guards a blocking open.
    const std::string fifo = dir.path("pipe.a");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_TRUE(ForkedChild::run(
        [&] {
            return !v.load(fifo, prompter) && prompter.texts().back() == "Read error " &&
                   v.path() == good;
        },
        10));

    // Only a header: it loads; a CR after the last line feed is one more, empty, entry.
    ASSERT_TRUE(v.load(dir.write("head.a", "head only\r\n"), prompter));
    EXPECT_EQ(v.count(), 1);
    ASSERT_TRUE(v.load(dir.write("cr.a", "head\n\r"), prompter));
    EXPECT_EQ(v.lines(), (std::vector<std::string>{"head", ""}));

    // Read-only files open; a line of exactly 84 characters is one entry.
    const std::string ro = dir.write("ro.a", "h\r\n" + std::string(84, '7') + "\r\n");
    std::filesystem::permissions(ro, std::filesystem::perms::owner_read);
    ASSERT_TRUE(v.load(ro, prompter));
    EXPECT_EQ(v.count(), 2);
}

}  // namespace velkor
