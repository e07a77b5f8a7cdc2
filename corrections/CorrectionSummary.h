// What a temporal correction did: how many readings it corrected, and why the others
// stayed uncorrected, with a few reading numbers for each reason.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "corrections/TemporalCorrection.h"

namespace velkor {

class DataSet;
class VariationSet;

class CorrectionSummary {
  public:
    using Outcome = TemporalCorrection::Outcome;
    // The reasons a reading stays uncorrected: every outcome but Interpolated, told in
    // their order; reason(k) is the k-th.
    static constexpr int kReasons = 6;
    static constexpr int kExamples = 3;
    static Outcome reason(int k) { return static_cast<Outcome>(k + 1); }
    static std::size_t slot(Outcome o) { return static_cast<std::size_t>(o) - 1; }

    // Which readings count as corrected: those with a value in their slot, or those the
    // corrected export writes (none while it cannot be written).
    enum class Counted { Slots, Export };

    // Counts every reading of the data set against the variation set.
    static CorrectionSummary of(const DataSet& data, const VariationSet& variations,
                                Counted counted);

    // The short name the command-line tool prints: "no-sample", "one-sample",
    // "outside-span", "equal-times", "field-no-number", "sample-no-number".
    static const char* name(Outcome reason);
    // One line for the status bar after a run that corrected correctedNow readings.
    std::string statusText(int correctedNow) const;

    int readings = 0;
    int corrected = 0;
    int skippedAuto = 0;
    int uncorrected() const;
    int count(Outcome r) const { return counts_[slot(r)]; }
    // Reading numbers (data line numbers, as the list numbers them), at most kExamples.
    const std::vector<int>& examples(Outcome r) const { return examples_[slot(r)]; }

  private:
    void note(Outcome r, int reading);

    std::array<int, kReasons> counts_{};
    int notRun_ = 0;
    std::array<std::vector<int>, kReasons> examples_;
};

}  // namespace velkor
