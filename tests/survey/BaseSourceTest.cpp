#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "corrections/TemporalCorrection.h"
#include "support/Fixture.h"
#include "support/TempDir.h"
#include "survey/BaseCoverage.h"
#include "survey/BaseCsvFile.h"
#include "survey/BaseSource.h"
#include "survey/IagaFile.h"
#include "survey/Survey.h"
#include "survey/SurveyFile.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

using Outcome = TemporalCorrection::Outcome;
using BaseFormat = SurveySettings::BaseSource::Format;

struct Record {
    std::string date;
    std::string time;
    double values[4];
};

// A file as an observatory writes it: 70-character records, CR LF.
std::string iaga(const std::string& elements, const std::vector<Record>& records) {
    std::string text;
    const auto header = [&](const char* label, const std::string& value) {
        text += formatText(" %-23s%-45s|\r\n", label, value.c_str());
    };
    header("Format", "IAGA-2002");
    header("IAGA CODE", "OBS");
    header("Reported", elements);
    text += formatText(" %-68s|\r\n", "# hand-made for the tests");
    std::string names[4];
    for (int k = 0; k < 4; ++k) {
        names[k] = "OBS" + elements.substr(static_cast<std::size_t>(k), 1);
    }
    text += formatText("%-30s%-10s%-10s%-10s%-9s|\r\n", "DATE       TIME         DOY",
                       names[0].c_str(), names[1].c_str(), names[2].c_str(), names[3].c_str());
    for (const Record& r : records) {
        text += formatText("%s %s 187   %10.2f%10.2f%10.2f%10.2f\r\n", r.date.c_str(),
                           r.time.c_str(), r.values[0], r.values[1], r.values[2], r.values[3]);
    }
    return text;
}

class BaseSourceTest : public ::testing::Test {
  protected:
    BaseSource open(const std::string& path, int offset, BaseFormat format,
                    const std::string& columns = "") {
        std::string message;
        std::optional<BaseSource> source =
            BaseSource::open(SurveySettings::BaseSource(path, offset, format, columns), message);
        EXPECT_TRUE(source) << message;
        return std::move(*source);
    }
    std::string refusal(const std::string& name, const std::string& text, BaseFormat format,
                        const std::string& columns = "") {
        std::string message;
        const std::optional<BaseSource> source = BaseSource::open(
            SurveySettings::BaseSource(dir.write(name, text), 0, format, columns), message);
        EXPECT_FALSE(source);
        return message;
    }
    static void expectValue(BaseSource& source, const std::string& date, int seconds,
                            double value) {
        const TemporalCorrection::Base b = source.at(date, seconds);
        EXPECT_EQ(b.outcome, Outcome::Interpolated) << date << " " << seconds;
        EXPECT_EQ(b.value, static_cast<float>(value)) << date << " " << seconds;
    }
    TempDir dir;
};

TEST_F(BaseSourceTest, IagaGivesFFromItsColumnOrFromTheComponents) {
    struct Case {
        const char* elements;
        Record first;
        Record second;
        double at30;  // F half-way, worked out by hand
    };
    const std::string d = "2026-07-06";
    const Case cases[] = {
        // F given: itself.
        {"XYZF",
         {d, "00:00:00.000", {21000, 1800, 43000, 48000}},
         {d, "00:01:00.000", {21010, 1810, 43010, 48010}},
         48005},
        {"HDZF",
         {d, "00:00:00.000", {21000, 280.5, 43000, 48100}},
         {d, "00:01:00.000", {21010, 281.5, 43010, 48120}},
         48110},
        {"DHZF",
         {d, "00:00:00.000", {280.5, 21000, 43000, 48200}},
         {d, "00:01:00.000", {281.5, 21010, 43010, 48230}},
         48215},
        // No F: the length of (2, 3, 6) x 1000 is 7000, of (1, 4, 8) x 1000 is 9000.
        {"XYZG",
         {d, "00:00:00.000", {2000, 3000, 6000, -0.5}},
         {d, "00:01:00.000", {1000, 4000, 8000, 0.5}},
         8000},
        // (5, 12, 13) x 4000 and (21, 20, 29) x 1000; D is an angle and no part of it.
        {"HDZG",
         {d, "00:00:00.000", {20000, 280.5, 48000, 0.1}},
         {d, "00:01:00.000", {21000, 5000.0, 20000, 0.2}},
         (52000 + 29000) / 2.0},
        {"DHZG",
         {d, "00:00:00.000", {280.5, 20000, 48000, 0.1}},
         {d, "00:01:00.000", {9999.0, 21000, 20000, 0.2}},
         (52000 + 29000) / 2.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.elements);
        Record third = c.second;
        third.time = "00:02:00.000";
        const std::string path = dir.write(std::string(c.elements) + ".min",
                                           iaga(c.elements, {c.first, c.second, third}));
        BaseSource source = open(path, 0, BaseFormat::Iaga2002);
        EXPECT_EQ(source.samples(), 3);
        expectValue(source, "06.07.2026", 30, c.at30);
    }
}

