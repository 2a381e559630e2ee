#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "calculation/MonteCarlo.h"
#include "shared/Statistics.h"
#include "support/CalculationFixture.h"

namespace kal {
namespace {

using testing::CalculationFixture;
using testing::SyntheticRecipe;

SyntheticRecipe noisy(double noise = 0.05) {
    SyntheticRecipe recipe;
    recipe.points = 30;
    recipe.noise = noise;
    recipe.seed = 3;
    return recipe;
}

void monteCarlo(CalculationFixture& f, std::int32_t runs, double sigma) {
    f.job.MonteCarloRuns = runs;
    f.job.sigmaX = f.job.sigmaY = f.job.sigmaZ = sigma;
    f.panel().setMonteCarlo(true);
}

// The spread of the parameters over the runs estimates what the a-posteriori sigmas predict
// from one solution: s0·√Qxx(i,i) with the noise's σ standing in for s0. Two hundred runs give
// a standard deviation to about ±5 % (1/√(2·199)); the bound allows four of those.
TEST(MonteCarlo, ParameterSpreadAgreesWithTheAPosterioriSigmas) {
    const double sigma = 0.05;
    CalculationFixture f(noisy(sigma));
    monteCarlo(f, 200, sigma);
    programRandom().reseed();
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    EXPECT_TRUE(f.job.McCompleted);
    EXPECT_EQ(f.windows.detailsShown, 1);
    const int slots[] = {kTraX, kTraY, kTraZ, kRotX, kRotY, kRotZ};
    for (int c = 1; c <= 6; ++c) {
        const int slot = slots[c - 1];
        SCOPED_TRACE(slot);
        const double predicted = sigma * std::sqrt(f.results().CofactorMatrix(c, c));
        const double spread = standardDeviation(f.job.McRuns[static_cast<std::size_t>(slot)]);
        EXPECT_NEAR(spread / predicted, 1.0, 0.2);
    }
    // The final solution is the plain one on the undisturbed points.
    CalculationFixture plain(noisy(sigma));
    plain.calculate();
    EXPECT_DOUBLE_EQ(f.job.TraX(), plain.job.TraX());
    EXPECT_EQ(f.progressWindow.captions, std::vector<std::string>{"Calculating MonteCarlo"});
    EXPECT_EQ(f.progressWindow.closes, 1);
    ASSERT_EQ(f.progressWindow.values.size(), 200u);
    EXPECT_EQ(f.progressWindow.values.back(), 100);
}

TEST(MonteCarlo, AnErrorInRun50LeavesTheMcsPointsBitIdentical) {
    CalculationFixture f(noisy());
    monteCarlo(f, 200, 0.1);
    const JobState before = f.job;
    f.progressWindow.onValue = [](int percent) {
        if (percent == 25) throw std::runtime_error("injected in run 50");
    };
    EXPECT_EQ(f.calculate(), CalcStatus::Failed);
    EXPECT_EQ(f.job.MCS_X, before.MCS_X);
    EXPECT_EQ(f.job.MCS_Y, before.MCS_Y);
    EXPECT_EQ(f.job.MCS_Z, before.MCS_Z);
    EXPECT_EQ(f.job.Params, before.Params);
    EXPECT_EQ(f.job.McRuns, before.McRuns);
    EXPECT_EQ(f.job.McCompleted, before.McCompleted);
    EXPECT_EQ(f.progressWindow.closes, 1);
    EXPECT_FALSE(f.view.waitCursor);
    EXPECT_TRUE(f.view.calculateEnabled);
    EXPECT_EQ(f.windows.formThings, 0);
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{"injected in run 50"});
}

TEST(MonteCarlo, StopInRun3KeepsRuns1And2) {
    CalculationFixture f(noisy());
    monteCarlo(f, 100, 0.1);
    const JobState before = f.job;
    f.progressWindow.onValue = [&](int percent) {
        if (percent == 3) f.flow->requestStop();
    };
    EXPECT_EQ(f.calculate(), CalcStatus::Solved);  // the final solution runs on the restored points
    EXPECT_EQ(f.job.MCS_X, before.MCS_X);
    EXPECT_EQ(f.job.MCS_Z, before.MCS_Z);
    EXPECT_FALSE(f.job.McCompleted);
    EXPECT_FALSE(f.job.StopFlag);
    const auto& tx = f.job.McRuns[kTraX];
    ASSERT_EQ(tx.size(), 101u);
    EXPECT_NE(tx[1], 0.0);
    EXPECT_NE(tx[2], 0.0);
    for (std::size_t i = 3; i <= 100; ++i) EXPECT_EQ(tx[i], 0.0) << i;
    EXPECT_EQ(f.windows.detailsShown, 0);
    EXPECT_EQ(f.windows.formThings, 1);
}

TEST(MonteCarlo, ZeroNoiseGivesTheUndisturbedSolutionInEveryRun) {
    CalculationFixture f(noisy());
    monteCarlo(f, 5, 0.0);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    for (int slot : {kTraX, kRotY}) {
        const auto& runs = f.job.McRuns[static_cast<std::size_t>(slot)];
        for (std::size_t i = 1; i <= 5; ++i) EXPECT_EQ(runs[i], runs[1]) << slot << " " << i;
        EXPECT_EQ(standardDeviation(runs), 0.0);
    }
    EXPECT_EQ(f.job.McRuns[kScaleX], std::vector<double>(6, 0.0));  // not estimated
}

TEST(MonteCarlo, MakesAtLeastTwoRuns) {
    for (std::int32_t runs : {-5, 0, 1}) {
        SCOPED_TRACE(runs);
        CalculationFixture f(noisy());
        monteCarlo(f, runs, 0.1);
        ASSERT_EQ(f.calculate(), CalcStatus::Solved);
        EXPECT_TRUE(f.job.McCompleted);
        ASSERT_EQ(f.job.McRuns[kTraX].size(), 3u);
        EXPECT_GT(standardDeviation(f.job.McRuns[kTraX]), 0.0);  // the details window can show a sigma
    }
}

TEST(MonteCarlo, AnglesNearPiDoNotWrapBetweenRuns) {
    SyntheticRecipe recipe = noisy();
    recipe.truth.rot[0] = 3.14159;  // rot x close to +π: noise puts some runs beyond it
    recipe.truth.rot[1] = 0.0;
    recipe.truth.rot[2] = 0.0;
    CalculationFixture f(recipe);
    monteCarlo(f, 50, 0.5);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    EXPECT_LT(standardDeviation(f.job.McRuns[kRotX]), 0.01);
}

TEST(MonteCarlo, NoSeriesUnderL1AndMcCompletedStays) {
    CalculationFixture f(noisy());
    monteCarlo(f, 3, 0.1);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    ASSERT_TRUE(f.job.McCompleted);
    f.panel().setMonteCarlo(true);
    f.job.MonteCarloOn = true;  // the box is unticked by L1; the flag alone must not start a series
    f.panel().selectNorm(kNormL1);
    f.job.MonteCarloOn = true;
    const std::size_t progressBefore = f.progressWindow.captions.size();
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    EXPECT_EQ(f.progressWindow.captions.size(), progressBefore);
    EXPECT_TRUE(f.job.McCompleted);
    EXPECT_EQ(f.windows.detailsShown, 2);  // reopened with the last series' sigmas
}

TEST(MonteCarlo, RunsLeaveTheClipboardAndMessageBoxesAlone) {
    SyntheticRecipe recipe = noisy();
    CalculationFixture f(recipe);
    // Each OCS point 10 mm from its transformed MCS point, for the R Dist mode's correction log.
    for (std::int32_t k = 1; k <= recipe.points; ++k) {
        const double a = 0.7 * k, b = 0.3 * k;
        f.job.OCS_X.set(k, f.job.OCS_X[k] + 10 * std::cos(a) * std::cos(b));
        f.job.OCS_Y.set(k, f.job.OCS_Y[k] + 10 * std::sin(a) * std::cos(b));
        f.job.OCS_Z[static_cast<std::size_t>(k)] += 10 * std::sin(b);
    }
    f.panel().setEstimate(kRDist, true);
    monteCarlo(f, 20, 0.05);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved) << ::testing::PrintToString(f.prompter.texts());
    EXPECT_EQ(f.clipboard.writes(), 1);  // the final solve's log only
    EXPECT_NE(f.job.McRuns[kRDist][20], 0.0);
}

