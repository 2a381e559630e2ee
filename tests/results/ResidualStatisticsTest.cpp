#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/TransformModel.h"
#include "results/ResidualStatistics.h"
#include "support/CalculationFixture.h"

namespace kal {
namespace {

// An adjustment with the given residuals and weights, x, y, z per point.
CalcResults adjustment(const std::vector<double>& v, const std::vector<double>& w) {
    CalcResults r;
    r.ObservationCount = static_cast<std::int32_t>(v.size());
    r.Residuals.resize(r.ObservationCount, 1);
    r.Weights.resize(r.ObservationCount, 1);
    for (std::int32_t i = 1; i <= r.ObservationCount; ++i) {
        r.Residuals(i, 1) = v[static_cast<std::size_t>(i - 1)];
        r.Weights(i, 1) = w[static_cast<std::size_t>(i - 1)];
    }
    return r;
}

TEST(ResidualStatistics, TieOnTheLargestResidualNamesTheLowerPoint) {
    PrevStats prev;
    const auto d = computeStatistics(
        adjustment({0.5, 0.1, 0.1, 0.5, 0.2, -0.3, -0.2, 0.3, -0.3}, std::vector<double>(9, 1.0)), prev);
    EXPECT_EQ(d.extremePoint[kExtMaxX], 1);
    EXPECT_DOUBLE_EQ(*d.value[kStatMaxX], 0.5);
    EXPECT_EQ(d.extremePoint[kExtMinZ], 2);  // -0.3 at points 2 and 3
    EXPECT_EQ(d.extremePoint[kExtMaxY], 3);
    EXPECT_DOUBLE_EQ(*d.value[kStatSpreadX], 0.7);
}

TEST(ResidualStatistics, UnusedXCountsForYAndZButNeverForTheLargestXyz) {
    PrevStats prev;
    // Point 1 has the largest residuals everywhere, but its x is not used.
    const auto d =
        computeStatistics(adjustment({9, 8, 7, 1, 1, 1, -1, -2, 0.5}, {0, 1, 1, 1, 1, 1, 1, 1, 1}), prev);
    EXPECT_DOUBLE_EQ(*d.value[kStatMaxX], 1);
    EXPECT_EQ(d.extremePoint[kExtMaxX], 2);
    EXPECT_EQ(d.extremePoint[kExtMaxY], 1);
    EXPECT_EQ(d.extremePoint[kExtMaxZ], 1);
    EXPECT_EQ(d.extremePoint[kExtMaxXyz], 3);  // |(-1, -2, 0.5)| > |(1, 1, 1)|
    EXPECT_NEAR(*d.value[kStatMaxXyz], std::sqrt(5.25), 1e-12);
}

TEST(ResidualStatistics, NoPointWithAllThreeComponentsLeavesTheXyzMaximumAbsent) {
    PrevStats prev;
    prev.value[kStatMaxXyz] = 4.0;
    const auto d = computeStatistics(adjustment({1, 2, 3, 4, 5, 6}, {0, 1, 1, 1, 0, 1}), prev);
    EXPECT_FALSE(d.value[kStatMaxXyz]);
    EXPECT_EQ(d.arrow[kStatMaxXyz], Arrow::None);
    EXPECT_EQ(d.extremePoint[kExtMaxXyz], 0);
    EXPECT_EQ(prev.value[kStatMaxXyz], 4.0);
}

// An axis with no used observation has no extremes: absent values, no arrows, the previous values
// kept for the next comparison (never the ±1e9 stand-ins).
TEST(ResidualStatistics, AxisWithoutUsedObservationIsAbsentAndKeepsItsPreviousValues) {
    PrevStats prev;
    prev.value[kStatMaxX] = 0.3, prev.value[kStatMinX] = -0.1;
    const auto d = computeStatistics(adjustment({1, 2, 3, 4, 5, 6}, {0, 1, 1, 0, 1, 1}), prev);
    for (int q : {kStatMaxX, kStatMinX, kStatSpreadX}) {
        EXPECT_FALSE(d.value[static_cast<std::size_t>(q)]) << q;
        EXPECT_EQ(d.arrow[static_cast<std::size_t>(q)], Arrow::None) << q;
    }
    EXPECT_EQ(d.extremePoint[kExtMaxX], 0);
    EXPECT_EQ(prev.value[kStatMaxX], 0.3);
    EXPECT_EQ(prev.value[kStatMinX], -0.1);
    EXPECT_EQ(prev.value[kStatMaxY], 5);
}

TEST(ResidualStatistics, FreshWindowShowsEveryArrowRedThenSmallerMagnitudesTurnGreen) {
    PrevStats prev;
    const std::vector<double> w(6, 1.0);
    const auto first = computeStatistics(adjustment({0.4, -0.2, 0.1, -0.4, 0.2, -0.1}, w), prev);
    for (int q = 0; q < kStatCount; ++q) {
        ASSERT_TRUE(first.value[static_cast<std::size_t>(q)]) << q;
        EXPECT_EQ(first.arrow[static_cast<std::size_t>(q)], Arrow::Red) << q;
    }
    // The same residuals again (a re-display): equal magnitudes stay red.
    const auto same = computeStatistics(adjustment({0.4, -0.2, 0.1, -0.4, 0.2, -0.1}, w), prev);
    for (int q = 0; q < kStatCount; ++q) EXPECT_EQ(same.arrow[static_cast<std::size_t>(q)], Arrow::Red) << q;
    // Half the residuals: every magnitude falls; the minima compare by magnitude.
    const auto better = computeStatistics(adjustment({0.2, -0.1, 0.05, -0.2, 0.1, -0.05}, w), prev);
    for (int q = 0; q < kStatCount; ++q)
        EXPECT_EQ(better.arrow[static_cast<std::size_t>(q)], Arrow::Green) << q;
}

TEST(ResidualStatistics, SigmasFollowTheWeightedResiduals) {
    PrevStats prev;
    const auto d = computeStatistics(adjustment({1, 0, 0, 1, 0, 0}, {1, 1, 1, 1, 1, 1}), prev);
    EXPECT_NEAR(d.S0, std::sqrt(2.0 / 5.0), 1e-9);
    EXPECT_NEAR(d.Sx, std::sqrt(2.0 / 1.0), 1e-8);
    EXPECT_NEAR(*d.value[kStatSigmaXyz], d.Sx, 1e-12);  // sy = sz = 0
}

// Sigma xyz takes every axis: with sx² = 2, sy² = 4 and sz² = 9 (two points, one degree of freedom per
// axis) it is √15, which no sum of two of them gives.
TEST(ResidualStatistics, SigmaXyzIsBuiltFromAllThreeAxisSigmas) {
    PrevStats prev;
    const auto d = computeStatistics(adjustment({1, 2, 0, 1, 0, 3}, std::vector<double>(6, 1.0)), prev);
    EXPECT_NEAR(d.Sx, std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(d.Sy, 2.0, 1e-6);
    EXPECT_NEAR(d.Sz, 3.0, 1e-6);
    EXPECT_NEAR(*d.value[kStatSigmaXyz], std::sqrt(15.0), 1e-6);
    EXPECT_NEAR(prev.value[kStatSigmaXyz], std::sqrt(15.0), 1e-6);
}

// In the R Dist mode each point is one distance observation: s0 is that of the distances, not of
// the x, y, z triples the calculation spreads them into for the extremes.
TEST(ResidualStatistics, RDistModeShowsTheSigmasOfTheDistanceObservations) {
    testing::SyntheticRecipe recipe;
    recipe.points = 8;
    recipe.noise = 0.05;
    testing::CalculationFixture f(recipe);
    for (std::int32_t k = 1; k <= 8; ++k) {
        const double a = 0.7 * k, b = 0.3 * k;
        f.job.OCS_X.set(k, f.job.OCS_X[k] + 10 * std::cos(a) * std::cos(b));
        f.job.OCS_Y.set(k, f.job.OCS_Y[k] + 10 * std::sin(a) * std::cos(b));
        f.job.OCS_Z[static_cast<std::size_t>(k)] += 10 * std::sin(b);
    }
    f.panel().setEstimate(kRDist, true);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    double sumSquares = 0;
    for (std::int32_t k = 1; k <= 8; ++k) {
        double t[3];
        transformPoint(f.job, f.job.MCS_X[k], f.job.MCS_Y[k], f.job.MCS_Z[static_cast<std::size_t>(k)], t[0],
                       t[1], t[2]);
        const double D = std::hypot(t[0] - f.job.OCS_X[k], t[1] - f.job.OCS_Y[k],
                                    t[2] - f.job.OCS_Z[static_cast<std::size_t>(k)]);
        sumSquares += (f.job.RDist() - D) * (f.job.RDist() - D);
    }
    PrevStats prev;
    const StatisticsDisplay d = computeStatistics(f.results(), prev);
    EXPECT_NEAR(d.S0, std::sqrt(sumSquares / 7.0), 1e-6 * d.S0);
    // The extremes come from the spread triples, the per-point deviations MCSt - OCS.
    EXPECT_NEAR(*d.value[kStatMaxX], f.results().Residuals(3 * d.extremePoint[kExtMaxX] - 2, 1), 1e-12);
}

}  // namespace
}  // namespace kal
