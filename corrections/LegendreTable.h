// Schmidt semi-normalised associated Legendre functions of one colatitude, with their
// derivatives, as the spherical-harmonic field model needs them.
#pragma once

#include <vector>

namespace velkor {

class LegendreTable {
  public:
    // All functions of degree 0 to maxDegree at the colatitude whose cosine and sine
    // are given (the sine is never negative).
    LegendreTable(int maxDegree, double cosTheta, double sinTheta);

    int maxDegree() const { return maxDegree_; }
    // P(n, m), for 0 <= m <= n <= maxDegree.
    double p(int n, int m) const { return p_[index(n, m)]; }
    // dP(n, m) / d(colatitude).
    double dp(int n, int m) const { return dp_[index(n, m)]; }
    // P(n, m) / sin(colatitude) for m >= 1: finite at the poles, where the east
    // component of the field still depends on it.
    double pOverSin(int n, int m) const { return q_[index(n, m)]; }

  private:
    static std::size_t index(int n, int m) { return static_cast<std::size_t>(n * (n + 1) / 2 + m); }

    int maxDegree_;
    std::vector<double> p_;
    std::vector<double> dp_;
    std::vector<double> q_;
};

}  // namespace velkor
