#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "data/DataFile.h"
#include "data/DataSet.h"
#include "support/ForkedChild.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

const std::string kHeader = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note ";
const std::string kS = "S 03.07.2026 10:15:42     1     1 48123.4  0.7 7 1.5          Base ";
const std::string kG = "G 03.07.2026 10:16:02     1     2 48130.9  1.2 6 1.4    124.0      ";
const std::string kComma = "S, 03.07.2026, 10:15:42,    12,     7, 48123.4,  0.7,   7,  1.5";

class DataFileTest : public ::testing::Test {
  protected:
    bool load(const std::string& path) { return DataFile::load(path, data, prompter); }

    TempDir dir;
    DataSet data;
    RecordingPrompter prompter;
};

}  // namespace

TEST_F(DataFileTest, RoundTripKeepsEveryLineAndTheLayout) {
    const std::string bytes = kHeader + "\r\n" + kS + "\r\n" + kG + "\r\n";
    ASSERT_TRUE(load(dir.write("a.velkor", bytes)));
    EXPECT_EQ(data.lineCount(), 3);
    EXPECT_TRUE(data.dataLoaded);
    EXPECT_EQ(data.layout().kind(), ColumnLayout::Kind::Blank);
    EXPECT_EQ(data.line(0), kHeader);

    data.modified = true;
    ASSERT_TRUE(DataFile::write(dir.path("b.velkor"), data, prompter));
    EXPECT_FALSE(data.modified);
    EXPECT_EQ(TempDir::read(dir.path("b.velkor")), bytes);

    DataSet again;
    ASSERT_TRUE(DataFile::load(dir.path("b.velkor"), again, prompter));
    EXPECT_EQ(again.lines(), data.lines());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(DataFileTest, LineEndsAndStrayCarriageReturnsAreDropped) {
    ASSERT_TRUE(load(dir.write("lf", kHeader + "\n" + kS + "\n" + kG)));
    const auto lf = data.lines();
    ASSERT_TRUE(load(dir.write("crlf", kHeader + "\r\n" + kS + "\r\n" + kG + "\r\n")));
    EXPECT_EQ(data.lines(), lf);
    ASSERT_TRUE(load(dir.write("stray", "M Date\r\rx\r\n\r\nS 1\r2\n")));
    EXPECT_EQ(data.lines(), (std::vector<std::string>{"M Datex", "", "S 12"}));
}

TEST_F(DataFileTest, ACarriageReturnAfterTheLastLineFeedIsAnEmptyLine) {
    ASSERT_TRUE(load(dir.write("cr", "H\n\r")));
    EXPECT_EQ(data.lines(), (std::vector<std::string>{"H", ""}));
    ASSERT_TRUE(DataFile::write(dir.path("saved"), data, prompter));
    EXPECT_EQ(TempDir::read(dir.path("saved")), "H\r\n\r\n");
    ASSERT_TRUE(load(dir.path("saved")));
    EXPECT_EQ(data.lines(), (std::vector<std::string>{"H", ""}));
    ASSERT_TRUE(load(dir.write("crs", "H\n" + std::string(84, 'x') + "\r\r")));
    EXPECT_EQ(data.lines(), (std::vector<std::string>{"H", std::string(84, 'x')}));
}

TEST_F(DataFileTest, AFifoIsRefusedWithoutWaitingForAWriter) {
    ASSERT_TRUE(load(dir.write("good", kHeader + "\r\n" + kS + "\r\n")));
    const std::string fifo = dir.path("pipe.velkor");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // The deadline only guards the run: a blocking open would hang here for ever.
    EXPECT_TRUE(ForkedChild::run(
        [&] {
            return !load(fifo) && prompter.texts() == std::vector<std::string>{"Read error"} &&
                   data.lineCount() == 2;
        },
        10));
}

TEST_F(DataFileTest, LongLinesAreCutIntoPiecesOf84) {
    const std::string hundred(100, 'x');
    const std::string exact(84, 'y');
    ASSERT_TRUE(load(dir.write(
        "long", kHeader + "\r\n" + hundred + "\r\n" + exact + "\r\n" + std::string(168, 'z'))));
    ASSERT_EQ(data.lineCount(), 6);
    EXPECT_EQ(data.line(1), std::string(84, 'x'));
    EXPECT_EQ(data.line(2), std::string(16, 'x'));
    EXPECT_EQ(data.line(3), exact);
    EXPECT_EQ(data.line(4), std::string(84, 'z'));
    EXPECT_EQ(data.line(5), std::string(84, 'z'));
}

TEST_F(DataFileTest, FailedLoadsChangeNothing) {
    ASSERT_TRUE(load(dir.write("good", kHeader + "\r\n" + kComma + "\r\n")));
    data.modified = true;
    data.temporalDone = true;
    data.setCorrected(1, 48000.0f);
    const auto before = data.lines();

    auto expectUntouched = [&](const std::string& message) {
        ASSERT_FALSE(prompter.shown.empty());
        EXPECT_EQ(prompter.shown.back().text, message);
        EXPECT_EQ(prompter.shown.back().caption, "Velkor2tr");
        EXPECT_EQ(data.lines(), before);
        EXPECT_TRUE(data.dataLoaded);
        EXPECT_TRUE(data.modified);
        EXPECT_TRUE(data.temporalDone);
        EXPECT_EQ(data.corrected(1), 48000.0f);
        EXPECT_EQ(data.layout().kind(), ColumnLayout::Kind::Comma);
    };

    EXPECT_FALSE(load(dir.path("missing.velkor")));
    expectUntouched("Read error");
    EXPECT_FALSE(load(dir.dir().string()));
    expectUntouched("Read error");
    EXPECT_FALSE(load(dir.write("empty", "")));
    expectUntouched("The file is empty");
    EXPECT_FALSE(load(dir.write("header", kHeader + "\r\n")));
    expectUntouched("The file is empty");

    std::string big = kHeader + "\r\n";
    for (int i = 1; i < DataSet::kCapacity; ++i) {
        big += kS + "\r\n";
    }
    const std::string limit = dir.write("limit", big);
    const std::string over = dir.write("over", big + kS + "\r\n");
    EXPECT_FALSE(load(over));
    expectUntouched(DataFile::tooManyLinesMessage());
    EXPECT_NE(DataFile::tooManyLinesMessage().find("20000"), std::string::npos);

    EXPECT_TRUE(load(limit));
    EXPECT_EQ(data.lineCount(), DataSet::kCapacity);
}

TEST_F(DataFileTest, ReadOnlyFilesLoad) {
    const std::string path = dir.write("ro.velkor", kHeader + "\r\n" + kS + "\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_TRUE(load(path));
    EXPECT_EQ(data.lineCount(), 2);
}

TEST_F(DataFileTest, LayoutComesFromDataLineOneOnly) {
    ASSERT_TRUE(load(dir.write("c", kHeader + "\r\n" + kComma + "\r\n" + kS + "\r\n")));
    EXPECT_EQ(data.layout().kind(), ColumnLayout::Kind::Comma);
    EXPECT_EQ(data.field(1, Column::Date), "03.07.2026");
    EXPECT_EQ(data.field(2, Column::Note), "");
    ASSERT_TRUE(load(dir.write("b", kHeader + "\r\n" + kS + "\r\n" + kComma + "\r\n")));
    EXPECT_EQ(data.layout().kind(), ColumnLayout::Kind::Blank);
    ASSERT_TRUE(load(dir.write("x", ",,\r\nS\r\n")));
    EXPECT_EQ(data.layout().kind(), ColumnLayout::Kind::Blank);
}

TEST_F(DataFileTest, FailedWritesKeepTheOldFileAndTheFlag) {
    ASSERT_TRUE(load(dir.write("a", kHeader + "\r\n" + kS + "\r\n")));
    data.modified = true;

    EXPECT_FALSE(DataFile::write(dir.path("no-such-folder/out.velkor"), data, prompter));
    EXPECT_EQ(prompter.texts().back(), "Write error");
    EXPECT_TRUE(data.modified);

    // The user's own read-only file: the mode forbids writing, so it is not replaced.
    const std::string oldBytes = "old contents\r\n";
    const std::string target = dir.path("read-only.velkor");
    std::filesystem::permissions(dir.dir(), std::filesystem::perms::all);
    EXPECT_TRUE(ForkedChild::run(
        [&] {
            dir.write("read-only.velkor", oldBytes);
            ::chmod(target.c_str(), 0444);
            const bool written = DataFile::write(target, data, prompter);
            return !written && prompter.texts().back() == "Write error" && data.modified;
        },
        10, ForkedChild::kNobody));
    EXPECT_EQ(TempDir::read(target), oldBytes);

    // A folder in the target's place cannot be replaced; nothing is left beside it.
    std::filesystem::create_directory(dir.path("taken"));
    EXPECT_FALSE(DataFile::write(dir.path("taken"), data, prompter));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path("taken")));
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.dir())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 3);  // a, the read-only file and the folder
}

