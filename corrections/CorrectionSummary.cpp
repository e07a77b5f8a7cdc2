// Summary of a temporal correction.
#include "corrections/CorrectionSummary.h"

#include <numeric>
#include <string_view>
#include <unordered_map>

#include "corrections/CorrectedValue.h"
#include "corrections/TemporalCorrection.h"
#include "corrections/VariationSet.h"
#include "data/DataSet.h"
#include "text/NumberText.h"
#include "text/TimeOfDay.h"

namespace velkor {
namespace {

struct Span {
    int first = 0;
    int last = 0;
};

// The first and the last sample of every date, as the correction finds them.
std::unordered_map<std::string, Span> spansOf(const VariationSet& v) {
    std::unordered_map<std::string, Span> spans;
    for (int k = 1; k < v.count(); ++k) {
        auto [it, added] = spans.try_emplace(std::string(v.date(k)), Span{k, k});
        it->second.last = k;
    }
    return spans;
}

// Why the correction leaves reading i as it is, asked in the order the correction asks.
// A reading strictly inside its date's span is left only between equal times or beside a
// sample that holds no number, since every other such reading gets a value.
CorrectionSummary::Reason reasonFor(const DataSet& data, int i, const VariationSet& v,
                                    const std::unordered_map<std::string, Span>& spans) {
    using Reason = CorrectionSummary::Reason;
    if (!readDecimalNumber(data.field(i, Column::Field))) {
        return Reason::FieldNoNumber;
    }
    const auto it = spans.find(std::string(data.field(i, Column::Date)));
    if (it == spans.end()) {
        return Reason::NoSample;
    }
    const Span s = it->second;
    if (s.last <= s.first) {
        return Reason::OneSample;
    }
    const int t = TimeOfDay::ofColumn(data.field(i, Column::Time));
    if (!(v.seconds(s.first) < t && t < v.seconds(s.last))) {
        return Reason::OutsideSpan;
    }
    const int w = TemporalCorrection::enclosingSample(v, s.first, s.last, t);
    if (v.seconds(w) != v.seconds(w + 1) && (!v.valueNumber(w) || !v.valueNumber(w + 1))) {
        return Reason::SampleNoNumber;
    }
    return Reason::EqualTimes;
}

constexpr const char* kNames[] = {"no-sample",   "one-sample",      "outside-span",
                                  "equal-times", "field-no-number", "sample-no-number"};
constexpr const char* kPhrases[] = {
    "with no sample of their date", "whose date has one sample",
    "outside their date's span",    "between equal enclosing times",
    "whose Field holds no number",  "beside a sample that holds no number"};

}  // namespace

CorrectionSummary CorrectionSummary::of(const DataSet& data, const VariationSet& variations,
                                        Counted counted) {
    const auto spans = spansOf(variations);
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
        } else {
            s.note(reasonFor(data, i, variations, spans), i);
        }
    }
    return s;
}

void CorrectionSummary::note(Reason r, int reading) {
    const auto k = static_cast<std::size_t>(r);
    ++counts_[k];
    if (examples_[k].size() < static_cast<std::size_t>(kExamples)) {
        examples_[k].push_back(reading);
    }
}

int CorrectionSummary::uncorrected() const {
    return std::accumulate(counts_.begin(), counts_.end(), 0);
}

const char* CorrectionSummary::name(Reason reason) {
    return kNames[static_cast<std::size_t>(reason)];
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
