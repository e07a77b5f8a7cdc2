// Temporal correction: per reading, the base-station value interpolated at its time.
#include "corrections/TemporalCorrection.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Prompter.h"
#include "corrections/VariationSet.h"
#include "data/DataSet.h"
#include "text/NumberText.h"
#include "text/TimeOfDay.h"

namespace velkor {
namespace {

constexpr int kNoDistance = 99999;

// The samples of one date: its first and last line, and the times of the lines in between
// sorted, each with its earliest line (only that line can be the nearest sample: equally
// near ones go to the earliest). Those are sorted when the date is first asked for.
struct DateSpan {
    int first = 0;
    int last = 0;
    bool innerSorted = false;
    std::vector<std::pair<int, int>> inner;  // (seconds, earliest line), by seconds
};

}  // namespace

class TemporalCorrection::SampleIndex {
  public:
    explicit SampleIndex(const VariationSet& v)
        : seconds_(static_cast<std::size_t>(std::max(v.count(), 1))), values_(seconds_.size()) {
        for (int k = 1; k < v.count(); ++k) {
            add(k, v.date(k), v.seconds(k), v.valueNumber(k).value_or(std::nan("")));
        }
    }

    // Sample k of the list stands where line k + 1 of a variations file would.
    explicit SampleIndex(const std::vector<TemporalCorrection::Sample>& samples)
        : seconds_(samples.size() + 1), values_(seconds_.size()) {
        for (std::size_t k = 0; k < samples.size(); ++k) {
            add(static_cast<int>(k + 1), samples[k].date, samples[k].seconds, samples[k].value);
        }
    }

    // The index keeps its own copy of every date, so it outlives the variation lines.
    DateSpan* find(std::string_view date) {
        const auto it = spans_.find(date);
        return it == spans_.end() ? nullptr : &it->second;
    }

    // Sample k's value, read from its line when the index was made; NaN where its text
    // holds no number.
    double value(int k) const { return values_[static_cast<std::size_t>(k)]; }

    int seconds(int k) const { return seconds_[static_cast<std::size_t>(k)]; }

    // The inner sample nearest to v, the earliest of equally near ones, as a scan from
    // first + 1 to last - 1 keeping only strictly smaller distances would find it.
    std::pair<int, int> nearestInner(DateSpan& span, int v) {
        const std::vector<std::pair<int, int>>& in = sortedInner(span);
        // The first time at or above v, and the one before it, below v.
        const auto above =
            std::lower_bound(in.begin(), in.end(), v,
                             [](const std::pair<int, int>& p, int t) { return p.first < t; });
        int distance = kNoDistance;
        int best = span.first;
        if (above != in.begin()) {
            distance = v - std::prev(above)->first;
            best = std::prev(above)->second;
        }
        if (above != in.end() && (above->first - v < distance ||
                                  (above->first - v == distance && above->second < best))) {
            distance = above->first - v;
            best = above->second;
        }
        if (distance >= kNoDistance) {
            return {span.first, kNoDistance};
        }
        return {best, distance};
    }

  private:
    void add(int k, std::string_view date, int seconds, double value) {
        seconds_[static_cast<std::size_t>(k)] = seconds;
        values_[static_cast<std::size_t>(k)] = value;
        // Samples come in runs of one date: the map is asked only when the date changes.
        if (current_ == nullptr || date != current_->first) {
            current_ = &*spans_.try_emplace(std::string(date), DateSpan{k, k, false, {}}).first;
        }
        current_->second.last = k;
    }

    const std::vector<std::pair<int, int>>& sortedInner(DateSpan& span) {
        if (!span.innerSorted) {
            span.innerSorted = true;
            for (int k = span.first + 1; k < span.last; ++k) {
                span.inner.emplace_back(seconds(k), k);
            }
            // Pairs compare by time, then line: the first of each time is its earliest line.
            // Out of order, they are taken in order from all the samples, sorted once for
            // every date: dates taken in turns span one another's lines.
            if (!std::is_sorted(span.inner.begin(), span.inner.end())) {
                const std::vector<std::pair<int, int>>& all = allSorted();
                span.inner.clear();
                std::copy_if(all.begin(), all.end(), std::back_inserter(span.inner),
                             [&span](const std::pair<int, int>& p) {
                                 return p.second > span.first && p.second < span.last;
                             });
            }
            span.inner.erase(
                std::unique(span.inner.begin(), span.inner.end(),
                            [](const auto& a, const auto& b) { return a.first == b.first; }),
                span.inner.end());
        }
        return span.inner;
    }

