// The survey's grid transformed and contoured.
#include "survey/TransformedGridding.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "gridding/ContourLevels.h"
#include "gridding/Contours.h"
#include "survey/MainFieldDirection.h"
#include "text/TextFormat.h"
#include "transforms/GriddedTransform.h"

namespace velkor {
namespace {

using Kind = GridTransform::Kind;

std::string directionText(const GridTransform::Direction& d) {
    return formatText("inclination %.2f, declination %.2f", d.inclination, d.declination);
}

// The transformed grid with its contours; false and the refusal when the interval asked
// cannot contour it.
bool contoured(SurveyGridding::Result& r, double interval, std::string& message) {
    const Grid& grid = r.gridded.grid;
    r.interval = interval > 0.0 ? interval : ContourLevels::defaultInterval(grid);
    message = ContourLevels::refusal(grid, r.interval);
    if (!message.empty()) {
        return false;
    }
    if (r.interval > 0.0) {
        r.contours = Contours::trace(grid, ContourLevels::at(grid, r.interval));
    }
    return true;
}

}  // namespace

const char* TransformedGridding::title(Kind kind) {
    switch (kind) {
        case Kind::Rtp:
            return "reduction to the pole";
        case Kind::Continue:
            return "continuation";
        case Kind::Dx:
            return "derivative east";
        case Kind::Dy:
            return "derivative north";
        case Kind::Dz:
            return "vertical derivative";
        case Kind::Thg:
            return "total horizontal gradient";
        case Kind::Asig:
            return "analytic signal amplitude";
        case Kind::Tilt:
            return "tilt angle";
    }
    return "";
}

std::string TransformedGridding::parametersOf(const GridTransform::Parameters& p) {
    switch (p.kind) {
        case Kind::Rtp:
            return "field " + directionText(p.field) + "; magnetisation " +
                   (p.magnetisation ? directionText(*p.magnetisation)
                                    : std::string("the field's")) +
                   formatText("; amplitude limit %g degrees", p.rtpLimitInclination);
        case Kind::Continue:
            return formatText("%s by %g m", p.height < 0.0 ? "downward" : "upward",
                              std::abs(p.height));
        case Kind::Dz:
            return p.order == 2 ? "second order" : "first order";
        default:
            return std::string();
    }
}

std::string TransformedGridding::describe(const SurveyGridding::Result& t) {
    const std::optional<Kind> kind = GridTransform::kindNamed(t.transform);
    std::string text =
        formatText("Transform: %s (%s)", t.transform.c_str(), kind ? title(*kind) : "");
    return t.transformParameters.empty() ? text : text + ", " + t.transformParameters;
}

std::optional<TransformedGridding::Result> TransformedGridding::run(
    const Survey& survey, const SurveyGridding::Result& gridded, const Asked& asked,
    std::string& message) {
    GridTransform::Parameters p = asked.parameters;
    std::string source;
    if (p.kind == Kind::Rtp && !asked.fieldGiven) {
        const std::optional<MainFieldDirection::Result> igrf =
            MainFieldDirection::of(survey, message);
        if (!igrf) {
            return std::nullopt;
        }
        p.field = {igrf->inclination, igrf->declination};
        const std::string told = MainFieldDirection::describe(*igrf);
        source = " (" + told.substr(told.find("IGRF-14"));  // with its closing bracket
    }
    std::optional<GridTransform::Result> t = GriddedTransform::apply(gridded.gridded, p, message);
    if (!t) {
        return std::nullopt;
    }
    Result r;
    SurveyGridding::Result& g = r.gridding;
    g.what = gridded.what;
    g.gridded.report = gridded.gridded.report;
    g.gridded.basis = gridded.gridded.basis;
    g.gridded.grid = std::move(t->grid);
    g.transform = GridTransform::name(p.kind);
    g.transformParameters = parametersOf(p);
    // Where the direction came from follows it.
    g.transformParameters.insert(
        std::min(g.transformParameters.find(';'), g.transformParameters.size()), source);
    g.unit = t->unit;
    if (!contoured(g, asked.interval, message)) {
        return std::nullopt;
    }
    std::string said = describe(g);
    said[0] = 't';  // the tool's report lines begin in lower case
    r.report.push_back(said);
    const GridLattice& l = g.gridded.grid.lattice;
    r.report.push_back(formatText(
        "padded to %d x %d nodes, a cosine taper over %d nodes (%g m) beyond the west and east "
        "sides and %d (%g m) beyond the south and north",
        t->paddedX, t->paddedY, t->borderX, t->borderX * l.cell, t->borderY, t->borderY * l.cell));
    if (g.interval > 0.0) {
        r.report.push_back(formatText("contours: every %g %s, %zu lines", g.interval,
                                      g.unit.c_str(), g.contours.lines.size()));
    }
    if (!t->warning.empty()) {
        r.report.push_back("warning: " + t->warning);
    }
    return r;
}

}  // namespace velkor
