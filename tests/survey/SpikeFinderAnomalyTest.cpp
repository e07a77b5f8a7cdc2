// The spike finder on a survey with known truth: buried dipoles whose sharp anomalies
// must be left alone, and spikes put in where nothing else shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/SyntheticSurvey.h"
#include "survey/SpikeFinder.h"

namespace velkor {
namespace {

TEST(SpikeFinderAnomalyTest, FindsTheSpikesAndNoReadingOfADipolesAnomaly) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        const SyntheticSurvey survey(seed);
        const std::vector<SyntheticSurvey::Reading>& truth = survey.readings();
        std::vector<SpikeFinder::Reading> readings;
        int spikes = 0;
        for (const SyntheticSurvey::Reading& r : truth) {
            readings.push_back({static_cast<double>(r.line), 0.5 * (r.station - 1), r.value,
                                static_cast<int>(readings.size()), false});
            spikes += r.spike ? 1 : 0;
        }
        int hits = 0;
        int falseMarks = 0;
        for (const SpikeFinder::Candidate& c : SpikeFinder::find(readings, {})) {
            const SyntheticSurvey::Reading& r = truth[static_cast<std::size_t>(c.index)];
            (r.spike ? hits : falseMarks) += 1;
            EXPECT_FALSE(r.inAnomaly) << "seed " << seed << ": line " << r.line << " station "
                                      << r.station << ", " << c.value - c.median << " nT";
        }
        const double clean = static_cast<double>(truth.size()) - spikes;
        ASSERT_GT(spikes, 50);
        EXPECT_GE(hits, 0.95 * spikes) << "seed " << seed << ": " << hits << " of " << spikes;
        EXPECT_LE(falseMarks, 0.01 * clean) << "seed " << seed << ": " << falseMarks;
    }
}

}  // namespace
}  // namespace velkor
