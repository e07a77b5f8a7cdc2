// Temporal correction: per reading, the base-station value interpolated at its time.
#include "corrections/TemporalCorrection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
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
};

class SampleIndex {
  public:
    explicit SampleIndex(const VariationSet& v)
        : seconds_(static_cast<std::size_t>(std::max(v.count(), 1))) {
        DateSpan* current = nullptr;
        std::string_view currentDate;
        for (int k = 1; k < v.count(); ++k) {
            seconds_[static_cast<std::size_t>(k)] = v.seconds(k);
            const std::string_view date = v.date(k);
            // Samples come in runs of one date: the map is asked only when the date changes.
            if (current == nullptr || date != currentDate) {
                auto [it, added] = spans_.try_emplace(date);
                if (added) {
                    it->second.first = k;
                }
                current = &it->second;
                currentDate = date;
            }
            current->last = k;
        }
    }

    // The views stay valid: they point into the variation lines, unchanged during a run.
    DateSpan* find(std::string_view date) {
        if (date == lastDate_ && lastSpan_ != nullptr) {
            return lastSpan_;
        }
        const auto it = spans_.find(date);
        if (it == spans_.end()) {
            return nullptr;
        }
        lastDate_ = it->first;
        lastSpan_ = &it->second;
        return lastSpan_;
    }

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
        for (int k = span.first + 1; k < span.last; ++k) {
            span.inner.emplace_back(seconds(k), k);
        }
        std::sort(span.inner.begin(), span.inner.end());
    }

    // Times in line order never decrease: the earliest line of a time is its lower bound.
    std::pair<int, int> nearestAscending(const DateSpan& span, int v) const {
        const auto begin = seconds_.begin() + span.first + 1;
        const auto end = seconds_.begin() + span.last;
        const auto at = std::lower_bound(begin, end, v);
        int best = -1;
        int distance = kNoDistance;
        if (at != begin) {
            // The earliest line of the time just below v; it wins a tie, being earlier.
            const int below = *std::prev(at);
            distance = v - below;
            best = static_cast<int>(std::lower_bound(begin, at, below) - seconds_.begin());
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

    std::pair<int, int> nearestMixed(const DateSpan& span, int v) const {
        int best = span.first;
        const auto& in = span.inner;
        const auto at = std::lower_bound(in.begin(), in.end(), std::make_pair(v, 0));
        // The nearest time is at or just before the insertion point.
        int nearest = -1;
        if (at != in.end()) {
            nearest = at->first - v;
        }
        if (at != in.begin()) {
            const int below = v - std::prev(at)->first;
            nearest = nearest < 0 ? below : std::min(nearest, below);
        }
        if (nearest < 0 || nearest >= kNoDistance) {
            return {best, kNoDistance};
        }
        // Of the samples at v - nearest and v + nearest, the earliest line wins.
        for (int t : {v - nearest, v + nearest}) {
            const auto run = std::lower_bound(in.begin(), in.end(), std::make_pair(t, 0));
            if (run != in.end() && run->first == t && (best == span.first || run->second < best)) {
                best = run->second;
            }
        }
        return {best, nearest};
    }

    std::vector<int> seconds_;
    std::unordered_map<std::string_view, DateSpan> spans_;
    std::string_view lastDate_;
    DateSpan* lastSpan_ = nullptr;
};

}  // namespace

int TemporalCorrection::run(DataSet& data, const VariationSet& variations, Prompter& prompter) {
    SampleIndex index(variations);
    bool gapShown = false;
    int corrected = 0;
    for (int i = 1; i < data.lineCount(); ++i) {
        if (data.mode(i) == 'A' || data.corrected(i) != DataSet::kNoValue) {
            continue;
        }
        DateSpan* span = index.find(data.field(i, Column::Date));
        if (span == nullptr || span->last <= span->first) {
            continue;
        }
        const int v = timeOfDay(data.field(i, Column::Time));
        if (!(index.seconds(span->first) < v && v < index.seconds(span->last))) {
            continue;
        }
        auto [w, distance] = index.nearestInner(*span, v);
        if (distance > 3600 && !gapShown) {
            // Once per run: the readings concerned are corrected all the same.
            prompter.message(kBigGap);
            gapShown = true;
        }
        if (v < index.seconds(w)) {
            --w;
        }
        const int t1 = index.seconds(w);
        const int t2 = index.seconds(w + 1);
        if (t1 == t2) {
            continue;  // two samples at one time enclose nothing
        }
        const double v1 = variations.value(w);
        const double v2 = variations.value(w + 1);
        const float vi = static_cast<float>(v1 + (v2 - v1) * (v - t1) / (t2 - t1));
        const float f = static_cast<float>(readDecimal(data.field(i, Column::Field)));
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
