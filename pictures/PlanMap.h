// The readings of a data set placed as a plan map: one cell per reading with its
// colour, worked out once per change of the data set and shared by every picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pictures/PlanMapGeometry.h"

namespace velkor {

class DataSet;

class PlanMap {
  public:
    // What colours a cell: the measured field, the corrected value (readings without
    // one are left out) or the gradient ('G' readings only).
    enum class By { Field, Corrected, Gradient };
    using Bounds = PlanMapGeometry::Rect;

    PlanMap() = default;
    // Every reading but the base-station ('A') ones, at its position and line.
    static PlanMap build(const DataSet& data, By by);

    bool empty() const { return cells_.empty(); }
    By by() const { return by_; }
    const std::vector<PlanMapGeometry::Cell>& cells() const { return cells_; }
    // The colour of cells()[i] as 0xRRGGBB.
    const std::vector<std::uint32_t>& colours() const { return colours_; }
    const PlanMapGeometry::Range& range() const { return range_; }
    // True when every line (or position) number is whole: no tick falls between them.
    bool wholeLines() const { return wholeLines_; }
    bool wholePositions() const { return wholePositions_; }
    // The smallest rectangle holding every cell.
    Bounds bounds() const;
    // The index of the cell under the plan point (x, y), or -1.
    int cellAt(double x, double y) const;
    // What the status bar says of data line i: its number, line, position, field,
    // gradient and, once a correction is done, its corrected value.
    static std::string describe(const DataSet& data, int i);

  private:
    By by_ = By::Field;
    std::vector<PlanMapGeometry::Cell> cells_;
    std::vector<std::uint32_t> colours_;
    PlanMapGeometry::Range range_{0.0, 1.0};
    bool wholeLines_ = true;
    bool wholePositions_ = true;
};

}  // namespace velkor
