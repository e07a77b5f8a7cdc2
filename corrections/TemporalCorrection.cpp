// Temporal correction: per reading, the base-station value interpolated at its time.
#include "corrections/TemporalCorrection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
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

int timeOfDay(std::string_view time) {
    auto group = [&](std::size_t from) {
        return from < time.size() ? readInteger(time.substr(from, 2)) : 0;
    };
    return group(0) * 3600 + group(3) * 60 + group(6);
}

// The samples of one date: its first and last line, and the lines in between ordered by
// time (then by line), so the nearest inner sample is found without a scan.
struct DateSpan {
    int first = 0;
    int last = 0;
    std::vector<std::pair<int, int>> inner;  // (seconds, line)
    bool sorted = false;
};

class SampleIndex {
  public:
    explicit SampleIndex(const VariationSet& v) : seconds_(static_cast<std::size_t>(v.count())) {
        for (int k = 1; k < v.count(); ++k) {
            seconds_[static_cast<std::size_t>(k)] = v.seconds(k);
            auto [it, added] = spans_.try_emplace(std::string(v.date(k)));
            if (added) {
                it->second.first = k;
            }
            it->second.last = k;
        }
    }

    DateSpan* find(std::string_view date) {
        const auto it = spans_.find(std::string(date));
        return it == spans_.end() ? nullptr : &it->second;
    }

    int seconds(int k) const { return seconds_[static_cast<std::size_t>(k)]; }

    // The inner sample nearest to v, the earliest of equally near ones, as a scan from
    // first + 1 to last - 1 keeping only strictly smaller distances would find it.
    std::pair<int, int> nearestInner(DateSpan& span, int v) {
        if (!span.sorted) {
            for (int k = span.first + 1; k < span.last; ++k) {
                span.inner.emplace_back(seconds(k), k);
            }
            std::sort(span.inner.begin(), span.inner.end());
            span.sorted = true;
        }
        int best = span.first;
        int distance = kNoDistance;
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
            return {best, distance};
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

  private:
    std::vector<int> seconds_;
    std::unordered_map<std::string, DateSpan> spans_;
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
