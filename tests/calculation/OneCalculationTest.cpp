#include <gtest/gtest.h>

#include <cmath>

#include "calculation/OneCalculation.h"
#include "engine/TransformModel.h"
#include "platform/Regional.h"
#include "shared/Constants.h"
#include "support/CalculationFixture.h"

namespace kal {
namespace {

using testing::CalculationFixture;
using testing::SyntheticRecipe;

TEST(PreferSmallerRotations, KeepsTheTripleWithTheSmallerSumOfAbsoluteAngles) {
    JobState job;
    job.RotX() = 3.0;
    job.RotY() = 0.2;
    job.RotZ() = 3.0;
    preferSmallerRotations(job);
    EXPECT_NEAR(job.RotX(), 3.0 - kP, 1e-9);
    EXPECT_NEAR(job.RotY(), kP - 0.2, 1e-9);
    EXPECT_NEAR(job.RotZ(), 3.0 - kP, 1e-9);

    job.RotX() = 0.3;
    job.RotY() = 0.5;
    job.RotZ() = 0.7;
    preferSmallerRotations(job);
    EXPECT_NEAR(job.RotX(), 0.3, 1e-9);
    EXPECT_NEAR(job.RotY(), 0.5, 1e-9);
    EXPECT_NEAR(job.RotZ(), 0.7, 1e-9);
}

// (3/4 pi, 1/4 pi, 1/2 pi) and (-1/4 pi, 3/4 pi, -1/2 pi) are the same rotation with the same sum
// 3/2 pi; with the ten-digit pi of the angle helpers the second sum comes out 2e-10 larger.
TEST(PreferSmallerRotations, ATieWithinRoundingTakesTheSecondSolution) {
    JobState job;
    job.RotX() = 0.75 * kP;
    job.RotY() = 0.25 * kP;
    job.RotZ() = 0.5 * kP;
    preferSmallerRotations(job);
    EXPECT_NEAR(job.RotX(), -0.25 * kP, 1e-9);
    EXPECT_NEAR(job.RotY(), 0.75 * kP, 1e-9);
    EXPECT_NEAR(job.RotZ(), -0.5 * kP, 1e-9);
}

// A held rotation keeps its typed value: rot x held at 0 (the gimbal-lock answer) with rot y' and
// rot z'' where the other triple has the smaller sum would read 180.
TEST(PreferSmallerRotations, AHeldRotationKeepsItsTypedValue) {
    struct Case {
        const char* name;
        int held;
        double x, y, z;
    };
    const double deg = kP / 180;
    for (const Case c : {Case{"rot x", kRotX, 0.0, -170 * deg, 170 * deg},
                         Case{"rot z''", kRotZ, 170 * deg, -170 * deg, 0.0},
                         Case{"rot y'", kRotY, 170 * deg, -170 * deg, 170 * deg}}) {
        SCOPED_TRACE(c.name);
        JobState job;
        job.ParamState.fill("float");
        job.ParamState[static_cast<std::size_t>(c.held)] = "0";
        job.RotX() = c.x, job.RotY() = c.y, job.RotZ() = c.z;
        preferSmallerRotations(job);
        EXPECT_EQ(job.RotX(), c.x);
        EXPECT_EQ(job.RotY(), c.y);
        EXPECT_EQ(job.RotZ(), c.z);
        // With every rotation estimated the same triple turns into the smaller one.
        job.ParamState.fill("float");
        preferSmallerRotations(job);
        EXPECT_NE(job.RotX(), c.x);
    }
}

TEST(OneCalculation, RecoversTheKnownParametersOnCleanData) {
    CalculationFixture f;
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    const auto& t = testing::KnownTransform{};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(f.job.Params[static_cast<std::size_t>(kTraX + i)], t.tra[i], 1e-6);
        EXPECT_NEAR(f.job.Params[static_cast<std::size_t>(kRotX + i)], t.rot[i], 1e-9);
    }
    for (std::int32_t r = 1; r <= f.results().ObservationCount; ++r) EXPECT_NEAR(f.residual(r), 0.0, 1e-6);
    // The boxes show the results, the transformed points equal the OCS.
    EXPECT_EQ(f.panel().row(kTraX).valueText, "120.000");
    EXPECT_EQ(f.panel().row(kRotZ).valueText, "17.1887");  // 0.3 rad
    EXPECT_NEAR(f.job.MCSt_X[5], f.job.OCS_X[5], 1e-6);
    EXPECT_EQ(f.job.ParamState[kTraX], "float");
    EXPECT_EQ(f.job.ParamState[kScaleX], "not used");
    EXPECT_EQ(f.progress.panels[2], "...ready");
    EXPECT_EQ(f.progress.panels[6], "...L2");
    // The driver's refresh, once each, and the job is dirty.
    EXPECT_EQ(f.windows.formThings, 1);
    EXPECT_EQ(f.windows.graphics, 1);
    EXPECT_EQ(f.windows.mainSheet, 1);
    EXPECT_EQ(f.windows.programmLogik, 1);
    EXPECT_EQ(f.windows.order, (std::vector<std::string>{"closeDetails", "FormThings", "graphics",
                                                         "mainSheet", "ProgrammLogik"}));
    EXPECT_TRUE(f.job.JobDirty);
    EXPECT_FALSE(f.view.waitCursor);
    EXPECT_TRUE(f.view.calculateEnabled);
    EXPECT_FALSE(f.view.stopEnabled);
}

TEST(OneCalculation, OldParamsHoldThePreviousSolution) {
    CalculationFixture f;
    f.job.TraX() = 7;
    f.calculate();
    EXPECT_EQ(f.results().OldParams[kTraX], 7);
    const double first = f.job.TraX();
    f.calculate();
    EXPECT_EQ(f.results().OldParams[kTraX], first);
}

// Exactly as many used observations as unknowns passes; one fewer is refused, and a refused
// calculation changes nothing and marks nothing calculated.
TEST(OneCalculation, RefusesFewerUsedObservationsThanUnknowns) {
    for (bool clearOne : {false, true}) {
        SCOPED_TRACE(clearOne);
        SyntheticRecipe recipe;
        recipe.points = 4;
        CalculationFixture f(recipe);
        f.panel().selectPreset(Preset::TwelveParameter);
        if (clearOne) f.job.UseFlags[7] = 0;
        const auto before = f.job.Params;
        const CalcStatus status = f.calculate();
        if (!clearOne) {
            EXPECT_EQ(status, CalcStatus::Solved);
            continue;
        }
        EXPECT_EQ(status, CalcStatus::Refused);
        EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{"This is not a redundant calculation"});
        EXPECT_EQ(f.job.Params, before);
        EXPECT_EQ(f.windows.formThings, 0);
        EXPECT_FALSE(f.job.TrafoCalculated);
        EXPECT_FALSE(f.job.JobDirty);
        EXPECT_EQ(f.panel().row(kTraX).valueText, "float");
        EXPECT_EQ(f.windows.programmLogik, 1);
    }
}

