// Summary of a temporal correction.
#include "corrections/CorrectionSummary.h"

#include <numeric>

#include "corrections/CorrectedValue.h"
#include "corrections/TemporalCorrection.h"
#include "corrections/VariationSet.h"
#include "data/DataSet.h"

namespace velkor {
namespace {

constexpr const char* kNames[] = {"no-sample",   "one-sample",      "outside-span",
                                  "equal-times", "field-no-number", "sample-no-number"};
constexpr const char* kPhrases[] = {
    "with no sample of their date", "whose date has one sample",
    "outside their date's span",    "between equal enclosing times",
    "whose Field holds no number",  "beside a sample that holds no number"};

}  // namespace

CorrectionSummary CorrectionSummary::of(const DataSet& data, const VariationSet& variations,
                                        Counted counted) {
    TemporalCorrection::Samples samples(variations);
    CorrectionSummary s;
    for (int i = 1; i < data.lineCount(); ++i) {
        ++s.readings;
        if (data.mode(i) == 'A') {
            ++s.skippedAuto;
            continue;
        }
        const bool has = counted == Counted::Slots ? data.corrected(i) != DataSet::kNoValue
                                                   : CorrectedValue::available(data) &&
                                                         CorrectedValue::of(data, i).has_value();
        if (has) {
            ++s.corrected;
            continue;
        }
        // A reading the correction could correct but has not (no run with these samples
        // yet) has no reason to tell: it is counted as uncorrected only.
        const Outcome why = TemporalCorrection::outcomeOf(samples, data, i).outcome;
        if (why == Outcome::Interpolated) {
            ++s.notRun_;
        } else {
            s.note(why, i);
        }
    }
    return s;
}

void CorrectionSummary::note(Outcome r, int reading) {
    const std::size_t k = slot(r);
    ++counts_[k];
    if (examples_[k].size() < static_cast<std::size_t>(kExamples)) {
        examples_[k].push_back(reading);
    }
}

int CorrectionSummary::uncorrected() const {
    return std::accumulate(counts_.begin(), counts_.end(), notRun_);
}

const char* CorrectionSummary::name(Outcome reason) {
    return kNames[slot(reason)];
}

std::string CorrectionSummary::statusText(int correctedNow) const {
    std::string text = "Temporal correction: " + std::to_string(correctedNow) + " corrected now, " +
                       std::to_string(corrected - correctedNow) + " corrected before and kept, " +
                       std::to_string(skippedAuto) + " 'A' skipped; ";
    if (uncorrected() == 0) {
        return text + "none uncorrected.";
    }
    text += std::to_string(uncorrected()) + " uncorrected:";
    const char* separator = " ";
    for (int r = 0; r < kReasons; ++r) {
        const auto k = static_cast<std::size_t>(r);
        if (counts_[k] == 0) {
            continue;
        }
        // All numbers when they are few, else the first ones.
        const bool all = counts_[k] == static_cast<int>(examples_[k].size());
        text +=
            separator + std::to_string(counts_[k]) + " " + kPhrases[k] + (all ? " (" : " (e.g. ");
        for (std::size_t e = 0; e < examples_[k].size(); ++e) {
            text += (e == 0 ? "" : ", ") + std::to_string(examples_[k][e]);
        }
        text += ")";
        separator = "; ";
    }
    return text + ".";
}

}  // namespace velkor