TEST_F(BaseSourceTest, IagaMissingValuesAreNeverInterpolatedAcross) {
    const std::string d = "2026-07-06";
    const std::string text =
        iaga("XYZF", {{d, "00:00:00.000", {21000, 1800, 43000, 48000}},
                      {d, "00:01:00.000", {21000, 1800, 43000, 99999.00}},
                      {d, "00:02:00.000", {21000, 1800, 43000, 48020}},
                      {d, "00:03:00.000", {88888.00, 1800, 43000, 48030}},  // F stands on its own
                      {d, "00:04:00.000", {21000, 1800, 43000, 88888.00}},
                      {d, "00:05:00.000", {21000, 1800, 43000, 48050}}});
    BaseSource source = open(dir.write("gaps.min", text), 0, BaseFormat::Iaga2002);
    EXPECT_EQ(source.at("06.07.2026", 30).outcome, Outcome::SampleNoNumber);
    EXPECT_EQ(source.at("06.07.2026", 90).outcome, Outcome::SampleNoNumber);
    expectValue(source, "06.07.2026", 150, 48025);
    EXPECT_EQ(source.at("06.07.2026", 270).outcome, Outcome::SampleNoNumber);

    // Without F, one missing component leaves the sample without a number.
    const std::string components =
        iaga("XYZG", {{d, "00:00:00.000", {2000, 3000, 6000, 0}},
                      {d, "00:01:00.000", {88888.00, 3000, 6000, 0}},
                      {d, "00:02:00.000", {2000, 3000, 6000, 99999.00}},  // G is no part of F
                      {d, "00:03:00.000", {2000, 3000, 6000, 0}}});
    BaseSource xyz = open(dir.write("xyzg.min", components), 0, BaseFormat::Iaga2002);
    EXPECT_EQ(xyz.at("06.07.2026", 30).outcome, Outcome::SampleNoNumber);
    expectValue(xyz, "06.07.2026", 150, 7000);
    std::string message;
    const auto content = IagaFile::parse(components, "xyzg.min", message);
    ASSERT_TRUE(content);
    EXPECT_EQ(content->elements, "XYZG");
    EXPECT_TRUE(std::isnan(content->samples[1].value));
    EXPECT_TRUE(IagaFile::missing("99999.00") && IagaFile::missing("-88888.00") &&
                !IagaFile::missing("9999.99") && !IagaFile::missing("98999.00"));
}

