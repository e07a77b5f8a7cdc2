// Spikes: a running median of the neighbours catches a single bad reading of any size;
// the fourth difference, taken only at its largest, points at the reading it centres on.
// A reading that stands out is a spike only when nothing around it carries the same
// departure: a buried body gives several readings of its line and the adjacent lines at
// the same place, a bad reading gives one or two.
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

// The median of the `others` readings nearest i that skip leaves in, half on each side
// (moved inwards at the ends of the line); NaN when none is left.
template <class Skip>
double neighbourMedian(const std::vector<double>& v, std::size_t i, std::size_t others, Skip skip) {
    std::vector<double> left;
    std::vector<double> right;
    for (std::size_t k = i; k > 0 && left.size() < others; --k) {
        if (!skip(k - 1)) {
            left.push_back(v[k - 1]);
        }
    }
    for (std::size_t k = i + 1; k < v.size() && right.size() < others; ++k) {
        if (!skip(k)) {
            right.push_back(v[k]);
        }
    }
    const std::size_t fromRight =
        std::min(right.size(), others - std::min(left.size(), others / 2));
    left.resize(std::min(left.size(), others - fromRight));
    left.insert(left.end(), right.begin(), right.begin() + static_cast<std::ptrdiff_t>(fromRight));
    return left.empty() ? std::nan("") : median(std::move(left));
}

// What reading k departs from what the readings beside it predict: the curve through the
// two nearest on each side that skip leaves in (at an end of the line, the straight line
// through the two nearest), at k's position; NaN without two. Unlike a median it follows
// the steep flank of an anomaly and a line's ends.
template <class Skip>
double smoothDeparture(const std::vector<double>& v, const std::vector<double>& at, std::size_t k,
                       Skip skip) {
    std::vector<std::size_t> nodes;
    for (std::size_t j = k, left = 0; j > 0 && left < 2; --j) {
        if (!skip(j - 1)) {
            nodes.push_back(j - 1);
            ++left;
        }
    }
    const std::size_t left = nodes.size();
    for (std::size_t j = k + 1; j < v.size() && nodes.size() < left + 2; ++j) {
        if (!skip(j)) {
            nodes.push_back(j);
        }
    }
    if (nodes.size() < 2) {
        return std::nan("");
    }
    double predicted = 0.0;
    for (const std::size_t j : nodes) {
        double weight = 1.0;
        for (const std::size_t m : nodes) {
            if (m != j) {
                weight *= (at[k] - at[m]) / (at[j] - at[m]);
            }
        }
        predicted += weight * v[j];
    }
    return std::isfinite(predicted) ? v[k] - predicted : std::nan("");
}

// Whether e is the same departure as d, at least kSupport of it.
bool carries(double e, double d) {
    return std::isfinite(e) && e * d > 0.0 && std::abs(e) >= SpikeFinder::kSupport * std::abs(d);
}

// The usable readings of one line, in position order, and what the finder makes of them.
struct Line {
    std::vector<const SpikeFinder::Reading*> readings;
    std::vector<double> values;
    std::vector<double> positions;
    double threshold = 0.0;
    double step = 0.0;  // the usual distance between neighbouring positions
    std::vector<double> medians;
    std::vector<double> departures;  // from what the readings beside predict
    std::vector<char> candidate;
    std::vector<SpikeFinder::Reason> reasons;
    // Candidates one or two in a row that the readings beside them do not support.
    std::vector<char> isolated;

    std::size_t nearest(double position) const;
    // What reading k departs from what its line predicts, its line's lone candidates left
    // out; NaN for a lone candidate itself.
    double departureAt(std::size_t k) const;
};

std::size_t Line::nearest(double position) const {
    const auto after = std::lower_bound(positions.begin(), positions.end(), position);
    std::size_t k = static_cast<std::size_t>(after - positions.begin());
    if (k == positions.size() || (k > 0 && position - positions[k - 1] < positions[k] - position)) {
        --k;
    }
    return k;
}

double Line::departureAt(std::size_t k) const {
    // Two spikes side by side on adjacent lines must not hide each other.
    if (isolated[k]) {
        return std::nan("");
    }
    return smoothDeparture(values, positions, k, [this](std::size_t j) { return isolated[j]; });
}

// The candidate among a to b that departs most.
std::size_t topOf(const Line& line, std::size_t a, std::size_t b) {
    std::size_t top = a;
    for (std::size_t k = a; k <= b; ++k) {
        top = std::abs(line.departures[k]) > std::abs(line.departures[top]) ? k : top;
    }
    return top;
}

// Whether reading i is a candidate, and why: far from the running median of its
// neighbours and from what they predict, or the centre of a large fourth difference.
bool farFromBoth(const Line& line, std::size_t i) {
    return std::abs(line.values[i] - line.medians[i]) > line.threshold &&
           std::abs(line.departures[i]) > line.threshold;
}

void judge(Line& line, std::size_t i, const std::vector<double>& d4) {
    const std::size_t n = line.values.size();
    const double threshold = line.threshold;
    if (farFromBoth(line, i)) {
        line.candidate[i] = 1;
        return;
    }
    // Beside a reading far from its median, the fourth difference is that reading's; and a
    // lone spike's is six times its departure, where a bend of the line gives a large one
    // from a small departure (noise on a bend, at most a quarter of the threshold).
    for (std::size_t k = i >= 2 ? i - 2 : 0; k <= i + 2 && k < n; ++k) {
        if (farFromBoth(line, k)) {
            return;
        }
    }
    if (i < 2 || i + 2 >= n || !(std::abs(d4[i]) > threshold) ||
        !(std::abs(line.departures[i]) >= std::max(std::abs(d4[i]) / 8.0, threshold / 4.0))) {
        return;
    }
    // A spike gives 6 times itself at its own place and 4 times at each side: the largest
    // nearby is the one it belongs to.
    for (std::size_t k = std::max<std::size_t>(i - 2, 2); k <= i + 2 && k + 2 < n; ++k) {
        if (std::abs(d4[k]) > std::abs(d4[i])) {
            return;
        }
    }
    line.candidate[i] = 1;
    line.reasons[i] = SpikeFinder::Reason::FourthDifference;
}

