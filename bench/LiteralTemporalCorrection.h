// The temporal correction done the slow, literal way: for every reading, scan the
// variation lines from both ends for its date, then scan the samples between for the
// nearest one. The benchmarks measure the program's own run against it, and a test
// proves the two give the same values, flags and messages.
#pragma once

#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "core/Prompter.h"
#include "corrections/TemporalCorrection.h"
#include "corrections/VariationSet.h"
#include "data/DataSet.h"
#include "text/NumberText.h"

namespace velkor::literal {

inline int timeGroup(std::string_view time, std::size_t from) {
    return from < time.size() ? readInteger(time.substr(from, 2)) : 0;
}

// Returns how many readings lay more than an hour from every inner sample.
inline int temporalCorrection(DataSet& d, const VariationSet& v, Prompter& prompter) {
    // The sample time table, slot k for variation line k.
    std::vector<int> slot(static_cast<std::size_t>(v.count() > 0 ? v.count() : 1), 0);
    for (int k = 1; k < v.count(); ++k) {
        slot[static_cast<std::size_t>(k)] = v.seconds(k);
    }
    auto at = [&](int k) { return slot[static_cast<std::size_t>(k)]; };
    int gaps = 0;
    for (int i = 1; i < d.lineCount(); ++i) {
        if (d.mode(i) == 'A' || d.corrected(i) != DataSet::kNoValue) {
            continue;
        }
        // The one departure from the letter: texts without a number correct nothing.
        const std::optional<double> field = readDecimalNumber(d.field(i, Column::Field));
        if (!field) {
            continue;
        }
        const std::string_view date = d.field(i, Column::Date);
        int first = 0;
        for (int k = 1; k < v.count() && first == 0; ++k) {
            first = v.date(k) == date ? k : 0;
        }
        int last = 0;
        for (int k = v.count() - 1; k >= 1 && last == 0; --k) {
            last = v.date(k) == date ? k : 0;
        }
        if (first == 0 || last <= first) {
            continue;
        }
        const std::string_view t = d.field(i, Column::Time);
        const int sec = timeGroup(t, 0) * 3600 + timeGroup(t, 3) * 60 + timeGroup(t, 6);
        if (!(at(first) < sec && sec < at(last))) {
            continue;
        }
        int w = first;
        int distance = 99999;
        for (int k = first + 1; k <= last - 1; ++k) {
            if (std::abs(sec - at(k)) < distance) {
                w = k;
                distance = std::abs(sec - at(k));
            }
        }
        if (distance > 3600 && gaps++ == 0) {
            prompter.message(TemporalCorrection::kBigGap);
        }
        if (sec < at(w)) {
            --w;
        }
        const int t1 = at(w);
        const int t2 = at(w + 1);
        if (t1 == t2) {
            continue;
        }
        const std::optional<double> v1 = v.valueNumber(w);
        const std::optional<double> v2 = v.valueNumber(w + 1);
        if (!v1 || !v2) {
            continue;
        }
        const float vi = static_cast<float>(*v1 + (*v2 - *v1) * (sec - t1) / (t2 - t1));
        const float f = static_cast<float>(*field);
        d.setCorrected(i, static_cast<float>(static_cast<double>(f) - static_cast<double>(vi) +
                                             static_cast<double>(d.basis)));
        d.temporalDone = true;
    }
    for (int i = 1; i < d.lineCount(); ++i) {
        if (d.mode(i) != 'A' && d.corrected(i) == DataSet::kNoValue) {
            prompter.message(TemporalCorrection::kUncorrected);
            break;
        }
    }
    return gaps;
}

}  // namespace velkor::literal