TEST_F(BaseSourceTest, IagaLeapSecondEndsItsDayAndDaysFollowInOneFile) {
    const std::string text = iaga("XYZF", {{"2016-12-31", "23:59:58.000", {0, 0, 0, 48000}},
                                           {"2016-12-31", "23:59:59.000", {0, 0, 0, 48001}},
                                           {"2016-12-31", "23:59:60.000", {0, 0, 0, 48002}},
                                           {"2017-01-01", "00:00:00.000", {0, 0, 0, 48003}},
                                           {"2017-01-01", "00:00:01.000", {0, 0, 0, 48004}},
                                           {"2017-01-01", "00:00:02.000", {0, 0, 0, 48006}}});
    std::string message;
    const auto content = IagaFile::parse(text, "leap.sec", message);
    ASSERT_TRUE(content) << message;
    EXPECT_EQ(content->samples[2].date, "31.12.2016");
    EXPECT_EQ(content->samples[2].seconds, 86400);
    EXPECT_EQ(content->samples[3].date, "01.01.2017");
    EXPECT_EQ(content->samples[3].seconds, 0);

    BaseSource source = open(dir.write("leap.sec", text), 0, BaseFormat::Iaga2002);
    // 23:59:59 lies inside the last day of 2016 only because 23:59:60 closes it.
    expectValue(source, "31.12.2016", 86399, 48001);
    expectValue(source, "01.01.2017", 1, 48004);
    EXPECT_EQ(source.span(), "31.12.2016 to 01.01.2017");
}

TEST_F(BaseSourceTest, IagaRefusalsNameTheFileAndTheLine) {
    const std::string good = iaga("XYZF", {{"2026-07-06", "00:00:00.000", {1, 2, 3, 48000}}});
    const std::string head = good.substr(0, good.rfind("2026-07-06"));
    const std::string records = "2026-07-06 00:00:00.000 187   48000.00  48000.00  48000.00  ";
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {head + "2026-13-06 00:00:00.000 187   1.00 2.00 3.00 48000.00\r\n",
         "obs20260706.min line 6: \"2026-13-06\" is no date (YYYY-MM-DD)"},
        {head + "2026-07-06 12:00:60.000 187   1.00 2.00 3.00 48000.00\r\n",
         "obs20260706.min line 6: \"12:00:60.000\" is no time of day (hh:mm:ss.sss)"},
        {head + records + "4800O.00\r\n", "obs20260706.min line 6: \"4800O.00\" is no number"},
        {head + records + "12345678.00\r\n",
         "obs20260706.min line 6: \"12345678.00\" is out of range"},
        {head + "2026-07-06 00:00:00.000 187   1.00 2.00 3.00\r\n",
         "obs20260706.min line 6: expected a date, a time, the day of the year and four values"},
        {records + "48000.00\r\n" + good,
         "obs20260706.min line 1: a data record before the DATE TIME DOY record"},
        {" BaseFormat  IAGA-2002 |\r\n",
         "obs20260706.min: no DATE TIME DOY record: not an IAGA-2002 file"},
        {head, "obs20260706.min: no data records"},
        {iaga("DEIG", {}),
         "obs20260706.min line 5: elements DEIG: no F, and neither X, Y, Z nor H, Z to compute it "
         "from"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(refusal("obs20260706.min", c.text, BaseFormat::Iaga2002), c.message);
    }
}

