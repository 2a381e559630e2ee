#include "details/ChartRange.h"

#include <cmath>

namespace kal {

double chartAxisLimit(double m) {
    const double t = m * 1.3 / 0.01 * 0.01 / 0.02;
    const double a = std::floor(t) * 0.02 + 0.02;
    return (std::floor(a * 10) + 1) / 10;
}

std::optional<ChartRange> chartRangeOf(const std::vector<double>& values) {
    if (values.empty()) return std::nullopt;
    ChartRange r;
    for (double v : values) {
        if (!std::isfinite(v)) return std::nullopt;
        if (v > r.max) r.max = v;
        if (v < r.min) r.min = v;
    }
    r.halfRange = r.max;
    if (std::fabs(r.min) > r.halfRange) r.halfRange = std::fabs(r.min);
    r.limit = chartAxisLimit(r.halfRange);
    return r;
}

}  // namespace kal
