// Base files as other programs write them: a byte-order mark, lines ended by CR alone,
// samples newest first.
#include <gtest/gtest.h>

#include <string>

#include "corrections/TemporalCorrection.h"
#include "support/TempDir.h"
#include "survey/BaseSource.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

using BaseFormat = SurveySettings::BaseSource::Format;

// Three samples of each of two days, 48000 + the minute, one line each.
std::string rows(const char* format, bool newestFirst) {
    std::string text;
    for (int k = 0; k < 6; ++k) {
        const int n = newestFirst ? 5 - k : k;
        const std::string row = formatText(format, 6 + n / 3, n % 3, 48000.0 + n % 3);
        text += row;
    }
    return text;
}

void expectCorrected(const std::string& path, BaseFormat format) {
    std::string message;
    std::optional<BaseSource> source =
        BaseSource::open(SurveySettings::BaseSource(path, 0, format, ""), message);
    ASSERT_TRUE(source) << message;
    EXPECT_EQ(source->samples(), 6);
    EXPECT_EQ(source->span(), "06.07.2026 to 07.07.2026");
    for (const char* date : {"06.07.2026", "07.07.2026"}) {
        const TemporalCorrection::Base b = source->at(date, 8 * 3600 + 90);
        EXPECT_EQ(b.outcome, TemporalCorrection::Outcome::Interpolated) << path << " " << date;
        EXPECT_EQ(b.value, 48001.5f) << path << " " << date;
    }
}

}  // namespace

TEST(BaseFileShapes, ACsvFileWithAByteOrderMarkIsRead) {
    TempDir dir;
    const std::string path = dir.write("bom.csv",
                                       "\xEF\xBB\xBF"
                                       "DATE,TIME,VALUE\n" +
                                           rows("2026-07-%02d,08:%02d:00,%.1f\n", false));
    EXPECT_EQ(BaseSource::detect(path), BaseFormat::Csv);
    expectCorrected(path, BaseFormat::Csv);
}

TEST(BaseFileShapes, LinesEndedByCarriageReturnsAloneAreRead) {
    TempDir dir;
    const std::string csv =
        dir.write("cr.csv", "DATE,TIME,VALUE\r" + rows("2026-07-%02d,08:%02d:00,%.1f\r", false));
    EXPECT_EQ(BaseSource::detect(csv), BaseFormat::Csv);
    expectCorrected(csv, BaseFormat::Csv);
    std::string iaga = formatText(" %-23s%-45s|\r", "Format", "IAGA-2002");
    iaga += formatText("%-30s%-10s%-10s%-10s%-9s|\r", "DATE       TIME         DOY", "OBSX", "OBSY",
                       "OBSZ", "OBSF");
    iaga += rows("2026-07-%02d 08:%02d:00.000 187   99999.00  99999.00  99999.00%10.2f\r", false);
    expectCorrected(dir.write("cr.iaga", iaga), BaseFormat::Iaga2002);
}

TEST(BaseFileShapes, SamplesNewestFirstAreTakenInTimeOrder) {
    TempDir dir;
    expectCorrected(
        dir.write("down.csv", "DATE,TIME,VALUE\n" + rows("2026-07-%02d,08:%02d:00,%.1f\n", true)),
        BaseFormat::Csv);
    expectCorrected(dir.write("down.a", " Date       Time     Variations\r\n" +
                                            rows(" %02d.07.2026 08:%02d:00 %.1f\r\n", true)),
                    BaseFormat::Velkor);
}

}  // namespace velkor
