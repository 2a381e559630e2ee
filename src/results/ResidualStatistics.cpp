#include "results/ResidualStatistics.h"

#include <cmath>

#include "engine/Sigma.h"

namespace kal {

bool hasAdjustment(const CalcResults& r) {
    const std::int32_t n = r.ObservationCount;
    return n > 0 && r.Residuals.rows() >= n && r.Weights.rows() >= n && r.Residuals.cols() >= 1 &&
           r.Weights.cols() >= 1;
}

namespace {

// Largest and smallest used residual of one axis, strict comparisons (the first point wins).
struct AxisExtremes {
    std::optional<double> max, min;
    std::int32_t maxPoint = 0, minPoint = 0;

    void take(double v, std::int32_t point) {
        if (!max || v > *max) max = v, maxPoint = point;
        if (!min || v < *min) min = v, minPoint = point;
    }
};

}  // namespace

StatisticsDisplay computeStatistics(const CalcResults& r, PrevStats& prev) {
    StatisticsDisplay d;
    if (r.SigmasOfDistanceRows)
        d.S0 = r.S0, d.Sx = r.Sx, d.Sy = r.Sy, d.Sz = r.Sz;
    else if (r.DistanceRowCount > 0)
        calculateSigmaDistanceRows(r.Residuals, r.Weights, r.DistanceRowCount, d.S0, d.Sx, d.Sy, d.Sz);
    else
        calculateSigma(r.Residuals, r.Weights, r.UnknownCount, r.ObservationCount, d.S0, d.Sx, d.Sy, d.Sz);

    auto show = [&](int q, double value) {
        d.value[static_cast<std::size_t>(q)] = value;
        d.arrow[static_cast<std::size_t>(q)] = compareArrow(value, prev.value[static_cast<std::size_t>(q)]);
    };
    const double sigmaXyz = std::sqrt(d.Sx * d.Sx + d.Sy * d.Sy + d.Sz * d.Sz);
    show(kStatSigmaXyz, sigmaXyz);
    show(kStatS0, d.S0);
    show(kStatSx, d.Sx);
    show(kStatSy, d.Sy);
    show(kStatSz, d.Sz);
    for (int q : {kStatSigmaXyz, kStatS0, kStatSx, kStatSy, kStatSz})
        prev.value[static_cast<std::size_t>(q)] = *d.value[static_cast<std::size_t>(q)];

    std::array<AxisExtremes, 3> axis;
    std::optional<double> maxXyz;
    std::int32_t maxXyzPoint = 0;
    const std::int32_t n = r.ObservationCount / 3;
    for (std::int32_t p = 1; p <= n; ++p) {
        bool all = true;
        double sum = 0;
        for (int a = 0; a < 3; ++a) {
            const std::int32_t row = 3 * p - 2 + a;
            const double v = r.Residuals(row, 1);
            if (r.Weights(row, 1) > 0)
                axis[static_cast<std::size_t>(a)].take(v, p);
            else
                all = false;
            sum += v * v;
        }
        if (!all) continue;
        const double length = std::sqrt(sum);
        if (!maxXyz || length > *maxXyz) maxXyz = length, maxXyzPoint = p;
    }

    if (maxXyz) {
        show(kStatMaxXyz, *maxXyz);
        prev.value[kStatMaxXyz] = *maxXyz;
        d.extremePoint[kExtMaxXyz] = maxXyzPoint;
    }
    for (int a = 0; a < 3; ++a) {
        const AxisExtremes& e = axis[static_cast<std::size_t>(a)];
        if (!e.max) continue;
        show(kStatMaxX + 2 * a, *e.max);
        show(kStatMinX + 2 * a, *e.min);
        d.extremePoint[static_cast<std::size_t>(kExtMaxX + 2 * a)] = e.maxPoint;
        d.extremePoint[static_cast<std::size_t>(kExtMinX + 2 * a)] = e.minPoint;
    }
    // The spreads compare with the previous max and min, so these are replaced only now.
    for (int a = 0; a < 3; ++a) {
        const AxisExtremes& e = axis[static_cast<std::size_t>(a)];
        if (!e.max) continue;
        const auto maxAt = static_cast<std::size_t>(kStatMaxX + 2 * a);
        const auto minAt = maxAt + 1;
        show(kStatSpreadX + a, *e.max - *e.min);
        d.arrow[static_cast<std::size_t>(kStatSpreadX + a)] =
            compareArrow(*e.max - *e.min, prev.value[maxAt] - prev.value[minAt]);
    }
    for (int a = 0; a < 3; ++a) {
        const AxisExtremes& e = axis[static_cast<std::size_t>(a)];
        if (!e.max) continue;
        prev.value[static_cast<std::size_t>(kStatMaxX + 2 * a)] = *e.max;
        prev.value[static_cast<std::size_t>(kStatMinX + 2 * a)] = *e.min;
    }
    return d;
}

}  // namespace kal
