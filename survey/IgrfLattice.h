// IGRF-14 over the patch of a projected coordinate system a day's readings cover: the
// field worked out at the nodes of a lattice and bilinear in between, so that a survey
// of many thousand readings needs the model at a few dozen places. Where the
// interpolated value could round to another single-precision value than the model's
// own, the lattice gives nothing and the model is asked at the reading itself, so every
// value is the one the model gives there.
#pragma once

#include <optional>
#include <vector>

#include "corrections/GeomagneticModel.h"
#include "geo/CoordinateSystem.h"

namespace velkor {

class IgrfLattice {
  public:
    static constexpr double kStep = 100.0;  // m between nodes

    // The lattice over eastings e0..e1 and northings n0..n1 at this height; nothing when
    // it would have more than most nodes or the model fails at one of them.
    static std::optional<IgrfLattice> build(const GeomagneticModel::AtYear& model,
                                            const CoordinateSystem& crs, double height, double e0,
                                            double e1, double n0, double n1, long most);

    // The model's total field at (e, n) as a single-precision value, when the lattice
    // settles it; nothing outside the lattice or too near a rounding step.
    std::optional<float> totalField(double easting, double northing) const;

  private:
    IgrfLattice(double e0, double n0, int columns, int rows, std::vector<double> f);
    double node(int column, int row) const;

    double e0_;
    double n0_;
    int columns_;
    int rows_;
    std::vector<double> f_;  // row by row, from (e0, n0)
    double slack_ = 0.0;     // nT: the most interpolation can be off
};

}  // namespace velkor
