// Padding, tapering and the two-dimensional FFT (KissFFT, rows then columns).
#include "transforms/GridSpectrum.h"

#include <kissfft/kissfft.hh>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace velkor {
namespace {

constexpr double kPi = 3.14159265358979323846;

using Complex = std::complex<double>;

// Every row, then every column, in place.
void transform2d(std::vector<Complex>& a, int px, int py, bool inverse) {
    const kissfft<double> rows(static_cast<std::size_t>(px), inverse);
    const kissfft<double> columns(static_cast<std::size_t>(py), inverse);
    std::vector<Complex> line(static_cast<std::size_t>(std::max(px, py)));
    for (int j = 0; j < py; ++j) {
        Complex* row = a.data() + static_cast<std::size_t>(j) * px;
        rows.transform(row, line.data());
        std::copy(line.begin(), line.begin() + px, row);
    }
    for (int i = 0; i < px; ++i) {
        columns.transform(a.data() + i, line.data(), 0, 1, static_cast<std::size_t>(px));
        for (int j = 0; j < py; ++j) {
            a[static_cast<std::size_t>(j) * px + i] = line[static_cast<std::size_t>(j)];
        }
    }
}

// 1 at the grid's edge, falling as a half cosine to 0 at the padding's outer edge.
double taper(int outside, int border) {
    return border <= 0 ? 0.0 : 0.5 * (1.0 + std::cos(kPi * outside / (border + 1.0)));
}

// How far an index of the padded grid lies outside the grid's [0, n).
int outsideBy(int index, int n) {
    return index < 0 ? -index : index >= n ? index - n + 1 : 0;
}

}  // namespace

int GridSpectrum::fastLength(int n) {
    for (int m = std::max(n, 1);; ++m) {
        int r = m;
        for (const int f : {2, 3, 5}) {
            while (r % f == 0) {
                r /= f;
            }
        }
        if (r == 1) {
            return m;
        }
    }
}

GridSpectrum::GridSpectrum(const std::vector<double>& values, int nx, int ny, double dx, double dy)
    : nx_(nx), ny_(ny), dx_(dx), dy_(dy) {
    px_ = fastLength(nx + 2 * static_cast<int>(std::ceil(0.1 * nx)));
    py_ = fastLength(ny + 2 * static_cast<int>(std::ceil(0.1 * ny)));
    ox_ = (px_ - nx) / 2;
    oy_ = (py_ - ny) / 2;
    mean_ = std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
    spectrum_.assign(static_cast<std::size_t>(px_) * py_, Complex());
    // The border repeats the nearest edge node, tapered towards the far side's border.
    for (int pj = 0; pj < py_; ++pj) {
        const int j = pj - oy_;
        const int cj = std::clamp(j, 0, ny - 1);
        const double wy = taper(outsideBy(j, ny), j < 0 ? oy_ : py_ - ny - oy_);
        for (int pi = 0; pi < px_; ++pi) {
            const int i = pi - ox_;
            const int ci = std::clamp(i, 0, nx - 1);
            const double wx = taper(outsideBy(i, nx), i < 0 ? ox_ : px_ - nx - ox_);
            const double v = values[static_cast<std::size_t>(cj) * nx + ci] - mean_;
            spectrum_[static_cast<std::size_t>(pj) * px_ + pi] = v * wx * wy;
        }
    }
    transform2d(spectrum_, px_, py_, false);
}

double GridSpectrum::wavenumber(int i, int n, double cell) {
    const int f = i <= n / 2 ? i : i - n;
    return 2.0 * kPi * f / (n * cell);
}

std::vector<double> GridSpectrum::filtered(
    const std::function<Complex(double kx, double ky)>& filter) const {
    std::vector<Complex> a(spectrum_.size());
    for (int j = 0; j < py_; ++j) {
        const double ky = wavenumber(j, py_, dy_);
        for (int i = 0; i < px_; ++i) {
            const auto k = static_cast<std::size_t>(j) * px_ + i;
            a[k] = spectrum_[k] * filter(wavenumber(i, px_, dx_), ky);
        }
    }
    transform2d(a, px_, py_, true);
    const double scale = 1.0 / (static_cast<double>(px_) * py_);
    std::vector<double> out(static_cast<std::size_t>(nx_) * ny_);
    for (int j = 0; j < ny_; ++j) {
        for (int i = 0; i < nx_; ++i) {
            out[static_cast<std::size_t>(j) * nx_ + i] =
                a[static_cast<std::size_t>(j + oy_) * px_ + i + ox_].real() * scale;
        }
    }
    return out;
}

}  // namespace velkor
