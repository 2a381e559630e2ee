#include <gtest/gtest.h>

#include <cmath>

#include "engine/Sigma.h"

namespace kal {
namespace {

TEST(CalculateSigma, UsesWeightSumsLessOneAsDenominators) {
    const std::int32_t n = 4, nObs = 3 * n;
    Matrix v(nObs, 1), P(nObs, 1);
    double vv = 0, qx = 0;
    for (std::int32_t k = 1; k <= nObs; ++k) {
        v(k, 1) = 0.1 * k - 0.5;
        P(k, 1) = 1;
        vv += v(k, 1) * v(k, 1);
        if (k % 3 == 1) qx += v(k, 1) * v(k, 1);
    }
    double s0, sx, sy, sz;
    calculateSigma(v, P, 6, nObs, s0, sx, sy, sz);
    EXPECT_DOUBLE_EQ(s0, std::sqrt(vv / (3 * n - 1 + 1e-9)));
    EXPECT_DOUBLE_EQ(sx, std::sqrt(qx / (n - 1 + 1e-9)));

    Matrix zero(nObs, 1);
    calculateSigma(v, zero, 6, nObs, s0, sx, sy, sz);
    EXPECT_EQ(s0, 0.0);
    EXPECT_EQ(sx, 0.0);
    EXPECT_EQ(sz, 0.0);

    Matrix v1(1, 1), p1(1, 1);
    v1(1, 1) = 2e-5, p1(1, 1) = 1;
    calculateSigma(v1, p1, 0, 1, s0, sx, sy, sz);
    EXPECT_DOUBLE_EQ(s0, std::sqrt(4e-10 / 1e-9));
}

TEST(CalculateSigmaDistanceRows, TakesTheDistanceRowsOnlyWithEachPointsZWeight) {
    // Three points: distance residuals in rows 1..3, other rows hold no observations.
    Matrix v(9, 1), P(9, 1);
    v(1, 1) = 0.3, v(2, 1) = -0.1, v(3, 1) = 0.2;
    for (std::int32_t k = 4; k <= 9; ++k) v(k, 1) = 1000;  // must not count
    for (std::int32_t k = 1; k <= 9; ++k) P(k, 1) = 1;
    P(4, 1) = P(5, 1) = P(6, 1) = 0;  // point 2 unused
    double s0, sx, sy, sz;
    calculateSigmaDistanceRows(v, P, 3, s0, sx, sy, sz);
    EXPECT_DOUBLE_EQ(s0, std::sqrt((0.09 + 0.04) / (2 - 1 + 1e-9)));
}

// Each point's x and z weights differ: its distance row weighs what its z row weighs, whatever its
// x and y rows weigh, in s0 and in the axis sigmas alike.
TEST(CalculateSigmaDistanceRows, WeighsEachPointByItsZWeightWhenItsXWeightDiffers) {
    // Four points: (x, y, z) weights (0, 1, 2), (1, 1, 0), (3, 0, 0.5), (1, 1, 1).
    const double w[4][3] = {{0, 1, 2}, {1, 1, 0}, {3, 0, 0.5}, {1, 1, 1}};
    const double d[4] = {0.3, -5.0, 0.2, -0.1};
    Matrix v(12, 1), P(12, 1);
    for (int k = 0; k < 4; ++k) {
        v(k + 1, 1) = d[k];
        for (int j = 0; j < 3; ++j) P(3 * k + 1 + j, 1) = w[k][j];
    }
    for (std::int32_t k = 5; k <= 12; ++k) v(k, 1) = 1000;  // no observations there
    double s0, sx, sy, sz;
    calculateSigmaDistanceRows(v, P, 4, s0, sx, sy, sz);
    const double eps = 1e-9;
    EXPECT_DOUBLE_EQ(s0, std::sqrt((2 * 0.09 + 0.5 * 0.04 + 0.01) / (2 + 0 + 0.5 + 1 - 1 + eps)));
    // The axis sigmas take the distance rows 1, 4, ... / 2, 5, ... / 3, 6, ...
    EXPECT_DOUBLE_EQ(sx, std::sqrt((2 * 0.09 + 1 * 0.01) / std::fabs(2 + 1 - 1 + eps)));
    EXPECT_DOUBLE_EQ(sy, std::sqrt(0.0 / std::fabs(0 - 1 + eps)));
    EXPECT_DOUBLE_EQ(sz, std::sqrt(0.5 * 0.04 / std::fabs(0.5 - 1 + eps)));
}

}  // namespace
}  // namespace kal
