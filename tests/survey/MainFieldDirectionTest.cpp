#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "corrections/DecimalYear.h"
#include "corrections/GeomagneticModel.h"
#include "support/ParametricPlacement.h"
#include "support/TempDir.h"
#include "survey/MainFieldDirection.h"
#include "survey/Survey.h"
#include "text/CalendarDate.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

// A day of 40 readings on 4 lines, all of one date ("DD.MM.YYYY").
std::string directionDayFile(const std::string& date) {
    std::string text = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    for (int k = 0; k < 40; ++k) {
        text += formatText("S %s 08:%02d:%02d %5d %5d %s  0.7 7 1.5          Base \r\n",
                           date.c_str(), k / 60, k % 60, k / 10, k % 10, "48100.0");
    }
    return text;
}

}  // namespace

TEST(MainFieldDirection, IgrfAtTheReadingsCentreAndTheMiddleDate) {
    TempDir dir;
    SurveySettings s;
    s.days = {dir.write("first.velkor", directionDayFile("06.07.2026")),
              dir.write("last.velkor", directionDayFile("10.07.2026"))};
    s.normal = {SurveySettings::NormalField::Kind::Constant, 48000.0, 250.0};
    s.placement = parametricPlacement(500000.0, 5300000.0, 30.0, 20.0, 5.0);
    std::string message;
    std::optional<Survey> survey = Survey::open(s, message);
    ASSERT_TRUE(survey) << message;
    EXPECT_FALSE(MainFieldDirection::of(*survey, message));
    EXPECT_NE(message.find("coordinate system"), std::string::npos);

    s.epsg = 32633;
    ASSERT_TRUE(survey->change(s, message)) << message;
    const std::optional<MainFieldDirection::Result> got = MainFieldDirection::of(*survey, message);
    ASSERT_TRUE(got) << message;
    std::vector<double> east;
    std::vector<double> north;
    for (int r = 0; r < survey->readingCount(); ++r) {
        east.push_back(survey->reading(r).easting);
        north.push_back(survey->reading(r).northing);
    }
    const auto [e0, e1] = std::minmax_element(east.begin(), east.end());
    const auto [n0, n1] = std::minmax_element(north.begin(), north.end());
    const CoordinateSystem::LatLon centre =
        survey->coordinateSystem()->toLatLon({(*e0 + *e1) / 2.0, (*n0 + *n1) / 2.0});
    const GeomagneticModel::Result model =
        GeomagneticModel::compute({centre.latitude, centre.longitude, 250.0},
                                  DecimalYear::of(*CalendarDate::read("08.07.2026")));
    ASSERT_TRUE(model.ok);
    EXPECT_EQ(got->date, "08.07.2026");
    EXPECT_DOUBLE_EQ(got->inclination, model.field.i);
    EXPECT_DOUBLE_EQ(got->declination, model.field.d);
    EXPECT_NE(MainFieldDirection::describe(*got).find("IGRF-14"), std::string::npos);
}

}  // namespace velkor