Line lineOf(std::vector<const SpikeFinder::Reading*> readings,
            const SpikeFinder::Options& options) {
    Line line;
    line.readings = std::move(readings);
    const std::size_t n = line.readings.size();
    std::vector<double> steps;
    for (std::size_t i = 0; i < n; ++i) {
        line.values.push_back(line.readings[i]->value);
        line.positions.push_back(line.readings[i]->position);
        if (i > 0) {
            steps.push_back(line.positions[i] - line.positions[i - 1]);
        }
    }
    line.step = steps.empty() ? 0.0 : median(steps);
    line.threshold = options.threshold ? *options.threshold : SpikeFinder::threshold(line.values);
    line.candidate.assign(n, 0);
    line.isolated.assign(n, 0);
    line.reasons.assign(n, SpikeFinder::Reason::Median);
    line.medians.assign(n, 0.0);
    line.departures.assign(n, 0.0);
    if (n < 3) {
        return line;
    }
    const std::size_t others = static_cast<std::size_t>(std::max(options.window, 3) - 1);
    const std::vector<double>& v = line.values;
    std::vector<double> first(n);
    for (std::size_t i = 0; i < n; ++i) {
        first[i] =
            std::abs(v[i] - neighbourMedian(v, i, others, [](std::size_t) { return false; }));
    }
    const std::vector<double> d4 = fourthDifferences(v);
    for (std::size_t i = 0; i < n; ++i) {
        // A reading beside a bigger one is measured without it: a spike drags the median
        // of its neighbours' neighbours too.
        const auto bigger = [&](std::size_t k) {
            return first[k] > line.threshold && first[k] > first[i];
        };
        line.medians[i] = neighbourMedian(v, i, others, bigger);
        line.departures[i] = smoothDeparture(v, line.positions, i, bigger);
        if (!std::isfinite(line.departures[i])) {
            line.departures[i] = v[i] - line.medians[i];
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        judge(line, i, d4);
    }
    return line;
}

// Marks the lone candidates of the line: one or two in a row whose departure the readings
// just outside them do not carry. Three or more in a row are a body's anomaly, not spikes.
void markIsolated(Line& line) {
    const std::size_t n = line.readings.size();
    for (std::size_t a = 0; a < n;) {
        if (!line.candidate[a]) {
            ++a;
            continue;
        }
        std::size_t b = a;
        while (b + 1 < n && line.candidate[b + 1]) {
            ++b;
        }
        const auto inRun = [a, b](std::size_t k) { return k >= a && k <= b; };
        const double d = smoothDeparture(line.values, line.positions, topOf(line, a, b), inRun);
        bool supported = b - a >= 2;
        for (const std::size_t k : {a - 1, b + 1}) {
            supported = supported ||
                        (k < n && carries(smoothDeparture(line.values, line.positions, k, inRun),
                                          std::isfinite(d) ? d : line.departures[a]));
        }
        for (std::size_t k = a; k <= b; ++k) {
            line.isolated[k] = !supported;
        }
        a = b + 1;
    }
}

// Whether an adjacent line at the place of the lone candidates a to b of line l carries
// their departure.
bool supportedAcross(const std::vector<Line>& lines, std::size_t l, std::size_t a, std::size_t b) {
    const Line& line = lines[l];
    const std::size_t top = topOf(line, a, b);
    const double position = line.positions[top];
    for (const std::size_t o : {l - 1, l + 1}) {
        if (o >= lines.size() || lines[o].readings.empty()) {
            continue;
        }
        const std::size_t k = lines[o].nearest(position);
        if (std::abs(lines[o].positions[k] - position) <= line.step &&
            carries(lines[o].departureAt(k), line.departures[top])) {
            return true;
        }
    }
    return false;
}

// The spikes of line l: its lone candidates that no adjacent line supports either.
void findOnLine(const std::vector<Line>& lines, std::size_t l,
                std::vector<SpikeFinder::Candidate>& out) {
    const Line& line = lines[l];
    const std::size_t n = line.readings.size();
    for (std::size_t a = 0; a < n;) {
        if (!line.isolated[a]) {
            ++a;
            continue;
        }
        std::size_t b = a;
        while (b + 1 < n && line.isolated[b + 1]) {
            ++b;
        }
        if (!supportedAcross(lines, l, a, b)) {
            for (std::size_t i = a; i <= b; ++i) {
                const SpikeFinder::Reading& r = *line.readings[i];
                out.push_back({r.index, r.line, r.position, r.value, line.medians[i],
                               line.threshold, line.reasons[i]});
            }
        }
        a = b + 1;
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
    std::map<double, std::vector<const Reading*>> byLine;
    for (const Reading& r : readings) {
        if (!r.flagged && std::isfinite(r.value) && std::isfinite(r.line) &&
            std::isfinite(r.position)) {
            byLine[r.line].push_back(&r);
        }
    }
    std::vector<Line> lines;
    for (auto& [id, line] : byLine) {
        std::stable_sort(line.begin(), line.end(), [](const Reading* a, const Reading* b) {
            return a->position < b->position;
        });
        lines.push_back(lineOf(std::move(line), options));
        markIsolated(lines.back());
    }
    std::vector<Candidate> out;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        findOnLine(lines, l, out);
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
