#include <gtest/gtest.h>

#include <cmath>

#include "engine/CalcRefused.h"
#include "engine/SeedSolution.h"
#include "engine/SyntheticJob.h"
#include "shared/Matrix.h"
#include "shared/Rotations.h"

namespace kal {
namespace {

struct Seed {
    double t[3], r[3], s[3];
};

Seed seedOf(JobState& job, SeedValueSource* source = nullptr) {
    Seed s{};
    calculateSeed(job, s.t[0], s.t[1], s.t[2], s.r[0], s.r[1], s.r[2], s.s[0], s.s[1], s.s[2], source);
    return s;
}

// The seed's rotation matrix against the one of (a, b, c).
void expectRotation(const Seed& s, double a, double b, double c, double tol) {
    Matrix got(3, 3), want(3, 3);
    matFromAnglesXYZ(s.r[0], s.r[1], s.r[2], got);
    matFromAnglesXYZ(a, b, c, want);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) EXPECT_NEAR(got(i, j), want(i, j), tol) << i << j;
}

std::array<double, kParamCount + 1> params(double tx, double ty, double tz, double a, double b, double c,
                                           double sx = 1, double sy = 1, double sz = 1) {
    auto p = testing::identityParams();
    p[kTraX] = tx, p[kTraY] = ty, p[kTraZ] = tz, p[kRotX] = a, p[kRotY] = b, p[kRotZ] = c;
    p[kScaleX] = sx, p[kScaleY] = sy, p[kScaleZ] = sz;
    return p;
}

TEST(CalculateSeed, EqualPointSetsGiveTheIdentity) {
    JobState job = testing::makeJob(5, testing::identityParams(), 300);
    const Seed s = seedOf(job);
    expectRotation(s, 0, 0, 0, 1e-9);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(s.s[k], 1, 1e-12);
        EXPECT_NEAR(s.t[k], 0, 1e-9 * 300);
    }
}

TEST(CalculateSeed, RecoversTranslationRotationAndScales) {
    struct Case {
        const char* name;
        std::array<double, kParamCount + 1> truth;
        std::int16_t rawScale;
        double expectedScale[3];
    };
    const Case cases[] = {
        {"shift", params(10, 20, 30, 0, 0, 0), 2, {1, 1, 1}},
        {"turned", params(-150, 7, 88, 0.4, -1.1, 2.5), 2, {1, 1, 1}},
        {"rot z'' of exactly 90 degrees", params(1, 2, 3, 0.3, 0.2, kPi / 2), 2, {1, 1, 1}},
        {"axis scales", params(0, 0, 0, 0, 0, 0, 1.01, 0.99, 1.02), 0, {1.01, 0.99, 1.02}},
        {"axis scales with RawScale 1", params(0, 0, 0, 0, 0, 0, 1.01, 0.99, 1.02), 1, {1, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JobState job = testing::makeJob(4, c.truth, 400, 17);
        job.RawScale = c.rawScale;
        const Seed s = seedOf(job);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(s.s[k], c.expectedScale[k], 1e-12);
        if (c.rawScale == 1 && c.truth[kScaleX] != 1) continue;  // the rest means nothing without the scales
        expectRotation(s, c.truth[kRotX], c.truth[kRotY], c.truth[kRotZ], 1e-9);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(s.t[k], c.truth[kTraX + k], 1e-9 * 1000);
    }
}

TEST(CalculateSeed, SeedPlaneContainingTheZAxisWorksLikeAnyOther) {
    // OCS seed points with equal y: the plane of the three points is vertical.
    JobState job = testing::makeJob(3, params(5, 6, 7, kPi / 2, 0, 0), 100);
    const double mcs[3][3] = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}};
    for (std::int32_t i = 1; i <= 3; ++i) {
        job.MCS_X.set(i, mcs[i - 1][0]), job.MCS_Y.set(i, mcs[i - 1][1]), job.MCS_Z[i] = mcs[i - 1][2];
        double x, y, z;
        JobState model;
        model.Params = params(5, 6, 7, kPi / 2, 0, 0);
        model.RotXSeed = kPi / 2;
        transformPoint(model, mcs[i - 1][0], mcs[i - 1][1], mcs[i - 1][2], x, y, z);
        job.OCS_X.set(i, x), job.OCS_Y.set(i, y), job.OCS_Z[i] = z;
    }
    EXPECT_NEAR(job.OCS_Y[1], job.OCS_Y[2], 1e-12);
    EXPECT_NEAR(job.OCS_Y[1], job.OCS_Y[3], 1e-12);
    const Seed s = seedOf(job);
    expectRotation(s, kPi / 2, 0, 0, 1e-9);
    EXPECT_NEAR(s.t[0], 5, 1e-7);
    EXPECT_NEAR(s.t[1], 6, 1e-7);
    EXPECT_NEAR(s.t[2], 7, 1e-7);
}

