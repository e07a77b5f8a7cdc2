// Temporal correction: per reading, the base-station value interpolated at its time.
#include "corrections/TemporalCorrection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/Prompter.h"
#include "corrections/VariationSet.h"
#include "data/DataSet.h"
#include "data/NumberReading.h"

namespace velkor {
namespace {

constexpr int kNoDistance = 99999;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Two digits read directly; anything else the way every integer text is read.
int group(std::string_view time, std::size_t from) {
    if (from + 2 <= time.size() && isDigit(time[from]) && isDigit(time[from + 1])) {
        return (time[from] - '0') * 10 + (time[from + 1] - '0');
    }
    return from < time.size() ? readInteger(time.substr(from, 2)) : 0;
}

int timeOfDay(std::string_view time) {
    return group(time, 0) * 3600 + group(time, 3) * 60 + group(time, 6);
}

// The samples of one date: its first and last line. The lines in between are searched
// by time: directly when their times never decrease, else through a sorted copy.
struct DateSpan {
    int first = 0;
    int last = 0;
    enum class Order { Unknown, Ascending, Mixed } order = Order::Unknown;
    std::vector<std::pair<int, int>> inner;  // (seconds, line), only when mixed
    std::size_t cursor = 0;  // where the last search ended: in inner, or in the lines if in order
};

// The first element of [first, last) that is not less than key, searched outward from
// hint: readings in time order find it a step or two from where the one before ended.
template <typename It, typename T>
It lowerBoundFrom(It first, It last, It hint, const T& key) {
    It left = first;
    It right = hint;
    if (hint != last && *hint < key) {
        // Forward: the answer lies past hint.
        left = std::next(hint);
        for (std::ptrdiff_t step = 1;; step *= 2) {
            if (last - left < step) {
                right = last;
                break;
            }
            const It probe = left + (step - 1);
            if (!(*probe < key)) {
                right = probe;
                break;
            }
            left = std::next(probe);
        }
    } else {
        // Backward: the answer lies at or before hint.
        for (std::ptrdiff_t step = 1; right != first; step *= 2) {
            const It probe = right - first >= step ? right - step : first;
            if (*probe < key) {
                left = std::next(probe);
                break;
            }
            right = probe;
        }
    }
    return std::lower_bound(left, right, key);
}

template <typename T>
std::size_t lowerBoundFrom(const std::vector<T>& in, std::size_t hint, const T& key) {
    const auto at =
        lowerBoundFrom(in.begin(), in.end(),
                       in.begin() + static_cast<std::ptrdiff_t>(std::min(hint, in.size())), key);
    return static_cast<std::size_t>(at - in.begin());
}

// Sorts (seconds, line) pairs that come in line order. Times of a day fit 20 bits: then
// two stable passes over 10 bits each, which keep equal times in line order, as the
// comparison of the pairs would; other times go to the comparison sort.
void sortByTime(std::vector<std::pair<int, int>>& pairs) {
    constexpr int kBits = 10;
    constexpr int kRadix = 1 << kBits;
    const bool small = std::all_of(pairs.begin(), pairs.end(), [](const auto& p) {
        return p.first >= 0 && p.first < (1 << (2 * kBits));
    });
    if (!small) {
        std::sort(pairs.begin(), pairs.end());
        return;
    }
    std::vector<std::pair<int, int>> moved(pairs.size());
    for (int shift : {0, kBits}) {
        std::array<std::size_t, kRadix + 1> start{};
        for (const auto& p : pairs) {
            ++start[static_cast<std::size_t>((p.first >> shift) & (kRadix - 1)) + 1];
        }
        for (std::size_t k = 0; k < kRadix; ++k) {
            start[k + 1] += start[k];
        }
        for (const auto& p : pairs) {
            moved[start[static_cast<std::size_t>((p.first >> shift) & (kRadix - 1))]++] = p;
        }
        pairs.swap(moved);
    }
}

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

  private:
    void add(int k, std::string_view date, int seconds, double value) {
        seconds_[static_cast<std::size_t>(k)] = seconds;
        values_[static_cast<std::size_t>(k)] = value;
        // Samples come in runs of one date: the map is asked only when the date changes.
        if (current_ == nullptr || date != current_->first) {
            auto [it, added] = spans_.try_emplace(std::string(date));
            if (added) {
                it->second.first = k;
            }
            current_ = &*it;
        }
        current_->second.last = k;
    }

  public:
    // The index keeps its own copy of every date, so it outlives the variation lines.
    // A few dates found lately are kept, so readings of dates taken in turns are found
    // without hashing their text again.
    DateSpan* find(std::string_view date) {
        for (const Recent& r : recent_) {
            if (r.span != nullptr && r.date == date) {
                return r.span;
            }
        }
        const auto it = spans_.find(std::string(date));
        if (it == spans_.end()) {
            return nullptr;
        }
        recent_[nextRecent_] = {it->first, &it->second};
        nextRecent_ = (nextRecent_ + 1) % recent_.size();
        return &it->second;
    }

    // Sample k's value, read from its line when the index was made; NaN where its text
    // holds no number.
    double value(int k) const { return values_[static_cast<std::size_t>(k)]; }

    int seconds(int k) const { return seconds_[static_cast<std::size_t>(k)]; }

    // The inner sample nearest to v, the earliest of equally near ones, as a scan from
    // first + 1 to last - 1 keeping only strictly smaller distances would find it.
    std::pair<int, int> nearestInner(DateSpan& span, int v) {
        if (span.order == DateSpan::Order::Unknown) {
            classify(span);
        }
        if (span.last - span.first < 2) {
            return {span.first, kNoDistance};
        }
        if (span.order == DateSpan::Order::Ascending) {
            return nearestAscending(span, v);
        }
        return nearestMixed(span, v);
    }