TEST(OneCalculation, RDistCountsOneObservationPerPointByItsZFlag) {
    // R Dist. with tra and rot: 7 unknowns. 7 points pass with 21 flags counting as 7.
    for (std::int32_t points : {7, 6}) {
        SCOPED_TRACE(points);
        SyntheticRecipe recipe;
        recipe.points = points;
        CalculationFixture f(recipe);
        f.panel().setEstimate(kRDist, true);
        const CalcStatus status = f.calculate();
        EXPECT_EQ(status == CalcStatus::Refused, points == 6);
    }
    // R Dist held at 10 without its box: the solver is in the R Dist mode, 2 points are 2
    // observations against 6 unknowns.
    SyntheticRecipe recipe;
    recipe.points = 2;
    CalculationFixture f(recipe);
    f.panel().setValueText(kRDist, "10");
    f.panel().setEstimate(kRDist, true);
    f.panel().setEstimate(kRDist, false);
    f.panel().setValueText(kRDist, "10");
    EXPECT_EQ(f.calculate(), CalcStatus::Refused);
}

TEST(OneCalculation, ASeedThatIsNoNumberRefusesBeforeSolving) {
    CalculationFixture f;
    f.panel().setSeedCheck(kTraY, true);
    f.panel().setSeedText(kTraY, "abc");
    EXPECT_EQ(f.calculate(), CalcStatus::Refused);
    EXPECT_EQ(f.prompter.texts(),
              std::vector<std::string>{"Seed value of \"tra y\" is not a number: \"abc\""});
    EXPECT_EQ(f.windows.formThings, 0);
}

TEST(OneCalculation, FixedValueTypedUnderACommaKeepsItsFraction) {
    platform::ScopedDecimalSeparator comma(',');
    CalculationFixture f;
    f.panel().setEstimate(kTraX, false);
    f.panel().setValueText(kTraX, "12,5");
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    EXPECT_DOUBLE_EQ(f.job.TraX(), 12.5);
    EXPECT_EQ(f.panel().row(kTraX).valueText, "12,500");
    // Held at the value it shows, read back under the same separator.
    f.calculate();
    EXPECT_DOUBLE_EQ(f.job.TraX(), 12.5);
}

