// The survey map.
#include "pictures/SurveyMapPainter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>
#include <utility>

#include "gridding/Extent.h"
#include "pictures/DrawingSurface.h"
#include "survey/Survey.h"
#include "survey/SurveyFlags.h"
#include "text/NumberText.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

constexpr std::uint32_t kHollow = 0xffffff;

constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
constexpr std::uint32_t kNoValueColour = 0xb4b4b4;
constexpr int kPickRadius = 6;  // pixels

float orNone(const std::optional<float>& v) {
    return v ? *v : kNone;
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string valueText(const char* name, const std::optional<float>& v) {
    return v ? formatText("   %s %.2f", name, static_cast<double>(*v))
             : formatText("   %s -", name);
}

// Round metres as the scale bar names them: "500 m", "2 km".
std::string lengthText(double metres) {
    return metres >= 1000.0 ? formatText("%g km", metres / 1000.0) : formatText("%g m", metres);
}

float gradientOf(const Survey& survey, const Survey::Reading& g) {
    const std::optional<double> v = survey.gradient(g);
    return v ? static_cast<float>(*v) : kNone;
}

SurveyMapGeometry::Bounds boundsOf(const std::vector<SurveyMapPainter::Dot>& dots) {
    if (dots.empty()) {
        return {0.0, 1.0, 0.0, 1.0};
    }
    Extent e;
    for (const SurveyMapPainter::Dot& d : dots) {
        e.add(d.easting, d.northing);
    }
    return {e.x0, e.x1, e.y0, e.y1};
}

PlanMapGeometry::Range rangeOf(const std::vector<SurveyMapPainter::Dot>& dots, std::size_t v) {
    std::vector<double> values;
    values.reserve(dots.size());
    for (const SurveyMapPainter::Dot& d : dots) {
        if (!std::isnan(d.values[v])) {
            values.push_back(d.values[v]);
        }
    }
    return PlanMapGeometry::clipRange(values);
}

// Twice the readings' usual spacing along a line (the median distance between consecutive
// dots), so that a bucket holds a few dots where they crowd; no finer than lets every
// bucket of the map's rectangle be counted out without sorting a million dots.
double bucketSide(const std::vector<SurveyMapPainter::Dot>& dots,
                  const SurveyMapGeometry::Bounds& b) {
    std::vector<double> squares;
    squares.reserve(dots.size());
    for (std::size_t k = 1; k < dots.size(); ++k) {
        const double de = dots[k].easting - dots[k - 1].easting;
        const double dn = dots[k].northing - dots[k - 1].northing;
        const double d2 = de * de + dn * dn;
        if (d2 > 0.0 && std::isfinite(d2)) {
            squares.push_back(d2);
        }
    }
    const double area = (b.e1 - b.e0) * (b.n1 - b.n0);
    const double counted = std::sqrt(area / (4.0 * static_cast<double>(dots.size() + 1)));
    if (squares.empty()) {
        return std::max(counted, 1.0);
    }
    const auto middle = squares.begin() + static_cast<std::ptrdiff_t>(squares.size() / 2);
    std::nth_element(squares.begin(), middle, squares.end());
    return std::max(2.0 * std::sqrt(*middle), counted);
}

std::vector<PointBuckets::Place> placesOf(const std::vector<SurveyMapPainter::Dot>& dots) {
    std::vector<PointBuckets::Place> places;
    places.reserve(dots.size());
    for (const SurveyMapPainter::Dot& d : dots) {
        places.push_back({d.easting, d.northing});
    }
    return places;
}

// A dot's square on the picture, before it is coloured.
struct Placed {
    int x;
    int y;
    float value;
};

// Which squares, drawn in this order, still show a pixel of their own at the end: only
// those are handed over. The picture is the same, as the others are wholly painted over,
// and with many thousand readings on a screen most squares are. Found from the last
// square back: a square shows when one of its pixels is not yet covered by a later one.
std::vector<bool> showing(const std::vector<Placed>& squares, int size) {
    std::vector<bool> shows(squares.size(), true);
    if (squares.empty()) {
        return shows;
    }
    Extent e;
    for (const Placed& q : squares) {
        e.add(q.x, q.y);
    }
    const auto x0 = static_cast<long long>(e.x0);
    const auto y0 = static_cast<long long>(e.y0);
    const long long width = static_cast<long long>(e.x1) - x0 + size;
    const long long height = static_cast<long long>(e.y1) - y0 + size;
    if (width * height > SurveyMapPainter::kMostCoverPixels) {
        return shows;  // a picture that large is drawn square by square
    }
    std::vector<unsigned char> covered(static_cast<std::size_t>(width * height), 0);
    for (std::size_t k = squares.size(); k-- > 0;) {
        bool uncovered = false;
        for (int dy = 0; dy < size; ++dy) {
            const auto row =
                covered.begin() + (squares[k].y - y0 + dy) * width + (squares[k].x - x0);
            for (int dx = 0; dx < size; ++dx) {
                uncovered = uncovered || row[dx] == 0;
                row[dx] = 1;
            }
        }
        shows[k] = uncovered;
    }
    return shows;
}

}  // namespace

