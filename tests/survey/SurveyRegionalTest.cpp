// The survey's regional setting: kept in its file only when chosen, and taken away from
// the readings before they are gridded.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gridding/Plane.h"
#include "support/TempDir.h"
#include "survey/Survey.h"
#include "survey/SurveyDescription.h"
#include "survey/SurveyFile.h"
#include "survey/SurveyGridding.h"

namespace velkor {
namespace {

SurveySettings week() {
    SurveySettings s;
    s.days = {std::string(VELKOR_SAMPLES) + "/week.velkor"};
    return s;
}

bool mentions(const std::vector<std::string>& lines, const std::string& part) {
    for (const std::string& l : lines) {
        if (l.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(SurveyRegional, KeptInTheFileOnlyWhenChosenAndReadAsNoneWithout) {
    TempDir dir;
    SurveySettings s = week();
    const std::string path = dir.path("s.vsurvey");
    std::string message;
    ASSERT_TRUE(SurveyFile::write(path, s, message)) << message;
    const std::string without = TempDir::read(path);
    EXPECT_EQ(SurveyFile::read(path, message)->gridding.regional, RegionalTrend::Kind::None);

    s.gridding.regional = RegionalTrend::Kind::Quadratic;
    ASSERT_TRUE(SurveyFile::write(path, s, message)) << message;
    EXPECT_NE(TempDir::read(path).find("\"regional\": \"quadratic\""), std::string::npos);
    const auto back = SurveyFile::read(path, message);
    ASSERT_TRUE(back) << message;
    EXPECT_TRUE(*back == s);

    s.gridding.regional = RegionalTrend::Kind::None;
    ASSERT_TRUE(SurveyFile::write(path, s, message)) << message;
    EXPECT_EQ(TempDir::read(path), without);

    dir.write("bad.vsurvey", TempDir::read(path).substr(0, without.rfind('}')) +
                                 ",\n  \"gridding\": {\"regional\": \"cubic\"}\n}\n");
    EXPECT_FALSE(SurveyFile::read(dir.path("bad.vsurvey"), message));
    EXPECT_NE(message.find("\"plane\""), std::string::npos) << message;
}

TEST(SurveyRegional, ThePlaneIsTakenFromTheReadingsBeforeGriddingAndNamed) {
    SurveySettings s = week();
    std::string message;
    const auto plain = Survey::open(s, message);
    ASSERT_TRUE(plain) << message;
    const std::vector<GridPoint> raw = SurveyGridding::points(*plain, SurveyGridding::What::Field);
    const Plane rawPlane = Plane::fit(raw);
    ASSERT_GT(std::hypot(rawPlane.bx, rawPlane.by), 1e-3);  // the week has a trend to take
    EXPECT_FALSE(mentions(SurveyDescription::corrections(*plain), "Regional"));

    s.gridding.regional = RegionalTrend::Kind::Plane;
    const auto levelled = Survey::open(s, message);
    ASSERT_TRUE(levelled) << message;
    const std::vector<GridPoint> left =
        SurveyGridding::points(*levelled, SurveyGridding::What::Field);
    ASSERT_EQ(left.size(), raw.size());
    const Plane rest = Plane::fit(left);
    EXPECT_NEAR(rest.a, 0.0, 1e-6);
    EXPECT_NEAR(rest.bx, 0.0, 1e-9);
    EXPECT_NEAR(rest.by, 0.0, 1e-9);
    // Only the trend goes: each reading keeps its difference from its neighbour's.
    EXPECT_NEAR((left[1].value - left[0].value) - (raw[1].value - raw[0].value),
                -(rawPlane.at(raw[1].x, raw[1].y) - rawPlane.at(raw[0].x, raw[0].y)), 1e-6);
    EXPECT_TRUE(mentions(SurveyDescription::corrections(*levelled),
                         "Regional trend removed before gridding: plane"));
}

}  // namespace velkor
