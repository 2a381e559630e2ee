#include <gtest/gtest.h>

#include <cmath>

#include "calculation/CalculationFlow.h"
#include "support/CalculationFixture.h"

namespace kal {
namespace {

using testing::CalculationFixture;
using testing::SyntheticRecipe;

// Nothing starts a calculation inside another: not automatic recalculation, not a second click,
// not another window's recalculateForOtherWindow, not a direction switch, all of which can arrive while the
// first lets events through.
TEST(CalculationFlow, NoCalculationStartsInsideAnother) {
    CalculationFixture f;
    f.panel().setAutoRecalc(true);
    std::vector<CalcStatus> nested;
    bool rowsChanged = true;
    f.windows.onFormThings = [&] {
        nested.push_back(f.flow->runCalculation());
        nested.push_back(f.flow->recalculateForOtherWindow());
        nested.push_back(f.flow->calculateKeepingStop());
        nested.push_back(f.flow->switchDirection());
        rowsChanged = f.panel().setEstimate(kTraX, false) || f.panel().selectPreset(Preset::NineParameter);
    };
    EXPECT_EQ(f.calculate(), CalcStatus::Solved);
    EXPECT_EQ(nested, std::vector<CalcStatus>(4, CalcStatus::Busy));
    EXPECT_FALSE(rowsChanged);
    EXPECT_EQ(f.windows.formThings, 1);
    EXPECT_FALSE(f.job.MCSOCSGetauscht);
    EXPECT_FALSE(f.flow->busy());
    EXPECT_EQ(f.flow->runCalculation(), CalcStatus::Solved);  // idle again
}

TEST(CalculationFlow, AutomaticRecalculationCalculatesOncePerChange) {
    CalculationFixture f;
    f.job.OcsAngles.resize(f.job.IdenticalCount, 3);
    f.panel().setAutoRecalc(true);
    f.panel().selectPreset(Preset::SevenParameter);
    EXPECT_EQ(f.windows.programmLogik, 1);
    f.panel().setEstimate(kAzimuth, true);
    EXPECT_EQ(f.windows.programmLogik, 2);
    f.panel().selectNorm(kNormL1);
    EXPECT_EQ(f.windows.programmLogik, 3);
    f.panel().setUseAbc(true);  // selects L2 on the way
    EXPECT_EQ(f.windows.programmLogik, 4);
}

TEST(CalculationFlow, StopButtonLiveOnlyForTheButtonsRun) {
    CalculationFixture f;
    bool stopDuring = false;
    f.windows.onFormThings = [&] { stopDuring = f.view.stopEnabled; };
    f.calculate();
    EXPECT_TRUE(stopDuring);
    EXPECT_FALSE(f.view.stopEnabled);
    f.flow->calculateKeepingStop();  // the clipboard quick calculation
    EXPECT_FALSE(stopDuring);
}

TEST(CalculationFlow, AnErrorLeavesTheJobAsItWasAndSaysWhy) {
    SyntheticRecipe recipe;
    recipe.points = 10;
    CalculationFixture f(recipe);
    f.calculate();
    const JobState before = f.job;
    const std::string shown = f.panel().row(kTraX).valueText;
    // R Dist. with every OCS point 10 mm beside its partner in the xy plane: nothing fixes tra z
    // against R Dist., the normal equations are singular.
    for (std::int32_t k = 1; k <= 10; ++k) {
        f.job.OCS_X.set(k, f.job.OCS_X[k] + 10 * std::cos(0.7 * k));
        f.job.OCS_Y.set(k, f.job.OCS_Y[k] + 10 * std::sin(0.7 * k));
    }
    f.panel().setEstimate(kRDist, true);
    f.job.JobDirty = false;
    EXPECT_EQ(f.calculate(), CalcStatus::Failed);
    ASSERT_EQ(f.prompter.texts().size(), 1u);
    EXPECT_EQ(f.job.Params, before.Params);
    EXPECT_EQ(f.job.ParamState, before.ParamState);
    EXPECT_EQ(f.job.MCSt_X, before.MCSt_X);
    EXPECT_EQ(f.panel().row(kTraX).valueText, shown);
    EXPECT_FALSE(f.job.JobDirty);
    EXPECT_EQ(f.windows.formThings, 1);  // the first calculation's only
    EXPECT_FALSE(f.view.waitCursor);
    EXPECT_TRUE(f.view.calculateEnabled);
    EXPECT_FALSE(f.flow->busy());
}

TEST(CalculationFlow, DetailsWindowClosedByEveryCalculationAndReopenedAfterACompletedSeries) {
    CalculationFixture f;
    f.calculate();
    EXPECT_EQ(f.windows.detailsClosed, 1);
    EXPECT_EQ(f.windows.detailsShown, 0);
    f.job.MonteCarloRuns = 2;
    f.panel().setMonteCarlo(true);
    f.calculate();
    EXPECT_EQ(f.windows.detailsClosed, 2);
    EXPECT_EQ(f.windows.detailsShown, 1);
}

TEST(CalculationFlow, DirectionSwitchCalculatesInTheNewDirectionAndTwiceRestoresTheSets) {
    SyntheticRecipe recipe;
    recipe.noise = 0.01;
    CalculationFixture f(recipe);
    f.calculate();
    const JobState before = f.job;
    EXPECT_EQ(f.flow->switchDirection(), CalcStatus::Solved);
    EXPECT_TRUE(f.job.MCSOCSGetauscht);
    EXPECT_EQ(f.flow->directionLabel().caption, "OCS -> MCS");
    EXPECT_EQ(f.windows.statisticsReopened, 1);
    EXPECT_EQ(f.windows.formThings, 2);
    // The inverse transformation: tra of the inverse, rotation transposed.
    EXPECT_GT(std::fabs(f.job.TraX() - before.Params[kTraX]), 1.0);
    EXPECT_EQ(f.flow->switchDirection(), CalcStatus::Solved);
    EXPECT_EQ(f.job.MCS_X, before.MCS_X);
    EXPECT_EQ(f.job.OCS_Z, before.OCS_Z);
    EXPECT_EQ(f.job.MCS_Name, before.MCS_Name);
    EXPECT_EQ(f.flow->directionLabel().caption, "MCS -> OCS");
    EXPECT_NEAR(f.job.TraX(), before.Params[kTraX], 1e-9);
}

TEST(CalculationFlow, ValueToSeedCopiesTheResults) {
    CalculationFixture f;
    f.panel().setSeedText(kScaleX, "keep");
    f.calculate();
    f.flow->copyValuesToSeed();
    EXPECT_EQ(f.panel().row(kTraX).seedText, "120.000");
    EXPECT_EQ(f.panel().row(kRotZ).seedText, "17.1887");
    EXPECT_EQ(f.panel().row(kScaleX).seedText, "1.000000");  // a calculation writes every box 1..14
    EXPECT_FALSE(f.panel().row(kTraX).seedChecked);
}

}  // namespace
}  // namespace kal
