// Plan map of a data set.
#include "pictures/PlanMap.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "corrections/CorrectedValue.h"
#include "data/DataSet.h"
#include "gridding/Extent.h"
#include "text/NumberText.h"
#include "text/TextFormat.h"

namespace velkor {
namespace {

// A reading whose Field text holds no number is left out whatever colours the map: it
// was never measured, and read as 0 nT it would swamp the colour scale.
std::optional<double> valueOf(const DataSet& data, int i, PlanMap::By by) {
    const std::optional<double> field = readDecimalNumber(data.field(i, Column::Field));
    if (!field) {
        return std::nullopt;
    }
    switch (by) {
        case PlanMap::By::Field:
            return field;
        case PlanMap::By::Corrected: {
            const std::optional<float> v = CorrectedValue::of(data, i);
            return v ? std::optional<double>(*v) : std::nullopt;
        }
        case PlanMap::By::Gradient:
            return data.mode(i) == 'G' ? readDecimalNumber(data.field(i, Column::Grad))
                                       : std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

PlanMap PlanMap::build(const DataSet& data, By by) {
    std::vector<PlanMapGeometry::Point> points;
    for (int i = 1; i < data.lineCount(); ++i) {
        if (data.mode(i) == 'A' || data.mode(i) == '\0') {
            continue;
        }
        const std::optional<double> v = valueOf(data, i, by);
        if (v) {
            points.push_back({i, readDecimal(data.field(i, Column::Pos)),
                              readDecimal(data.field(i, Column::Line)), *v});
        }
    }
    PlanMap map;
    map.by_ = by;
    map.cells_ = PlanMapGeometry::cells(points);
    std::vector<double> values;
    values.reserve(points.size());
    for (const PlanMapGeometry::Point& p : points) {
        values.push_back(p.value);
        map.wholeLines_ = map.wholeLines_ && p.line == std::floor(p.line);
        map.wholePositions_ = map.wholePositions_ && p.pos == std::floor(p.pos);
    }
    map.range_ = PlanMapGeometry::clipRange(values);
    map.colours_.reserve(map.cells_.size());
    for (const PlanMapGeometry::Cell& c : map.cells_) {
        map.colours_.push_back(PlanMapGeometry::colourOf(c.value, map.range_));
    }
    return map;
}

PlanMap::Bounds PlanMap::bounds() const {
    if (cells_.empty()) {
        return {0.0, 1.0, 0.0, 1.0};
    }
    Extent e;
    for (const PlanMapGeometry::Cell& c : cells_) {
        e.add(c.x0, c.y0);
        e.add(c.x1, c.y1);
    }
    return {e.x0, e.x1, e.y0, e.y1};
}

int PlanMap::cellAt(double x, double y) const {
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        const PlanMapGeometry::Cell& c = cells_[i];
        if (x >= c.x0 && x < c.x1 && y >= c.y0 && y < c.y1) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string PlanMap::describe(const DataSet& data, int i) {
    const auto number = [&](Column c) { return readDecimal(data.field(i, c)); };
    // A text without a number shows as "-", as a value that is not there.
    const auto decimal = [&](Column c, const char* unit) {
        const std::optional<double> v = readDecimalNumber(data.field(i, c));
        return v ? formatText("%.1f", *v) + unit : std::string("-");
    };
    std::string out = formatText("Reading %d   Line %g   Position %g   Field ", i,
                                 number(Column::Line), number(Column::Pos));
    out += decimal(Column::Field, " nT");
    out += "   Gradient " + (data.mode(i) == 'G' ? decimal(Column::Grad, "") : std::string("-"));
    if (CorrectedValue::available(data)) {
        const std::optional<float> v = CorrectedValue::of(data, i);
        out += v ? formatText("   Corrected %.1f nT", static_cast<double>(*v))
                 : std::string("   Corrected -");
    }
    return out;
}

}  // namespace velkor
