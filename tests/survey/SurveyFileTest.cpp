#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"
#include "survey/SurveyFile.h"

namespace velkor {

TEST(SurveyFile, RoundTripWithPathsRelativeToTheFile) {
    TempDir dir;
    SurveySettings s;
    s.days = {dir.path("days/mon.velkor"), dir.path("days/tue.velkor")};
    s.baseSources = {{dir.path("base/obs.a"), -90}, {dir.path("other.a"), 3600}};
    s.epsg = 32633;
    std::string message;
    s.placement = *Placement::byControlPoints({{0, 0, 500000.25, 5400000.5},
                                               {10, 20, 500100.125, 5400210.0},
                                               {3, 7, 500030.0, 5400070.0}},
                                              Placement::Side::Right, 25.0, 2.5, message);
    s.datum = 48123.4;
    s.normal = {SurveySettings::NormalField::Kind::Igrf, 0.0, 312.5};
    s.flags = {
        {dir.path("days/tue.velkor"), 17, "S 07.07.2026 10:00:01     3    17 48233.9", "spike"}};

    const std::string path = dir.path("survey.vsurvey");
    ASSERT_TRUE(SurveyFile::write(path, s, message)) << message;
    const std::string text = TempDir::read(path);
    EXPECT_NE(text.find("\"path\": \"days/mon.velkor\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"coordinate_system\": \"EPSG:32633\""), std::string::npos);
    const auto back = SurveyFile::read(path, message);
    ASSERT_TRUE(back) << message;
    EXPECT_TRUE(*back == s);

    // The other kinds of placement and normal field come back as well.
    s.placement = Placement();
    s.epsg.reset();
    s.normal = {SurveySettings::NormalField::Kind::Constant, 47950.5, 0.0};
    ASSERT_TRUE(SurveyFile::write(path, s, message));
    EXPECT_TRUE(*SurveyFile::read(path, message) == s);
    Placement::Parameters p;
    p.originEasting = 10.5;
    p.azimuth = 123.25;
    p.side = Placement::Side::Right;
    s.placement = *Placement::byParameters(p, message);
    ASSERT_TRUE(SurveyFile::write(path, s, message));
    EXPECT_TRUE(*SurveyFile::read(path, message) == s);

    // The gridding: written only when it is not the default, so that older files stay as
    // they were; a blanking distance of none comes back as infinity.
    EXPECT_EQ(TempDir::read(path).find("gridding"), std::string::npos);
    s.gridding.what = SurveySettings::Gridding::What::Gradient;
    s.gridding.cell = 2.5;
    s.gridding.tension = 0.0;
    s.gridding.blankDistance = std::numeric_limits<double>::infinity();
    ASSERT_TRUE(SurveyFile::write(path, s, message));
    EXPECT_NE(TempDir::read(path).find("\"blanking_distance\": \"none\""), std::string::npos);
    EXPECT_TRUE(*SurveyFile::read(path, message) == s);
    s.gridding.blankDistance = 40.0;
    s.gridding.interval = 5.0;
    ASSERT_TRUE(SurveyFile::write(path, s, message));
    EXPECT_TRUE(*SurveyFile::read(path, message) == s);
}

TEST(SurveyFile, RefusesWhatItDoesNotKnowNamingThePlace) {
    const std::string head = R"({"format": "Velkor2tr survey", "version": 1, )";
    const std::vector<std::pair<std::string, std::string>> cases{
        {head + R"("days": [{"path": "a"}, {"path": "b"}, {"path": 3}]})",
         "days[2].path: expected a text"},
        {head + R"("colour": "red"})", "colour: unknown key"},
        {head + R"("days": [{"path": "a", "when": 1}]})", "days[0].when: unknown key"},
        {R"({"format": "Velkor2tr survey", "version": 2})",
         "version: 2 is newer than this program reads (1)"},
        {R"({"format": "something else", "version": 1})", "format: expected \"Velkor2tr survey\""},
        {R"({"version": 1})", "format: missing"},
        {head + R"("base_sources": [{"path": "b.a", "offset": 1.5}]})",
         "base_sources[0].offset: expected a whole number"},
        {head + R"("coordinate_system": "UTM 33"})",
         "coordinate_system: expected \"EPSG:\" and a code, or null"},
        {head + R"("placement": {"by": "parameters", "azimuth": 90, "lines_to": "up"}})",
         "placement.lines_to: expected \"right\" or \"left\""},
        {head + R"("placement": {"by": "control points", "control_points": [)" +
             R"({"line": 1, "position": 2, "easting": 3, "northing": 4}]}})",
         "placement: A placement by control points needs two or more points."},
        {head + R"("normal_field": {"kind": "igrf", "value": 48000}})",
         "normal_field.value: unknown key"},
        {head + R"("datum": "48000"})", "datum: expected a number"},
        {head + R"("flags": [{"file": "a", "reading": 3, "text": "S"}]})",
         "flags[0].word: missing"},
        {head + R"("gridding": {"tension": 1.5}})",
         "gridding.tension: expected a number from 0 to 1"},
        {head + R"("gridding": {"cell": 0}})", "gridding.cell: expected a number above 0"},
        {head + R"("gridding": {"blanking_distance": "far"}})",
         "gridding.blanking_distance: expected a number"},
        {head + R"("gridding": {"grid_of": "base"}})",
         "gridding.grid_of: expected \"anomaly\", \"diurnal\", \"field\" or \"gradient\""},
        {"[1, 2]", "the file: expected an object"},
        {"{\n  \"format\": \"Velkor2tr survey\",\n  \"version\" 1\n}",
         "line 3, column 13: not valid JSON"},
        {head + "\n\"datum\": 888e888}", "line 2, column 10: a number too large to read"},
    };
    for (const auto& [text, expected] : cases) {
        std::string message;
        EXPECT_FALSE(SurveyFile::parse(text, "/surveys", message)) << text;
        EXPECT_EQ(message, expected) << text;
    }
    TempDir dir;
    std::string message;
    EXPECT_FALSE(SurveyFile::read(dir.path("missing.vsurvey"), message));
    EXPECT_EQ(message, dir.path("missing.vsurvey") + ": Read error");
}

}  // namespace velkor