TEST_F(BaseSourceTest, CsvWithEitherSeparatorAndEitherTimeForm) {
    struct Case {
        const char* text;
        const char* columns;
    };
    const Case cases[] = {
        {"DATE,TIME,VALUE\n2026-07-06,08:00:00,48000.0\n2026-07-06,08:01:00,48010.0\n"
         "2026-07-06,08:02:00,\n2026-07-06,08:03:00,48030\n",
         ""},
        {"Datum;Zeit;Wert\r\n06.07.2026;08:00:00;48000,0\r\n06.07.2026;08:01:00;48010,0\r\n"
         "06.07.2026;08:02:00;n/a\r\n06.07.2026;08:03:00;48030\r\n",
         "Datum,Zeit,Wert"},
        {"DateTime,F (nT)\n2026-07-06T08:00:00Z,48000\n2026-07-06T08:01:00.000Z,48010\n"
         "2026-07-06T08:02:00Z,\n2026-07-06T08:03:00Z,48030\n",
         ""},
        {"# exported\nstation;timestamp;Field [nT]\nA;06.07.2026 08:00:00;48000\n"
         "A;06.07.2026 08:01:00;48010\nA;06.07.2026 08:02:00;-\nA;06.07.2026 08:03;48030\n",
         ""},
        {"when,nT\n2026-07-06T08:00:00,48000\n2026-07-06T08:01:00,48010\n"
         "2026-07-06T08:02:00,x\n2026-07-06T08:03:00,48030\n",
         "when,nT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string path = dir.write("base.csv", c.text);
        EXPECT_EQ(BaseSource::detect(path), *c.columns ? BaseFormat::Velkor : BaseFormat::Csv);
        BaseSource source = open(path, 0, BaseFormat::Csv, c.columns);
        EXPECT_EQ(source.samples(), 4);
        expectValue(source, "06.07.2026", 8 * 3600 + 30, 48005);
        // An empty or unreadable value is a sample without a number.
        EXPECT_EQ(source.at("06.07.2026", 8 * 3600 + 150).outcome, Outcome::SampleNoNumber);
    }
}

TEST_F(BaseSourceTest, CsvRefusalsNameTheFileAndTheLine) {
    struct Case {
        const char* text;
        const char* columns;
        const char* message;
    };
    const Case cases[] = {
        {"DATE,TIME,VALUE\n2026-07-06,08:00:00,1\n2026-13-06,08:01:00,2\n", "",
         "base.csv line 3: \"2026-13-06\" is no date (YYYY-MM-DD or DD.MM.YYYY)"},
        {"DATE,TIME,VALUE\n2026-07-06,8 o'clock,1\n", "",
         "base.csv line 2: \"8 o'clock\" is no time of day (hh:mm:ss)"},
        {"DATETIME;VALUE\n2026-07-06T08:00:00+02:00;1\n", "",
         "base.csv line 2: \"2026-07-06T08:00:00+02:00\": a time zone other than Z; give the "
         "source an offset"},
        {"DATE,TIME,VALUE\n2026-07-06\n", "", "base.csv line 2: expected at least 2 fields"},
        {"a,b,c\n1,2,3\n", "",
         "base.csv line 1: no date, time or date-time column and value column (value, F, field, "
         "nT) among \"a,b,c\": name the columns to take"},
        {"a,b,c\n1,2,3\n", "a,d,c", "base.csv line 1: no column named \"d\" in the header"},
        {"a,b,c\n1,2,3\n", "a",
         "base.csv: columns \"a\": expected DATE,TIME,VALUE or DATETIME,VALUE"},
        {"DATE,TIME,VALUE\n\n", "", "base.csv: no rows of values"},
        {"DATE,TIME,VALUE\n2026-07-06,08:00:00,1e300\n", "",
         "base.csv line 2: \"1e300\" is out of range"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(refusal("base.csv", c.text, BaseFormat::Csv, c.columns), c.message);
    }
}

TEST_F(BaseSourceTest, OffsetsMoveBaseValuesByExactlyTheirSeconds) {
    std::string a = " Date       Time     Variations\r\n";
    std::string csv = "DATE;TIME;VALUE\n";
    std::vector<Record> records;
    for (int t = 0; t < 86400; t += 60) {
        const double v = 48000.0 + 0.1 * static_cast<double>((t * 7919) % 1000);
        const std::string clock = formatText("%02d:%02d:%02d", t / 3600, t / 60 % 60, t % 60);
        a += formatText(" 06.07.2026 %s %7.1f\r\n", clock.c_str(), v);
        csv += "2026-07-06;" + clock + ";" + formatText("%.1f", v) + "\n";
        records.push_back({"2026-07-06", clock + ".000", {0, 0, 0, v}});
    }
    const std::string paths[] = {dir.write("day.a", a), dir.write("day.csv", csv),
                                 dir.write("day.min", iaga("XYZF", records))};
    const BaseFormat formats[] = {BaseFormat::Velkor, BaseFormat::Csv, BaseFormat::Iaga2002};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(paths[k]);
        BaseSource still = open(paths[k], 0, formats[k]);
        for (const int offset : {5400, -3600, 17}) {
            BaseSource moved = open(paths[k], offset, formats[k]);
            for (int t = 3601; t < 80000; t += 997) {
                const TemporalCorrection::Base want = still.at("06.07.2026", t);
                const TemporalCorrection::Base got = moved.at("06.07.2026", t + offset);
                EXPECT_EQ(got.outcome, want.outcome);
                EXPECT_EQ(got.value, want.value) << offset << " " << t;
            }
        }
    }
}

TEST_F(BaseSourceTest, FormatsAreToldByContentAndDatesThatNeverMeetAreNamed) {
    EXPECT_EQ(BaseSource::detect(Fixture::sample("week-base.a")), BaseFormat::Velkor);
    EXPECT_EQ(BaseSource::detect(Fixture::sample("week-base.iaga")), BaseFormat::Iaga2002);
    EXPECT_EQ(BaseSource::detect(Fixture::sample("week-base.csv")), BaseFormat::Csv);
    EXPECT_EQ(BaseSource::detect(dir.path("nowhere")), BaseFormat::Velkor);

    BaseSource iagaSource = open(Fixture::sample("week-base.iaga"), 7200, BaseFormat::Auto);
    EXPECT_EQ(iagaSource.format(), BaseFormat::Iaga2002);
    EXPECT_EQ(BaseCoverage::problem(iagaSource, {"garbage", "08.07.2026"}), "");
    EXPECT_EQ(BaseCoverage::problem(iagaSource, {"01.08.2026", "03.08.2026", "02.08.2026"}),
              "week-base.iaga: its dates (06.07.2026 to 09.07.2026) never meet the survey's "
              "(01.08.2026 to 03.08.2026)");

    // A reading just after midnight is looked for on the day before, in UT.
    const std::string evening =
        dir.write("evening.min", iaga("XYZF", {{"2026-07-05", "22:00:00.000", {0, 0, 0, 48000}},
                                               {"2026-07-05", "23:59:00.000", {0, 0, 0, 48001}}}));
    EXPECT_TRUE(open(evening, 7200, BaseFormat::Iaga2002).meets({"06.07.2026"}));
    EXPECT_FALSE(open(evening, 0, BaseFormat::Iaga2002).meets({"06.07.2026"}));
    EXPECT_FALSE(open(evening, -60, BaseFormat::Iaga2002).meets({"06.07.2026"}));
    EXPECT_TRUE(open(evening, -60, BaseFormat::Iaga2002).meets({"04.07.2026"}));
}

TEST_F(BaseSourceTest, TheSampleWeekIsCorrectedAlikeFromAllThreeKindsAndNothingIsWritten) {
    const std::vector<std::string> files = {
        Fixture::sample("week.velkor"), Fixture::sample("week-base.a"),
        Fixture::sample("week-base.iaga"), Fixture::sample("week-base.csv")};
    std::vector<std::string> before;
    for (const std::string& f : files) {
        before.push_back(TempDir::read(f));
    }
    SurveySettings s;
    s.days = {Fixture::sample("week.velkor")};
    s.datum = 48000.0;
    const SurveySettings::BaseSource sources[] = {
        {Fixture::sample("week-base.a"), 0},
        {Fixture::sample("week-base.iaga"), 7200, BaseFormat::Auto},
        {Fixture::sample("week-base.csv"), 3600, BaseFormat::Csv},
    };
    std::vector<std::vector<std::optional<float>>> diurnal;
    std::vector<int> corrected;
    for (const SurveySettings::BaseSource& b : sources) {
        s.baseSources = {b};
        std::string message;
        std::optional<Survey> survey = Survey::open(s, message);
        ASSERT_TRUE(survey) << message;
        diurnal.emplace_back();
        for (int r = 0; r < survey->readingCount(); ++r) {
            diurnal.back().push_back(survey->reading(r).diurnal);
        }
        corrected.push_back(survey->total().corrected);
    }
    EXPECT_GT(corrected[0], 3000);
    EXPECT_EQ(corrected[1], corrected[0]);
    EXPECT_EQ(corrected[2], corrected[0]);
    EXPECT_EQ(diurnal[1], diurnal[0]);
    EXPECT_EQ(diurnal[2], diurnal[0]);
    for (std::size_t k = 0; k < files.size(); ++k) {
        EXPECT_EQ(TempDir::read(files[k]), before[k]) << files[k];
    }
}

TEST_F(BaseSourceTest, ASourceReadAnotherWayIsReadAgain) {
    SurveySettings s;
    s.days = {Fixture::sample("week.velkor")};
    s.baseSources = {
        {dir.write("base.txt", TempDir::read(Fixture::sample("week-base.csv"))), 3600}};
    std::string message;
    std::optional<Survey> survey = Survey::open(s, message);
    ASSERT_TRUE(survey) << message;
    EXPECT_EQ(survey->total().corrected, 0);  // a CSV file read as a variations file
    s.baseSources[0].format = BaseFormat::Csv;
    ASSERT_TRUE(survey->change(s, message)) << message;
    EXPECT_GT(survey->total().corrected, 3000);
    EXPECT_EQ(survey->bases()[0].format(), BaseFormat::Csv);
    s.baseSources[0].columns = "Date,Time,Nothing";
    EXPECT_FALSE(survey->change(s, message));
    EXPECT_EQ(message, "base.txt line 1: no column named \"Nothing\" in the header");
}

TEST_F(BaseSourceTest, TheSurveyFileKeepsFormatAndColumns) {
    SurveySettings s;
    s.baseSources = {{dir.path("b.a"), 0},
                     {dir.path("obs.min"), 7200, BaseFormat::Iaga2002},
                     {dir.path("b.csv"), -60, BaseFormat::Csv, "DATE,TIME,F"},
                     {std::string(), 30, BaseFormat::Survey}};
    const std::string text = SurveyFile::text(s, dir.dir().string());
    EXPECT_EQ(text.find("velkor"), std::string::npos);  // a variations file is written as before
    std::string message;
    const auto back = SurveyFile::parse(text, dir.dir().string(), message);
    ASSERT_TRUE(back) << message;
    EXPECT_EQ(*back, s);

    const std::string head = R"({"format": "Velkor2tr survey", "version": 1, "base_sources": [)";
    const auto old = SurveyFile::parse(head + R"({"path": "b.a", "offset": 5}]})", "", message);
    ASSERT_TRUE(old) << message;
    EXPECT_EQ(old->baseSources[0].format, BaseFormat::Velkor);
    EXPECT_FALSE(SurveyFile::parse(head + R"({"path": "b.a", "format": "iaga"}]})", "", message));
    EXPECT_EQ(message,
              "base_sources[0].format: expected \"velkor\", \"iaga2002\", \"csv\", \"auto\" or "
              "\"survey\"");
    EXPECT_FALSE(SurveyFile::parse(head + R"({"path": "b.a", "columns": 3}]})", "", message));
    EXPECT_EQ(message, "base_sources[0].columns: expected a text");
}

TEST_F(BaseSourceTest, TheSurveysOwnBaseStationReadingsAreASource) {
    // Two 'A' readings bracket the survey reading between them; one without a number is a
    // sample without one, never interpolated across.
    const std::string day =
        dir.write("day.velkor",
                  "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n"
                  "A 06.07.2026 08:00:00     0     0 48200.0  0.3 8 1.6               Base\r\n"
                  "S 06.07.2026 08:30:00     1     1 48300.0  0.4 7 1.5 \r\n"
                  "A 06.07.2026 09:00:00     0     0 48210.0  0.3 8 1.6               Base\r\n"
                  "S 06.07.2026 09:30:00     1     2 48300.0  0.4 7 1.5 \r\n"
                  "A 06.07.2026 10:00:00     0     0    nan   0.3 8 1.6               Base\r\n");
    SurveySettings s;
    s.days = {day};
    s.baseSources = {{std::string(), 0, BaseFormat::Survey}};
    std::string message;
    const std::optional<Survey> survey = Survey::open(s, message);
    ASSERT_TRUE(survey) << message;
    ASSERT_EQ(survey->bases().size(), 1u);
    EXPECT_EQ(survey->bases()[0].samples(), 3);
    const Survey::Reading first = survey->readingWithoutLatLon(survey->first(0) + 1);
    ASSERT_TRUE(first.base);
    EXPECT_FLOAT_EQ(*first.base, 48205.0f);
    EXPECT_FALSE(survey->readingWithoutLatLon(survey->first(0) + 3).base);
}

}  // namespace
}  // namespace velkor
