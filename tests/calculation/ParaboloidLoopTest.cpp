#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "calculation/ParaboloidLoop.h"
#include "engine/FootPoint.h"
#include "shared/Statistics.h"
#include "support/CalculationFixture.h"

namespace kal {
namespace {

using testing::CalculationFixture;
using testing::KnownTransform;

// A job whose nominal surface is the paraboloid z = r²/(4f), profiled every 0.5 mm up to a
// radius of 400 mm, and whose MCS points lie on it between the radii 20 and 400 mm under a known
// transformation (rot z'' 0: the surface is round).
JobState paraboloidJob(const KnownTransform& truth, std::int32_t n = 24, double focal = 100.0) {
    JobState job;
    testing::setMillimetreDegree(job);
    testing::sizeIdentical(job, n);
    const std::int32_t rows = 801;
    job.ShapeProfile.resize(rows, 2);
    for (std::int32_t i = 1; i <= rows; ++i) {
        const double r = 0.5 * (i - 1);
        job.ShapeProfile(i, 1) = r;
        job.ShapeProfile(i, 2) = r * r / (4 * focal);
    }
    Matrix M(3, 3);
    matFromAnglesXYZ(truth.rot[0], truth.rot[1], truth.rot[2], M);
    std::mt19937_64 rng(9);
    std::uniform_real_distribution<double> radius(20.0, 400.0), azimuth(-3.0, 3.0);
    for (std::int32_t k = 1; k <= n; ++k) {
        const double r = radius(rng), phi = azimuth(rng);
        const double o[3] = {r * std::cos(phi), r * std::sin(phi), r * r / (4 * focal)};
        double m[3] = {0, 0, 0};  // MCS = Mᵀ·(o - T)
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) m[i] += M(j + 1, i + 1) * (o[j] - truth.tra[j]);
        job.MCS_X.set(k, m[0]);
        job.MCS_Y.set(k, m[1]);
        job.MCS_Z[static_cast<std::size_t>(k)] = m[2];
        job.MCSt_X.set(k, m[0]);
        job.MCSt_Y.set(k, m[1]);
        job.MCSt_Z[static_cast<std::size_t>(k)] = m[2];
        // As loaded: the OCS are the foot points of the raw MCS points.
        double f[3];
        paraboloidFootPoint(job.ShapeProfile, m[0], m[1], m[2], f[0], f[1], f[2]);
        job.OCS_X.set(k, f[0]);
        job.OCS_Y.set(k, f[1]);
        job.OCS_Z[static_cast<std::size_t>(k)] = f[2];
    }
    job.SeedPointIndex = {0, 1, 2, 3};
    job.SeedPointNames = {"", "P1", "P2", "P3"};
    job.ScaleX() = job.ScaleY() = job.ScaleZ() = job.ScaleXYZ() = 1.0;
    job.MaxIteration = 100;
    job.NormMode = kNormL2;
    job.ParaboloidMode = true;
    job.TrafoFormGeladen = true;
    job.RichtungMCStoOCS = true;
    return job;
}

KnownTransform tilted() {
    KnownTransform t;
    t.tra[0] = 5.0;
    t.tra[1] = -3.0;
    t.tra[2] = 2.0;
    t.rot[0] = 0.01;
    t.rot[1] = -0.02;
    t.rot[2] = 0.0;
    return t;
}

// Translations and the two tilts estimated, rot z'' held at 0.
void fiveParameters(CalculationFixture& f) {
    f.panel().setEstimate(kRotZ, false);
    f.panel().setValueText(kRotZ, "0");
}

TEST(RunParaboloidLoop, ConvergesToTheKnownParameters) {
    const KnownTransform truth = tilted();
    CalculationFixture f(paraboloidJob(truth));
    fiveParameters(f);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved) << ::testing::PrintToString(f.prompter.texts());
    EXPECT_TRUE(f.prompter.texts().empty());
    // Tilt and shift of a paraboloid are nearly interchangeable, so the parameters settle more
    // slowly than s0, by whose change the iteration stops.
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(f.job.Params[static_cast<std::size_t>(kTraX + i)], truth.tra[i], 5e-3);
    EXPECT_NEAR(f.job.RotX(), truth.rot[0], 2e-5);
    EXPECT_NEAR(f.job.RotY(), truth.rot[1], 2e-5);
    EXPECT_LT(f.results().S0, 1e-3);
    EXPECT_GT(f.results().ParaIteration, 2);
    // The flow's windows: stop window shown and closed, the calculation window enabled again.
    EXPECT_EQ(f.view.stopWindowShown, 1);
    EXPECT_GE(f.view.stopWindowClosed, 1);
    EXPECT_TRUE(f.view.windowEnabled);
    EXPECT_TRUE(f.job.TrafoCalculated);
    EXPECT_FALSE(f.job.ParaStopFlag);
    // Every MCS point's OCS is its foot point on the surface.
    for (std::int32_t k = 1; k <= f.job.McsCount; ++k) {
        const double r = std::hypot(f.job.OCS_X[k], f.job.OCS_Y[k]);
        EXPECT_NEAR(f.job.OCS_Z[static_cast<std::size_t>(k)], r * r / (4 * 100.0), 1e-3);
    }
}