  private:
    void classify(DateSpan& span) {
        const auto begin = seconds_.begin() + span.first + 1;
        const auto end = seconds_.begin() + span.last;
        if (begin >= end || std::is_sorted(begin, end)) {
            span.order = DateSpan::Order::Ascending;
            return;
        }
        span.order = DateSpan::Order::Mixed;
        // Every sample sorted once by (time, line); a date's inner samples are those of
        // its line range, already in that order.
        if (sortedAll_.empty()) {
            sortedAll_.reserve(seconds_.size());
            for (int k = 1; k < static_cast<int>(seconds_.size()); ++k) {
                sortedAll_.emplace_back(seconds(k), k);
            }
            sortByTime(sortedAll_);
        }
        span.inner.reserve(static_cast<std::size_t>(span.last - span.first));
        for (const auto& sample : sortedAll_) {
            if (sample.second > span.first && sample.second < span.last) {
                span.inner.push_back(sample);
            }
        }
    }

    // Times in line order never decrease: the earliest line of a time is its lower bound,
    // searched from where the reading before found its own.
    std::pair<int, int> nearestAscending(DateSpan& span, int v) const {
        const auto begin = seconds_.begin() + span.first + 1;
        const auto end = seconds_.begin() + span.last;
        const auto hint = begin + static_cast<std::ptrdiff_t>(
                                      std::min(span.cursor, static_cast<std::size_t>(end - begin)));
        const auto at = lowerBoundFrom(begin, end, hint, v);
        span.cursor = static_cast<std::size_t>(at - begin);
        int best = -1;
        int distance = kNoDistance;
        if (at != begin) {
            // The earliest line of the time just below v; it wins a tie, being earlier.
            const int below = *std::prev(at);
            distance = v - below;
            auto earliest = std::prev(at);
            if (earliest != begin && *std::prev(earliest) == below) {
                earliest = lowerBoundFrom(begin, earliest, earliest, below);
            }
            best = static_cast<int>(earliest - seconds_.begin());
        }
        if (at != end && *at - v < distance) {
            distance = *at - v;
            best = static_cast<int>(at - seconds_.begin());
        }
        if (best < 0 || distance >= kNoDistance) {
            return {span.first, kNoDistance};
        }
        return {best, distance};
    }

    std::pair<int, int> nearestMixed(DateSpan& span, int v) const {
        const auto& in = span.inner;
        const std::size_t at = lowerBoundFrom(in, span.cursor, std::make_pair(v, 0));
        span.cursor = at;
        // The nearest time at or above v: in[at], the earliest line of its time. Below v:
        // in[at - 1], whose time's earliest line may stand a little before it.
        int distance = kNoDistance;
        int best = span.first;
        if (at > 0) {
            const int below = in[at - 1].first;
            std::size_t earliest = at - 1;
            if (earliest > 0 && in[earliest - 1].first == below) {
                earliest = lowerBoundFrom(in, earliest, std::make_pair(below, 0));
            }
            distance = v - below;
            best = in[earliest].second;
        }
        if (at < in.size()) {
            const int above = in[at].first - v;
            // Equally near: the earlier line wins, as in a scan in line order.
            if (at == 0 || above < distance || (above == distance && in[at].second < best)) {
                distance = above;
                best = in[at].second;
            }
        }
        if (in.empty() || distance >= kNoDistance) {
            return {span.first, kNoDistance};
        }
        return {best, distance};
    }

    std::vector<int> seconds_;
    std::vector<std::pair<int, int>> sortedAll_;  // (seconds, line), made when first needed
    std::unordered_map<std::string, DateSpan> spans_;
    std::pair<const std::string, DateSpan>* current_ =
        nullptr;  // the date of the last sample added
    struct Recent {
        std::string_view date;
        DateSpan* span = nullptr;
    };
    std::array<Recent, 8> recent_{};
    std::size_t nextRecent_ = 0;
    std::vector<double> values_;
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

int TemporalCorrection::enclosingSample(const VariationSet& variations, int first, int last,
                                        int seconds) {
    int w = first;
    int distance = kNoDistance;
    for (int k = first + 1; k <= last - 1; ++k) {
        if (std::abs(seconds - variations.seconds(k)) < distance) {
            w = k;
            distance = std::abs(seconds - variations.seconds(k));
        }
    }
    return seconds < variations.seconds(w) ? w - 1 : w;
}

int TemporalCorrection::run(DataSet& data, const VariationSet& variations, Prompter& prompter) {
    Samples samples(variations);
    bool gapShown = false;
    int corrected = 0;
    for (int i = 1; i < data.lineCount(); ++i) {
        if (data.mode(i) == 'A' || data.corrected(i) != DataSet::kNoValue) {
            continue;
        }
        // A Field that holds no number is no reading of 0 nT: it stays uncorrected.
        const std::optional<double> field = readDecimalNumber(data.field(i, Column::Field));
        if (!field) {
            continue;
        }
        const Base base = interpolate(samples, data.field(i, Column::Date),
                                      timeOfDay(data.field(i, Column::Time)));
        if (base.bigGap && !gapShown) {
            // Once per run: the readings concerned are corrected all the same.
            prompter.message(kBigGap);
            gapShown = true;
        }
        if (base.outcome != Outcome::Interpolated) {
            continue;
        }
        const float vi = base.value;
        const float f = static_cast<float>(*field);
        // One rounding: the sum of the single-precision values is formed in double.
        data.setCorrected(i, static_cast<float>(static_cast<double>(f) - static_cast<double>(vi) +
                                                static_cast<double>(data.basis)));
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
