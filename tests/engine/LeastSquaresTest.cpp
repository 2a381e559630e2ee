#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/CalcRefused.h"
#include "engine/DesignMatrix.h"
#include "engine/LeastSquares.h"
#include "engine/SolverHarness.h"
#include "engine/SyntheticJob.h"
#include "platform/Regional.h"
#include "shared/Errors.h"
#include "shared/NumberText.h"

namespace kal {
namespace {

using testing::makeJob;
using testing::SolverHarness;
using testing::statesWith;

std::array<double, kParamCount + 1> truth() {
    auto p = testing::identityParams();
    p[kTraX] = 10, p[kTraY] = 20, p[kTraZ] = 30;
    p[kRotX] = 0.1, p[kRotY] = 0.2, p[kRotZ] = -0.3;
    return p;
}

// Data that the model cannot fit exactly.
void addNoise(JobState& job, double sigma) {
    std::mt19937_64 rng(9);
    std::normal_distribution<double> g(0, sigma);
    for (std::int32_t i = 1; i <= job.IdenticalCount; ++i) {
        job.OCS_X.set(i, job.OCS_X[i] + g(rng));
        job.OCS_Y.set(i, job.OCS_Y[i] + g(rng));
        job.OCS_Z[i] += g(rng);
    }
}

const ParamStates kSixParameters = statesWith({1, 2, 3, 4, 5, 6});

TEST(SolveLeastSquares, ProgressTextsKeepTheirWordingAndOrder) {
    JobState job = makeJob(10, truth());
    SolverHarness h;
    const HelmertOutcome out = h.solve(job, kSixParameters);
    ASSERT_EQ(out.H3D_Zaehler, 2);
    EXPECT_EQ(h.progress.panel(1), (std::vector<std::string>{"Iteration  0", "Iteration  1"}));
    const std::vector<std::string> oneIteration = {"... calculating Matrix for LeastSquare calc...",
                                                   "... start of Least Square calc...",
                                                   "calculating A transposed...",
                                                   "calculating At * P... ",
                                                   "calculating At * P * A... ",
                                                   "doing Matrix inversion...",
                                                   "calculating At * P * l... ",
                                                   "calculating Resultsvector... ",
                                                   "calculating corrections... "};
    std::vector<std::string> twoIterations = oneIteration;
    twoIterations.insert(twoIterations.end(), oneIteration.begin(), oneIteration.end());
    EXPECT_EQ(h.progress.panel(2), twoIterations);
    // Panels 3 to 5 from the second iteration on.
    ASSERT_EQ(h.progress.panel(3).size(), 1u);
    EXPECT_EQ(h.progress.panel(3)[0].rfind("Convergence Ratio: ", 0), 0u);
    EXPECT_EQ(h.progress.panel(4)[0].rfind("on VarNumber: ", 0), 0u);
    EXPECT_EQ(h.progress.panel(5)[0].rfind("delta x(i): ", 0), 0u);
    EXPECT_GT(h.progress.repaints, 0);
}

TEST(SolveLeastSquares, ProgressPanelsShowThePreviousLargestCorrectionAgainstTheCurrentOne) {
    // The R Dist log holds every iteration's corrections. From the second iteration on, panel 3
    // shows pm / (thr + x(p)), p being the first index of the previous iteration's largest
    // correction and pm its size, x(p) the current signed correction there; panel 4 shows p and
    // panel 5 the current largest correction.
    JobState job = makeJob(12, truth());
    testing::onSpheres(job, 3.0);
    job.RawScale = 1;
    SolverHarness h;
    h.ctx.controls.CheckRDist = 1;
    const HelmertOutcome out = h.solve(job, statesWith({1, 2, 3, 4, 5, 6, kRDist}));
    ASSERT_GE(out.H3D_Zaehler, 3);
    std::vector<std::vector<double>> x;
    ASSERT_TRUE(out.correctionLog.has_value());
    std::istringstream log(*out.correctionLog);
    for (std::string line; std::getline(log, line);) {
        std::istringstream fields(line);
        std::vector<double> row{0.0};
        for (std::string f; std::getline(fields, f, '\t');)
            if (f != "\r") row.push_back(std::stod(f));
        x.push_back(row);
    }
    ASSERT_EQ(static_cast<std::int32_t>(x.size()), out.H3D_Zaehler);
    std::vector<std::string> ratio, var, delta;
    std::size_t p = 0;
    double pm = 0.0;
    for (std::size_t it = 0; it < x.size(); ++it) {
        std::size_t j = 0;
        double m = 0.0;
        for (std::size_t i = 1; i < x[it].size(); ++i)
            if (std::fabs(x[it][i]) > m) m = std::fabs(x[it][i]), j = i;
        if (p == 0) p = 1;
        if (it > 0) {
            ratio.push_back("Convergence Ratio: " + formatNumber(pm / (1e-9 + x[it][p]), job.LengthFormat));
            var.push_back("on VarNumber: " + std::to_string(p));
            delta.push_back("delta x(i): " + generalText(m));
        }
        pm = m, p = j;
    }
    EXPECT_EQ(h.progress.panel(3), ratio);
    EXPECT_EQ(h.progress.panel(4), var);
    EXPECT_EQ(h.progress.panel(5), delta);
}

EngineWarning iterationLimit(const std::string& text) {
    return EngineWarning{EngineWarning::Kind::IterationLimit, text, ""};
}

TEST(SolveLeastSquares, IterationLimitWarningNamesTheLimitAfterOneMoreIteration) {
    JobState job = makeJob(10, truth());
    addNoise(job, 0.01);
    job.IterationThreshold = -1;  // never met
    SolverHarness h;
    const HelmertOutcome out = h.solve(job, kSixParameters);
    EXPECT_EQ(out.H3D_Zaehler, 101);
    EXPECT_TRUE(out.limitReached);
    EXPECT_EQ(out.warnings, std::vector<EngineWarning>{iterationLimit(
                                "Calculation stopped after 100 Iterations, Convergence not reached yet!")});
    EXPECT_TRUE(h.prompter.texts().empty());  // the caller shows it

    job.MaxIteration = 0;
    SolverHarness h0;
    const HelmertOutcome out0 = h0.solve(job, kSixParameters);
    EXPECT_EQ(out0.H3D_Zaehler, 1);
    EXPECT_EQ(out0.warnings, std::vector<EngineWarning>{iterationLimit(
                                 "Calculation stopped after 0 Iterations, Convergence not reached yet!")});
    EXPECT_TRUE(h0.prompter.texts().empty());
}

TEST(SolveLeastSquares, NoLimitMessageWhenTheLastIterationConverged) {
    JobState job = makeJob(10, truth());
    job.MaxIteration = 1;  // the second iteration passes the limit and meets the threshold
    SolverHarness h;
    const HelmertOutcome out = h.solve(job, kSixParameters);
    EXPECT_EQ(out.H3D_Zaehler, 2);
    EXPECT_TRUE(out.converged);
    EXPECT_TRUE(out.warnings.empty());
    EXPECT_TRUE(h.prompter.texts().empty());
}

TEST(SolveLeastSquares, StopEndsTheLoopAfterTheCurrentIterationWithoutMessage) {
    JobState job = makeJob(10, truth());
    addNoise(job, 0.01);
    job.IterationThreshold = -1;
    SolverHarness h;
    h.events.onEvents([&job](int) { job.StopFlag = true; });
    const HelmertOutcome out = h.solve(job, kSixParameters);
    EXPECT_EQ(out.H3D_Zaehler, 1);
    EXPECT_TRUE(out.stopped);
    EXPECT_TRUE(out.warnings.empty());
    EXPECT_TRUE(h.prompter.texts().empty());
}

TEST(AngleUnitWarning, ComesWithUseAbcInAnotherUnitUntilCancelled) {
    JobState job = makeJob(6, truth());
    job.UseAbcMode = true;
    job.AngleUnitName = "rad";
    const EngineWarning warning{
        EngineWarning::Kind::AngleUnits,
        "Unit of Angels in Nominal InputFile must be the SAME as in your program Settings\r\n"
        "Be sure [actual ProgramSetting is rad] is the unit of Angles in Nominal File!\r\n\r\n"
        "Cancel = Don't show this Dialog again ",
        "Attention Angle UNITs"};
    EXPECT_EQ(AngleUnitWarning(job), warning);
    job.WinkelWarnungGezeigt = true;  // the user answered Cancel
    EXPECT_EQ(AngleUnitWarning(job), std::nullopt);

    JobState degree = makeJob(6, truth());
    degree.UseAbcMode = true;
    EXPECT_EQ(AngleUnitWarning(degree), std::nullopt);
    JobState noAbc = makeJob(6, truth());
    noAbc.AngleUnitName = "rad";
    EXPECT_EQ(AngleUnitWarning(noAbc), std::nullopt);
}

TEST(SolveLeastSquares, ShowsNoBoxAndLeavesTheAngleWarningFlagToTheCaller) {
    JobState job = makeJob(6, truth());
    job.UseAbcMode = true;
    job.AngleUnitName = "rad";
    job.OcsAngles.resize(6, 3);
    SolverHarness h;
    h.ctx.controls.TextRDistEnabled = false;
    const HelmertOutcome out = h.solve(job, kSixParameters);
    EXPECT_TRUE(out.warnings.empty());
    EXPECT_TRUE(h.prompter.texts().empty());
    EXPECT_FALSE(job.WinkelWarnungGezeigt);
}

TEST(SolveLeastSquares, CollinearPointsWithAllRotationsEndInAMessageNotInNumbers) {
    JobState job = makeJob(8, truth());
    for (std::int32_t i = 1; i <= 8; ++i) {  // points on a line through (5, -3, 2) along (1, 2, -0.5)
        const double t = 37.0 * i;
        job.MCS_X.set(i, 5 + t), job.MCS_Y.set(i, -3 + 2 * t), job.MCS_Z[i] = 2 - 0.5 * t;
        job.OCS_X.set(i, 10 + 0.9 * t), job.OCS_Y.set(i, 20 + 2.1 * t), job.OCS_Z[i] = 30 - 0.4 * t;
    }
    job.RotX() = 0.01, job.RotXSeed = 0.02;
    const auto paramsBefore = job.Params;
    SolverHarness h;
    h.size(job, kSixParameters);
    h.results.Residuals(5, 1) = 42;
    try {
        solveLeastSquares(job, h.results, kSixParameters, h.ctx);
        FAIL() << "no error";
    } catch (const NumericError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("cannot determine"), std::string::npos) << what;
        EXPECT_NE(what.find("parameters are as they were"), std::string::npos) << what;
    }
    EXPECT_EQ(job.Params, paramsBefore);
    EXPECT_EQ(job.RotXSeed, 0.02);
    EXPECT_EQ(h.results.Residuals(5, 1), 42);
}

TEST(SolveLeastSquares, RDistPointOnItsPartnerStopsWithTheParametersAsBefore) {
    JobState job = makeJob(6, testing::identityParams());  // every point on its OCS point
    const auto paramsBefore = job.Params;
    SolverHarness h;
    h.ctx.controls.CheckRDist = 1;
    job.RawScale = 1;
    EXPECT_THROW(h.solve(job, statesWith({1, 2, 3, kRDist})), NumericError);
    EXPECT_EQ(job.Params, paramsBefore);
    EXPECT_EQ(h.clipboard.writes(), 0);
}

// Coordinates that would overflow are refused before the solve (the hardening tests); a held scale
// of 1e300 still overflows inside it.
TEST(SolveLeastSquares, OverflowStopsWithTheParametersAsBefore) {
    JobState job = makeJob(6, truth());
    const auto paramsBefore = job.Params;
    SolverHarness h;
    EXPECT_THROW(h.solve(job, statesWith({1, 2, 3, 4, 5, 6}, {{kScaleX, "1e300"}})), NumericError);
    EXPECT_EQ(job.Params, paramsBefore);
}

TEST(SolveLeastSquares, AnUnknownWithoutObservationsIsNoFailure) {
    // Azimuth z estimated while z to xy is held at 0: its column is zero.
    JobState job = makeJob(10, truth());
    SolverHarness h;
    const HelmertOutcome out = h.solve(job, statesWith({1, 2, 3, 4, 5, 6, kAzimuth}));
    EXPECT_TRUE(out.converged);
    EXPECT_EQ(job.Azimuth(), 0.1 / 180 * 3.14159265358979);
    EXPECT_EQ(h.results.CofactorMatrix(7, 7), 1e12);
    EXPECT_NEAR(job.TraX(), 10, 1e-9);
}

TEST(SolveLeastSquares, NothingEstimatedRunsOneIterationWithResidualsMinusMisclosures) {
    JobState job = makeJob(4, truth());
    const ParamStates held = statesWith({}, {{kTraX, "10"}, {kTraY, "20"}, {kTraZ, "31"}});
    SolverHarness h;
    const HelmertOutcome out = h.solve(job, held);
    EXPECT_EQ(out.H3D_Zaehler, 1);
    Matrix A(12, 0), l(12, 1);
    buildDesignMatrix(job, h.ctx.controls, held, A, l);
    for (std::int32_t k = 1; k <= 12; ++k) EXPECT_EQ(h.results.Residuals(k, 1), -l(k, 1));
}

TEST(SolveLeastSquares, RDistWeightsEndAsEachPointsZWeightAndTheOutcomeCarriesTheLog) {
    JobState job = makeJob(12, truth());
    testing::onSpheres(job, 3.0);
    job.UseFlags[3 * 2 - 2] = 1, job.UseFlags[3 * 2 - 1] = 1, job.UseFlags[3 * 2] = 0;  // point 2: (1, 1, 0)
    job.RawScale = 1;
    SolverHarness h;
    h.ctx.controls.CheckRDist = 1;
    h.clipboard.setText("the user's text");
    const HelmertOutcome out = h.solve(job, statesWith({1, 2, 3, 4, 5, 6, kRDist}));
    for (int c = 0; c < 3; ++c) EXPECT_EQ(h.results.Weights(4 + c, 1), 0.0);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(h.results.Weights(1 + c, 1), 1.0);
    EXPECT_EQ(h.results.DistanceRowCount, 12);
    EXPECT_EQ(h.clipboard.writes(), 1);  // the test's own text: the caller puts the log there
    ASSERT_TRUE(out.correctionLog.has_value());
    const std::string log = *out.correctionLog;
    std::size_t lines = 0, tabs = 0;
    for (char ch : log) lines += ch == '\n', tabs += ch == '\t';
    EXPECT_EQ(static_cast<std::int32_t>(lines), out.H3D_Zaehler);
    EXPECT_EQ(tabs, 7u * lines);
    EXPECT_EQ(log.substr(log.size() - 3), "\t\r\n");
}

TEST(SolveLeastSquares, NoCorrectionLogOutsideTheRDistMode) {
    JobState job = makeJob(6, truth());
    SolverHarness h;
    h.clipboard.setText("the user's text");
    EXPECT_EQ(h.solve(job, kSixParameters).correctionLog, std::nullopt);
    EXPECT_EQ(h.clipboard.writes(), 1);
    EXPECT_EQ(h.clipboard.text(), "the user's text");
}

TEST(SolveLeastSquares, HeldValueWrittenWithACommaKeepsItsDecimals) {
    platform::ScopedDecimalSeparator comma(',');
    JobState job = makeJob(6, truth());
    SolverHarness h;
    h.solve(job, statesWith({1, 3, 4, 5, 6}, {{kTraY, "12,5"}}));
    EXPECT_EQ(job.TraY(), 12.5);
}

TEST(SolveLeastSquares, RefusesAMismatchedUnknownCount) {
    JobState job = makeJob(6, truth());
    SolverHarness h;
    h.size(job, kSixParameters);
    EXPECT_THROW(solveLeastSquares(job, 5, 18, kSixParameters, h.results.CofactorMatrix, h.results.Residuals,
                                   h.results.Weights, h.ctx),
                 std::invalid_argument);
}

TEST(SolveLeastSquares, RefusesFewerThanTwoSeedPoints) {
    JobState job = makeJob(1, truth());
    const auto before = job.Params;
    SolverHarness h;
    EXPECT_THROW(h.solve(job, statesWith({1, 2, 3})), CalcRefused);
    EXPECT_EQ(job.Params, before);
}

// R Dist and the robot's offset vector describe the same tool distance two ways: estimating both,
// or ticking R Dist while the offset-vector terms are in use, is refused with its own message before
// anything of the job is touched (parameters, seeds, transformed points).
TEST(SolveLeastSquares, RefusesRDistTogetherWithTheOffsetVectorAndChangesNothing) {
    struct Case {
        const char* what;
        ParamStates states;
        int checkRDist, checkUseAbc;
        const char* message;
    };
    const Case cases[] = {
        {"both estimated", statesWith({1, 2, 3, 4, 5, 6, kRDist, kRvecX, kRvecY, kRvecZ}), 0, 0,
         "R Dist. and the offset vector of use ABC cannot be estimated together."},
        {"R Dist ticked with use ABC", statesWith({1, 2, 3, 4, 5, 6, kRDist}), 1, 1,
         "R Dist. and use ABC cannot be used together."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        JobState job = makeJob(6, truth());
        job.OcsAngles.resize(6, 3);
        job.Params[kRDist] = 2.5, job.Params[kRvecX] = 1.0;
        job.RotXSeed = 0.125;
        const JobState before = job;
        SolverHarness h;
        h.ctx.controls.CheckRDist = c.checkRDist;
        h.ctx.controls.CheckUseABC = c.checkUseAbc;
        try {
            h.solve(job, c.states);
            ADD_FAILURE() << "solved";
        } catch (const CalcRefused& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_EQ(job.Params, before.Params);
        EXPECT_EQ(job.RotXSeed, before.RotXSeed);
        EXPECT_EQ(job.MCSt_X, before.MCSt_X);
        EXPECT_EQ(job.MCSt_Z, before.MCSt_Z);
    }
}

TEST(ConvergenceRatioText, AZeroDivisorShowsADashInsteadOfStopping) {
    EXPECT_EQ(convergenceRatioText(1e-3, 0.0, "0.000"), "Convergence Ratio: \u2014");
    EXPECT_EQ(convergenceRatioText(0.0, 0.0, "0.000"), "Convergence Ratio: \u2014");
    EXPECT_EQ(convergenceRatioText(3.0, 2.0, "0.000"), "Convergence Ratio: " + formatNumber(1.5, "0.000"));
    EXPECT_EQ(convergenceRatioText(3.0, 2.0, "bad"), "Convergence Ratio: " + generalText(1.5));
}

}  // namespace
}  // namespace kal
