// Open Survey refuses a file no survey could be before reading it, and the window stays as
// it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "AppFixture.h"
#include "core/CommandTable.h"
#include "widgets/survey/SurveySession.h"

namespace velkor {
namespace {

class SurveyOpenLimitsTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(start());
    }
};

}  // namespace

TEST_F(SurveyOpenLimitsTest, OpenSurveyRefusesAHugeFileBeforeItStartsReading) {
    const std::string big = dir.write("big.vsurvey", "");
    std::filesystem::resize_file(big, (std::uintmax_t{64} << 20) + 1);
    prompter.files.push_back(big);
    frame().dispatch(cmd::OpenSurvey);
    EXPECT_FALSE(frame().survey().busy());
    EXPECT_EQ(frame().survey().survey(), nullptr);
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{big + ": larger than 64 MB, too large for a survey file"});
}

TEST_F(SurveyOpenLimitsTest, AHugePathInTheSurveyIsQuotedShort) {
    const std::string day = "/" + std::string(5'000'000, 'd') + "/day.velkor";
    const std::string file = dir.write(
        "huge.vsurvey",
        R"({"format": "Velkor2tr survey", "version": 1, "days": [{"path": ")" + day + "\"}]}");
    prompter.files.push_back(file);
    frame().dispatch(cmd::OpenSurvey);
    frame().survey().wait();
    ASSERT_EQ(prompter.shown.size(), 1U);
    const std::string& text = prompter.shown[0].text;
    EXPECT_LE(text.size(), 400U);
    EXPECT_EQ(text.rfind("/ddd", 0), 0U) << text;
    EXPECT_NE(text.find("ddd...ddd"), std::string::npos) << text;
    EXPECT_NE(text.find("ddd/day.velkor: "), std::string::npos) << text;
}

}  // namespace velkor
