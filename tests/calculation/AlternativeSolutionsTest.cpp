#include <gtest/gtest.h>

#include "calculation/AlternativeSolutions.h"
#include "support/KnownTransformJob.h"

namespace kal {
namespace {

TEST(AlternativeSolutions, SecondRotationTripleFlipsBackOnTheSecondPress) {
    JobState job;
    testing::setMillimetreDegree(job);
    job.RotX() = 0.3, job.RotY() = 0.5, job.RotZ() = 0.7;
    const auto params = job.Params;
    const std::string first =
        formatAngle(0.3, job.AngleFactor, job.AngleFormat, job.AngleUnitName, job.AngleFormat);
    const auto second = otherRotationTexts(job, first);
    EXPECT_NE(second[0], first);
    // The other triple of the same matrix: (x − π, π − y, z − π) in degrees.
    EXPECT_NEAR(angleBoxValue(second[0]), 0.3 * job.AngleFactor - 180, 1e-3);
    EXPECT_NEAR(angleBoxValue(second[1]), 180 - 0.5 * job.AngleFactor, 1e-3);
    const auto back = otherRotationTexts(job, second[0]);
    EXPECT_EQ(back[0], first);
    EXPECT_EQ(job.Params, params);
}

TEST(AlternativeSolutions, SplitButtonEnabledWhileAShapeAngleTakesPart) {
    JobState job;
    ParameterPanel panel(job);
    for (int slot : {kParXY, kAzimuth, kZtoXY}) panel.setValueText(slot, "not used");
    EXPECT_FALSE(alternativeSplitEnabled(panel));
    panel.setValueText(kParXY, "0");
    EXPECT_FALSE(alternativeSplitEnabled(panel));
    panel.setValueText(kAzimuth, "0.25");
    EXPECT_TRUE(alternativeSplitEnabled(panel));
    panel.setValueText(kAzimuth, "0");
    panel.setEstimate(kZtoXY, true);
    EXPECT_TRUE(alternativeSplitEnabled(panel));
}

}  // namespace
}  // namespace kal