TEST(OneCalculation, UntickedRowIsHeldAtTheValueItShows) {
    CalculationFixture f;
    f.calculate();
    f.panel().setEstimate(kRotY, false);
    const std::string shown = f.panel().row(kRotY).valueText;
    f.calculate();
    EXPECT_EQ(f.job.ParamState[kRotY], shown);
    EXPECT_NEAR(f.job.RotY() * f.job.AngleFactor, std::stod(shown), 1e-12);
}

TEST(OneCalculation, AnRDistLeftFromAnEarlierCalculationIsNotHeldByTheNextPreset) {
    SyntheticRecipe recipe;
    recipe.points = 10;
    CalculationFixture f(recipe);
    // The R Dist calculation on points with a tool: each OCS point 10 mm from its partner, in a
    // direction of its own (on points without one the distances leave the translation open).
    const JobState exact = f.job;
    for (std::int32_t k = 1; k <= 10; ++k) {
        const double a = 0.7 * k, b = 0.3 * k;
        f.job.OCS_X.set(k, f.job.OCS_X[k] + 10 * std::cos(a) * std::cos(b));
        f.job.OCS_Y.set(k, f.job.OCS_Y[k] + 10 * std::sin(a) * std::cos(b));
        f.job.OCS_Z[static_cast<std::size_t>(k)] += 10 * std::sin(b);
    }
    f.panel().setEstimate(kRDist, true);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved) << ::testing::PrintToString(f.prompter.texts());
    EXPECT_GT(std::fabs(f.job.RDist()), 0.0);
    f.job.OCS_X = exact.OCS_X, f.job.OCS_Y = exact.OCS_Y, f.job.OCS_Z = exact.OCS_Z;
    f.panel().selectPreset(Preset::SevenParameter);
    f.panel().selectPreset(Preset::SixParameter);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    EXPECT_EQ(f.job.RDist(), 0.0);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);  // still an ordinary 6-parameter fit
    EXPECT_EQ(f.results().DistanceRowCount, 0);
    EXPECT_NEAR(f.job.TraX(), testing::KnownTransform{}.tra[0], 1e-6);
}

TEST(OneCalculation, RDistResidualsAreSpreadAlongEachPointsDirection) {
    SyntheticRecipe recipe;
    recipe.points = 8;
    recipe.noise = 0.05;
    CalculationFixture f(recipe);
    // Each OCS point 10 mm from its transformed MCS point, in a direction of its own.
    for (std::int32_t k = 1; k <= 8; ++k) {
        const double a = 0.7 * k, b = 0.3 * k;
        f.job.OCS_X.set(k, f.job.OCS_X[k] + 10 * std::cos(a) * std::cos(b));
        f.job.OCS_Y.set(k, f.job.OCS_Y[k] + 10 * std::sin(a) * std::cos(b));
        f.job.OCS_Z[static_cast<std::size_t>(k)] += 10 * std::sin(b);
    }
    f.panel().setEstimate(kRDist, true);
    ASSERT_EQ(f.calculate(), CalcStatus::Solved) << ::testing::PrintToString(f.prompter.texts());
    EXPECT_NEAR(f.job.RDist(), 10.0, 0.5);
    EXPECT_EQ(f.results().DistanceRowCount, 0);  // rewritten as x, y, z triples
    // Each point's distance residual d = R Dist - D (observed distance D) spread along t - o:
    // v = (t - o)·d / (R Dist + d), of length about |d|.
    for (std::int32_t k = 1; k <= 8; ++k) {
        double t[3];
        transformPoint(f.job, f.job.MCS_X[k], f.job.MCS_Y[k], f.job.MCS_Z[static_cast<std::size_t>(k)], t[0],
                       t[1], t[2]);
        const double o[3] = {f.job.OCS_X[k], f.job.OCS_Y[k], f.job.OCS_Z[static_cast<std::size_t>(k)]};
        const double D = std::hypot(t[0] - o[0], t[1] - o[1], t[2] - o[2]);
        const double d = f.job.RDist() - D;
        const double v[3] = {f.residual(3 * k - 2), f.residual(3 * k - 1), f.residual(3 * k)};
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(v[c], (t[c] - o[c]) * d / (f.job.RDist() + d), 1e-8);
        EXPECT_NEAR(std::hypot(v[0], v[1], v[2]), std::fabs(d), 1e-2 * std::fabs(d));
        EXPECT_NEAR(f.job.MCSt_X[k], o[0] + v[0], 1e-12);
    }
}

}  // namespace
}  // namespace kal