// Different noise per axis: with the rotation 0 and scale 1, an axis's MCS noise moves that axis's
// translation only, by σ_axis/√n per run; the spread of each translation over the runs shows the
// σ of its own axis (a swapped or shared σ is off by a factor of 2 or more).
TEST(MonteCarlo, EachAxisTakesItsOwnSigma) {
    SyntheticRecipe recipe = noisy(0.0);
    recipe.truth.rot[0] = recipe.truth.rot[1] = recipe.truth.rot[2] = 0.0;
    CalculationFixture f(recipe);
    monteCarlo(f, 200, 0.0);
    f.job.sigmaX = 0.2, f.job.sigmaY = 0.05, f.job.sigmaZ = 0.1;
    programRandom().reseed();
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    ASSERT_TRUE(f.job.McCompleted);
    const double sigmas[3] = {0.2, 0.05, 0.1};
    const int slots[3] = {kTraX, kTraY, kTraZ};
    for (int j = 0; j < 3; ++j) {
        SCOPED_TRACE(j);
        const double spread = standardDeviation(f.job.McRuns[static_cast<std::size_t>(slots[j])]);
        EXPECT_NEAR(spread / (sigmas[j] / std::sqrt(30.0)), 1.0, 0.25);
    }
    // Sigma xyz of a run: the three axes' noise together, √(0.2² + 0.05² + 0.1²) less what the
    // six parameters absorb.
    double mean = 0;
    for (std::int32_t i = 1; i <= 200; ++i)
        mean += f.job.McRuns[kParamCount + 1][static_cast<std::size_t>(i)] / 200;
    EXPECT_NEAR(mean, std::sqrt(0.04 + 0.0025 + 0.01), 0.05);
}

// Every run stores its sigma xyz; it takes all three axis sigmas: sx² = 2, sy² = 4, sz² = 9 give
// √15 (two points, one degree of freedom per axis).
TEST(MonteCarlo, SigmaXyzOfARunTakesAllThreeAxes) {
    CalculationFixture f;
    CalcResults r;
    r.ObservationCount = 6;
    r.UnknownCount = 1;
    r.Residuals.resize(6, 1);
    r.Weights.resize(6, 1);
    const double v[] = {1, 2, 0, 1, 0, 3};
    for (std::int32_t i = 1; i <= 6; ++i) r.Residuals(i, 1) = v[i - 1], r.Weights(i, 1) = 1.0;
    EngineContext engine;
    testing::RecordingView view;
    CalcSession session{f.job, f.panel(), r, engine, view, f.jobEvents};
    EXPECT_NEAR(sigmaXyzOf(session), std::sqrt(15.0), 1e-6);
    EXPECT_NEAR(f.job.SigmaXyz, std::sqrt(15.0), 1e-6);
    EXPECT_NEAR(r.Sz, 3.0, 1e-6);
}

}  // namespace
}  // namespace kal