// A steep paraboloid (f = 50 mm) once ran into the bound; it converges now. The bound still ends
// an iteration that has not settled, with its message.
TEST(RunParaboloidLoop, ASteepDishConvergesWithoutAMessage) {
    CalculationFixture f(paraboloidJob(tilted(), 24, 50.0));
    fiveParameters(f);
    EXPECT_EQ(f.calculate(), CalcStatus::Solved);
    EXPECT_TRUE(f.prompter.texts().empty()) << ::testing::PrintToString(f.prompter.texts());
    EXPECT_LT(f.results().ParaIteration, 100);
    EXPECT_NEAR(f.job.TraX(), tilted().tra[0], 1e-3);
    EXPECT_NEAR(f.job.RotY(), tilted().rot[1], 2e-5);
}

TEST(RunParaboloidLoop, ANonConvergingJobStopsAtTheBoundWithAMessage) {
    CalculationFixture f(paraboloidJob(tilted(), 24, 50.0));
    fiveParameters(f);
    f.flow->setLoopCap(3);
    EXPECT_EQ(f.calculate(), CalcStatus::Solved);
    ASSERT_FALSE(f.prompter.texts().empty());
    EXPECT_EQ(f.prompter.texts().back(),
              "The paraboloid iteration did not converge within 3 steps; the solution of its last step is "
              "kept.");
    EXPECT_EQ(f.results().ParaIteration, 4);
    EXPECT_TRUE(f.view.windowEnabled);
    EXPECT_EQ(f.windows.formThings, 1);
}

TEST(RunParaboloidLoop, StopWindowEndsTheFinalIteration) {
    CalculationFixture f(paraboloidJob(tilted()));
    fiveParameters(f);
    int steps = 0;
    f.progress.onPanel = [&](int panel, const std::string& text) {
        if (panel == 2 && text == "...ready" && ++steps == 2) f.flow->stopParaboloidLoop();
    };
    EXPECT_EQ(f.calculate(), CalcStatus::Stopped);
    EXPECT_EQ(f.results().ParaIteration, 3);  // two steps
    EXPECT_EQ(f.prompter.texts(),
              std::vector<std::string>{"The paraboloid iteration was stopped after 2 steps, "
                                       "before its parameters had settled; the solution of "
                                       "its last step is kept."});
    EXPECT_FALSE(f.job.ParaStopFlag);
    EXPECT_TRUE(f.view.windowEnabled);
}

TEST(RunParaboloidLoop, NotRedundantEndsTheRoadAtTheFirstRefusal) {
    for (bool monteCarlo : {false, true}) {
        SCOPED_TRACE(monteCarlo);
        CalculationFixture f(paraboloidJob(tilted(), 1));
        fiveParameters(f);
        f.job.MonteCarloRuns = 5;
        f.panel().setMonteCarlo(monteCarlo);
        const JobState before = f.job;
        EXPECT_EQ(f.calculate(), CalcStatus::Refused);
        EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{"This is not a redundant calculation"});
        EXPECT_EQ(f.job.OCS_X, before.OCS_X);  // the foot points of the refused flow are undone
        EXPECT_EQ(f.job.MCS_X, before.MCS_X);
        EXPECT_TRUE(f.view.windowEnabled);
        EXPECT_GE(f.view.stopWindowClosed, 1);
        EXPECT_EQ(f.progressWindow.captions.size(), static_cast<std::size_t>(f.progressWindow.closes));
    }
}

TEST(RunParaboloidLoop, MonteCarloSeriesOfIterationsThenALiveStopForTheFinalOne) {
    CalculationFixture f(paraboloidJob(tilted()));
    fiveParameters(f);
    f.job.MonteCarloRuns = 3;
    f.job.sigmaX = f.job.sigmaY = f.job.sigmaZ = 0.01;
    f.panel().setMonteCarlo(true);
    const JobState before = f.job;
    programRandom().reseed();  // the same noise whichever tests ran before in this process
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    EXPECT_TRUE(f.job.McCompleted);
    EXPECT_TRUE(f.view.stopWindowEnabled);
    EXPECT_EQ(f.job.MCS_X, before.MCS_X);
    EXPECT_NE(f.job.McRuns[kTraX][3], 0.0);
    EXPECT_NEAR(f.job.TraX(), tilted().tra[0], 1e-3);
    EXPECT_EQ(f.windows.detailsShown, 1);
}

