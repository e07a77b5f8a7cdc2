#include <gtest/gtest.h>

#include <string>

#include "text/QuotedText.h"

namespace velkor {

TEST(QuotedText, ShortTextsWholeLongOnesCutAroundAnEllipsis) {
    const std::string fits(QuotedText::kMaxBytes, 'a');
    EXPECT_EQ(QuotedText::of(fits), fits);
    EXPECT_EQ(QuotedText::of(""), "");
    const std::string path = "/" + std::string(50'000'000, 'd') + "/day.velkor";
    const std::string cut = QuotedText::of(path);
    EXPECT_EQ(cut, "/" + std::string(QuotedText::kHead - 1, 'd') + "..." +
                       std::string(QuotedText::kTail - 11, 'd') + "/day.velkor");
}

TEST(QuotedText, NoCharacterIsCutInTwo) {
    // Two-byte letters: every cut falls inside one unless it is moved.
    std::string text;
    for (int k = 0; k < 400; ++k) {
        text += "\xC3\xA9";  // e acute
    }
    const std::string cut = QuotedText::of("x" + text);
    const std::size_t dots = cut.find("...");
    ASSERT_NE(dots, std::string::npos);
    EXPECT_LE(cut.size(), QuotedText::kMaxBytes);
    EXPECT_EQ((dots - 1) % 2, 0U) << "the head ends after a whole letter";
    EXPECT_EQ((cut.size() - dots - 3) % 2, 0U) << "the tail begins with a whole letter";
    EXPECT_EQ(static_cast<unsigned char>(cut[dots + 3]), 0xC3U);
}

}  // namespace velkor
