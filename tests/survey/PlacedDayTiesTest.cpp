// Days tied where their readings lie within half a station interval of each other once
// placed, though each day numbers the control line its own way.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "survey/SurveyLevelling.h"

namespace velkor {

TEST(PlacedDayTies, ReadingsAtOnePlaceTieTheirDaysWhateverTheirNumbers) {
    // The control line, 0.5 m between readings, walked on three days: numbered line 0, 100
    // and 7, placed a few cm apart, each day off by its own offset.
    const double offsets[] = {0.0, 4.0, -2.5};
    const double lineNumber[] = {0.0, 100.0, 7.0};
    std::vector<SurveyLevelling::Input> in;
    for (int day = 0; day < 3; ++day) {
        for (int p = 0; p < 40; ++p) {
            SurveyLevelling::Input r;
            r.day = day;
            r.line = lineNumber[day];
            r.position = p;
            r.value = 48000.0 + 30.0 * std::sin(p * 0.3) + offsets[day];
            r.easting = 500000.0 + 0.5 * p + 0.03 * day;
            r.northing = 6200000.0 - 0.02 * day;
            in.push_back(r);
        }
    }
    SurveySettings::Levelling asked;
    asked.days = true;
    const SurveyLevelling::Outcome out = SurveyLevelling::run(asked, 0, 3, in, 0.5);
    ASSERT_EQ(out.report.dayOffsets.size(), 3U);
    EXPECT_TRUE(out.report.untiedDays.empty());
    EXPECT_NEAR(out.report.dayOffsets[1] - out.report.dayOffsets[0], 4.0, 1e-6);
    EXPECT_NEAR(out.report.dayOffsets[2] - out.report.dayOffsets[0], -2.5, 1e-6);
    // Lines a metre apart are no tie.
    for (SurveyLevelling::Input& r : in) {
        r.northing += r.day * 1.0;
    }
    EXPECT_EQ(SurveyLevelling::run(asked, 0, 3, in, 0.5).report.untiedDays.size(), 3U);
}

}  // namespace velkor
