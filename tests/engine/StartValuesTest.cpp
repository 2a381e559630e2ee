#include <gtest/gtest.h>

#include <string>

#include "engine/StartValues.h"
#include "engine/SyntheticJob.h"
#include "shared/Errors.h"

namespace kal {
namespace {

using testing::statesWith;

JobState unitsJob() {
    JobState job;
    testing::setDefaultUnits(job);
    job.Params = testing::identityParams();
    return job;
}

TEST(ApplyStartValues, HeldValuesAreConvertedFromDisplayUnits) {
    JobState job = unitsJob();
    job.LengthFactor = 1.0 / 1000;  // meter
    applyStartValues(job, statesWith({1, 3}, {{kTraY, "5"}, {kRDist, "0.1"}}), EngineControls{});
    EXPECT_DOUBLE_EQ(job.TraY(), 5000);
    EXPECT_DOUBLE_EQ(job.RDist(), 100);

    JobState inch = unitsJob();
    inch.LengthFactor = 1 / 25.4;
    applyStartValues(inch, statesWith({}, {{kRvecX, "1"}, {kRvecY, "0"}, {kRvecZ, "not used"}}),
                     EngineControls{});
    EXPECT_DOUBLE_EQ(inch.Rvec_x(), 25.4);
    EXPECT_EQ(inch.Rvec_z(), 0.0);

    // Scales are factors: no conversion.
    JobState scale = unitsJob();
    scale.LengthFactor = 1.0 / 1000;
    applyStartValues(scale, statesWith({}, {{kScaleY, "1.5"}}), EngineControls{});
    EXPECT_EQ(scale.ScaleY(), 1.5);
}

TEST(ApplyStartValues, HeldRotationPicksTheNearerOfTheTwoEquivalentTriples) {
    struct Case {
        const char* held;
        double rot[3];
    };
    const double d = kPi / 180;
    // Seed (0.3, 0.5, 0.7); its other triple is (0.3 - P, P - 0.5, 0.7 - P).
    const Case cases[] = {{"30", {0.3, 30 * d, 0.7}},
                          {"150", {0.3 - 3.1415926535, 150 * d, 0.7 - 3.1415926535}}};
    for (const Case& c : cases) {
        JobState job = unitsJob();
        job.RotX() = 0.3, job.RotY() = 0.5, job.RotZ() = 0.7;
        applyStartValues(job, statesWith({kRotX, kRotZ}, {{kRotY, c.held}}), EngineControls{});
        EXPECT_NEAR(job.RotX(), c.rot[0], 1e-9) << c.held;
        EXPECT_DOUBLE_EQ(job.RotY(), c.rot[1]) << c.held;
        EXPECT_NEAR(job.RotZ(), c.rot[2], 1e-9) << c.held;
    }
}

TEST(ApplyStartValues, OfSeveralHeldRotationsTheLastOneChoosesTheTriple) {
    // Seed (0.3, 0.5, 0.7); its other triple is (0.3 - P, P - 0.5, 0.7 - P). rot x and rot z'' are
    // held near different triples: rot z'', the last held slot, decides, and rot y' follows it.
    struct Case {
        const char* rotX;
        const char* rotZ;
        double rotY;
    };
    const Case cases[] = {{"17.19", "-140", 3.1415926535 - 0.5}, {"-163", "40", 0.5}};
    const double d = kPi / 180;
    for (const Case& c : cases) {
        JobState job = unitsJob();
        job.RotX() = 0.3, job.RotY() = 0.5, job.RotZ() = 0.7;
        applyStartValues(job, statesWith({kRotY}, {{kRotX, c.rotX}, {kRotZ, c.rotZ}}), EngineControls{});
        EXPECT_NEAR(job.RotY(), c.rotY, 1e-9) << c.rotZ;
        EXPECT_DOUBLE_EQ(job.RotX(), std::stod(c.rotX) * d) << c.rotX;
        EXPECT_DOUBLE_EQ(job.RotZ(), std::stod(c.rotZ) * d) << c.rotZ;
    }
}

TEST(ApplyStartValues, ScalesAndShapeAnglesStartAsTheModelAsks) {
    JobState job = unitsJob();
    job.ScaleX() = 1.01, job.ScaleY() = 0.5, job.ScaleXYZ() = 0;
    job.ParXY() = 0.3, job.Azimuth() = 0.3, job.ZtoXY() = 0.3;
    applyStartValues(job,
                     statesWith({kScaleXYZ, kParXY, kAzimuth, kZtoXY},
                                {{kScaleX, "not used"}, {kScaleY, "not used"}, {kScaleZ, "not used"}}),
                     EngineControls{});
    EXPECT_EQ(job.ScaleXYZ(), 1.01);
    EXPECT_EQ(job.ScaleY(), 1.01);
    EXPECT_EQ(job.ScaleZ(), 1.01);
    EXPECT_EQ(job.ParXY(), 0.0);
    EXPECT_EQ(job.Azimuth(), 0.1 / 180 * 3.14159265358979);
    EXPECT_EQ(job.ZtoXY(), 0.1 / 180 * 3.14159265358979);

    // Ticked seed boxes keep the current values; a held shape angle is converted all the same.
    JobState seeded = unitsJob();
    seeded.ScaleY() = 0.5, seeded.ParXY() = 0.3, seeded.Azimuth() = 0.3;
    EngineControls c;
    c.CheckSeedScaley = 1, c.CheckSeedxy = 1, c.CheckSeedAzimuth = 1;
    applyStartValues(seeded, statesWith({kScaleY, kParXY}, {{kAzimuth, "9"}}), c);
    EXPECT_EQ(seeded.ScaleY(), 0.5);
    EXPECT_EQ(seeded.ParXY(), 0.3);
    EXPECT_DOUBLE_EQ(seeded.Azimuth(), 9 / seeded.AngleFactor);
}

TEST(ApplyStartValues, HeldLengthWithoutUnitFactorIsANumericError) {
    JobState job = unitsJob();
    job.LengthFactor = 0;  // units not set yet
    EXPECT_THROW(applyStartValues(job, statesWith({}, {{kTraX, "5"}}), EngineControls{}), NumericError);
}

}  // namespace
}  // namespace kal
