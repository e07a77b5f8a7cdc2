#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "text/CalendarDate.h"
#include "tracks/NmeaLog.h"

namespace velkor {
namespace {

// A sentence with its checksum, as a receiver writes it.
std::string sentence(const std::string& body) {
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X", NmeaLog::checksum(body));
    return "$" + body + tail;
}

double at(int year, int month, int day, double seconds) {
    return static_cast<double>(CalendarDate{year, month, day}.dayNumber()) * 86400.0 + seconds;
}

using Refusal = NmeaLog::Refusal;

}  // namespace

TEST(NmeaLog, FixesDatedAndPlacedToTheTextsPrecision) {
    // The textbook GGA, dated by the RMC before it; then RMC alone, south and west.
    const std::string log =
        sentence("GPRMC,123500,A,4807.038,N,01131.000,E,0.0,0.0,060726,,") + "\r\n" +
        "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n" +
        sentence("GNRMC,123520.50,A,3352.12345,S,15112.54321,W,0.4,90.0,060726,,,A") + "\r\n";
    const NmeaLog::Result r = NmeaLog::read(log);
    ASSERT_EQ(r.fixes.size(), 3u);
    EXPECT_EQ(r.sentences, 3);
    EXPECT_DOUBLE_EQ(r.fixes[1].seconds, at(2026, 7, 6, 12 * 3600 + 35 * 60 + 19));
    EXPECT_NEAR(r.fixes[1].latitude, 48 + 7.038 / 60, 1e-12);
    EXPECT_NEAR(r.fixes[1].longitude, 11 + 31.0 / 60, 1e-12);
    EXPECT_DOUBLE_EQ(r.fixes[1].elevation, 545.4);
    EXPECT_TRUE(std::isnan(r.fixes[0].elevation));
    EXPECT_DOUBLE_EQ(r.fixes[2].seconds, at(2026, 7, 6, 12 * 3600 + 35 * 60 + 20.5));
    // 0.00001 minute is about 0.02 m: the last digit counts.
    EXPECT_NEAR(r.fixes[2].latitude, -(33 + 52.12345 / 60), 1e-12);
    EXPECT_NEAR(r.fixes[2].longitude, -(151 + 12.54321 / 60), 1e-12);
}

TEST(NmeaLog, RefusedSentencesCountedWithTheirFirstLine) {
    std::string wrong = sentence("GPGGA,100001,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,,,");
    wrong[wrong.size() - 1] = wrong[wrong.size() - 1] == '0' ? '1' : '0';
    const std::string log =
        sentence("GPGGA,100000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,,,") + "\n" +  // 1
        sentence("GPZDA,100000.00,06,07,2026,00,00") + "\n" +                          // 2
        wrong + "\n" +                                                                 // 3
        "$GPGGA,100002,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,,,\n" +                // 4
        sentence("GPGGA,100003,4807.038,N,01131.000,E,0,00,,,M,,,,") + "\n" +          // 5
        sentence("GPRMC,100004,V,4807.038,N,01131.000,E,,,060726,,") + "\n" +          // 6
        sentence("GPGGA,100005,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,,,") + "\n" +  // 7
        sentence("GPGSV,3,1,11,03,03,111,00") + "\n" +                                 // 8
        sentence("GPGGA,100006,4867.000,N,01131.000,E,1,08,0.9,545.4,M,,,,") + "\n" +  // 9
        "$GPGGA,100007,4807.0";                                                        // cut
    const NmeaLog::Result r = NmeaLog::read(log);
    ASSERT_EQ(r.fixes.size(), 1u);
    EXPECT_DOUBLE_EQ(r.fixes[0].seconds, at(2026, 7, 6, 36005));
    EXPECT_EQ(r.count(Refusal::NoDate), 1);
    EXPECT_EQ(r.firstLine[static_cast<std::size_t>(Refusal::NoDate)], 1);
    EXPECT_EQ(r.count(Refusal::Checksum), 3);
    EXPECT_EQ(r.firstLine[static_cast<std::size_t>(Refusal::Checksum)], 3);
    EXPECT_EQ(r.count(Refusal::NoFix), 2);
    EXPECT_EQ(r.firstLine[static_cast<std::size_t>(Refusal::NoFix)], 5);
    EXPECT_EQ(r.count(Refusal::Malformed), 1);  // 67 minutes
    EXPECT_EQ(r.sentences, 10);
    EXPECT_EQ(NmeaLog::read("not a log\nat all").sentences, 0);
}

TEST(NmeaLog, GgaCarriesTheDateOverMidnight) {
    const std::string log = sentence("GPZDA,235959.00,31,12,2026,00,00") + "\r" +
                            sentence("GPGGA,235959.5,0000.000,N,00000.000,E,2,08,,,,,,,") + "\r" +
                            sentence("GPGGA,000000.5,0000.000,S,00000.000,W,2,08,,,,,,,") + "\r";
    const NmeaLog::Result r = NmeaLog::read(log);
    ASSERT_EQ(r.fixes.size(), 2u);
    EXPECT_DOUBLE_EQ(r.fixes[0].seconds, at(2026, 12, 31, 86399.5));
    EXPECT_DOUBLE_EQ(r.fixes[1].seconds, at(2027, 1, 1, 0.5));
}

}  // namespace velkor
