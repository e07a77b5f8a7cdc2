// A grid in the wavenumber domain: its values less their mean, bordered on every side by
// at least a tenth of its size tapered to nothing by a cosine (so that the edges meet
// when the spectrum wraps round), padded to lengths of factors 2, 3 and 5, transformed
// once, then filtered and brought back as often as wanted.
#pragma once

#include <complex>
#include <functional>
#include <vector>

namespace velkor {

class FourierGrid {
  public:
    // nx * ny values, row by row, none of them NaN; dx, dy the cell, metres.
    FourierGrid(const std::vector<double>& values, int nx, int ny, double dx, double dy);

    int paddedX() const { return px_; }
    int paddedY() const { return py_; }
    // Nodes of tapered border before the grid's first column and row.
    int borderX() const { return ox_; }
    int borderY() const { return oy_; }
    double mean() const { return mean_; }

    // The grid's values after the spectrum is multiplied by filter(kx, ky), wavenumbers in
    // radians per metre; the mean is not added back.
    std::vector<double> filtered(
        const std::function<std::complex<double>(double kx, double ky)>& filter) const;

    // The smallest length of at least n whose only factors are 2, 3 and 5.
    static int fastLength(int n);

  private:
    static double wavenumber(int i, int n, double cell);

    int nx_;
    int ny_;
    int px_;
    int py_;
    int ox_;
    int oy_;
    double dx_;
    double dy_;
    int half_;  // the columns kept, kx from 0 to its greatest
    double mean_ = 0.0;
    std::vector<std::complex<double>> spectrum_;  // py_ rows of half_
};

}  // namespace velkor
