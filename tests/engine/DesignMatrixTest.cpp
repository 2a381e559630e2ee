#include <gtest/gtest.h>

#include <cmath>

#include "engine/CalcRefused.h"
#include "engine/DesignMatrix.h"
#include "engine/SyntheticJob.h"
#include "shared/Errors.h"

namespace kal {
namespace {

using testing::makeJob;
using testing::statesWith;

std::array<double, kParamCount + 1> someParams() {
    auto p = testing::identityParams();
    p[kTraX] = 12, p[kTraY] = -30, p[kTraZ] = 4.5;
    p[kRotX] = 0.3, p[kRotY] = -0.45, p[kRotZ] = 2.2;
    p[kScaleX] = 1.01, p[kScaleY] = 0.98, p[kScaleZ] = 1.03;
    p[kParXY] = 0.02, p[kAzimuth] = 0.8, p[kZtoXY] = -0.03;
    return p;
}

// t of point i with the parameters of `job` (rotation from RotX..RotZ).
void transformed(JobState job, std::int32_t i, double t[3]) {
    job.RotXSeed = job.RotX(), job.RotYSeed = job.RotY(), job.RotZSeed = job.RotZ();
    transformPoint(job, job.MCS_X[i], job.MCS_Y[i], job.MCS_Z[i], t[0], t[1], t[2]);
}

// Central difference of t_i by slot k; the common scale moves all three axis scales.
void derivative(const JobState& job, std::int32_t i, int k, double dt[3]) {
    const double h = 1e-5;
    JobState plus = job, minus = job;
    auto move = [&](JobState& j, double d) {
        if (k == kScaleXYZ)
            for (int s = kScaleX; s <= kScaleZ; ++s) j.Params[s] += d;
        else
            j.Params[k] += d;
    };
    move(plus, h);
    move(minus, -h);
    double a[3], b[3];
    transformed(plus, i, a);
    transformed(minus, i, b);
    for (int c = 0; c < 3; ++c) dt[c] = (a[c] - b[c]) / (2 * h);
}

TEST(BuildDesignMatrix, EveryColumnIsTheDerivativeOfTheTransformedPoint) {
    JobState job = makeJob(4, someParams(), 300, 11);
    job.Params = someParams();  // linearise away from the truth
    job.Params[kTraX] += 1;
    const ParamStates states = statesWith({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
    Matrix A(12, 13), l(12, 1);
    buildDesignMatrix(job, EngineControls{}, states, A, l);
    EXPECT_EQ(job.RotXSeed, job.RotX());
    for (std::int32_t i = 1; i <= 4; ++i) {
        double t[3];
        transformed(job, i, t);
        const double o[3] = {job.OCS_X[i], job.OCS_Y[i], job.OCS_Z[i]};
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(l(3 * i - 2 + c, 1), o[c] - t[c], 1e-9);
        for (int k = 1; k <= 13; ++k) {
            double dt[3];
            derivative(job, i, k, dt);
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(A(3 * i - 2 + c, k), dt[c], 2e-7)
                    << "slot " << k << " point " << i << " row " << c;
        }
    }
}

TEST(BuildDesignMatrix, ColumnsFollowTheEstimatedSlotsInOrder) {
    JobState job = makeJob(3, someParams());
    job.Params = someParams();
    {
        const ParamStates states = statesWith({kTraX, kTraY, kTraZ, kScaleX});
        Matrix A(9, 4), l(9, 1);
        buildDesignMatrix(job, EngineControls{}, states, A, l);
        H3DMatrices m;
        buildRotationMatrix(job, m);
        buildShapeMatrix(job, m);
        const WorkMatrix rk = multiplyWork(m.H3D_Matrix1, m.H3D_Matrix2);
        for (std::int32_t i = 1; i <= 3; ++i) {
            EXPECT_EQ(A(3 * i - 2, 1), 1.0);
            EXPECT_EQ(A(3 * i - 1, 2), 1.0);
            EXPECT_EQ(A(3 * i, 3), 1.0);
            EXPECT_DOUBLE_EQ(A(3 * i - 2, 4), rk[1][1] * job.MCS_X[i]);
        }
    }
    {
        // tra y held: tra z takes column 2.
        const ParamStates states = statesWith({kTraX, kTraZ}, {{kRDist, "not used"}});
        Matrix A(9, 2), l(9, 1);
        buildDesignMatrix(job, EngineControls{}, states, A, l);
        EXPECT_EQ(A(3, 2), 1.0);
        EXPECT_EQ(A(2, 2), 0.0);
    }
}

TEST(BuildDesignMatrix, RDistModeHasOneDistanceRowPerPoint) {
    const std::int32_t n = 5;
    JobState job = makeJob(n, someParams());
    job.Params = someParams();
    job.RDist() = 2.5;
    EngineControls controls;
    controls.CheckRDist = 1;
    const ParamStates states = statesWith({1, 2, 3, 4, 5, 6, kRDist});
    Matrix A(3 * n, 7), l(3 * n, 1);
    Matrix Aord(3 * n, 6), lord(3 * n, 1);
    job.Params[kTraY] += 3;  // points off their OCS partners
    buildDesignMatrix(job, controls, states, A, l);
    buildDesignMatrix(job, EngineControls{}, statesWith({1, 2, 3, 4, 5, 6}), Aord, lord);
    for (std::int32_t i = 1; i <= n; ++i) {
        const double dx = lord(3 * i - 2, 1), dy = lord(3 * i - 1, 1), dz = lord(3 * i, 1);
        const double D = std::sqrt(dx * dx + dy * dy + dz * dz);
        EXPECT_DOUBLE_EQ(l(i, 1), D - 2.5);
        for (int c = 1; c <= 6; ++c) {
            const double expected =
                (dx * Aord(3 * i - 2, c) + dy * Aord(3 * i - 1, c) + dz * Aord(3 * i, c)) / D;
            EXPECT_NEAR(A(i, c), expected, 1e-12 * (1 + std::fabs(expected)));
        }
        EXPECT_EQ(A(i, 7), 1.0);
    }
    for (std::int32_t r = n + 1; r <= 3 * n; ++r) {
        for (int c = 1; c <= 7; ++c) EXPECT_EQ(A(r, c), 0.0);
        EXPECT_EQ(l(r, 1), lord(r, 1));  // the ordinary misclosures stay there
    }

    // Held at 10 mm with the box unticked (the solver has set RDist from the text): no column, the
    // misclosure against 10.
    job.RDist() = 10;
    const ParamStates held = statesWith({1, 2, 3, 4, 5, 6}, {{kRDist, "10"}});
    Matrix A6(3 * n, 6), l6(3 * n, 1);
    buildDesignMatrix(job, EngineControls{}, held, A6, l6);
    for (std::int32_t i = 1; i <= n; ++i) EXPECT_NEAR(l6(i, 1), l(i, 1) + 2.5 - 10, 1e-12);
}

TEST(BuildDesignMatrix, OffsetColumnsAreTheTurnedUnitVectors) {
    JobState job = makeJob(2, someParams());
    job.Params = someParams();
    job.UseAbcMode = true;
    job.OcsAngles.resize(2, 3);
    job.OcsAngles(2, 1) = kPi / 2;  // A = 90° about z
    EngineControls controls;
    controls.CheckUseABC = 1;
    controls.TextRDistEnabled = false;
    const ParamStates states = statesWith({1, 2, 3, kRvecX, kRvecY, kRvecZ});
    job.Rvec_x() = 1, job.Rvec_y() = 2, job.Rvec_z() = 3;
    Matrix A(6, 6), l(6, 1), l0(6, 1), A0(6, 3);
    buildDesignMatrix(job, controls, states, A, l);
    buildDesignMatrix(job, EngineControls{}, statesWith({1, 2, 3}), A0, l0);
    // Point 1: angles 0, M = I.
    for (int j = 1; j <= 3; ++j)
        for (int m = 1; m <= 3; ++m) EXPECT_EQ(A(j, 3 + m), j == m ? 1.0 : 0.0);
    EXPECT_NEAR(l(1, 1), l0(1, 1) - 1, 1e-12);
    // Point 2: the offset turned by 90° about z: (1, 2, 3) -> (-2, 1, 3).
    EXPECT_NEAR(A(4, 5), -1, 1e-15);
    EXPECT_NEAR(A(5, 4), 1, 1e-15);
    EXPECT_NEAR(l(4, 1), l0(4, 1) + 2, 1e-12);
    EXPECT_NEAR(l(5, 1), l0(5, 1) - 1, 1e-12);
    EXPECT_NEAR(l(6, 1), l0(6, 1) - 3, 1e-12);
}

TEST(BuildDesignMatrix, RefusesWhatTheEquationsCannotServe) {
    JobState job = makeJob(3, someParams());
    Matrix A(9, 17), l(9, 1);
    // Half of the offset vector estimated: its other columns would stay zero.
    EXPECT_THROW(buildDesignMatrix(job, EngineControls{}, statesWith({1, kRvecX}), A, l), CalcRefused);
    // The offset-vector terms without robot angles (a reopened job).
    EngineControls abc;
    abc.CheckUseABC = 1;
    abc.TextRDistEnabled = false;
    job.UseAbcMode = true;
    EXPECT_THROW(buildDesignMatrix(job, abc, statesWith({1, kRvecX, kRvecY, kRvecZ}), A, l), CalcRefused);
    job.UseAbcMode = false;
    // A too small for the unknowns.
    Matrix small(9, 2);
    EXPECT_THROW(buildDesignMatrix(job, EngineControls{}, statesWith({1, 2, 3}), small, l),
                 std::out_of_range);
}

TEST(BuildDesignMatrix, DistanceRowOfAPointOnItsPartnerIsANumericError) {
    JobState job = makeJob(3, testing::identityParams());  // every point on its partner
    EngineControls controls;
    controls.CheckRDist = 1;
    Matrix A(9, 4), l(9, 1);
    EXPECT_THROW(buildDesignMatrix(job, controls, statesWith({1, 2, 3, kRDist}), A, l), NumericError);
}

}  // namespace
}  // namespace kal
