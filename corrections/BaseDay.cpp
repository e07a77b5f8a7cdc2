// One date of the base-station record.
#include "corrections/BaseDay.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "corrections/VariationSet.h"
#include "data/DataSet.h"
#include "text/TextFormat.h"
#include "text/TimeOfDay.h"

namespace velkor {

std::vector<std::string> BaseDay::dates(const VariationSet& variations) {
    std::vector<std::string> out;
    std::set<std::string> seen;
    for (int k = 1; k < variations.count(); ++k) {
        std::string d(variations.date(k));
        if (seen.insert(d).second) {
            out.push_back(std::move(d));
        }
    }
    return out;
}

std::string BaseDay::firstDate(const VariationSet& variations, const DataSet* survey) {
    const std::vector<std::string> all = dates(variations);
    if (all.empty()) {
        return {};
    }
    if (survey != nullptr) {
        const std::set<std::string> known(all.begin(), all.end());
        for (int i = 1; i < survey->lineCount(); ++i) {
            const std::string d(survey->field(i, Column::Date));
            if (survey->mode(i) != 'A' && known.count(d) != 0) {
                return d;
            }
        }
    }
    return all.front();
}

BaseDay BaseDay::of(const VariationSet& variations, const std::string& date,
                    const DataSet* survey) {
    BaseDay day;
    day.date_ = date;
    for (int k = 1; k < variations.count(); ++k) {
        if (variations.date(k) == date) {
            // A value that holds no number is none: NaN, left out of the curve and its range.
            day.samples_.push_back(
                {variations.seconds(k), variations.valueNumber(k).value_or(std::nan(""))});
        }
    }
    if (survey != nullptr) {
        for (int i = 1; i < survey->lineCount(); ++i) {
            if (survey->mode(i) != 'A' && survey->field(i, Column::Date) == date) {
                day.readings_.push_back({TimeOfDay::ofColumn(survey->field(i, Column::Time)), i});
            }
        }
    }
    if (day.samples_.empty()) {
        return day;
    }
    std::vector<int> times;
    bool valued = false;
    for (const Sample& s : day.samples_) {
        times.push_back(s.seconds);
        if (std::isnan(s.value)) {
            continue;
        }
        day.lowest_ = valued ? std::min(day.lowest_, s.value) : s.value;
        day.highest_ = valued ? std::max(day.highest_, s.value) : s.value;
        valued = true;
    }
    std::sort(times.begin(), times.end());
    day.first_ = times.front();
    day.last_ = times.back();
    for (std::size_t k = 1; k < times.size(); ++k) {
        const int gap = times[k] - times[k - 1];
        day.largestGap_ = std::max(day.largestGap_, gap);
        if (gap > kGap) {
            day.gaps_.push_back({times[k - 1], times[k]});
        }
    }
    return day;
}

int BaseDay::readingsOutside() const {
    return static_cast<int>(std::count_if(readings_.begin(), readings_.end(),
                                          [this](const Reading& r) { return !inside(r.seconds); }));
}

std::string BaseDay::figures() const {
    std::string text = date_ + ": " + std::to_string(samples_.size()) +
                       (samples_.size() == 1 ? " sample" : " samples");
    if (!samples_.empty()) {
        text += ", " + TimeOfDay::clock(first_) + " to " + TimeOfDay::clock(last_) + ", " +
                formatText("%0.1f to %0.1f nT", lowest_, highest_) + ", largest gap " +
                TimeOfDay::clock(largestGap_);
    }
    return text;
}

std::string BaseDay::readingFigures() const {
    return std::to_string(readings_.size()) + " survey readings, " +
           std::to_string(readingsOutside()) + " outside the samples";
}

}  // namespace velkor
