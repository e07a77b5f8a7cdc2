// Schmidt semi-normalised Legendre functions by the recursions in degree.
#include "corrections/LegendreTable.h"

#include <cmath>

namespace velkor {

LegendreTable::LegendreTable(int maxDegree, double c, double s)
    : maxDegree_(maxDegree),
      p_(index(maxDegree + 1, 0), 0.0),
      dp_(p_.size(), 0.0),
      q_(p_.size(), 0.0) {
    // Order m is built as Q = P / sin: each P(n, m) with m >= 1 holds sin^m, so Q keeps
    // its value at the poles, and P = sin * Q is exact there.
    double diagonal = 1.0;  // Q(m, m), or P(0, 0) for m = 0
    for (int m = 0; m <= maxDegree; ++m) {
        if (m >= 2) {
            diagonal *= std::sqrt((2.0 * m - 1.0) / (2.0 * m)) * s;
        }
        const double factor = m == 0 ? 1.0 : s;
        double q2 = 0.0;  // Q(n - 2, m)
        double d2 = 0.0;  // dP(n - 2, m)
        double q1 = diagonal;
        double d1 = m == 0 ? 0.0 : m * c * diagonal;  // d(k sin^m) = m cos (k sin^(m-1))
        for (int n = m; n <= maxDegree; ++n) {
            if (n > m) {
                const double a = std::sqrt(static_cast<double>(n * n - m * m));
                const double b = std::sqrt(static_cast<double>((n - 1) * (n - 1) - m * m));
                const double q = ((2.0 * n - 1.0) * c * q1 - b * q2) / a;
                const double d = ((2.0 * n - 1.0) * (c * d1 - s * factor * q1) - b * d2) / a;
                q2 = q1;
                d2 = d1;
                q1 = q;
                d1 = d;
            }
            p_[index(n, m)] = factor * q1;
            dp_[index(n, m)] = d1;
            q_[index(n, m)] = m == 0 ? 0.0 : q1;
        }
    }
}

}  // namespace velkor
