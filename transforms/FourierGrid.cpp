// Padding, tapering and the two-dimensional FFT (KissFFT). The grid is real, so only the
// half of its spectrum with kx >= 0 is kept (the rest mirrors it), and two real rows go
// through one complex FFT as its real and imaginary parts.
#include "transforms/FourierGrid.h"

#include <kissfft/kissfft.hh>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace velkor {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kColumns = 8;  // columns gathered at once into lines that lie together

using Complex = std::complex<double>;

// 1 at the grid's edge, falling as a half cosine to 0 at the padding's outer edge.
double taper(int outside, int border) {
    return border <= 0 ? 0.0 : 0.5 * (1.0 + std::cos(kPi * outside / (border + 1.0)));
}

// How far an index of the padded grid lies outside the grid's [0, n).
int outsideBy(int index, int n) {
    return index < 0 ? -index : index >= n ? index - n + 1 : 0;
}

std::vector<double> weights(int n, int before, int padded) {
    std::vector<double> w(static_cast<std::size_t>(padded));
    for (int p = 0; p < padded; ++p) {
        const int i = p - before;
        w[static_cast<std::size_t>(p)] =
            taper(outsideBy(i, n), i < 0 ? before : padded - n - before);
    }
    return w;
}

// Every column of a matrix of rows of the given width, in place.
void transformColumns(std::vector<Complex>& a, int width, int height, bool inverse) {
    const kissfft<double> fft(static_cast<std::size_t>(height), inverse);
    const auto n = static_cast<std::size_t>(height);
    std::vector<Complex> in(n * kColumns);
    std::vector<Complex> out(n);
    for (int i0 = 0; i0 < width; i0 += kColumns) {
        const int count = std::min(kColumns, width - i0);
        for (std::size_t j = 0; j < n; ++j) {
            const Complex* row = a.data() + j * static_cast<std::size_t>(width) + i0;
            for (int c = 0; c < count; ++c) {
                in[static_cast<std::size_t>(c) * n + j] = row[c];
            }
        }
        for (int c = 0; c < count; ++c) {
            Complex* column = in.data() + static_cast<std::size_t>(c) * n;
            fft.transform(column, out.data());
            std::copy(out.begin(), out.end(), column);
        }
        for (std::size_t j = 0; j < n; ++j) {
            Complex* row = a.data() + j * static_cast<std::size_t>(width) + i0;
            for (int c = 0; c < count; ++c) {
                row[c] = in[static_cast<std::size_t>(c) * n + j];
            }
        }
    }
}

}  // namespace

