#include "engine/Sigma.h"

#include <cmath>
#include <stdexcept>

#include "shared/Errors.h"

namespace kal {

namespace {

constexpr double kEps = 1e-10 * 10;

// The formulas over rows 1..rows, with v(i) and P(i) read through the accessors.
template <class V, class W>
void sigmaOver(std::int32_t rows, V vAt, W pAt, double& s0, double& sx, double& sy, double& sz) {
    double vPv = 0.0, sp = 0.0;
    for (std::int32_t i = 1; i <= rows; ++i) {
        const double vi = vAt(i), pi = pAt(i);
        const double vp = vi * pi;
        if (vp != 0.0 && vi != 0.0) vPv += vp * vi;
        sp += pi;
    }
    const double den = sp - 1.0 + kEps;
    s0 = den > 0.0 ? checkedFinite(std::sqrt(vPv / den), "s0") : 0.0;

    double q[3] = {0, 0, 0}, p[3] = {0, 0, 0};
    for (std::int32_t i = 1; i <= rows; i += 3)
        for (int a = 0; a < 3 && i + a <= rows; ++a) {
            const double vi = vAt(i + a), pi = pAt(i + a);
            q[a] += vi * vi * pi;
            p[a] += pi;
        }
    sx = checkedFinite(std::sqrt(q[0] / std::fabs(p[0] - 1.0 + kEps)), "sigma x");
    sy = checkedFinite(std::sqrt(q[1] / std::fabs(p[1] - 1.0 + kEps)), "sigma y");
    sz = checkedFinite(std::sqrt(q[2] / std::fabs(p[2] - 1.0 + kEps)), "sigma z");
}

}  // namespace

void calculateSigma(const Matrix& v, const Matrix& P, std::int32_t nU, std::int32_t nObs, double& s0,
                    double& sx, double& sy, double& sz) {
    if (v.rows() < nObs || P.rows() < nObs) throw std::out_of_range("CalcSigma: v or P shorter than nObs");
    sigmaOver(
        nObs, [&](std::int32_t i) { return v(i, 1); }, [&](std::int32_t i) { return P(i, 1); }, s0, sx, sy,
        sz);
}

void calculateSigmaDistanceRows(const Matrix& v, const Matrix& P, std::int32_t n, double& s0, double& sx,
                                double& sy, double& sz) {
    if (v.rows() < n || P.rows() < 3 * n) throw std::out_of_range("CalcSigmaDistanceRows: v or P too short");
    sigmaOver(
        n, [&](std::int32_t i) { return v(i, 1); }, [&](std::int32_t i) { return P(3 * i, 1); }, s0, sx, sy,
        sz);
}

}  // namespace kal