SurveyMapPainter::SurveyMapPainter() : SurveyMapPainter(std::vector<Dot>()) {}

SurveyMapPainter::SurveyMapPainter(std::vector<Dot> dots) : dots_(std::move(dots)) {
    bounds_ = boundsOf(dots_);
    for (std::size_t v = 0; v < ranges_.size(); ++v) {
        ranges_[v] = rangeOf(dots_, v);
    }
    buckets_ = PointBuckets(placesOf(dots_), bucketSide(dots_, bounds_));
}

SurveyMapPainter SurveyMapPainter::build(const Survey& survey) {
    std::vector<Dot> dots;
    dots.reserve(static_cast<std::size_t>(survey.readingCount()));
    const SurveyFlags flags(survey);
    for (int r = 0; r < survey.readingCount(); ++r) {
        // The map needs no latitude or longitude.
        const Survey::Reading g = survey.readingWithoutLatLon(r);
        dots.push_back({r,
                        g.easting,
                        g.northing,
                        {g.field, orNone(g.diurnal), orNone(g.anomaly), gradientOf(survey, g)},
                        flags.flagged(g)});
    }
    SurveyMapPainter painter(std::move(dots));
    painter.setTracks(TrackLines::of(survey));
    return painter;
}

const char* SurveyMapPainter::valueName(Value v) {
    switch (v) {
        case Value::Field:
            return "Field";
        case Value::Diurnal:
            return "Diurnal";
        case Value::Anomaly:
            return "Anomaly";
        case Value::Gradient:
            return "Gradient";
    }
    return "";
}

std::string SurveyMapPainter::describe(const Survey& survey, int r) {
    const Survey::Reading g = survey.reading(r);
    const DataSet& data = survey.day(g.day).data;
    std::string out =
        formatText("%s   Reading %d   Line %s   Position %s   E %.3f   N %.3f",
                   baseName(survey.day(g.day).path).c_str(), g.line,
                   std::string(data.field(g.line, Column::Line)).c_str(),
                   std::string(data.field(g.line, Column::Pos)).c_str(), g.easting, g.northing);
    if (g.latitude && g.longitude) {
        out += formatText("   Lat %.8f   Lon %.8f", *g.latitude, *g.longitude);
    }
    out += valueText("Field", g.field);
    out += valueText("Base", g.base);
    out += valueText("Diurnal", g.diurnal);
    out += valueText("Normal", g.normal);
    out += valueText("Anomaly", g.anomaly);
    const float gradient = gradientOf(survey, g);
    out +=
        valueText("Gradient", std::isnan(gradient) ? std::nullopt : std::optional<float>(gradient));
    return out;
}

SurveyMapGeometry::Frame SurveyMapPainter::frame(int width, int height, int em) {
    // Room for the colour scale on the right and the scale bar below.
    return {2 * em, 2 * em, std::max(3 * em, width - 10 * em), std::max(3 * em, height - 4 * em)};
}

SurveyMapGeometry::Transform SurveyMapPainter::transform(int width, int height, int em,
                                                         double shrink) const {
    return SurveyMapGeometry::fit(bounds(), frame(width, height, em), shrink);
}