int FourierGrid::fastLength(int n) {
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

FourierGrid::FourierGrid(const std::vector<double>& values, int nx, int ny, double dx, double dy)
    : nx_(nx), ny_(ny), dx_(dx), dy_(dy) {
    px_ = fastLength(nx + 2 * static_cast<int>(std::ceil(0.1 * nx)));
    py_ = fastLength(ny + 2 * static_cast<int>(std::ceil(0.1 * ny)));
    ox_ = (px_ - nx) / 2;
    oy_ = (py_ - ny) / 2;
    half_ = px_ / 2 + 1;
    mean_ = std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
    const std::vector<double> wx = weights(nx, ox_, px_);
    const std::vector<double> wy = weights(ny, oy_, py_);
    // Padded row pj: the nearest grid row, its ends repeated, tapered both ways.
    const auto paddedRow = [&](int pj, std::vector<double>& out) {
        const double* row =
            values.data() + static_cast<std::size_t>(std::clamp(pj - oy_, 0, ny - 1)) * nx;
        for (int pi = 0; pi < px_; ++pi) {
            out[static_cast<std::size_t>(pi)] = (row[std::clamp(pi - ox_, 0, nx - 1)] - mean_) *
                                                wx[static_cast<std::size_t>(pi)] *
                                                wy[static_cast<std::size_t>(pj)];
        }
    };
    const kissfft<double> fft(static_cast<std::size_t>(px_), false);
    spectrum_.assign(static_cast<std::size_t>(half_) * py_, Complex());
    std::vector<double> first(static_cast<std::size_t>(px_));
    std::vector<double> second(static_cast<std::size_t>(px_), 0.0);
    std::vector<Complex> in(static_cast<std::size_t>(px_));
    std::vector<Complex> out(static_cast<std::size_t>(px_));
    for (int pj = 0; pj < py_; pj += 2) {
        paddedRow(pj, first);
        if (pj + 1 < py_) {
            paddedRow(pj + 1, second);
        } else {
            std::fill(second.begin(), second.end(), 0.0);
        }
        for (std::size_t k = 0; k < in.size(); ++k) {
            in[k] = Complex(first[k], second[k]);
        }
        fft.transform(in.data(), out.data());
        // Z = X + iY with X, Y the two rows' spectra: X[k] = (Z[k] + conj Z[-k]) / 2,
        // Y[k] = (Z[k] - conj Z[-k]) / 2i.
        for (int k = 0; k < half_; ++k) {
            const Complex z = out[static_cast<std::size_t>(k)];
            const Complex mirror = std::conj(out[static_cast<std::size_t>((px_ - k) % px_)]);
            spectrum_[static_cast<std::size_t>(pj) * half_ + k] = (z + mirror) * 0.5;
            if (pj + 1 < py_) {
                spectrum_[static_cast<std::size_t>(pj + 1) * half_ + k] =
                    (z - mirror) * Complex(0.0, -0.5);
            }
        }
    }
    transformColumns(spectrum_, half_, py_, false);
}

double FourierGrid::wavenumber(int i, int n, double cell) {
    const int f = i <= n / 2 ? i : i - n;
    return 2.0 * kPi * f / (n * cell);
}

std::vector<double> FourierGrid::filtered(
    const std::function<Complex(double kx, double ky)>& filter) const {
    std::vector<Complex> a(spectrum_.size());
    for (int j = 0; j < py_; ++j) {
        const double ky = wavenumber(j, py_, dy_);
        for (int i = 0; i < half_; ++i) {
            const auto k = static_cast<std::size_t>(j) * half_ + i;
            a[k] = spectrum_[k] * filter(wavenumber(i, px_, dx_), ky);
        }
    }
    transformColumns(a, half_, py_, true);
    // The grid's rows back, two at a time: the full spectrum of each from its half
    // (X[-k] = conj X[k]), then X + iY inverted at once gives X's row as the real part and
    // Y's as the imaginary part.
    const kissfft<double> fft(static_cast<std::size_t>(px_), true);
    const double scale = 1.0 / (static_cast<double>(px_) * py_);
    std::vector<Complex> in(static_cast<std::size_t>(px_));
    std::vector<Complex> out(static_cast<std::size_t>(px_));
    std::vector<double> grid(static_cast<std::size_t>(nx_) * ny_);
    for (int j = 0; j < ny_; j += 2) {
        const Complex* x = a.data() + static_cast<std::size_t>(j + oy_) * half_;
        const Complex* y = j + 1 < ny_ ? x + half_ : nullptr;
        for (int k = 0; k < px_; ++k) {
            const bool mirrored = k >= half_;
            const auto at = static_cast<std::size_t>(mirrored ? px_ - k : k);
            const Complex xk = mirrored ? std::conj(x[at]) : x[at];
            const Complex yk = y == nullptr ? Complex() : mirrored ? std::conj(y[at]) : y[at];
            in[static_cast<std::size_t>(k)] = xk + Complex(0.0, 1.0) * yk;
        }
        fft.transform(in.data(), out.data());
        for (int i = 0; i < nx_; ++i) {
            const Complex v = out[static_cast<std::size_t>(i + ox_)] * scale;
            grid[static_cast<std::size_t>(j) * nx_ + i] = v.real();
            if (y != nullptr) {
                grid[static_cast<std::size_t>(j + 1) * nx_ + i] = v.imag();
            }
        }
    }
    return grid;
}

}  // namespace velkor
