// Levelling as the survey keeps and applies it: in its file only when asked for, applied
// after the diurnal correction, computed again on every change.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <sstream>
#include <string>

#include "support/TempDir.h"
#include "survey/Survey.h"
#include "survey/SurveyExport.h"
#include "survey/SurveyFile.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

std::string levellingSample(const std::string& name) {
    return std::string(VELKOR_SAMPLES) + "/" + name;
}

SurveySettings levellingWeek() {
    SurveySettings s;
    s.days = {levellingSample("week.velkor")};
    s.baseSources = {{levellingSample("week-base.a"), 0}};
    s.datum = 48000.0;
    return s;
}

// The week again as another day, every field read nT higher (so that no reading is the
// same as the week's and each is tied to it).
std::string levellingShiftedWeek(const TempDir& dir, double nT) {
    std::istringstream in(TempDir::read(levellingSample("week.velkor")));
    const std::regex field(R"(^([SGA] \S+ \S+ +\S+ +\S+ +)(\d+\.\d))");
    std::string out;
    std::string line;
    while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_search(line, m, field)) {
            char value[16];
            std::snprintf(value, sizeof value, "%.1f", std::stod(m[2].str()) + nT);
            line = m[1].str() + value + m.suffix().str();
        }
        out += line + "\n";
    }
    return dir.write("shifted.velkor", out);
}

// The week walked zig-zag: the even lines' positions mirrored, so that they fall as the
// readings go on.
std::string levellingZigZagWeek(const TempDir& dir) {
    std::istringstream in(TempDir::read(levellingSample("week.velkor")));
    const std::regex place(R"(^([SG] \S+ \S+ +)(\d+)( +)(\d+))");
    std::string out;
    std::string line;
    while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_search(line, m, place) && std::stoi(m[2].str()) % 2 == 0) {
            const std::string mirrored = std::to_string(81 - std::stoi(m[4].str()));
            const std::size_t width = m[3].length() + m[4].length();
            line = m[1].str() + m[2].str() + std::string(width - mirrored.size(), ' ') + mirrored +
                   m.suffix().str();
        }
        out += line + "\n";
    }
    return dir.write("zigzag.velkor", out);
}

std::vector<std::string> levellingCells(const std::string& row) {
    std::vector<std::string> cells;
    std::istringstream in(row);
    std::string cell;
    while (std::getline(in, cell, ',')) {
        cells.push_back(cell);
    }
    return cells;
}

Survey levellingOpen(const SurveySettings& s) {
    std::string message;
    std::optional<Survey> survey = Survey::open(s, message);
    EXPECT_TRUE(survey) << message;
    return std::move(*survey);
}

}  // namespace

TEST(SurveyLevelling, KeptInTheFileOnlyWhenAskedForAndReadBack) {
    TempDir dir;
    SurveySettings s = levellingWeek();
    const std::string path = dir.path("s.vsurvey");
    std::string message;
    ASSERT_TRUE(SurveyFile::write(path, s, message)) << message;
    const std::string without = TempDir::read(path);
    EXPECT_EQ(without.find("levelling"), std::string::npos);

    s.levelling.days = true;
    s.levelling.fixDay = s.days[0];
    s.levelling.lines = true;
    s.levelling.threshold = 2.5;
    s.levelling.destagger = SurveySettings::Levelling::Destagger::Given;
    s.levelling.stagger = -0.25;
    ASSERT_TRUE(SurveyFile::write(path, s, message)) << message;
    std::optional<SurveySettings> back = SurveyFile::read(path, message);
    ASSERT_TRUE(back) << message;
    EXPECT_TRUE(*back == s);

    s.levelling.destagger = SurveySettings::Levelling::Destagger::Auto;
    s.levelling.directions = true;
    ASSERT_TRUE(SurveyFile::write(path, s, message)) << message;
    EXPECT_NE(TempDir::read(path).find("\"destagger\": \"auto\""), std::string::npos);
    back = SurveyFile::read(path, message);
    ASSERT_TRUE(back) << message;
    EXPECT_TRUE(*back == s);

    s.levelling = SurveySettings::Levelling();
    ASSERT_TRUE(SurveyFile::write(path, s, message)) << message;
    EXPECT_EQ(TempDir::read(path), without);

    dir.write("bad.vsurvey", without.substr(0, without.rfind('}')) +
                                 ",\n  \"levelling\": {\"destagger\": \"sideways\"}\n}\n");
    EXPECT_FALSE(SurveyFile::read(dir.path("bad.vsurvey"), message));
    EXPECT_NE(message.find("levelling"), std::string::npos) << message;
}