TEST(CalculateSeed, ScaleRulesOfTheSeedPoints) {
    // Seed points with equal MCS z: the scale system has no solution, all scales 1.
    JobState flat = testing::makeJob(4, params(0, 0, 0, 0, 0, 0, 1.01, 0.99, 1.02));
    for (std::int32_t i = 1; i <= 3; ++i) flat.MCS_Z[i] = 12;
    flat.RawScale = 0;
    const Seed sf = seedOf(flat);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(sf.s[k], 1.0);

    // RawScale 2: a seed point's unused coordinate sets the scales to 1, with three or more points.
    JobState job = testing::makeJob(3, params(0, 0, 0, 0, 0, 0, 1.01, 0.99, 1.02));
    job.UseFlags[5] = 0;
    const Seed s = seedOf(job);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(s.s[k], 1.0);
    job.UseFlags[5] = 1;
    EXPECT_NEAR(seedOf(job).s[0], 1.01, 1e-12);
}

TEST(CalculateSeed, TwoPointsTakeTheOriginAsTheThirdOcsPoint) {
    JobState job = testing::makeJob(2, params(10, 20, 30, 0, 0, 0));
    job.McsCount = 3;  // an MCS-only point serves as the third MCS seed point
    job.MCS_X.resize(3), job.MCS_Y.resize(3), job.MCS_Z.resize(4);
    job.MCS_X.set(3, -10), job.MCS_Y.set(3, -20), job.MCS_Z[3] = -30;  // its image is the origin
    job.SeedPointIndex = {0, 1, 2, 3};
    const Seed s = seedOf(job);
    expectRotation(s, 0, 0, 0, 1e-9);
    EXPECT_NEAR(s.t[0], 10, 1e-6);
    EXPECT_NEAR(s.t[2], 30, 1e-6);
}

TEST(CalculateSeed, RawScaleTwoLooksAtTheUseFlagsOnlyWithThreeOrMorePoints) {
    // Two identical points and an MCS-only third seed point whose image is the origin (the OCS
    // stand-in): the scales come from the distances even though a seed point's flag is 0.
    JobState job = testing::makeJob(2, params(0, 0, 0, 0, 0, 0, 1.01, 0.99, 1.02), 400, 17);
    job.McsCount = 3;
    job.MCS_X.resize(3), job.MCS_Y.resize(3), job.MCS_Z.resize(4);
    job.MCS_X.set(3, 0), job.MCS_Y.set(3, 0), job.MCS_Z[3] = 0;
    job.SeedPointIndex = {0, 1, 2, 3};
    job.RawScale = 2;
    job.UseFlags[1] = 0;
    const Seed s = seedOf(job);
    const double expected[3] = {1.01, 0.99, 1.02};
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(s.s[k], expected[k], 1e-10);
}

TEST(CalculateSeed, RefusesTooFewPointsAndSeedIndicesOutsideThePoints) {
    JobState one = testing::makeJob(1, testing::identityParams());
    EXPECT_THROW(seedOf(one), CalcRefused);
    JobState job = testing::makeJob(4, testing::identityParams());
    job.SeedPointIndex = {0, 1, 5, 3};
    EXPECT_THROW(seedOf(job), CalcRefused);
    job.SeedPointIndex = {0, 1, 2, 0};
    EXPECT_THROW(seedOf(job), CalcRefused);
}

class CountingSeedValues : public SeedValueSource {
  public:
    void applySeed(JobState& job) override {
        ++calls;
        job.TraX() = 123;
    }
    int calls = 0;
};

TEST(CalculateSeed, TheWindowsSeedValuesApplyOnlyWhileItIsLoadedOutsideParaboloidMode) {
    JobState job = testing::makeJob(4, testing::identityParams());
    CountingSeedValues window;
    seedOf(job, &window);
    EXPECT_EQ(window.calls, 0);
    job.TrafoFormGeladen = true;
    job.ParaboloidMode = true;
    seedOf(job, &window);
    EXPECT_EQ(window.calls, 0);
    job.ParaboloidMode = false;
    calculateSeed(job, job.TraX(), job.TraY(), job.TraZ(), job.RotX(), job.RotY(), job.RotZ(), job.ScaleX(),
                  job.ScaleY(), job.ScaleZ(), &window);
    EXPECT_EQ(window.calls, 1);
    EXPECT_EQ(job.TraX(), 123);
}

}  // namespace
}  // namespace kal
