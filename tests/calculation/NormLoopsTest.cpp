#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "calculation/NormLoops.h"
#include "engine/TransformModel.h"
#include "support/CalculationFixture.h"

namespace kal {
namespace {

using testing::CalculationFixture;
using testing::SyntheticRecipe;

// The largest |v| over the used observations.
double largestResidual(CalculationFixture& f) {
    double m = 0;
    for (std::int32_t i = 1; i <= f.results().ObservationCount; ++i)
        m = std::max(m, std::fabs(f.residual(i)));
    return m;
}

SyntheticRecipe withOutliers() {
    SyntheticRecipe recipe;
    recipe.points = 20;
    recipe.noise = 0.0;
    recipe.outliers = {7, 13, 18};
    recipe.outlierSize = 40.0;
    return recipe;
}

TEST(RunL1Loop, LeavesTheOutliersWithLargeResidualsAndFitsTheRest) {
    CalculationFixture l2(withOutliers());
    ASSERT_EQ(l2.calculate(), CalcStatus::Solved);

    CalculationFixture f(withOutliers());
    f.panel().selectNorm(kNormL1);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    EXPECT_TRUE(f.prompter.texts().empty());  // converged within the bound
    const auto& outliers = withOutliers().outliers;
    for (std::int32_t k = 1; k <= 20; ++k) {
        const bool outlier = std::find(outliers.begin(), outliers.end(), k) != outliers.end();
        for (std::int32_t r = 3 * k - 2; r <= 3 * k; ++r) {
            if (outlier)
                EXPECT_GT(std::fabs(f.residual(r)), 35.0) << k;
            else
                EXPECT_LT(std::fabs(f.residual(r)), 0.01) << k;
        }
    }
    const testing::KnownTransform t;
    EXPECT_NEAR(f.job.TraX(), t.tra[0], 0.01);
    EXPECT_NEAR(f.job.RotZ(), t.rot[2], 1e-5);
    // L2 spreads the outliers over every point.
    EXPECT_GT(std::fabs(l2.residual(1)) + std::fabs(l2.residual(2)) + std::fabs(l2.residual(3)), 0.1);
    // The weights left are the reweighted ones: large on the fitted points, small on the outliers.
    EXPECT_GT(f.results().Weights(1, 1), 1e3);
    EXPECT_LT(f.results().Weights(3 * 7 - 2, 1), 0.1);
    EXPECT_EQ(f.progress.panels[6].rfind("L1 Iterationen: ", 0), 0u);
}

TEST(RunL1Loop, SwitchedOffObservationsStayOff) {
    CalculationFixture f(withOutliers());
    f.job.UseFlags[4] = 0;
    f.panel().selectNorm(kNormL1);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    EXPECT_EQ(f.results().Weights(4, 1), 0.0);
}

TEST(RunL1Loop, StopsAtItsBoundWithAMessage) {
    CalculationFixture f(withOutliers());
    f.flow->setLoopCap(2);
    f.panel().selectNorm(kNormL1);
    EXPECT_EQ(f.calculate(), CalcStatus::Solved);
    ASSERT_EQ(f.prompter.texts().size(), 1u);
    EXPECT_NE(f.prompter.texts()[0].find("did not converge within 2 steps"), std::string::npos);
    EXPECT_EQ(f.progress.panels[6], "L1 Iterationen: 2");
}

TEST(RunL1Loop, StopEndsTheLoopAfterTheCurrentStep) {
    CalculationFixture f(withOutliers());
    f.panel().selectNorm(kNormL1);
    f.progress.onPanel = [&](int panel, const std::string& text) {
        if (panel == 6 && text == "L1 Iterationen: 3") f.flow->requestStop();
    };
    EXPECT_EQ(f.calculate(), CalcStatus::Stopped);
    EXPECT_EQ(f.progress.panels[6], "L1 Iterationen: 3");
    EXPECT_FALSE(f.job.StopFlag);        // cleared for the next calculation
    EXPECT_EQ(f.windows.formThings, 1);  // a stopped calculation still shows its results
}

TEST(RunMinimaxLoop, GivesASmallerLargestResidualThanL2) {
    SyntheticRecipe recipe;
    recipe.points = 12;
    recipe.noise = 0.2;
    recipe.seed = 5;
    CalculationFixture l2(recipe);
    ASSERT_EQ(l2.calculate(), CalcStatus::Solved);
    CalculationFixture f(recipe);
    f.panel().selectNorm(kNormMinimax);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    EXPECT_LT(largestResidual(f), largestResidual(l2));
    EXPECT_EQ(f.progress.panels[6].rfind("Loo Iterat.: ", 0), 0u);
}

// On small cases the minimax residuals equioscillate: with only tra x, y, z estimated each axis
// is a one-unknown problem whose best offset is the midrange of its misclosures, so the least
// largest residual is half the widest range, reached with both signs on that axis. The loop
// moves weights by factors of 1.1 and stops at the first step that overshoots, so it gets
// there up to that granularity (within a few percent on most cases).
TEST(RunMinimaxLoop, EquioscillatesOnSmallCases) {
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        SyntheticRecipe recipe;
        recipe.points = 5;
        recipe.noise = 1.0;
        recipe.seed = seed;
        recipe.truth.rot[0] = recipe.truth.rot[1] = recipe.truth.rot[2] = 0.0;
        auto translationsOnly = [](CalculationFixture& f) {
            for (int s : {kRotX, kRotY, kRotZ}) {
                f.panel().setEstimate(s, false);
                f.panel().setValueText(s, "0");
            }
        };
        CalculationFixture l2(recipe);
        translationsOnly(l2);
        ASSERT_EQ(l2.calculate(), CalcStatus::Solved);
        CalculationFixture f(recipe);
        translationsOnly(f);
        f.panel().selectNorm(kNormMinimax);
        ASSERT_EQ(f.calculate(), CalcStatus::Solved);

        double best = 0;
        int wideAxis = 0;
        for (int axis = 0; axis < 3; ++axis) {
            double lo = 1e9, hi = -1e9;
            for (std::int32_t k = 1; k <= 5; ++k) {
                const auto z = static_cast<std::size_t>(k);
                const double m = axis == 0   ? f.job.OCS_X[k] - f.job.MCS_X[k]
                                 : axis == 1 ? f.job.OCS_Y[k] - f.job.MCS_Y[k]
                                             : f.job.OCS_Z[z] - f.job.MCS_Z[z];
                lo = std::min(lo, m);
                hi = std::max(hi, m);
            }
            if ((hi - lo) / 2 > best) {
                best = (hi - lo) / 2;
                wideAxis = axis;
            }
        }
        EXPECT_LE(largestResidual(f), largestResidual(l2));
        EXPECT_LE(largestResidual(f), 1.15 * best);
        double vmax = -1e9, vmin = 1e9;
        for (std::int32_t k = 1; k <= 5; ++k) {
            vmax = std::max(vmax, f.residual(3 * k - 2 + wideAxis));
            vmin = std::min(vmin, f.residual(3 * k - 2 + wideAxis));
        }
        EXPECT_GT(vmax, 0.8 * best);
        EXPECT_LT(vmin, -0.8 * best);
    }
}

TEST(RunMinimaxLoop, GoesBackToThePreviousWeightsWhenTheLargestResidualGrows) {
    CalculationFixture f(withOutliers());
    f.panel().selectNorm(kNormMinimax);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    // Undone reweightings: every weight is a power of 1.1 away from its use flag, the
    // observations switched off stay 0.
    for (std::int32_t i = 1; i <= f.results().ObservationCount; ++i) {
        const double w = f.results().Weights(i, 1);
        ASSERT_GT(w, 0.0);
        const double steps = std::log(w) / std::log(1.1);
        EXPECT_NEAR(steps, std::round(steps), 1e-6) << i;
    }
}

TEST(RunMinimaxLoop, StopsAtItsBoundWithAMessage) {
    SyntheticRecipe recipe;
    recipe.points = 12;
    recipe.noise = 0.2;
    CalculationFixture f(recipe);
    f.flow->setLoopCap(1);
    f.panel().selectNorm(kNormMinimax);
    EXPECT_EQ(f.calculate(), CalcStatus::Solved);
    ASSERT_EQ(f.prompter.texts().size(), 1u);
    EXPECT_NE(f.prompter.texts()[0].find("minimax iteration did not converge within 1 steps"),
              std::string::npos);
}

// R Dist data: each OCS point at 10 mm plus `extra[k]` from its transformed MCS point, in a direction
// of its own. The loops then weigh points by their distance rows.
CalculationFixture& onDistances(CalculationFixture& f, const std::vector<double>& extra) {
    const testing::KnownTransform t;
    for (std::int32_t k = 1; k <= f.job.IdenticalCount; ++k) {
        const double a = 0.7 * k, b = 0.3 * k, r = 10.0 + extra[static_cast<std::size_t>(k)];
        const double in[3] = {f.job.MCS_X[k], f.job.MCS_Y[k], f.job.MCS_Z[static_cast<std::size_t>(k)]};
        double o[3];
        testing::applyKnown(t, in, o);
        f.job.OCS_X.set(k, o[0] + r * std::cos(a) * std::cos(b));
        f.job.OCS_Y.set(k, o[1] + r * std::sin(a) * std::cos(b));
        f.job.OCS_Z[static_cast<std::size_t>(k)] = o[2] + r * std::sin(b);
    }
    f.panel().setEstimate(kRDist, true);
    return f;
}

// The largest residual triple: each has about the length of its point's distance residual.
double largestDistanceResidual(CalculationFixture& f) {
    double m = 0;
    for (std::int32_t k = 1; k <= f.job.IdenticalCount; ++k)
        m = std::max(m, std::hypot(f.residual(3 * k - 2), f.residual(3 * k - 1), f.residual(3 * k)));
    return m;
}

TEST(RunL1Loop, InTheRDistModeLeavesTheOutlyingDistancesAndFitsTheRest) {
    SyntheticRecipe recipe;
    recipe.points = 20;
    std::vector<double> extra(21, 0.0);
    for (std::int32_t k : {4, 11, 17}) extra[static_cast<std::size_t>(k)] = 4.0;
    CalculationFixture l2(recipe);
    onDistances(l2, extra);
    ASSERT_EQ(l2.calculate(), CalcStatus::Solved) << ::testing::PrintToString(l2.prompter.texts());
    CalculationFixture f(recipe);
    onDistances(f, extra);
    f.panel().selectNorm(kNormL1);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved) << ::testing::PrintToString(f.prompter.texts());
    EXPECT_NEAR(f.job.RDist(), 10.0, 1e-3);
    EXPECT_GT(std::fabs(l2.job.RDist() - 10.0), 0.1);  // L2 spreads the outliers
    for (std::int32_t k = 1; k <= 20; ++k) {
        const double d = std::hypot(f.residual(3 * k - 2), f.residual(3 * k - 1), f.residual(3 * k));
        // An outlier's residual triple: its distance residual -4 along t - o, scaled by D / (R Dist + d).
        if (extra[static_cast<std::size_t>(k)] != 0.0)
            EXPECT_NEAR(d, 4.0 * 14.0 / 6.0, 0.01) << k;
        else
            EXPECT_LT(d, 1e-3) << k;
    }
    // The weights were reweighted per point: all three rows of a point alike.
    for (std::int32_t k = 1; k <= 20; ++k) {
        EXPECT_EQ(f.results().Weights(3 * k - 2, 1), f.results().Weights(3 * k, 1)) << k;
        EXPECT_EQ(f.results().Weights(3 * k - 1, 1), f.results().Weights(3 * k, 1)) << k;
    }
    EXPECT_LT(f.results().Weights(3 * 4, 1), f.results().Weights(3 * 5, 1));
}