    const std::vector<std::pair<int, int>>& allSorted() {
        if (allSorted_.empty()) {
            for (int k = 1; k < static_cast<int>(seconds_.size()); ++k) {
                allSorted_.emplace_back(seconds(k), k);
            }
            // Added in line order: a stable sort by time keeps each time's lines in order.
            std::stable_sort(allSorted_.begin(), allSorted_.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
        }
        return allSorted_;
    }

    std::vector<int> seconds_;
    std::vector<double> values_;
    std::vector<std::pair<int, int>> allSorted_;  // (seconds, line), made when first needed
    std::map<std::string, DateSpan, std::less<>> spans_;
    std::pair<const std::string, DateSpan>* current_ = nullptr;  // the last sample's date
};

TemporalCorrection::Samples::Samples(const VariationSet& variations)
    : index_(std::make_unique<SampleIndex>(variations)) {}
TemporalCorrection::Samples::Samples(const std::vector<Sample>& samples)
    : index_(std::make_unique<SampleIndex>(samples)) {}
TemporalCorrection::Samples::~Samples() = default;
TemporalCorrection::Samples::Samples(Samples&&) noexcept = default;
TemporalCorrection::Samples& TemporalCorrection::Samples::operator=(Samples&&) noexcept = default;

TemporalCorrection::Base TemporalCorrection::interpolate(Samples& samples, std::string_view date,
                                                         int v) {
    SampleIndex& index = *samples.index_;
    DateSpan* span = index.find(date);
    if (span == nullptr) {
        return {Outcome::NoSample, 0.0f, false};
    }
    if (span->last <= span->first) {
        return {Outcome::OneSample, 0.0f, false};
    }
    if (!(index.seconds(span->first) < v && v < index.seconds(span->last))) {
        return {Outcome::OutsideSpan, 0.0f, false};
    }
    auto [w, distance] = index.nearestInner(*span, v);
    const bool bigGap = distance > 3600;
    if (v < index.seconds(w)) {
        --w;
    }
    const int t1 = index.seconds(w);
    const int t2 = index.seconds(w + 1);
    if (t1 == t2) {
        return {Outcome::EqualTimes, 0.0f, bigGap};  // two samples at one time enclose nothing
    }
    const double v1 = index.value(w);
    const double v2 = index.value(w + 1);
    if (std::isnan(v1) || std::isnan(v2)) {
        return {Outcome::SampleNoNumber, 0.0f, bigGap};  // no variation without a number
    }
    return {Outcome::Interpolated, static_cast<float>(v1 + (v2 - v1) * (v - t1) / (t2 - t1)),
            bigGap};
}

TemporalCorrection::Base TemporalCorrection::outcomeOf(Samples& samples, const DataSet& data,
                                                       int i) {
    // A Field that holds no number is no reading of 0 nT: it stays uncorrected.
    const std::optional<double> field = readDecimalNumber(data.field(i, Column::Field));
    if (!field) {
        return {Outcome::FieldNoNumber, 0.0f, false};
    }
    Base base = interpolate(samples, data.field(i, Column::Date),
                            TimeOfDay::ofColumn(data.field(i, Column::Time)));
    base.field = static_cast<float>(*field);
    return base;
}

float TemporalCorrection::correctedValue(float field, float base, double basis) {
    return static_cast<float>(static_cast<double>(field) - static_cast<double>(base) + basis);
}

int TemporalCorrection::run(DataSet& data, const VariationSet& variations, Prompter& prompter) {
    Samples samples(variations);
    bool gapShown = false;
    int corrected = 0;
    for (int i = 1; i < data.lineCount(); ++i) {
        if (data.mode(i) == 'A' || data.corrected(i) != DataSet::kNoValue) {
            continue;
        }
        const Base base = outcomeOf(samples, data, i);
        if (base.bigGap && !gapShown) {
            // Once per run: the readings concerned are corrected all the same.
            prompter.message(kBigGap);
            gapShown = true;
        }
        if (base.outcome != Outcome::Interpolated) {
            continue;
        }
        data.setCorrected(i,
                          correctedValue(base.field, base.value, static_cast<double>(data.basis)));
        data.temporalDone = true;
        ++corrected;
    }
    for (int i = 1; i < data.lineCount(); ++i) {
        if (data.mode(i) != 'A' && data.corrected(i) == DataSet::kNoValue) {
            prompter.message(kUncorrected);
            break;
        }
    }
    return corrected;
}

}  // namespace velkor
