// Grid colour stretch.
#include "pictures/GridStretch.h"

#include <algorithm>
#include <cmath>

#include "pictures/PlanMapGeometry.h"

namespace velkor {

GridStretch GridStretch::of(const Grid& grid, const Choice& choice) {
    const Kind kind = choice.kind;
    GridStretch s;
    s.kind_ = kind;
    std::vector<double> values;
    values.reserve(grid.values.size());
    for (const double v : grid.values) {
        if (std::isfinite(v)) {
            values.push_back(v);
        }
    }
    if (values.empty()) {
        return s;
    }
    std::sort(values.begin(), values.end());
    s.quantiles_.resize(kQuantiles + 1);
    const double last = static_cast<double>(values.size() - 1);
    for (int k = 0; k <= kQuantiles; ++k) {
        const double at = last * k / kQuantiles;
        const auto i = static_cast<std::size_t>(at);
        const double f = at - static_cast<double>(i);
        s.quantiles_[static_cast<std::size_t>(k)] =
            i + 1 < values.size() ? values[i] + (values[i + 1] - values[i]) * f : values[i];
    }
    if (kind == Kind::Equalised) {
        s.lo_ = s.quantiles_.front();
        s.hi_ = s.quantiles_.back();
    } else if (kind == Kind::Limits) {
        const bool given =
            std::isfinite(choice.lo) && std::isfinite(choice.hi) && choice.lo < choice.hi;
        s.lo_ = given ? choice.lo : values.front();
        s.hi_ = given ? choice.hi : values.back();
    } else {
        const PlanMapGeometry::Range r = PlanMapGeometry::clipRange(values);
        s.lo_ = r.lo;
        s.hi_ = r.hi;
    }
    return s;
}

const char* GridStretch::name(Kind kind) {
    switch (kind) {
        case Kind::Equalised:
            return "Equalised";
        case Kind::Limits:
            return "Limits";
        case Kind::Percentile:
            break;
    }
    return "Percentiles 2 - 98";
}

double GridStretch::fraction(double value) const {
    if (empty() || !(value > lo_)) {
        return 0.0;
    }
    if (!(value < hi_)) {
        return 1.0;
    }
    if (kind_ != Kind::Equalised) {
        return (value - lo_) / (hi_ - lo_);
    }
    // Within the quantiles that enclose the value; a run of equal ones takes its middle.
    const auto upper = std::upper_bound(quantiles_.begin(), quantiles_.end(), value);
    const auto lower = std::lower_bound(quantiles_.begin(), quantiles_.end(), value);
    const auto k = static_cast<double>(upper - quantiles_.begin());
    if (lower != upper) {
        const auto first = static_cast<double>(lower - quantiles_.begin());
        return (first + k - 1.0) / 2.0 / kQuantiles;
    }
    const double a = *(upper - 1);
    const double b = *upper;
    return (k - 1.0 + (value - a) / (b - a)) / kQuantiles;
}

double GridStretch::valueAt(double fraction) const {
    const double f = std::clamp(fraction, 0.0, 1.0);
    if (empty() || kind_ != Kind::Equalised) {
        return lo_ + (hi_ - lo_) * f;
    }
    const double at = f * kQuantiles;
    const auto i = std::min(static_cast<std::size_t>(at), static_cast<std::size_t>(kQuantiles - 1));
    const double t = at - static_cast<double>(i);
    return quantiles_[i] + (quantiles_[i + 1] - quantiles_[i]) * t;
}

}  // namespace velkor
