#include "survey/TrackCsvFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "text/CalendarDate.h"

namespace velkor {
namespace {

double secondsOfDay(double seconds) {
    return seconds - static_cast<double>(CalendarDate{2026, 7, 6}.dayNumber()) * 86400.0;
}

}  // namespace

// A logger's milliseconds are kept, and columns named longitude first (as GIS writes them)
// are taken as longitude and latitude, by their names or named by the user alike.
TEST(TrackCsvFile, FractionsOfASecondAndLongitudeFirstAreReadAsWritten) {
    for (const std::string columns : {"", "timestamp,Lon,Lat"}) {
        std::string message;
        const auto r = TrackCsvFile::parse(
            "timestamp,Lon,Lat\n2026-07-06T08:05:31.900Z,11.5,48.1\n2026-07-06 "
            "08:05:32.25,11.6,48.2\n",
            "walk.csv", columns, message);
        ASSERT_TRUE(r) << message;
        ASSERT_EQ(r->fixes.size(), 2u) << columns;
        EXPECT_TRUE(r->planned.empty());
        EXPECT_NEAR(secondsOfDay(r->fixes[0].seconds), 8 * 3600 + 5 * 60 + 31.9, 1e-4);
        EXPECT_NEAR(secondsOfDay(r->fixes[1].seconds), 8 * 3600 + 5 * 60 + 32.25, 1e-4);
        EXPECT_EQ(r->fixes[0].latitude, 48.1) << columns;
        EXPECT_EQ(r->fixes[0].longitude, 11.5) << columns;
    }
}

}  // namespace velkor
