// What the survey file refuses to read or to write, and where its paths start from.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>

#include "support/TempDir.h"
#include "survey/SurveyFile.h"

namespace velkor {
namespace {

const std::string kHead = R"({"format": "Velkor2tr survey", "version": 1, )";

std::string refusal(const std::string& text) {
    std::string message;
    EXPECT_FALSE(SurveyFile::parse(text, "", message)) << text;
    return message;
}

}  // namespace

TEST(SurveyFileChecks, AKeyGivenTwiceIsRefusedByItsPlace) {
    EXPECT_EQ(refusal(kHead + R"("datum": 1, "datum": 2})"), "datum: given twice");
    EXPECT_EQ(refusal(kHead + R"("days": [{"path": "a"}, {"path": "b", "path": "c"}]})"),
              "days[1].path: given twice");
    EXPECT_EQ(refusal(kHead + R"("placement": {"by": "none", "by": "none"}})"),
              "placement.by: given twice");
}

TEST(SurveyFileChecks, AnEmptyFileSaysSo) {
    TempDir dir;
    for (const char* text : {"", " \r\n\t\n"}) {
        std::string message;
        EXPECT_FALSE(SurveyFile::read(dir.write("empty.vsurvey", text), message));
        EXPECT_EQ(message, "The file is empty");
    }
}

TEST(SurveyFileChecks, AReadingNumberBeyondTheIntegerRangeIsRefused) {
    for (const char* number : {"18446744073709551615", "4294967295", "-2147483648"}) {
        EXPECT_EQ(refusal(kHead + R"("flags": [{"file": "d", "reading": )" + number +
                          R"(, "text": "t", "word": "w"}]})"),
                  "flags[0].reading: expected a whole number")
            << number;
    }
}

TEST(SurveyFileChecks, SettingsThatWouldNotReadBackAreNeverWritten) {
    TempDir dir;
    const std::string path = dir.write("s.vsurvey", "the old file");
    SurveySettings s;
    s.baseSources = {{dir.path("b.a"), INT_MIN}};
    std::string message;
    EXPECT_FALSE(SurveyFile::write(path, s, message));
    EXPECT_EQ(message, "base_sources[0].offset: expected a whole number");
    EXPECT_EQ(TempDir::read(path), "the old file");
}

TEST(SurveyFileChecks, PathsStartFromTheFolderTheFileReallyLiesIn) {
    TempDir dir;
    namespace fs = std::filesystem;
    fs::create_directories(dir.path("real/inner"));
    fs::create_directories(dir.path("elsewhere"));
    SurveySettings s;
    s.days = {dir.path("real/day.velkor")};
    std::string message;
    ASSERT_TRUE(SurveyFile::write(dir.path("real/inner/s.vsurvey"), {}, message)) << message;
    // Written through a link to the file: the paths are relative to the file itself.
    fs::create_symlink(dir.path("real/inner/s.vsurvey"), dir.path("elsewhere/s.vsurvey"));
    ASSERT_TRUE(SurveyFile::write(dir.path("elsewhere/s.vsurvey"), s, message)) << message;
    EXPECT_NE(TempDir::read(dir.path("real/inner/s.vsurvey")).find("\"../day.velkor\""),
              std::string::npos);
    // Read through that link, or through a link to its folder, they come back the same.
    fs::create_directory_symlink(dir.path("real/inner"), dir.path("elsewhere/in"));
    for (const char* through : {"elsewhere/s.vsurvey", "elsewhere/in/s.vsurvey"}) {
        const auto back = SurveyFile::read(dir.path(through), message);
        ASSERT_TRUE(back) << message;
        ASSERT_EQ(back->days.size(), 1U);
        EXPECT_EQ(fs::path(back->days[0]).lexically_normal(),
                  fs::weakly_canonical(dir.path("real/day.velkor")))
            << through;
    }
}

}  // namespace velkor
