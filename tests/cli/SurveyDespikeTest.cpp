// survey despike --apply on a survey with known truth: the spikes flagged, the dipoles'
// anomalies left alone, and what was flagged said.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "support/SyntheticSurvey.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace velkor {
namespace {

TEST(SurveyDespikeTest, ApplyFlagsNoRunOfMoreThanTwoAndSaysWhatItFlagged) {
    TempDir dir;
    const SyntheticSurvey truth(7);
    const std::string day = dir.write("day.velkor", truth.dayFile());
    const std::string file = dir.path("s.vsurvey");
    ASSERT_EQ(tool({"survey", "new", file}).status, 0);
    ASSERT_EQ(tool({"survey", "add", file, day}).status, 0);
    const ToolRun r = tool({"survey", "despike", file, "--apply"});
    ASSERT_EQ(r.status, 0) << r.err;

    // Where: one row per reading flagged, then how many.
    std::set<int> listed;
    const std::regex row("day\\.velkor,(\\d+),[^\\n]*\\n");
    for (std::sregex_iterator m(r.out.begin(), r.out.end(), row), end; m != end; ++m) {
        listed.insert(std::stoi((*m)[1]));
    }
    EXPECT_NE(r.out.find("\n" + std::to_string(listed.size()) + " readings flagged as spike\n"),
              std::string::npos)
        << r.out;
    std::set<int> flagged;
    const std::string saved = TempDir::read(file);
    const std::regex reading("\"reading\": (\\d+),");
    for (std::sregex_iterator m(saved.begin(), saved.end(), reading), end; m != end; ++m) {
        flagged.insert(std::stoi((*m)[1]));
    }
    EXPECT_EQ(flagged, listed);

    int spikes = 0;
    int hits = 0;
    for (std::size_t k = 0; k < truth.readings().size(); ++k) {
        const SyntheticSurvey::Reading& t = truth.readings()[k];
        const int number = static_cast<int>(k) + 1;
        spikes += t.spike ? 1 : 0;
        hits += t.spike && flagged.count(number) ? 1 : 0;
        EXPECT_FALSE(t.inAnomaly && flagged.count(number)) << "reading " << number;
        // Readings of a line follow each other in the file: never three flagged in a row.
        const bool run = t.station > 2 && flagged.count(number) && flagged.count(number - 1) &&
                         flagged.count(number - 2);
        EXPECT_FALSE(run) << "reading " << number;
    }
    EXPECT_GE(hits, 0.95 * spikes) << hits << " of " << spikes;
    EXPECT_LE(static_cast<double>(flagged.size() - hits), 0.01 * truth.readings().size());
}

}  // namespace
}  // namespace velkor
