// Line shifts by robust medians.
#include "levelling/LineTraverse.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "levelling/Median.h"

namespace velkor {
namespace {

std::vector<double> kept(const std::vector<double>& line, double threshold) {
    const double m = Median::of(line);
    std::vector<double> out;
    std::copy_if(line.begin(), line.end(), std::back_inserter(out),
                 [&](double v) { return std::abs(v - m) <= threshold; });
    // Two halves further apart than the threshold leave nothing near the middle.
    return out.empty() ? line : out;
}

}  // namespace

std::vector<double> LineTraverse::shifts(const std::vector<std::vector<double>>& lines,
                                         double threshold) {
    std::vector<double> lineMedians(lines.size(), 0.0);
    std::vector<bool> has(lines.size(), false);
    std::vector<double> pooled;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (lines[k].empty()) {
            continue;
        }
        const std::vector<double> keep = kept(lines[k], threshold);
        lineMedians[k] = Median::of(keep);
        has[k] = true;
        pooled.insert(pooled.end(), keep.begin(), keep.end());
    }
    std::vector<double> out(lines.size(), 0.0);
    if (pooled.empty()) {
        return out;
    }
    const double survey = Median::of(pooled);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        out[k] = has[k] ? survey - lineMedians[k] : 0.0;
    }
    return out;
}

}  // namespace velkor
