// The gridded layers.
#include "pictures/GridLayerPainter.h"

#include <algorithm>
#include <cmath>

#include "pictures/PlanMapGeometry.h"
#include "text/ShortNumber.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

constexpr std::uint32_t kOpaque = 0xff000000;
constexpr int kBarSteps = 64;
constexpr int kBarTicks = 6;
// Shade over colour: a level node keeps its colour, a lit slope brightens, a slope turned
// away darkens to a quarter.
constexpr double kAmbient = 0.25;

DrawingSurface::Image blankImage(const GridLattice& l) {
    DrawingSurface::Image image;
    image.width = l.nx;
    image.height = l.ny;
    image.pixels.assign(l.size(), 0u);
    return image;
}

// The pixel of node (i, j): rows of the image run south from the grid's northern edge.
std::size_t pixelOf(const GridLattice& l, int i, int j) {
    return static_cast<std::size_t>(l.ny - 1 - j) * l.nx + i;
}

std::uint32_t lit(std::uint32_t rgb, double factor) {
    std::uint32_t out = kOpaque;
    for (int shift = 16; shift >= 0; shift -= 8) {
        const double c = ((rgb >> shift) & 0xff) * factor;
        out |= static_cast<std::uint32_t>(std::clamp(std::lround(c), 0L, 255L)) << shift;
    }
    return out;
}

std::uint32_t grey(double light) {
    const auto g = static_cast<std::uint32_t>(std::clamp(std::lround(light * 255.0), 0L, 255L));
    return kOpaque | g << 16 | g << 8 | g;
}

// Device points of a line, leaving out those within a pixel of the last one kept.
std::vector<DrawingSurface::Point> devicePoints(const ContourLine& line,
                                                const SurveyMapGeometry::Transform& t) {
    std::vector<DrawingSurface::Point> out;
    out.reserve(line.points.size());
    for (std::size_t k = 0; k < line.points.size(); ++k) {
        const SurveyMapGeometry::DevicePoint d = t.toDevice(line.points[k].x, line.points[k].y);
        const DrawingSurface::Point p{static_cast<int>(std::lround(d.x)),
                                      static_cast<int>(std::lround(d.y))};
        const bool last = k + 1 == line.points.size();
        if (out.empty() || last ||
            std::abs(p.x - out.back().x) + std::abs(p.y - out.back().y) > 1) {
            out.push_back(p);
        }
    }
    return out;
}

// A level as labels show it; a level of nought is never "-0".
std::string levelText(double level) {
    return ShortNumber::sixDigits(ShortNumber::unsignedZero(level));
}

// Under the colour bar: how the values take the colours.
const char* footText(GridStretch::Kind kind) {
    switch (kind) {
        case GridStretch::Kind::Equalised:
            return "equalised";
        case GridStretch::Kind::Limits:
            return "clipped to limits";
        case GridStretch::Kind::Percentile:
            break;
    }
    return "clipped 2-98 %";
}

}  // namespace

GridLayerPainter::GridLayerPainter(const SurveyGridding::Result& result,
                                   const GridStretch::Choice& stretch, ShadedRelief::Light light)
    : result_(&result) {
    const Grid& grid = result.gridded.grid;
    const GridLattice& l = grid.lattice;
    if (l.empty() || grid.values.size() < l.size()) {
        return;
    }
    stretch_ = GridStretch::of(grid, stretch);
    const std::vector<float> shade = ShadedRelief::of(grid, light);
    const double level = std::sin(light.elevation * 3.14159265358979323846 / 180.0);
    colours_ = blankImage(l);
    shaded_ = blankImage(l);
    shade_ = blankImage(l);
    for (int j = 0; j < l.ny; ++j) {
        for (int i = 0; i < l.nx; ++i) {
            const double v = grid.at(i, j);
            if (Grid::isNoData(v)) {
                continue;
            }
            const std::size_t p = pixelOf(l, i, j);
            const std::uint32_t rgb = PlanMapGeometry::colourAt(stretch_.fraction(v));
            const double light = shade[static_cast<std::size_t>(j) * l.nx + i];
            colours_.pixels[p] = kOpaque | rgb;
            shaded_.pixels[p] =
                lit(rgb, level > 0.0 ? kAmbient + (1.0 - kAmbient) * light / level : 1.0);
            shade_.pixels[p] = grey(light);
        }
    }
}

SurveyMapGeometry::Bounds GridLayerPainter::bounds() const {
    if (result_ == nullptr || result_->gridded.grid.lattice.empty()) {
        return {0.0, 1.0, 0.0, 1.0};
    }
    const GridLattice& l = result_->gridded.grid.lattice;
    const double half = l.cell / 2.0;
    return {l.x0 - half, l.x(l.nx - 1) + half, l.y0 - half, l.y(l.ny - 1) + half};
}

