// The IGRF-14 Gauss coefficients, compiled in from corrections/igrf14coeffs.txt at build time.
#pragma once

#include <array>

namespace velkor::gauss {

inline constexpr int kEpochCount = 26;  // 1900.0 to 2025.0, every five years
inline constexpr int kRowCount = 195;   // g and h of degrees 1 to 13

struct Row {
    char kind;  // 'g' or 'h'
    int n;
    int m;
    std::array<double, kEpochCount> values;  // nT at each epoch
    double sv;                               // nT a year after the last epoch
};

extern const std::array<double, kEpochCount> kEpochs;
extern const std::array<Row, kRowCount> kRows;  // in the file's order

}  // namespace velkor::gauss