TEST(SurveyLevelling, AChangeOfDatumKeepsTheLevelsAndThePlaces) {
    TempDir dir;
    SurveySettings s = levellingWeek();
    s.days = {levellingZigZagWeek(dir)};
    const Survey plain = levellingOpen(s);
    s.levelling.lines = true;
    s.levelling.directions = true;
    s.levelling.destagger = SurveySettings::Levelling::Destagger::Given;
    s.levelling.stagger = 0.5;
    Survey survey = levellingOpen(s);
    ASSERT_EQ(survey.readingCount(), plain.readingCount());
    ASSERT_FALSE(survey.levelling().lines.empty());
    ASSERT_TRUE(survey.levelling().direction);

    s.datum = 48100.0;
    std::string message;
    ASSERT_TRUE(survey.change(s, message)) << message;
    const Survey again = levellingOpen(s);
    int levelled = 0;
    for (int r = 0; r < survey.readingCount(); ++r) {
        const Survey::Reading g = survey.readingWithoutLatLon(r);
        const Survey::Reading p = plain.readingWithoutLatLon(r);
        EXPECT_EQ(g.level, again.readingWithoutLatLon(r).level);
        EXPECT_EQ(g.easting, again.readingWithoutLatLon(r).easting);
        EXPECT_EQ(g.northing, p.northing);
        if (g.mode == 'A') {
            EXPECT_EQ(g.level, 0.0f);
            EXPECT_EQ(g.easting, p.easting);
            continue;
        }
        // Odd lines are walked towards increasing positions, even ones back: each moves
        // half the stagger its own way (with no placement a position is the easting and
        // the line the northing).
        const double way = static_cast<int>(g.northing) % 2 == 1 ? 1.0 : -1.0;
        EXPECT_DOUBLE_EQ(g.easting, p.easting + way * 0.25);
        if (g.anomaly && p.anomaly) {
            EXPECT_NEAR(*g.anomaly, *p.anomaly + 100.0 + g.level, 0.01);
            levelled += g.level != 0.0f ? 1 : 0;
        }
    }
    EXPECT_GT(levelled, survey.readingCount() / 2);

    // Levelling taken off again puts every reading back.
    s.levelling = SurveySettings::Levelling();
    ASSERT_TRUE(survey.change(s, message)) << message;
    for (int r = 0; r < survey.readingCount(); ++r) {
        EXPECT_EQ(survey.readingWithoutLatLon(r).easting, plain.readingWithoutLatLon(r).easting);
        EXPECT_EQ(survey.readingWithoutLatLon(r).level, 0.0f);
    }
}

TEST(SurveyLevelling, DaysTiedByTheirPlacesComeOutAtTheirOffset) {
    TempDir dir;
    SurveySettings s;
    s.days = {levellingSample("week.velkor"), levellingShiftedWeek(dir, 4.0)};
    s.levelling.days = true;
    const Survey survey = levellingOpen(s);
    const SurveyLevelling::Report& report = survey.levelling();
    ASSERT_EQ(report.dayOffsets.size(), 2u);
    EXPECT_NEAR(report.dayOffsets[1] - report.dayOffsets[0], 4.0, 0.01);
    EXPECT_NEAR(report.dayOffsets[0] + report.dayOffsets[1], 0.0, 1e-9);
    EXPECT_TRUE(report.untiedDays.empty());
    EXPECT_GT(report.tieRmsBefore, 3.9);
    EXPECT_LT(report.tieRmsAfter, 0.01);
    // Each reading of the second day levelled onto the first.
    const int n = survey.first(1);
    ASSERT_EQ(survey.readingCount(), 2 * n);
    for (int r = 0; r < n; ++r) {
        const Survey::Reading a = survey.readingWithoutLatLon(r);
        const Survey::Reading b = survey.readingWithoutLatLon(n + r);
        if (a.mode != 'A') {
            EXPECT_NEAR(*b.anomaly, *a.anomaly, 0.01);
        }
    }
}

TEST(SurveyLevelling, TheCsvTellsTheLevelAndKeepsEveryOtherColumn) {
    SurveySettings s = levellingWeek();
    std::istringstream plain(SurveyExport::csv(levellingOpen(s), {}));
    s.levelling.lines = true;
    const Survey levelled = levellingOpen(s);
    std::istringstream rows(SurveyExport::csv(levelled, {}));
    std::string a;
    std::string b;
    std::getline(plain, a);
    std::getline(rows, b);
    EXPECT_EQ(b, a);
    int shifted = 0;
    for (int r = 0; std::getline(plain, a) && std::getline(rows, b) && !a.empty(); ++r) {
        std::vector<std::string> before = levellingCells(a);
        std::vector<std::string> after = levellingCells(b);
        ASSERT_EQ(after.size(), 18u) << b;
        const Survey::Reading g = levelled.readingWithoutLatLon(r);
        EXPECT_EQ(after[17].substr(0, after[17].size() - 1),
                  formatText("%.2f", static_cast<double>(g.level)));
        // Both are rounded to 0.01 nT from single precision.
        if (!before[14].empty()) {
            EXPECT_NEAR(std::stod(after[14]), std::stod(before[14]) + g.level, 0.02);
        }
        shifted += g.level != 0.0f ? 1 : 0;
        before[14] = after[14];
        before[17] = after[17];
        EXPECT_EQ(after, before);
    }
    EXPECT_GT(shifted, 1000);
}

}  // namespace velkor