void SurveyMapPainter::draw(DrawingSurface& surface, int width, int height, Value v, int em,
                            double shrink) const {
    surface.setFont(em);
    const SurveyMapGeometry::Frame f = frame(width, height, em);
    if (dots_.empty()) {
        surface.text(f.left, f.top, kNothingPlaced);
        return;
    }
    const SurveyMapGeometry::Transform t = transform(width, height, em, shrink);
    tracks_.draw(surface, t, f);  // under the readings
    const PlanMapGeometry::Range r = range(v);
    const int size = dots_.size() > 50000 ? 3 : 5;
    if (!(drawn_.width == width && drawn_.height == height && drawn_.em == em &&
          drawn_.value == v && drawn_.shrink == shrink && !drawn_.squares.empty())) {
        drawn_ = {width, height, em, v, shrink, squares(t, v, r, size)};
    }
    for (const Square& q : drawn_.squares) {
        surface.fillRect(q.x, q.y, size, size, q.rgb);
    }
    // A flagged reading stays on the map, hollow: its colour as a frame around white.
    for (const Dot& d : dots_) {
        if (d.flagged) {
            const SurveyMapGeometry::DevicePoint p = t.toDevice(d.easting, d.northing);
            surface.fillRect(SurveyMapGeometry::pixel(p.x) - size / 2 + 1,
                             SurveyMapGeometry::pixel(p.y) - size / 2 + 1, size - 2, size - 2,
                             kHollow);
        }
    }
    drawNorthArrow(surface, f, em);
    drawScaleBar(surface, t, f, em);
    drawColourScale(surface, f, v, r, em);
}

std::vector<SurveyMapPainter::Square> SurveyMapPainter::squares(
    const SurveyMapGeometry::Transform& t, Value v, const PlanMapGeometry::Range& range,
    int size) const {
    // Readings without the value first, so that those with one stay on top.
    std::vector<Placed> placed;
    std::vector<Placed> withValue;
    placed.reserve(dots_.size());
    withValue.reserve(dots_.size());
    for (const Dot& d : dots_) {
        const float value = d.values[static_cast<std::size_t>(v)];
        const SurveyMapGeometry::DevicePoint p = t.toDevice(d.easting, d.northing);
        (std::isnan(value) ? placed : withValue)
            .push_back({SurveyMapGeometry::pixel(p.x) - size / 2,
                        SurveyMapGeometry::pixel(p.y) - size / 2, value});
    }
    placed.insert(placed.end(), withValue.begin(), withValue.end());
    const std::vector<bool> shows = showing(placed, size);
    std::vector<Square> out;
    for (std::size_t k = 0; k < placed.size(); ++k) {
        if (shows[k]) {
            const Placed& q = placed[k];
            out.push_back(
                {q.x, q.y,
                 std::isnan(q.value) ? kNoValueColour : PlanMapGeometry::colourOf(q.value, range)});
        }
    }
    return out;
}

void SurveyMapPainter::drawNorthArrow(DrawingSurface& s, const SurveyMapGeometry::Frame& f,
                                      int em) {
    const SurveyMapGeometry::NorthArrow a = SurveyMapGeometry::northArrow(f, em);
    s.segment(a.x, a.tailY, a.x, a.tipY);
    s.segment(a.x, a.tipY, a.x - em / 2, a.tipY + em);
    s.segment(a.x, a.tipY, a.x + em / 2, a.tipY + em);
    s.text(a.x - em / 3, a.tailY + em / 4, "N");
}

void SurveyMapPainter::drawScaleBar(DrawingSurface& s, const SurveyMapGeometry::Transform& t,
                                    const SurveyMapGeometry::Frame& f, int em) {
    const SurveyMapGeometry::ScaleBar bar =
        SurveyMapGeometry::scaleBar(t, std::max(em, (f.right - f.left) / 4));
    const int y = f.bottom + 2 * em;
    const int x0 = f.left;
    const int x1 = f.left + bar.pixels;
    s.segment(x0, y, x1, y);
    s.segment(x0, y - em / 2, x0, y);
    s.segment(x1, y - em / 2, x1, y);
    s.text(x1 + em / 2, y - em / 2 - em / 4, lengthText(bar.metres));
}

