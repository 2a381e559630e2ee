#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/CalculationFixture.h"

namespace kal {
namespace {

using testing::CalculationFixture;
using testing::SyntheticRecipe;

const std::string kAngleWarning =
    "Unit of Angels in Nominal InputFile must be the SAME as in your program Settings\r\n"
    "Be sure [actual ProgramSetting is rad] is the unit of Angles in Nominal File!\r\n\r\n"
    "Cancel = Don't show this Dialog again ";

// "use ABC" on a job whose nominal points carry robot angles (varied, so that the offset vector
// is told apart from the translation), with the angle unit named "rad".
void useAbcInRadians(CalculationFixture& f) {
    f.job.OcsAngles.resize(f.job.IdenticalCount, 3);
    for (std::int32_t k = 1; k <= f.job.IdenticalCount; ++k)
        f.job.OcsAngles(k, 1) = 0.1 * k, f.job.OcsAngles(k, 2) = 0.05 * k, f.job.OcsAngles(k, 3) = -0.07 * k;
    f.job.AngleUnitName = "rad";
    ASSERT_TRUE(f.panel().setUseAbc(true));
}

TEST(ShownSolve, AngleUnitWarningComesWithEachCalculationUntilCancelled) {
    CalculationFixture f;
    useAbcInRadians(f);
    f.prompter.answer(platform::Answer::Ok);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved) << ::testing::PrintToString(f.prompter.texts());
    f.prompter.answer(platform::Answer::Cancel);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    EXPECT_EQ(f.prompter.texts(), (std::vector<std::string>{kAngleWarning, kAngleWarning}));
    for (const auto& box : f.prompter.shown()) {
        EXPECT_EQ(box.title, "Attention Angle UNITs");
        EXPECT_EQ(box.buttons, platform::Buttons::OkCancel);
    }
    EXPECT_TRUE(f.job.WinkelWarnungGezeigt);
    EXPECT_TRUE(f.prompter.exhausted());
}

TEST(ShownSolve, AngleUnitWarningComesBeforeASolveThatFails) {
    CalculationFixture f;
    useAbcInRadians(f);
    for (std::int32_t k = 1; k <= f.job.IdenticalCount; ++k)  // would overflow the normal equations
        f.job.OCS_X.set(k, f.job.OCS_X[k] * 1e160), f.job.MCS_X.set(k, f.job.MCS_X[k] * 1e160);
    f.prompter.answer(platform::Answer::Ok);
    ASSERT_EQ(f.calculate(), CalcStatus::Refused);
    ASSERT_EQ(f.prompter.texts().size(), 2u);
    EXPECT_EQ(f.prompter.texts()[0], kAngleWarning);
    EXPECT_NE(f.prompter.texts()[1].find("too large for a calculation"), std::string::npos);
}

TEST(ShownSolve, IterationLimitMessageComesOncePerCalculationAfterTheSolve) {
    struct Case {
        const char* name;
        std::int32_t monteCarloRuns;  // 0: a single solve
    };
    for (const Case c : {Case{"single solve", 0}, Case{"Monte Carlo series", 5}}) {
        SCOPED_TRACE(c.name);
        SyntheticRecipe recipe;
        recipe.noise = 0.05;
        CalculationFixture f(recipe);
        f.job.IterationThreshold = -1;  // never met
        f.job.MaxIteration = 2;
        if (c.monteCarloRuns > 0) {
            f.job.MonteCarloRuns = c.monteCarloRuns;
            f.job.sigmaX = f.job.sigmaY = f.job.sigmaZ = 0.05;
            f.panel().setMonteCarlo(true);
        }
        ASSERT_EQ(f.calculate(), CalcStatus::Solved);
        // The runs of a series solve quietly: the final solve alone speaks. The lines below read
        // that message: without it the test stops here.
        ASSERT_EQ(
            f.prompter.texts(),
            std::vector<std::string>{"Calculation stopped after 2 Iterations, Convergence not reached yet!"});
        EXPECT_EQ(f.prompter.shown()[0].buttons, platform::Buttons::Ok);
        EXPECT_EQ(f.prompter.shown()[0].title, "");
    }
}

TEST(ShownSolve, RDistCorrectionLogGoesToTheClipboardOnceAndOnlyInTheRDistMode) {
    for (const bool rDist : {true, false}) {
        SCOPED_TRACE(rDist);
        SyntheticRecipe recipe;
        CalculationFixture f(recipe);
        // Each OCS point 10 mm from its transformed MCS point: the distances R Dist estimates.
        for (std::int32_t k = 1; k <= recipe.points; ++k) {
            const double a = 0.7 * k, b = 0.3 * k;
            f.job.OCS_X.set(k, f.job.OCS_X[k] + 10 * std::cos(a) * std::cos(b));
            f.job.OCS_Y.set(k, f.job.OCS_Y[k] + 10 * std::sin(a) * std::cos(b));
            f.job.OCS_Z[static_cast<std::size_t>(k)] += 10 * std::sin(b);
        }
        f.panel().setEstimate(kRDist, rDist);
        f.clipboard.setText("the user's text");
        ASSERT_EQ(f.calculate(), CalcStatus::Solved) << ::testing::PrintToString(f.prompter.texts());
        if (rDist) {
            EXPECT_EQ(f.clipboard.writes(), 2);  // the user's text, then the log once
            const std::string log = f.clipboard.text();
            ASSERT_GE(log.size(), 3u);
            EXPECT_EQ(log.substr(log.size() - 3), "\t\r\n");
        } else {
            EXPECT_EQ(f.clipboard.writes(), 1);
            EXPECT_EQ(f.clipboard.text(), "the user's text");
        }
    }
}

}  // namespace
}  // namespace kal