const DrawingSurface::Image* GridLayerPainter::image(bool colours, bool shade) const {
    if (empty() || (!colours && !shade)) {
        return nullptr;
    }
    return colours ? (shade ? &shaded_ : &colours_) : &shade_;
}

void GridLayerPainter::drawImage(DrawingSurface& s, const SurveyMapGeometry::Transform& t,
                                 bool colours, bool shade) const {
    const DrawingSurface::Image* picture = image(colours, shade);
    if (picture == nullptr) {
        return;
    }
    const SurveyMapGeometry::Bounds b = bounds();
    const SurveyMapGeometry::DevicePoint topLeft = t.toDevice(b.e0, b.n1);
    const SurveyMapGeometry::DevicePoint bottomRight = t.toDevice(b.e1, b.n0);
    s.image(topLeft.x, topLeft.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y, *picture);
}

void GridLayerPainter::drawContours(DrawingSurface& s,
                                    const SurveyMapGeometry::Transform& t) const {
    if (result_ == nullptr) {
        return;
    }
    for (const ContourLine& line : result_->contours.lines) {
        std::vector<DrawingSurface::Point> points = devicePoints(line, t);
        s.polyline(points);
        if (line.index) {
            // A second line a pixel along: twice as heavy.
            for (DrawingSurface::Point& p : points) {
                ++p.x;
            }
            s.polyline(points);
        }
    }
}

void GridLayerPainter::drawContourLabels(DrawingSurface& s, const SurveyMapGeometry::Transform& t,
                                         int em) const {
    if (result_ == nullptr) {
        return;
    }
    const int labelEm = std::max(1, em * 5 / 6);
    s.setFont(labelEm);
    // Each label drawn, as a circle around its centre: turned any way, it stays inside.
    struct Drawn {
        double x, y, radius;
    };
    std::vector<Drawn> drawn;
    for (const ContourLabel& label : result_->contours.labels) {
        const SurveyMapGeometry::DevicePoint d = t.toDevice(label.at.x, label.at.y);
        const std::string text = levelText(label.level);
        const double radius = text.size() * labelEm * 0.3 + labelEm * 0.25;
        const bool covers = std::any_of(drawn.begin(), drawn.end(), [&](const Drawn& o) {
            return std::hypot(o.x - d.x, o.y - d.y) < o.radius + radius;
        });
        if (covers) {
            continue;
        }
        drawn.push_back({d.x, d.y, radius});
        s.turnedText(static_cast<int>(std::lround(d.x)), static_cast<int>(std::lround(d.y)),
                     label.angle, text, labelEm);
    }
    s.setFont(em);
}

std::vector<double> GridLayerPainter::barValues() const {
    std::vector<double> values;
    if (empty()) {
        return values;
    }
    if (stretch_.kind() == GridStretch::Kind::Equalised) {
        for (int k = kBarTicks - 2; k >= 0; --k) {
            values.push_back(stretch_.valueAt(static_cast<double>(k) / (kBarTicks - 2)));
        }
        return values;
    }
    values = PlanMapGeometry::ticks(stretch_.lo(), stretch_.hi(), kBarTicks);
    std::reverse(values.begin(), values.end());
    return values;
}

void GridLayerPainter::drawColourBar(DrawingSurface& s, const SurveyMapGeometry::Frame& f,
                                     const char* what, int em) const {
    if (empty()) {
        return;
    }
    const int x = f.right + 2 * em;
    const int top = f.top + 2 * em;
    const int height = std::max({kBarSteps, 10 * em, f.bottom - top - 3 * em});
    for (int k = 0; k < kBarSteps; ++k) {
        const int y0 = top + height * k / kBarSteps;
        const int y1 = top + height * (k + 1) / kBarSteps;
        s.fillRect(x, y0, em, y1 - y0, PlanMapGeometry::colourAt(1.0 - (k + 0.5) / kBarSteps));
    }
    // A transform names itself in its own unit, short enough for the bar's room; the title
    // block says what was gridded and the parameters.
    const SurveyGridding::Result& r = *result_;
    s.text(x, f.top,
           r.transform.empty() ? formatText("%s (nT)", what)
                               : formatText("%s (%s)", r.transform.c_str(), r.unit.c_str()));
    const bool equalised = stretch_.kind() == GridStretch::Kind::Equalised;
    // Derivatives run to fractions of their unit: three figures, not tenths.
    const char* equalisedFormat = r.unit == "nT" ? "%.1f" : "%.3g";
    for (const double v : barValues()) {
        const int y = top + static_cast<int>(std::lround(height * (1.0 - stretch_.fraction(v))));
        s.segment(x + em, y, x + em + em / 3, y);
        s.text(
            x + em + em / 2, y - em / 2,
            equalised ? formatText(equalisedFormat, ShortNumber::unsignedZero(v)) : levelText(v));
    }
    s.text(x, top + height + em, footText(stretch_.kind()));
}

}  // namespace velkor
