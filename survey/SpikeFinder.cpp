// Spikes: a running median of the neighbours catches a single bad reading of any size;
// the fourth difference, taken only at its largest, points at the reading it centres on.
#include "survey/SpikeFinder.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "survey/Survey.h"
#include "survey/SurveyFlags.h"
#include "text/NumberText.h"

namespace velkor {
namespace {

double median(std::vector<double> v) {
    const std::size_t half = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(half), v.end());
    const double upper = v[half];
    if (v.size() % 2 == 1) {
        return upper;
    }
    const double lower =
        *std::max_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(half));
    return (lower + upper) / 2.0;
}

std::vector<double> fourthDifferences(const std::vector<double>& v) {
    std::vector<double> d(v.size(), 0.0);
    for (std::size_t i = 2; i + 2 < v.size(); ++i) {
        d[i] = v[i - 2] - 4.0 * v[i - 1] + 6.0 * v[i] - 4.0 * v[i + 1] + v[i + 2];
    }
    return d;
}

// The usable readings of one line, in position order.
void findOnLine(const std::vector<const SpikeFinder::Reading*>& line,
                const SpikeFinder::Options& options, std::vector<SpikeFinder::Candidate>& out) {
    const std::size_t n = line.size();
    const std::size_t others = static_cast<std::size_t>(std::max(options.window, 3) - 1);
    if (n < 3) {
        return;
    }
    std::vector<double> values;
    for (const SpikeFinder::Reading* r : line) {
        values.push_back(r->value);
    }
    const double threshold =
        options.threshold ? *options.threshold : SpikeFinder::threshold(values);
    const std::vector<double> d4 = fourthDifferences(values);
    for (std::size_t i = 0; i < n; ++i) {
        // The window stays whole at the ends of the line, moved inwards.
        const std::size_t count = std::min(others, n - 1);
        std::size_t first = i >= others / 2 ? i - others / 2 : 0;
        first = std::min(first, n - 1 - count);
        std::vector<double> neighbours;
        for (std::size_t k = first; neighbours.size() < count; ++k) {
            if (k != i) {
                neighbours.push_back(values[k]);
            }
        }
        const double m = median(neighbours);
        SpikeFinder::Reason reason = SpikeFinder::Reason::Median;
        bool candidate = std::abs(values[i] - m) > threshold;
        if (!candidate && i >= 2 && i + 2 < n && std::abs(d4[i]) > threshold) {
            // A spike gives 6 times itself at its own place and 4 times at each side:
            // the largest nearby is the one it belongs to.
            candidate = true;
            for (std::size_t k = std::max<std::size_t>(i - 2, 2); k <= i + 2 && k + 2 < n; ++k) {
                candidate = candidate && std::abs(d4[k]) <= std::abs(d4[i]);
            }
            reason = SpikeFinder::Reason::FourthDifference;
        }
        if (candidate) {
            const SpikeFinder::Reading& r = *line[i];
            out.push_back({r.index, r.line, r.position, r.value, m, threshold, reason});
        }
    }
}

}  // namespace

double SpikeFinder::threshold(const std::vector<double>& values) {
    if (values.size() < 5) {
        return kMinThreshold;
    }
    std::vector<double> d = fourthDifferences(values);
    d.erase(d.begin(), d.begin() + 2);
    d.resize(d.size() - 2);
    const double centre = median(d);
    for (double& x : d) {
        x = std::abs(x - centre);
    }
    return std::max(kMinThreshold, kNoiseFactor * median(d));
}

std::vector<SpikeFinder::Candidate> SpikeFinder::find(const std::vector<Reading>& readings,
                                                      const Options& options) {
    std::map<double, std::vector<const Reading*>> lines;
    for (const Reading& r : readings) {
        if (!r.flagged && std::isfinite(r.value) && std::isfinite(r.line) &&
            std::isfinite(r.position)) {
            lines[r.line].push_back(&r);
        }
    }
    std::vector<Candidate> out;
    for (auto& [id, line] : lines) {
        std::stable_sort(line.begin(), line.end(), [](const Reading* a, const Reading* b) {
            return a->position < b->position;
        });
        findOnLine(line, options, out);
    }
    return out;
}

const char* SpikeFinder::name(Reason reason) {
    return reason == Reason::Median ? "median" : "fourth-difference";
}

std::vector<SpikeFinder::Reading> SpikeFinder::readingsOf(const Survey& survey) {
    const SurveyFlags flags(survey);
    std::vector<Reading> out;
    for (int d = 0; d < survey.dayCount(); ++d) {
        const DataSet& data = survey.day(d).data;
        for (int r = survey.first(d); r < survey.first(d + 1); ++r) {
            const Survey::Reading g = survey.readingWithoutLatLon(r);
            if (g.mode == 'A') {
                continue;
            }
            const std::optional<double> line = readDecimalNumber(data.field(g.line, Column::Line));
            const std::optional<double> position =
                readDecimalNumber(data.field(g.line, Column::Pos));
            if (line && position) {
                out.push_back(
                    {*line, *position, static_cast<double>(g.field), r, flags.flagged(g)});
            }
        }
    }
    return out;
}

}  // namespace velkor
