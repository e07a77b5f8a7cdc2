// The survey file is read as the day and base files are: no waiting on a FIFO, no endless
// device, nothing past a size or a depth no survey file comes near.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "support/ForkedChild.h"
#include "support/TempDir.h"
#include "survey/SurveyFile.h"

namespace velkor {
namespace {

constexpr std::uintmax_t kLargest = std::uintmax_t{64} << 20;
constexpr int kDeepest = 64;

// Read in a child under a deadline: a read that blocks or runs away fails, not hangs.
bool refusedSaying(const std::string& path, const std::string& expected) {
    return ForkedChild::run(
        [&] {
            std::string message;
            return !SurveyFile::read(path, message) && message.find(expected) != std::string::npos;
        },
        20);
}

}  // namespace

TEST(SurveyFileLimits, OnlyARegularFileIsRead) {
    TempDir dir;
    const std::string fifo = dir.path("fifo.vsurvey");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(refusedSaying(fifo, fifo + ": not a regular file"));
    EXPECT_TRUE(refusedSaying("/dev/zero", "/dev/zero: not a regular file"));
    EXPECT_TRUE(refusedSaying(dir.dir().string(), "not a regular file"));
}

TEST(SurveyFileLimits, AFileLargerThanAnySurveyIsRefusedUnread) {
    TempDir dir;
    const std::string big = dir.path("big.vsurvey");
    // Sparse: the size alone refuses it.
    dir.write("big.vsurvey", "");
    std::filesystem::resize_file(big, kLargest + 1);
    EXPECT_TRUE(refusedSaying(big, big + ": larger than 64 MB, too large for a survey file"));
}

TEST(SurveyFileLimits, NestingDeeperThanTheLimitIsRefusedWhereItPassesIt) {
    std::string message;
    const std::string deep(kDeepest + 1, '[');
    EXPECT_FALSE(SurveyFile::parse(deep + std::string(deep.size(), ']'), "", message));
    EXPECT_EQ(message, "line 1, column 65: lists and objects nested more than 64 deep");
    // Brackets inside texts are no nesting: the file is read on, and refused for its key.
    const std::string inText = R"({"format": "Velkor2tr survey", "version": 1, "days": [],
        "x": ")" + deep + "\"}";
    EXPECT_FALSE(SurveyFile::parse(inText, "", message));
    EXPECT_EQ(message, "x: unknown key");
}

}  // namespace velkor