// A noisy dish under a pose that takes the fit several steps (f = 100 mm, 0.01 mm noise).
JobState noisyDish() {
    KnownTransform truth;
    truth.tra[0] = 40.0;
    truth.tra[1] = -25.0;
    truth.tra[2] = 12.0;
    truth.rot[0] = 0.15;
    truth.rot[1] = -0.1;
    truth.rot[2] = 0.0;
    JobState job = paraboloidJob(truth);
    std::mt19937_64 rng(3);
    std::normal_distribution<double> noise(0.0, 0.01);
    for (std::int32_t k = 1; k <= job.IdenticalCount; ++k) {
        job.MCS_X.set(k, job.MCS_X[k] + noise(rng));
        job.MCS_Y.set(k, job.MCS_Y[k] + noise(rng));
        job.MCS_Z[static_cast<std::size_t>(k)] += noise(rng);
    }
    return job;
}

// What a stopped or bounded iteration shows, to compare.
struct Shown {
    std::array<double, kParamCount + 1> params;
    double s0;
    Matrix cofactors;
    Matrix residuals;
};

Shown shown(CalculationFixture& f) {
    return {f.job.Params, f.results().S0, f.results().CofactorMatrix, f.results().Residuals};
}

// The residuals shown are the vectors from the OCS shown (the foot points) to the transformed
// points of the parameters shown.
void expectResidualsOfWhatIsShown(CalculationFixture& f) {
    Matrix M(3, 3);
    matFromAnglesXYZ(f.job.RotX(), f.job.RotY(), f.job.RotZ(), M);
    for (std::int32_t k = 1; k <= f.job.IdenticalCount; ++k) {
        const auto kz = static_cast<std::size_t>(k);
        const double m[3] = {f.job.MCS_X[k], f.job.MCS_Y[k], f.job.MCS_Z[kz]};
        const double o[3] = {f.job.OCS_X[k], f.job.OCS_Y[k], f.job.OCS_Z[kz]};
        for (int i = 0; i < 3; ++i) {
            double t = f.job.Params[static_cast<std::size_t>(kTraX + i)];
            for (int j = 0; j < 3; ++j) t += M(i + 1, j + 1) * m[j];
            EXPECT_NEAR(f.residual(3 * k - 3 + i + 1), t - o[i], 1e-9) << "point " << k << ", axis " << i;
        }
    }
}

// STOP (the calculation window's or the stop window's) after step k shows what the same job with
// a step bound of k shows: the parameters of step k, and residuals, s0 and sigmas of them.
TEST(RunParaboloidLoop, AStopAfterStepKShowsWhatABoundOfKShows) {
    for (int k : {2, 3, 5}) {
        for (bool stopWindow : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "step " << k << (stopWindow ? ", stop window" : ", STOP"));
            CalculationFixture bounded(noisyDish());
            fiveParameters(bounded);
            bounded.flow->setLoopCap(k);
            ASSERT_EQ(bounded.calculate(), CalcStatus::Solved);
            ASSERT_EQ(bounded.prompter.texts().size(), 1u);
            EXPECT_EQ(bounded.prompter.texts()[0], "The paraboloid iteration did not converge within " +
                                                       std::to_string(k) +
                                                       " steps; the solution of its last step is kept.");
            expectResidualsOfWhatIsShown(bounded);

            CalculationFixture stopped(noisyDish());
            fiveParameters(stopped);
            int readies = 0;
            stopped.progress.onPanel = [&](int panel, const std::string& text) {
                if (panel != 2 || text != "...ready" || ++readies != k) return;
                if (stopWindow)
                    stopped.flow->stopParaboloidLoop();
                else
                    stopped.flow->requestStop();
            };
            ASSERT_EQ(stopped.calculate(), CalcStatus::Stopped);
            EXPECT_EQ(
                stopped.prompter.texts(),
                std::vector<std::string>{"The paraboloid iteration was stopped after " + std::to_string(k) +
                                         " steps, before its parameters had settled; the solution of its "
                                         "last step is kept."});
            expectResidualsOfWhatIsShown(stopped);
            const Shown a = shown(bounded), b = shown(stopped);
            EXPECT_EQ(a.params, b.params);
            EXPECT_EQ(a.s0, b.s0);
            EXPECT_EQ(a.cofactors, b.cofactors);
            EXPECT_EQ(a.residuals, b.residuals);
        }
    }
}

