#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "corrections/CorrectionSummary.h"
#include "corrections/TemporalCorrection.h"
#include "corrections/VariationSet.h"
#include "data/DataSet.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"

namespace velkor {
namespace {

using Reason = TemporalCorrection::Outcome;

std::string summaryReading(char mode, const std::string& date, const std::string& time) {
    char line[96];
    std::snprintf(line, sizeof line, "%c %s %s     1     1 48100.0  0.7 7 1.5          Base ", mode,
                  date.c_str(), time.c_str());
    return line;
}

class CorrectionSummaryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        data.replaceLines({
            "M header ", summaryReading('S', "03.07.2026", "10:05:00"),  // 1 corrected
            summaryReading('S', "03.07.2026", "10:10:00"),  // 2 between the two 10:10:00 samples
            summaryReading('S', "03.07.2026", "09:00:00"),  // 3 before the first sample
            summaryReading('A', "03.07.2026", "10:05:00"),  // 4 never corrected
            summaryReading('S', "04.07.2026", "09:30:00"),  // 5 its date has one sample
            summaryReading('S', "05.07.2026", "09:30:00"),  // 6 no sample of its date
            summaryReading('S', "03.07.2026", "10:20:00"),  // 7 at the last sample: outside
            summaryReading('S', "03.07.2026", "11:00:00"),  // 8 after it
            summaryReading('G', "03.07.2026", "12:00:00"),  // 9 after it
        });
        ASSERT_TRUE(variations.load(dir.write("v.a",
                                              " Date       Time     Variations\r\n"
                                              " 03.07.2026 10:00:00 48000.0\r\n"
                                              " 03.07.2026 10:10:00 48010.0\r\n"
                                              " 03.07.2026 10:10:00 48010.0\r\n"
                                              " 03.07.2026 10:20:00 48020.0\r\n"
                                              " 04.07.2026 09:00:00 48000.0\r\n"),
                                    prompter));
    }
    TempDir dir;
    RecordingPrompter prompter;
    DataSet data;
    VariationSet variations;
};

}  // namespace

TEST_F(CorrectionSummaryTest, EveryReasonWithItsReadings) {
    const int now = TemporalCorrection::run(data, variations, prompter);
    ASSERT_EQ(now, 1);
    const CorrectionSummary s =
        CorrectionSummary::of(data, variations, CorrectionSummary::Counted::Slots);
    EXPECT_EQ(s.readings, 9);
    EXPECT_EQ(s.corrected, 1);
    EXPECT_EQ(s.skippedAuto, 1);
    EXPECT_EQ(s.uncorrected(), 7);
    EXPECT_EQ(s.count(Reason::NoSample), 1);
    EXPECT_EQ(s.count(Reason::OneSample), 1);
    EXPECT_EQ(s.count(Reason::OutsideSpan), 4);
    EXPECT_EQ(s.count(Reason::EqualTimes), 1);
    EXPECT_EQ(s.examples(Reason::OutsideSpan), (std::vector<int>{3, 7, 8}));
    EXPECT_EQ(s.examples(Reason::EqualTimes), (std::vector<int>{2}));
    EXPECT_EQ(s.statusText(now),
              "Temporal correction: 1 corrected now, 0 corrected before and kept, 1 'A' skipped; "
              "7 uncorrected: 1 with no sample of their date (6); 1 whose date has one sample "
              "(5); 4 outside their date's span (e.g. 3, 7, 8); 1 between equal enclosing times "
              "(2).");

    // A second run corrects nothing new: the first one's reading is kept.
    const int again = TemporalCorrection::run(data, variations, prompter);
    EXPECT_EQ(CorrectionSummary::of(data, variations, CorrectionSummary::Counted::Slots)
                  .statusText(again)
                  .substr(0, 65),
              "Temporal correction: 0 corrected now, 1 corrected before and kept");
}

TEST_F(CorrectionSummaryTest, AReadingNotYetCorrectedIsGivenNoFalseReason) {
    // Before any run, reading 1 lies between two samples: it is uncorrected, but not
    // "between equal enclosing times" (reading 2 alone is).
    const CorrectionSummary s =
        CorrectionSummary::of(data, variations, CorrectionSummary::Counted::Slots);
    EXPECT_EQ(s.uncorrected(), 8);
    EXPECT_EQ(s.examples(Reason::EqualTimes), (std::vector<int>{2}));
    EXPECT_EQ(s.count(Reason::OutsideSpan), 4);
}

TEST_F(CorrectionSummaryTest, TextsThatHoldNoNumberAreTheirOwnReasons) {
    ASSERT_TRUE(variations.load(dir.write("v.a",
                                          " Date       Time     Variations\r\n"
                                          " 03.07.2026 10:00:00 48000.0\r\n"
                                          " 03.07.2026 10:05:00     nan\r\n"
                                          " 03.07.2026 10:10:00 48010.0\r\n"
                                          " 03.07.2026 10:20:00 48020.0\r\n"),
                                prompter));
    std::string blank = summaryReading('S', "05.07.2026", "10:15:00");
    blank.replace(34, 7, "       ");
    data.replaceLines({"M header ", summaryReading('S', "03.07.2026", "10:02:00"),
                       summaryReading('S', "03.07.2026", "10:15:00"), blank,
                       summaryReading('S', "03.07.2026", "10:07:00")});
    EXPECT_EQ(TemporalCorrection::run(data, variations, prompter), 1);
    const CorrectionSummary s =
        CorrectionSummary::of(data, variations, CorrectionSummary::Counted::Slots);
    EXPECT_EQ(s.uncorrected(), 3);
    EXPECT_EQ(s.examples(Reason::SampleNoNumber), (std::vector<int>{1, 4}));
    EXPECT_EQ(s.examples(Reason::FieldNoNumber), (std::vector<int>{3}));  // before its date
    EXPECT_EQ(s.statusText(1),
              "Temporal correction: 1 corrected now, 0 corrected before and kept, 0 'A' skipped; "
              "3 uncorrected: 1 whose Field holds no number (3); 2 beside a sample that holds "
              "no number (1, 4).");

    // Counted as the export writes them, with a geomagnetic value and nothing corrected.
    DataSet fresh;
    fresh.replaceLines({"M header ", blank, summaryReading('S', "03.07.2026", "10:15:00")});
    fresh.geomagDone = true;
    fresh.geomag = 50000.0f;
    const CorrectionSummary e =
        CorrectionSummary::of(fresh, variations, CorrectionSummary::Counted::Export);
    EXPECT_EQ(e.corrected, 1);
    EXPECT_EQ(e.count(Reason::FieldNoNumber), 1);
    EXPECT_STREQ(CorrectionSummary::name(Reason::FieldNoNumber), "field-no-number");
    EXPECT_STREQ(CorrectionSummary::name(Reason::SampleNoNumber), "sample-no-number");
}

TEST_F(CorrectionSummaryTest, CountedAsTheExportWritesThem) {
    data.geomagDone = true;  // no temporal correction: every reading but 'A' is written
    const CorrectionSummary s =
        CorrectionSummary::of(data, variations, CorrectionSummary::Counted::Export);
    EXPECT_EQ(s.corrected, 8);
    EXPECT_EQ(s.uncorrected(), 0);
    EXPECT_EQ(s.statusText(0).substr(s.statusText(0).size() - 17), "none uncorrected.");
    EXPECT_STREQ(CorrectionSummary::name(Reason::OutsideSpan), "outside-span");
}

}  // namespace velkor
