#include <gtest/gtest.h>

#include <cmath>

#include "engine/SyntheticJob.h"
#include "engine/TransformModel.h"
#include "shared/Matrix.h"
#include "shared/Rotations.h"

namespace kal {
namespace {

constexpr double kDeg = kPi / 180;

struct ModelCase {
    const char* name;
    double rot[3];    // working copy a, b, c
    double shape[3];  // xy, az, zt
    double scale[3];
    double in[3];
    double out[3];
};

// Known images of single points (no translation).
const ModelCase kCases[] = {
    {"rot x +90", {90 * kDeg, 0, 0}, {0, 0, 0}, {1, 1, 1}, {0, 1, 0}, {0, 0, -1}},
    {"rot y' +90", {0, 90 * kDeg, 0}, {0, 0, 0}, {1, 1, 1}, {1, 0, 0}, {0, 0, 1}},
    {"rot z'' +90", {0, 0, 90 * kDeg}, {0, 0, 0}, {1, 1, 1}, {1, 0, 0}, {0, -1, 0}},
    {"xy 10", {0, 0, 0}, {10 * kDeg, 0, 0}, {1, 1, 1}, {0, 1, 0}, {0.17364817766693, 0.98480775301221, 0}},
    {"zt 10 az 90",
     {0, 0, 0},
     {0, 90 * kDeg, 10 * kDeg},
     {1, 1, 1},
     {0, 0, 1},
     {0, 0.17364817766693, 0.98480775301221}},
    {"az without zt", {0, 0, 0}, {0, 40 * kDeg, 0}, {1, 1, 1}, {3, 4, 5}, {3, 4, 5}},
    // Scale acts before shape: R·K·S, not R·S·K (which would give 3.0 in x).
    {"scale before shape", {0, 0, 0}, {30 * kDeg, 0, 0}, {2, 1, 1}, {1, 1, 0}, {2.5, 0.86602540378, 0}},
};

TEST(TransformPoint, MapsKnownPoints) {
    for (const ModelCase& c : kCases) {
        JobState job;
        job.Params = testing::identityParams();
        job.RotXSeed = c.rot[0];
        job.RotYSeed = c.rot[1];
        job.RotZSeed = c.rot[2];
        job.Params[kParXY] = c.shape[0];
        job.Params[kAzimuth] = c.shape[1];
        job.Params[kZtoXY] = c.shape[2];
        job.Params[kScaleX] = c.scale[0];
        job.Params[kScaleY] = c.scale[1];
        job.Params[kScaleZ] = c.scale[2];
        double o[3];
        transformPoint(job, c.in[0], c.in[1], c.in[2], o[0], o[1], o[2]);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(o[k], c.out[k], 1e-10) << c.name << " component " << k;
    }
}

TEST(TransformPoint, UsesTheWorkingCopyOfTheRotationNotRotX) {
    JobState job;
    job.Params = testing::identityParams();
    job.Params[kTraX] = 10;
    job.RotX() = 90 * kDeg;  // not refreshed into RotXSeed
    double x, y, z;
    transformPoint(job, 0, 1, 0, x, y, z);
    EXPECT_DOUBLE_EQ(x, 10);
    EXPECT_DOUBLE_EQ(y, 1);
    EXPECT_DOUBLE_EQ(z, 0);
}

TEST(TransformPoint, CommonScaleIsNoFactorOfItsOwn) {
    JobState job;
    job.Params = testing::identityParams();
    job.Params[kScaleXYZ] = 2;
    double x, y, z;
    transformPoint(job, 1, 2, 3, x, y, z);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
    EXPECT_EQ(z, 3);
}

TEST(TransformPoint, RotationMatchesTheRotationLibrary) {
    JobState job;
    job.Params = testing::identityParams();
    job.RotXSeed = 0.3, job.RotYSeed = 0.5, job.RotZSeed = 0.7;
    H3DMatrices m;
    buildRotationMatrix(job, m);
    Matrix M(3, 3);
    matFromAnglesXYZ(0.3, 0.5, 0.7, M);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) EXPECT_NEAR(m.H3D_Matrix1[i][j], M(i, j), 1e-15);
}

TEST(PointTransform, GivesExactlyWhatTransformPointGives) {
    JobState job;
    job.Params = testing::identityParams();
    job.RotXSeed = 0.3, job.RotYSeed = -1.2, job.RotZSeed = 2.9;
    job.Params[kTraX] = 1e3, job.Params[kTraY] = -7.25, job.Params[kTraZ] = 0.5;
    job.Params[kParXY] = 0.01, job.Params[kAzimuth] = 1.3, job.Params[kZtoXY] = -0.02;
    job.Params[kScaleX] = 1.001, job.Params[kScaleY] = 0.999, job.Params[kScaleZ] = 1.0002;
    const PointTransform t(job);
    for (double p : {-123.456, 0.0, 1e-7, 98765.4321}) {
        double a[3], b[3];
        transformPoint(job, p, -2 * p + 1, p / 3, a[0], a[1], a[2]);
        t.apply(p, -2 * p + 1, p / 3, b[0], b[1], b[2]);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(a[k], b[k]);
    }
}

TEST(TransformMcsPoint, AppliesTheWorkMatricesWithoutTranslation) {
    JobState job = testing::makeJob(3, testing::identityParams());
    job.Params[kTraX] = 100;
    job.RotXSeed = 0.2;
    job.Params[kScaleY] = 2;
    H3DMatrices m;
    buildRotationMatrix(job, m);
    buildShapeMatrix(job, m);
    buildScaleMatrix(job, m);
    transformMcsPoint(job, 2, m);
    double x, y, z;
    transformPoint(job, job.MCS_X[2], job.MCS_Y[2], job.MCS_Z[2], x, y, z);
    EXPECT_NEAR(m.H3D_Matrix4[1][1], x - 100, 1e-12);
    EXPECT_NEAR(m.H3D_Matrix4[2][1], y, 1e-12);
    EXPECT_NEAR(m.H3D_Matrix4[3][1], z, 1e-12);
    EXPECT_THROW(transformMcsPoint(job, 4, m), std::out_of_range);
}

TEST(ShapeMatrixFromAngles, WritesAllNineElementsAndRefusesASmallMatrix) {
    Matrix M(3, 3);
    for (int i = 0; i <= 3; ++i)
        for (int j = 0; j <= 3; ++j) M(i, j) = 9;
    shapeMatrixFromAngles(0.1, 0.2, 0.3, M);
    EXPECT_EQ(M(2, 1), 0.0);
    EXPECT_EQ(M(3, 2), 0.0);
    EXPECT_EQ(M(1, 1), 1.0);
    EXPECT_DOUBLE_EQ(M(1, 3), std::sin(0.3) * std::cos(0.2));
    EXPECT_EQ(M(0, 0), 9);  // untouched outside 1..3
    Matrix small(2, 3);
    EXPECT_THROW(shapeMatrixFromAngles(0, 0, 0, small), std::out_of_range);
}

}  // namespace
}  // namespace kal
