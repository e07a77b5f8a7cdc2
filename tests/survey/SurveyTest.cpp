#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "corrections/CorrectedValue.h"
#include "corrections/CorrectionSummary.h"
#include "corrections/DecimalYear.h"
#include "corrections/GeomagneticModel.h"
#include "corrections/TemporalCorrection.h"
#include "corrections/VariationSet.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "export/ExportFile.h"
#include "support/Fixture.h"
#include "support/ParametricPlacement.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"
#include "survey/Survey.h"
#include "text/CalendarDate.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

std::string surveyClock(int seconds) {
    return formatText("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

// A data line as the import writes it; line and position given as their texts.
std::string surveyReading(char mode, const std::string& date, int seconds, const std::string& line,
                          const std::string& position, const std::string& field) {
    return formatText("%c %s %s %5s %5s %s  0.7 7 1.5          Base ", mode, date.c_str(),
                      surveyClock(seconds).c_str(), line.c_str(), position.c_str(), field.c_str());
}

std::string dataFile(const std::vector<std::string>& readings) {
    std::string text = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    for (const std::string& r : readings) {
        text += r + "\r\n";
    }
    return text;
}

struct Sample {
    std::string date;
    int seconds;
    double value;
};

std::string variationsFile(const std::vector<Sample>& samples) {
    std::string text = " Date       Time     Variations\r\n";
    for (const Sample& s : samples) {
        text +=
            formatText(" %s %s %7.1f\r\n", s.date.c_str(), surveyClock(s.seconds).c_str(), s.value);
    }
    return text;
}

const std::string kMorning = "06.07.2026";

// A base sample every minute of the morning from 8 to 12 o'clock, each written shift
// seconds late: rising 0.1 nT a minute, or level at the value given.
std::vector<Sample> morningSamples(int shift, std::optional<double> level = std::nullopt) {
    std::vector<Sample> samples;
    for (int t = 8 * 3600; t <= 12 * 3600; t += 60) {
        samples.push_back({kMorning, t + shift, level ? *level : 48000.0 + (t - 8 * 3600) / 600.0});
    }
    return samples;
}

// Every reading's value (diurnal, or anomaly) against the corrected export of the day:
// the same readings, the same rows, byte for byte.
void expectTheCorrectedExport(const Survey& survey, const DataSet& day, bool anomaly) {
    int rows = 0;
    const std::vector<std::string> lines =
        ExportFile::lines(ExportFile::Kind::Corrected, day, rows);
    std::vector<std::string> ours;
    ASSERT_EQ(survey.readingCount(), day.readingCount());
    for (int r = 0; r < survey.readingCount(); ++r) {
        const Survey::Reading g = survey.reading(r);
        const std::optional<float> mine = anomaly ? g.anomaly : g.diurnal;
        const std::optional<float> theirs = CorrectedValue::of(day, g.line);
        ASSERT_EQ(mine.has_value(), theirs.has_value()) << "reading " << g.line;
        if (mine) {
            EXPECT_EQ(*mine, *theirs) << "reading " << g.line;
            ours.push_back(std::string(day.field(g.line, Column::Line)) +
                           std::string(day.field(g.line, Column::Pos)) +
                           formatText("%9.1f", static_cast<double>(*mine)));
        }
    }
    ASSERT_EQ(static_cast<int>(ours.size()), rows);
    EXPECT_EQ(std::vector<std::string>(lines.end() - rows, lines.end()), ours);
}

class SurveyTest : public ::testing::Test {
  protected:
    Survey open(const SurveySettings& s) {
        std::string message;
        auto survey = Survey::open(s, message);
        EXPECT_TRUE(survey) << message;
        return std::move(*survey);
    }
    void change(Survey& survey, const SurveySettings& s) {
        std::string message;
        EXPECT_TRUE(survey.change(s, message)) << message;
    }

    // 300 readings of the morning, 30 to a line, under the rising base samples (minutes.a);
    // datum 48000 nT.
    SurveySettings morning() {
        std::vector<std::string> readings;
        for (int k = 0; k < 300; ++k) {
            readings.push_back(surveyReading('S', kMorning, 8 * 3600 + 600 + 37 * k,
                                             std::to_string(k / 30), std::to_string(k % 30),
                                             formatText("%0.1f", 48100.0 + k % 17)));
        }
        SurveySettings s;
        s.days = {dir.write("day.velkor", dataFile(readings))};
        s.baseSources = {{dir.write("minutes.a", variationsFile(morningSamples(0))), 0}};
        s.datum = 48000.0;
        return s;
    }

    TempDir dir;
    RecordingPrompter prompter;
};

}  // namespace

TEST_F(SurveyTest, OneDayGivesWhatTheCorrectedExportWrites) {
    DataSet day;
    VariationSet base;
    ASSERT_TRUE(DataFile::load(Fixture::sample("survey.velkor"), day, prompter));
    ASSERT_TRUE(base.load(Fixture::sample("base.a"), prompter));
    day.basis = 48000.0f;
    ASSERT_GT(TemporalCorrection::run(day, base, prompter), 0);

    SurveySettings s;
    s.days = {Fixture::sample("survey.velkor")};
    s.baseSources = {{Fixture::sample("base.a"), 0}};
    s.datum = 48000.0;
    Survey survey = open(s);
    expectTheCorrectedExport(survey, day, false);

    // A constant normal field is the day's geomagnetic value.
    day.geomag = 47321.7f;
    day.geomagDone = true;
    s.normal = {SurveySettings::NormalField::Kind::Constant, 47321.7, 0.0};
    change(survey, s);
    expectTheCorrectedExport(survey, day, true);
}

TEST_F(SurveyTest, GeneratedDaysGiveWhatTheirCorrectionGives) {
    std::mt19937 random(20260703);
    const std::vector<std::string> dates{"01.07.2026", "02.07.2026", "03.07.2026", "04.07.2026"};
    for (int round = 0; round < 6; ++round) {
        // Dates with many samples, one, none; irregular steps, repeated times, long gaps,
        // now and then one out of order.
        std::vector<Sample> samples;
        for (std::size_t d = 0; d + 1 < dates.size(); ++d) {
            const int count = d == 1 && round % 2 == 0 ? 1 : 5 + static_cast<int>(random() % 60);
            int t = static_cast<int>(random() % 30000);
            for (int k = 0; k < count; ++k) {
                samples.push_back(
                    {dates[d], t, 48000.0 + static_cast<double>(random() % 2000) / 10.0});
                const int step = random() % 7 == 0 ? 0 : static_cast<int>(random() % 900);
                t += random() % 11 == 0 ? 5000 : step;
                if (random() % 23 == 0) {
                    t -= 700;
                }
            }
        }
        std::vector<std::string> readings;
        for (int i = 0; i < 1500; ++i) {
            const std::string& date = dates[random() % dates.size()];
            readings.push_back(surveyReading(
                random() % 10 == 0 ? 'A' : 'S', date, static_cast<int>(random() % 86400),
                std::to_string(random() % 40), std::to_string(random() % 500),
                formatText("%0.1f", 47000.0 + (random() % 30000) / 10.0)));
        }
        const std::string dayPath = dir.write("day.velkor", dataFile(readings));
        const std::string basePath = dir.write("base.a", variationsFile(samples));
        DataSet day;
        VariationSet base;
        ASSERT_TRUE(DataFile::load(dayPath, day, prompter));
        ASSERT_TRUE(base.load(basePath, prompter));
        day.basis = static_cast<float>(47000 + random() % 2000) + 0.3f;
        TemporalCorrection::run(day, base, prompter);

        SurveySettings s;
        s.days = {dayPath};
        s.baseSources = {{basePath, 0}};
        s.datum = static_cast<double>(day.basis);
        const Survey survey = open(s);
        expectTheCorrectedExport(survey, day, false);
        // The readings left uncorrected are counted as the day's summary counts them.
        const CorrectionSummary theirs =
            CorrectionSummary::of(day, base, CorrectionSummary::Counted::Slots);
        const Survey::Summary ours = survey.total();
        EXPECT_EQ(ours.corrected, theirs.corrected);
        EXPECT_EQ(ours.skippedAuto, theirs.skippedAuto);
        for (int k = 0; k < CorrectionSummary::kReasons; ++k) {
            EXPECT_EQ(ours.uncorrected[static_cast<std::size_t>(k)],
                      theirs.count(CorrectionSummary::reason(k)))
                << CorrectionSummary::name(CorrectionSummary::reason(k));
        }
    }
}

TEST_F(SurveyTest, EveryChangeComputesTheValuesAgain) {
    SurveySettings s = morning();
    Survey survey = open(s);
    const auto expectDiurnal = [&](double datum) {
        for (int r = 0; r < survey.readingCount(); ++r) {
            const Survey::Reading g = survey.reading(r);
            ASSERT_TRUE(g.base && g.diurnal);
            EXPECT_EQ(*g.diurnal, static_cast<float>(static_cast<double>(g.field) -
                                                     static_cast<double>(*g.base) + datum));
            EXPECT_EQ(g.anomaly, g.diurnal);  // no normal field: nothing taken away
        }
    };
    expectDiurnal(48000.0);

    s.datum = 48500.0;  // no "corrected once": every value moves
    change(survey, s);
    expectDiurnal(48500.0);

    s.baseSources = {{dir.write("level.a", variationsFile(morningSamples(0, 48010.0))), 0}};
    change(survey, s);
    for (int r = 0; r < survey.readingCount(); ++r) {
        EXPECT_EQ(survey.reading(r).base, 48010.0f);
    }

    // An offset of a minute is the same as sample times written a minute later.
    s.baseSources = {{dir.write("shifted.a", variationsFile(morningSamples(60))), 0}};
    change(survey, s);
    std::vector<std::optional<float>> later;
    for (int r = 0; r < survey.readingCount(); ++r) {
        later.push_back(survey.reading(r).base);
    }
    s.baseSources = {{dir.path("minutes.a"), 60}};
    change(survey, s);
    for (int r = 0; r < survey.readingCount(); ++r) {
        ASSERT_TRUE(later[static_cast<std::size_t>(r)]);
        EXPECT_EQ(survey.reading(r).base, later[static_cast<std::size_t>(r)]) << r;
    }
    s.baseSources[0].offset = 0;
    change(survey, s);
    EXPECT_NE(survey.reading(0).base, later[0]);
}

TEST_F(SurveyTest, TheNormalFieldAConstantThenIgrfAtEachReadingsPlaceAndDay) {
    SurveySettings s = morning();
    Survey survey = open(s);
    s.normal = {SurveySettings::NormalField::Kind::Constant, 47000.0, 0.0};
    change(survey, s);
    for (int r = 0; r < survey.readingCount(); ++r) {
        const Survey::Reading g = survey.reading(r);
        EXPECT_EQ(g.normal, 47000.0f);
        EXPECT_EQ(*g.anomaly, static_cast<float>(static_cast<double>(*g.diurnal) - 47000.0));
    }
    s.normal = {SurveySettings::NormalField::Kind::Igrf, 0.0, 250.0};
    change(survey, s);
    EXPECT_FALSE(survey.normalProblem().empty());
    EXPECT_FALSE(survey.reading(0).anomaly);
    s.placement = parametricPlacement(500000.0, 5300000.0, 0.0, 50.0, 10.0);
    s.epsg = 32633;
    change(survey, s);
    EXPECT_TRUE(survey.normalProblem().empty()) << survey.normalProblem();
    const double year = DecimalYear::of(*CalendarDate::read(kMorning));
    // Every reading: most take the field from a lattice, which must give the model's own.
    for (int r = 0; r < survey.readingCount(); ++r) {
        const Survey::Reading g = survey.reading(r);
        ASSERT_TRUE(g.latitude && g.longitude && g.normal && g.anomaly);
        const GeomagneticModel::Result m =
            GeomagneticModel::compute({*g.latitude, *g.longitude, 250.0}, year);
        ASSERT_TRUE(m.ok);
        EXPECT_EQ(*g.normal, static_cast<float>(m.field.f));
        EXPECT_EQ(*g.anomaly, static_cast<float>(static_cast<double>(*g.diurnal) -
                                                 static_cast<double>(*g.normal)));
    }

    // Without a base source the anomaly is the field less the normal field.
    s.baseSources.clear();
    change(survey, s);
    const Survey::Reading g = survey.reading(7);
    EXPECT_FALSE(g.base || g.diurnal);
    EXPECT_EQ(*g.anomaly,
              static_cast<float>(static_cast<double>(g.field) - static_cast<double>(*g.normal)));
}

TEST_F(SurveyTest, AnOffsetCarriesReadingsOverMidnight) {
    std::vector<Sample> evening;
    for (int t = 23 * 3600 + 50 * 60; t < 86400; t += 10) {
        evening.push_back({"02.07.2026", t, 48000.0 + t % 100});
    }
    SurveySettings s;
    s.days = {dir.write("day.velkor",
                        dataFile({surveyReading('S', "03.07.2026", 30, "1", "1", "48100.0")}))};
    s.baseSources = {{dir.write("evening.a", variationsFile(evening)), 0}};
    Survey survey = open(s);
    EXPECT_FALSE(survey.reading(0).base);
    EXPECT_EQ(survey.total().uncorrected[0], 1);  // no sample of its date
    s.baseSources[0].offset = 60;
    change(survey, s);
    ASSERT_TRUE(survey.reading(0).base);
    EXPECT_EQ(*survey.reading(0).base, 48000.0f + (86400 - 30) % 100);  // the sample at 23:59:30
}

TEST_F(SurveyTest, OverlappingDownloadsMergeAndTheSameFileTwiceIsRefused) {
    std::vector<std::string> all;
    for (int k = 0; k < 80; ++k) {
        all.push_back(surveyReading('S', "06.07.2026", 30000 + 20 * k, "1", std::to_string(k),
                                    formatText("%0.1f", 48200.0 + k)));
    }
    // The instrument's memory was not cleared: the second download gives the first again.
    SurveySettings s;
    s.days = {dir.write("mon.velkor", dataFile({all.begin(), all.begin() + 50})),
              dir.write("tue.velkor", dataFile(all))};
    Survey survey = open(s);
    EXPECT_EQ(survey.readingCount(), 80);
    EXPECT_EQ(survey.summary(0).merged, 0);
    EXPECT_EQ(survey.summary(1).merged, 50);
    EXPECT_EQ(survey.total().readings, 80);
    EXPECT_EQ(survey.reading(49).day, 0);
    EXPECT_EQ(survey.reading(50).day, 1);
    EXPECT_EQ(survey.reading(50).line, 51);

    SurveySettings twice = s;
    twice.days.push_back(dir.dir().string() + "/./mon.velkor");
    std::string message;
    EXPECT_FALSE(survey.change(twice, message));
    EXPECT_EQ(message, "The data file " + twice.days.back() + " is in the survey already.");
    SurveySettings missing = s;
    missing.baseSources = {{dir.path("nowhere.a"), 0}};
    missing.datum = 1.0;
    EXPECT_FALSE(survey.change(missing, message));
    EXPECT_EQ(message, dir.path("nowhere.a") + ": Read error ");
    EXPECT_TRUE(survey.settings() == s);  // kept as it was
    EXPECT_EQ(survey.readingCount(), 80);
}

TEST_F(SurveyTest, ReadingsWithoutNumbersAreLeftOutAndCounted) {
    const std::string d = "06.07.2026";
    SurveySettings s;
    s.days = {
        dir.write("day.velkor", dataFile({surveyReading('S', d, 36000, "1", "1", "48200.0"),
                                          surveyReading('S', d, 36010, "1", "2", "-------"),
                                          surveyReading('S', d, 36020, "", "3", "48200.2"),
                                          surveyReading('S', d, 36030, "1", "x", "48200.3"),
                                          surveyReading('S', d, 36040, "?", "?", "48200.4"),
                                          surveyReading('S', d, 36050, "1", "6", "  .5   ")}))};
    const Survey survey = open(s);
    const Survey::Summary t = survey.total();
    EXPECT_EQ(survey.readingCount(), 2);
    EXPECT_EQ(t.readings, 2);
    EXPECT_EQ(t.leftOut, 4);
    EXPECT_EQ(t.noField, 1);
    EXPECT_EQ(t.noLine, 2);
    EXPECT_EQ(t.noPosition, 2);
    EXPECT_EQ(survey.reading(1).line, 6);
    EXPECT_EQ(survey.reading(1).field, 0.5f);
}

}  // namespace velkor
