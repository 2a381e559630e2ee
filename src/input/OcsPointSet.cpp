#include "input/OcsPointSet.h"

#include <algorithm>
#include <cmath>

#include "shared/Rotations.h"

namespace kal {

void OcsPointSet::add(std::string name, double x, double y, double z, double a, double b, double c) {
    points.add(std::move(name), x, y, z);
    abc_.push_back(a), abc_.push_back(b), abc_.push_back(c);
}

void OcsPointSet::finish(bool withRanges) {
    const std::int32_t n = points.count();
    angles.resize(n, 3);
    for (std::int32_t i = 1; i <= n; ++i)
        for (int k = 1; k <= 3; ++k) angles(i, k) = abc_[static_cast<std::size_t>(3 * (i - 1) + k - 1)];
    abc_.clear();
    abc_.shrink_to_fit();
    if (!withRanges) return;
    double range[4] = {0, 0, 0, 0};
    for (int k = 1; k <= 3; ++k) {
        double hi = -1e10, lo = 1e10;
        for (std::int32_t i = 1; i <= n; ++i)
            hi = std::max(hi, angles(i, k)), lo = std::min(lo, angles(i, k));
        range[k] = hi - lo;
    }
    ranges = AbcRanges{range[1], range[2], range[3]};
}

std::optional<Abc> abcFromQuaternion(double q1, double q2, double q3, double q4) {
    // Scaled by the largest component first, so that no square overflows or underflows.
    const double m = std::max({std::abs(q1), std::abs(q2), std::abs(q3), std::abs(q4)});
    if (!std::isfinite(m) || m == 0.0) return std::nullopt;
    q1 /= m, q2 /= m, q3 /= m, q4 /= m;
    const double norm = std::sqrt(q1 * q1 + q2 * q2 + q3 * q3 + q4 * q4);
    double a1 = 0, a2 = 0, a3 = 0;
    anglesFromQuaternion(q1 / norm, q2 / norm, q3 / norm, q4 / norm, a1, a2, a3);
    return Abc{-a3, -a2, -a1};
}

}  // namespace kal
