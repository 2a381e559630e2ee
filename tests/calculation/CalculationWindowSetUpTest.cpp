#include <gtest/gtest.h>

#include "calculation/CalculationWindowSetUp.h"
#include "support/KnownTransformJob.h"

namespace kal {
namespace {

JobState makeJob() {
    testing::SyntheticRecipe recipe;
    recipe.points = 5;
    return testing::makeSyntheticJob(recipe);
}

struct SetUpFixture {
    JobState job = makeJob();
    int calculations = 0;
    ParameterPanel panel{job, PanelCallbacks{[this] { ++calculations; }, {}, {}, {}}};

    SetUpFixture() {
        job.TrafoFormGeladen = false;
        for (std::size_t k = 1; k < job.UseFlags.size(); ++k) job.UseFlags[k] = 1;
    }
};

TEST(CalculationWindowSetUp, JobWithoutCalculationStartsWithSixParameters) {
    SetUpFixture f;
    f.job.NormMode = 0;
    setUpCalculationPanel(f.job, f.panel);
    for (int slot = kTraX; slot <= kRotZ; ++slot) {
        EXPECT_TRUE(f.panel.row(slot).estimate) << slot;
        EXPECT_EQ(f.panel.row(slot).valueText, "float");
    }
    for (int slot : {kScaleX, kScaleY, kScaleZ, kScaleXYZ, kParXY, kAzimuth, kZtoXY, kRDist, kRvecX}) {
        EXPECT_FALSE(f.panel.row(slot).estimate) << slot;
        EXPECT_EQ(f.panel.row(slot).valueText, "not used") << slot;
    }
    EXPECT_EQ(f.panel.preset(), Preset::SixParameter);
    EXPECT_EQ(f.panel.norm(), kNormL2);
    EXPECT_EQ(f.job.NormMode, kNormL2);
    EXPECT_FALSE(f.job.UseAbcMode);
    EXPECT_TRUE(f.job.TrafoFormGeladen);
    EXPECT_TRUE(f.panel.directionButtonEnabled());
    EXPECT_TRUE(f.panel.normEnabled(kNormL1));
    EXPECT_EQ(f.calculations, 0);
}

TEST(CalculationWindowSetUp, UnusedPointsAreSwitchedOnOnlyWhenNoneIsUsed) {
    SetUpFixture none;
    for (std::size_t k = 1; k < none.job.UseFlags.size(); ++k) none.job.UseFlags[k] = 0;
    EXPECT_TRUE(setUpCalculationPanel(none.job, none.panel).useFlagsSwitchedOn);
    for (std::size_t k = 1; k < none.job.UseFlags.size(); ++k) EXPECT_EQ(none.job.UseFlags[k], 1);

    SetUpFixture some;
    for (std::size_t k = 1; k < some.job.UseFlags.size(); ++k) some.job.UseFlags[k] = 0;
    some.job.UseFlags[3 * 4 - 2] = 1;  // x of point 4
    EXPECT_FALSE(setUpCalculationPanel(some.job, some.panel).useFlagsSwitchedOn);
    EXPECT_EQ(std::count(some.job.UseFlags.begin() + 1, some.job.UseFlags.end(), 1), 1);
}

TEST(CalculationWindowSetUp, RowsComeBackFromTheLastCalculation) {
    SetUpFixture f;
    f.job.ParamState = {"",  "float", "float", "12.5", "float", "float",    "0", "1", "1",
                        "1", "float", "0",     "0.5",  "float", "not used", "0", "0", "0"};
    f.job.NormMode = kNormMinimax;
    setUpCalculationPanel(f.job, f.panel);
    EXPECT_TRUE(f.panel.row(kTraX).estimate);
    EXPECT_FALSE(f.panel.row(kTraZ).estimate);
    EXPECT_EQ(f.panel.row(kTraZ).valueText, "12.5");
    EXPECT_FALSE(f.panel.row(kRotZ).estimate);
    EXPECT_EQ(f.panel.row(kRotZ).valueText, "0");
    EXPECT_TRUE(f.panel.row(kScaleXYZ).estimate);
    // z to xy estimated alone: Azimuth z stays unticked with its number.
    EXPECT_TRUE(f.panel.row(kZtoXY).estimate);
    EXPECT_FALSE(f.panel.row(kAzimuth).estimate);
    EXPECT_EQ(f.panel.row(kAzimuth).valueText, "0.5");
    EXPECT_EQ(f.panel.norm(), kNormMinimax);
    EXPECT_EQ(f.panel.preset(), Preset::None);
    EXPECT_EQ(f.calculations, 0);
}

TEST(CalculationWindowSetUp, AutomaticRecalculationIsKeptButNothingCalculates) {
    SetUpFixture f;
    f.job.AutoRecalc = true;
    f.job.NormMode = kNormL1;
    setUpCalculationPanel(f.job, f.panel);
    EXPECT_EQ(f.calculations, 0);
    EXPECT_TRUE(f.panel.autoRecalc());
    EXPECT_TRUE(f.job.AutoRecalc);
    f.panel.setEstimate(kTraX, false);  // and a later change calculates
    EXPECT_EQ(f.calculations, 1);
}

TEST(CalculationWindowSetUp, ParaboloidModeKeepsL1LooDirectionAndRDistDisabled) {
    for (bool calculated : {false, true}) {
        SCOPED_TRACE(calculated);
        SetUpFixture f;
        f.job.ParaboloidMode = true;
        if (calculated)
            f.job.ParamState = {"",      "float", "float", "float",    "float",    "float",
                                "float", "1",     "1",     "1",        "1",        "0",
                                "0",     "0",     "float", "not used", "not used", "not used"};
        setUpCalculationPanel(f.job, f.panel);
        EXPECT_FALSE(f.panel.normEnabled(kNormL1));
        EXPECT_FALSE(f.panel.normEnabled(kNormMinimax));
        EXPECT_TRUE(f.panel.normEnabled(kNormL2));
        EXPECT_FALSE(f.panel.directionButtonEnabled());
        EXPECT_FALSE(f.panel.rDistEnabled());
    }
}

// After an R Dist job the states say R Dist "float"; a paraboloid job loaded next disables the
// row, and a row left estimated there made every calculation singular in R Dist.
TEST(CalculationWindowSetUp, ParaboloidModeLeavesNoDisabledRowEstimated) {
    for (bool autoRecalc : {false, true}) {
        SCOPED_TRACE(autoRecalc);
        SetUpFixture f;
        f.job.ParaboloidMode = true;
        f.job.AutoRecalc = autoRecalc;
        f.job.UseAbcMode = true;  // left over from an offset-vector job
        f.job.ParamState = {"",      "float", "float", "float",    "float",    "float",
                            "float", "1",     "1",     "1",        "1",        "0",
                            "0",     "0",     "float", "not used", "not used", "not used"};
        setUpCalculationPanel(f.job, f.panel);
        EXPECT_FALSE(f.panel.rDistEnabled());
        EXPECT_FALSE(f.panel.row(kRDist).estimate);
        EXPECT_EQ(f.panel.row(kRDist).valueText, "not used");
        EXPECT_FALSE(f.panel.useAbc());
        EXPECT_FALSE(f.job.UseAbcMode);
        for (int slot = kTraX; slot <= kRotZ; ++slot) EXPECT_TRUE(f.panel.row(slot).estimate) << slot;
        EXPECT_EQ(f.calculations, 0);
    }
}

}  // namespace
}  // namespace kal
