#include <gtest/gtest.h>

#include "calculation/GimbalLock.h"
#include "support/CalculationFixture.h"

namespace kal {
namespace {

constexpr double kPi = 3.14159265358979;

TEST(GimbalLock, WarnsNearNinetyDegreesOnlyWhileRotXAndRotZAreEstimated) {
    const double degree = 180 / kPi;
    struct Case {
        const char* rotY;
        bool rotX, rotZ;
        bool warns;
    };
    const Case cases[] = {
        {"89.9", true, true, true},           {"-89.9", true, true, true},  {"89", true, true, false},
        {"-89", true, true, false},           {"90", true, true, true},     {"89.9", true, false, false},
        {"89.9", false, true, false},         {"float", true, true, false}, {"not used", true, true, false},
        {" 89  54 0.0000", true, true, true},  // degrees, minutes and seconds: 89.9°
    };
    for (const Case& c : cases)
        EXPECT_EQ(gimbalLockNear(c.rotY, degree, 0.01, c.rotX, c.rotZ), c.warns)
            << c.rotY << ' ' << c.rotX << c.rotZ;
    // Gon: 99.9 gon is 0.0016 rad from the lock.
    EXPECT_TRUE(gimbalLockNear("99.9", 200 / kPi, 0.01, true, true));
    EXPECT_FALSE(gimbalLockNear("89.9", 0, 0.01, true, true));  // units not fixed yet
}

// A calculation that ends near the lock colours the box while it runs; the question waits until
// the calculation has ended, is asked once, and Yes runs exactly one more calculation with rot x
// held at 0, also with automatic recalculation on.
TEST(GimbalLock, QuestionWaitsForTheRunningCalculationAndYesCalculatesOnce) {
    testing::SyntheticRecipe recipe;
    recipe.truth.rot[1] = 89.9 * kPi / 180;
    testing::CalculationFixture f(recipe);
    f.job.GimbalLockBorder = 0.01;
    f.panel().setAutoRecalc(true);
    GimbalLockWatch watch;
    int redDuringRun = 0, askedDuringRun = 0;
    f.windows.onFormThings = [&] {
        redDuringRun += watch.check(f.job, f.panel()) ? 1 : 0;
        askedDuringRun += watch.askPending(*f.flow, f.job, f.prompter) ? 1 : 0;  // an answer tried mid-run
    };
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    EXPECT_NEAR(f.job.RotY(), 89.9 * kPi / 180, 1e-9);
    EXPECT_EQ(redDuringRun, 1);
    EXPECT_EQ(askedDuringRun, 0);
    EXPECT_TRUE(f.prompter.shown().empty());
    ASSERT_TRUE(watch.questionPending());

    f.prompter.answer(platform::Answer::Yes);
    EXPECT_TRUE(watch.askPending(*f.flow, f.job, f.prompter));
    ASSERT_EQ(f.prompter.shown().size(), 1u);
    EXPECT_EQ(f.prompter.shown()[0].title, kGimbalLockTitle);
    EXPECT_EQ(f.prompter.shown()[0].buttons, platform::Buttons::YesNo);
    EXPECT_EQ(f.windows.formThings, 2);  // one calculation for the answer
    EXPECT_FALSE(f.panel().row(kRotX).estimate);
    EXPECT_EQ(f.job.ParamState[kRotX], "0");
    EXPECT_EQ(f.job.RotX(), 0.0);
    EXPECT_FALSE(watch.questionPending());  // rot x held: no further warning
    EXPECT_FALSE(watch.askPending(*f.flow, f.job, f.prompter));
    EXPECT_TRUE(f.job.AutoRecalc);
}

TEST(GimbalLock, NoLeavesEverythingAndAsksOnce) {
    testing::SyntheticRecipe recipe;
    recipe.truth.rot[1] = -89.9 * kPi / 180;
    testing::CalculationFixture f(recipe);
    f.job.GimbalLockBorder = 0.01;
    GimbalLockWatch watch;
    f.windows.onFormThings = [&] { watch.check(f.job, f.panel()); };
    f.calculate();
    f.prompter.answer(platform::Answer::No);
    EXPECT_TRUE(watch.askPending(*f.flow, f.job, f.prompter));
    EXPECT_FALSE(watch.askPending(*f.flow, f.job, f.prompter));
    EXPECT_EQ(f.prompter.shown().size(), 1u);
    EXPECT_EQ(f.windows.formThings, 1);
    EXPECT_TRUE(f.panel().row(kRotX).estimate);
}

}  // namespace
}  // namespace kal