// A limit no correction can reach (below the rounding of the sum) ends the iteration with the
// message of its own cause, not with the step bound's.
TEST(RunParaboloidLoop, TheStuckEndAndTheBoundEndSayEachTheirOwnCause) {
    CalculationFixture stuck(noisyDish());
    fiveParameters(stuck);
    stuck.job.IterationThreshold = 1e-300;
    stuck.job.MaxIteration = 3;  // the first step's calculation towards the foot points
    EXPECT_EQ(stuck.calculate(), CalcStatus::Solved);
    ASSERT_FALSE(stuck.prompter.texts().empty());
    const std::string last = stuck.prompter.texts().back();
    EXPECT_NE(last.find("ended after"), std::string::npos) << last;
    EXPECT_NE(last.find("no correction lowered the sum of the squared distances from the surface"),
              std::string::npos)
        << last;
    EXPECT_EQ(last.find("within"), std::string::npos) << last;
    EXPECT_LT(stuck.results().ParaIteration, 1000);
    expectResidualsOfWhatIsShown(stuck);
}

// Monte Carlo runs that end without converging are counted in the series' warning, each cause
// with its own words.
TEST(RunParaboloidLoop, MonteCarloRunsThatDidNotConvergeAreCountedByTheirCause) {
    struct Case {
        double threshold;
        std::int32_t cap;
        std::string expected;
    };
    const Case cases[] = {
        {0.0, 2, "3 Monte Carlo runs of the paraboloid iteration did not converge within 2 steps."},
        {1e-300, 1000,
         "3 Monte Carlo runs of the paraboloid iteration ended without converging: no correction lowered the "
         "sum of the squared distances from the surface."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        CalculationFixture f(noisyDish());
        fiveParameters(f);
        f.job.IterationThreshold = c.threshold;
        f.job.MaxIteration = 3;
        f.flow->setLoopCap(c.cap);
        f.job.MonteCarloRuns = 3;
        f.job.sigmaX = f.job.sigmaY = f.job.sigmaZ = 0.01;
        f.panel().setMonteCarlo(true);
        programRandom().reseed();
        ASSERT_EQ(f.calculate(), CalcStatus::Solved);
        const auto& texts = f.prompter.texts();
        EXPECT_NE(std::find(texts.begin(), texts.end(), c.expected), texts.end())
            << ::testing::PrintToString(texts);
    }
}

// Runs on noisy points, with the turn held or free, settle: the series warns of none.
TEST(RunParaboloidLoop, MonteCarloRunsOfANoisyDishAllConverge) {
    for (bool turnFree : {false, true}) {
        SCOPED_TRACE(turnFree);
        CalculationFixture f(noisyDish());
        if (!turnFree) fiveParameters(f);
        f.job.MonteCarloRuns = 8;
        f.job.sigmaX = f.job.sigmaY = f.job.sigmaZ = 0.05;
        f.panel().setMonteCarlo(true);
        programRandom().reseed();
        ASSERT_EQ(f.calculate(), CalcStatus::Solved);
        for (const std::string& text : f.prompter.texts())
            EXPECT_EQ(text.find("Monte Carlo runs"), std::string::npos) << text;
        EXPECT_TRUE(f.job.McCompleted);
    }
}

// With rot z'' estimated the points cannot fix the turn about the dish's axis: the flow says so,
// names the values that turn with it, and their sigmas are left out; tra z keeps its sigma.
TEST(RunParaboloidLoop, AFreeTurnAboutTheAxisIsNamedAndItsValuesGetNoSigma) {
    KnownTransform truth = tilted();
    truth.rot[2] = 0.4;
    CalculationFixture f(paraboloidJob(truth));
    ASSERT_TRUE(f.panel().row(kRotZ).estimate);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    EXPECT_EQ(
        f.prompter.texts(),
        std::vector<std::string>{
            "The points cannot determine the turn about the surface's axis: the surface looks the same "
            "turned about it. tra x, tra y, rot x, rot y', rot z'' turn with it, so the values shown are "
            "one of many equally good solutions and their sigmas are not shown. Hold rot z'' (for "
            "instance at 0) and calculate again to determine them."});
    const auto& open = f.results().OpenBySurface;
    for (int slot : {kTraX, kTraY, kRotX, kRotY, kRotZ})
        EXPECT_TRUE(open[static_cast<std::size_t>(slot)]) << slot;
    EXPECT_FALSE(open[kTraZ]);

    // Held, the turn is fixed: no message, nothing open.
    CalculationFixture held(paraboloidJob(truth));
    fiveParameters(held);
    ASSERT_EQ(held.calculate(), CalcStatus::Solved);
    EXPECT_TRUE(held.prompter.texts().empty()) << ::testing::PrintToString(held.prompter.texts());
    for (bool o : held.results().OpenBySurface) EXPECT_FALSE(o);
}

TEST(RunParaboloidLoop, DirectionSwitchRefused) {
    CalculationFixture f(paraboloidJob(tilted()));
    const JobState before = f.job;
    EXPECT_EQ(f.flow->switchDirection(), CalcStatus::Refused);
    EXPECT_EQ(f.job.MCS_X, before.MCS_X);
    EXPECT_FALSE(f.job.MCSOCSGetauscht);
}

}  // namespace
}  // namespace kal