TEST_F(DataFileTest, WriteKeepsTheModeOfTheFileItReplaces) {
    ASSERT_TRUE(load(dir.write("a", kHeader + "\r\n" + kS + "\r\n")));
    const std::string target = dir.write("shared.velkor", "old");
    std::filesystem::permissions(
        target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                    std::filesystem::perms::group_read | std::filesystem::perms::others_read);
    ASSERT_TRUE(DataFile::write(target, data, prompter));
    EXPECT_EQ(std::filesystem::status(target).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read | std::filesystem::perms::others_read);
}

TEST_F(DataFileTest, HostileFilesLoadAsTheLineRulesSayOrAreRefused) {
    ASSERT_TRUE(load(dir.write("good", kHeader + "\r\n" + kS + "\r\n")));
    const auto before = data.lines();
    // Every byte value but the line ends, twice: two lines of 254 bytes each, in pieces.
    std::string garbage;
    for (int round = 0; round < 2; ++round) {
        for (int b = 0; b < 256; ++b) {
            if (b != '\n' && b != '\r') {
                garbage.push_back(static_cast<char>(b));
            }
        }
        garbage += "\n";
    }
    ASSERT_TRUE(load(dir.write("garbage", garbage)));
    ASSERT_EQ(data.lineCount(), 8);
    EXPECT_EQ(data.line(0), garbage.substr(0, 84));
    EXPECT_EQ(data.line(3), garbage.substr(252, 2));
    ASSERT_TRUE(load(dir.write("nul", std::string("H\0\0\r\n\0S\0", 8))));
    EXPECT_EQ(data.lines(),
              (std::vector<std::string>{std::string("H\0\0", 3), std::string("\0S\0", 3)}));

    ASSERT_TRUE(load(dir.write("good", kHeader + "\r\n" + kS + "\r\n")));
    // One 10 MB line is far more than 20000 pieces of 84: refused whole.
    EXPECT_FALSE(load(dir.write("huge", kHeader + "\r\n" + std::string(10 * 1024 * 1024, '7'))));
    EXPECT_EQ(prompter.texts().back(), DataFile::tooManyLinesMessage());
    EXPECT_EQ(data.lines(), before);
    // /dev/zero never ends: it is no regular file, so it is refused without a read.
    EXPECT_TRUE(ForkedChild::run([&] { return !load("/dev/zero"); }, 10));
    EXPECT_FALSE(load("/dev/zero"));
    EXPECT_EQ(prompter.texts().back(), "Read error");
    EXPECT_EQ(data.lines(), before);
}

}  // namespace velkor