void SurveyMapPainter::drawColourScale(DrawingSurface& s, const SurveyMapGeometry::Frame& f,
                                       Value v, const PlanMapGeometry::Range& range, int em) {
    constexpr int kSteps = 32;
    const int x = f.right + 2 * em;
    const int top = f.top + 2 * em;
    const int height = std::max(kSteps, f.bottom - top - 2 * em);
    for (int k = 0; k < kSteps; ++k) {
        const int y0 = top + height * k / kSteps;
        const int y1 = top + height * (k + 1) / kSteps;
        const double at = 1.0 - (k + 0.5) / kSteps;
        s.fillRect(x, y0, em, y1 - y0, PlanMapGeometry::colourAt(at));
    }
    s.text(x, f.top, formatText("%s (nT)", valueName(v)));
    s.text(x + em + em / 2, top - em / 2, formatText("%.1f", range.hi));
    s.text(x + em + em / 2, top + height - em / 2, formatText("%.1f", range.lo));
}

int SurveyMapPainter::readingAt(int width, int height, int em, int x, int y) const {
    return readingAt(transform(width, height, em), x, y);
}

int SurveyMapPainter::readingAt(const SurveyMapGeometry::Transform& t, int x, int y) const {
    // The dot nearest on the picture, the first in order of equally near ones.
    std::size_t best = dots_.size();
    double bestDistance = kPickRadius * kPickRadius + 0.5;
    const double reach = (std::sqrt(bestDistance) + 1.0) / t.pixelsPerMetre();
    const SurveyMapGeometry::MetrePoint at = t.toMetres(x, y);
    buckets_.visit(at.easting - reach, at.northing - reach, at.easting + reach, at.northing + reach,
                   [&](int k) {
                       const Dot& d = dots_[static_cast<std::size_t>(k)];
                       const SurveyMapGeometry::DevicePoint p = t.toDevice(d.easting, d.northing);
                       const double distance = (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y);
                       const auto index = static_cast<std::size_t>(k);
                       if (distance < bestDistance || (distance == bestDistance && index < best)) {
                           bestDistance = distance;
                           best = index;
                       }
                   });
    return best < dots_.size() ? dots_[best].reading : -1;
}

std::vector<int> SurveyMapPainter::thinned(const SurveyMapGeometry::Transform& t, int cell) const {
    std::vector<int> kept;
    if (dots_.empty()) {
        return kept;
    }
    cell = std::max(1, cell);
    const SurveyMapGeometry::DevicePoint a = t.toDevice(bounds_.e0, bounds_.n1);
    const SurveyMapGeometry::DevicePoint b = t.toDevice(bounds_.e1, bounds_.n0);
    const double x0 = std::floor(a.x);
    const double y0 = std::floor(a.y);
    const double columns = std::floor((b.x - x0) / cell) + 1.0;
    const double rows = std::floor((b.y - y0) / cell) + 1.0;
    if (!(columns * rows <= static_cast<double>(kMostCoverPixels))) {
        kept.resize(dots_.size());
        std::iota(kept.begin(), kept.end(), 0);
        return kept;  // a picture that large is drawn dot by dot
    }
    const auto width = static_cast<std::size_t>(columns);
    std::vector<unsigned char> taken(width * static_cast<std::size_t>(rows), 0);
    for (std::size_t k = 0; k < dots_.size(); ++k) {
        const SurveyMapGeometry::DevicePoint p = t.toDevice(dots_[k].easting, dots_[k].northing);
        const auto c = static_cast<std::size_t>(std::clamp((p.x - x0) / cell, 0.0, columns - 1));
        const auto r = static_cast<std::size_t>(std::clamp((p.y - y0) / cell, 0.0, rows - 1));
        if (!std::exchange(taken[r * width + c], 1)) {
            kept.push_back(static_cast<int>(k));
        }
    }
    return kept;
}

}  // namespace velkor