TEST(RunMinimaxLoop, InTheRDistModeGivesASmallerLargestDistanceResidualThanL2) {
    SyntheticRecipe recipe;
    recipe.points = 12;
    std::vector<double> extra(13, 0.0);
    for (std::int32_t k = 1; k <= 12; ++k)
        extra[static_cast<std::size_t>(k)] = 0.3 * std::sin(2.3 * k) + 0.1 * (k % 3);
    CalculationFixture l2(recipe);
    onDistances(l2, extra);
    ASSERT_EQ(l2.calculate(), CalcStatus::Solved) << ::testing::PrintToString(l2.prompter.texts());
    CalculationFixture f(recipe);
    onDistances(f, extra);
    f.panel().selectNorm(kNormMinimax);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved) << ::testing::PrintToString(f.prompter.texts());
    const double l2Largest = largestDistanceResidual(l2), mmLargest = largestDistanceResidual(f);
    EXPECT_GT(l2Largest, 0.05);
    EXPECT_LT(mmLargest, 0.98 * l2Largest);
    EXPECT_EQ(f.progress.panels[6].rfind("Loo Iterat.: ", 0), 0u);
}

// The first L1 step solves with the use flags as weights, so it is the L2 solution: its distance
// residuals R Dist − D(k), worked out from that solution's geometry, give the weights 1 / |R − D(k)|
// on all three rows of point k, and the step's sum, each row counting its point's residual once and
// the total divided by three, is Σ |R − D(k)|: each point counts once. Point 2, whose distance row
// (its z flag) is left out, takes no part and keeps weight 0 on all three rows.
TEST(RunL1Loop, InTheRDistModeWeighsEachPointByItsDistanceResidualAndCountsItsMeanOverThreeRows) {
    SyntheticRecipe recipe;
    recipe.points = 12;
    std::vector<double> extra(13, 0.0);
    for (std::int32_t k = 1; k <= 12; ++k)
        extra[static_cast<std::size_t>(k)] = 0.4 * std::sin(1.7 * k) + 0.05 * k;
    CalculationFixture l2(recipe);
    onDistances(l2, extra);
    l2.job.UseFlags[6] = 0;  // point 2, z: its distance row
    ASSERT_EQ(l2.calculate(), CalcStatus::Solved) << ::testing::PrintToString(l2.prompter.texts());
    std::vector<double> residual(13, 0.0);
    double expectedSum = 0;
    for (std::int32_t k = 1; k <= 12; ++k) {
        const auto K = static_cast<std::size_t>(k);
        double t[3];
        transformPoint(l2.job, l2.job.MCS_X[k], l2.job.MCS_Y[k], l2.job.MCS_Z[K], t[0], t[1], t[2]);
        const double D = std::hypot(t[0] - l2.job.OCS_X[k], t[1] - l2.job.OCS_Y[k], t[2] - l2.job.OCS_Z[K]);
        residual[K] = l2.job.RDist() - D;
        if (k != 2) expectedSum += std::fabs(residual[K]);
    }
    ASSERT_GT(expectedSum, 0.1);

    CalculationFixture f(recipe);
    onDistances(f, extra);
    f.job.UseFlags[6] = 0;
    f.flow->setLoopCap(1);
    f.panel().selectNorm(kNormL1);
    std::vector<std::string> sums;
    f.progress.onPanel = [&](int panel, const std::string& text) {
        if (panel == 7) sums.push_back(text);
    };
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    for (std::int32_t k = 1; k <= 12; ++k) {
        SCOPED_TRACE(k);
        const double weight = 1.0 / std::fabs(residual[static_cast<std::size_t>(k)]);
        for (std::int32_t row = 3 * k - 2; row <= 3 * k; ++row) {
            if (k == 2)
                EXPECT_EQ(f.results().Weights(row, 1), 0.0);
            else
                EXPECT_NEAR(f.results().Weights(row, 1), weight, 1e-6 * weight) << row;
        }
    }
    // The first step's change from the start value 10^12.
    ASSERT_FALSE(sums.empty());
    ASSERT_EQ(sums.front().rfind("d[v]: ", 0), 0u) << sums.front();
    EXPECT_NEAR(1e12 - std::stod(sums.front().substr(6)), expectedSum, 2e-3);
}

}  // namespace
}  // namespace kal
