#include <gtest/gtest.h>

#include <cmath>

#include "engine/InverseTrafo.h"
#include "engine/SyntheticJob.h"
#include "engine/TransformModel.h"
#include "shared/Rotations.h"

namespace kal {
namespace {

JobState jobWith(double tx, double ty, double tz, double a, double b, double c) {
    JobState job;
    job.Params = testing::identityParams();
    job.TraX() = tx, job.TraY() = ty, job.TraZ() = tz;
    job.RotX() = a, job.RotY() = b, job.RotZ() = c;
    job.RotXSeed = a, job.RotYSeed = b, job.RotZSeed = c;
    return job;
}

// Applies row r of the inverse table with the inverse translation: MCS = T' + (R'·K'·S')·OCS.
void applyInverse(const JobState& job, std::int32_t r, const double in[3], double out[3]) {
    JobState inv;
    const Matrix& t = job.InverseSolutionTable;
    inv.Params = testing::identityParams();
    inv.TraX() = job.InvTraX, inv.TraY() = job.InvTraY, inv.TraZ() = job.InvTraZ;
    inv.RotXSeed = t(r, 1), inv.RotYSeed = t(r, 2), inv.RotZSeed = t(r, 3);
    inv.ScaleX() = t(r, 4), inv.ScaleY() = t(r, 5), inv.ScaleZ() = t(r, 6);
    inv.ParXY() = t(r, 7), inv.Azimuth() = t(r, 8), inv.ZtoXY() = t(r, 9);
    transformPoint(inv, in[0], in[1], in[2], out[0], out[1], out[2]);
}

// Every row of the table maps transformed points back onto the points. The second and later rows
// come from angle candidates shifted by the ten-digit P, so they rebuild the matrix within about
// 1e-10 only: 1e-7 mm on points a few hundred millimetres out.
void expectRowsInvert(const JobState& job, double tol) {
    const double pts[3][3] = {{100, -20, 5}, {-300, 250, 80}, {0, 0, 0}};
    for (std::int32_t r = 1; r <= job.InverseSolutionTable.rows(); ++r)
        for (const auto& p : pts) {
            double t[3], back[3];
            transformPoint(job, p[0], p[1], p[2], t[0], t[1], t[2]);
            applyInverse(job, r, t, back);
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(back[k], p[k], tol) << "row " << r;
        }
}

TEST(SolveInverseTransform, IdentityHasTwoRowsAndNoTranslation) {
    JobState job = jobWith(0, 0, 0, 0, 0, 0);
    ASSERT_TRUE(solveInverseTransform(job));
    const Matrix& t = job.InverseSolutionTable;
    ASSERT_EQ(t.rows(), 2);
    for (int c = 1; c <= 3; ++c) {
        EXPECT_NEAR(t(1, c), -3.14159265341021, 1e-13);
        EXPECT_EQ(t(2, c), 0.0);
    }
    for (int c = 4; c <= 6; ++c) EXPECT_EQ(t(1, c), 1.0);
    EXPECT_EQ(job.InvTraX, 0.0);
    EXPECT_EQ(job.InvTraZ, 0.0);
}

TEST(SolveInverseTransform, RotationWithTranslation) {
    JobState job = jobWith(10, 20, 30, 0.3, 0.5, 0.7);
    ASSERT_TRUE(solveInverseTransform(job));
    EXPECT_NEAR(job.InvTraX, -9.78780365209, 1e-9);
    EXPECT_NEAR(job.InvTraY, -12.24595174939, 1e-9);
    EXPECT_NEAR(job.InvTraZ, -33.97404252396, 1e-9);
    const Matrix& t = job.InverseSolutionTable;
    ASSERT_EQ(t.rows(), 2);
    const double rows[2][3] = {{-0.556103377103, -0.160617814501, -0.823082499914},
                               {2.585489276468, -2.980974838910, 2.318510153676}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(t(r + 1, c + 1), rows[r][c], 1e-9);
    expectRowsInvert(job, 1e-7);
}

TEST(SolveInverseTransform, TypedNinetyDegreesInvertsExactly) {
    const double d90 = 90 / (180 / kPi);  // 90 typed in degrees
    struct Case {
        double rot[3];
    };
    for (const Case& c : {Case{{0.3, 0.2, d90}}, Case{{d90, 0, 0}}}) {
        JobState job = jobWith(1000, 0, 0, c.rot[0], c.rot[1], c.rot[2]);
        ASSERT_TRUE(solveInverseTransform(job));
        EXPECT_EQ(job.InverseSolutionTable.rows(), 2);
        // The inverse translation is -Rᵀ·T, exactly as the transpose gives it.
        H3DMatrices m;
        buildRotationMatrix(job, m);
        EXPECT_EQ(job.InvTraX, -(m.H3D_Matrix1[1][1] * 1000));
        EXPECT_EQ(job.InvTraY, -(m.H3D_Matrix1[1][2] * 1000));
        EXPECT_EQ(job.InvTraZ, -(m.H3D_Matrix1[1][3] * 1000));
        // A 90° angle of the table is the ten-digit P/2: 5e-11 rad off, 1e-7 mm at 1.3 m.
        expectRowsInvert(job, 3e-7);
    }
}

TEST(EnumerateInverseSolutions, ZeroCosineElementTakesTheQuadrantAwareArctangent) {
    Matrix M(3, 3);  // rot z'' of exactly 90°: M(1,1) is exactly 0
    M(1, 2) = 1, M(2, 1) = -1, M(3, 3) = 1;
    Matrix table;
    ASSERT_TRUE(enumerateInverseSolutions(M, false, false, table));
    ASSERT_EQ(table.rows(), 2);
    for (std::int32_t r = 1; r <= 2; ++r) {
        Matrix rebuilt(3, 3);
        matFromAnglesXYZ(table(r, 1), table(r, 2), table(r, 3), rebuilt);
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j) EXPECT_NEAR(rebuilt(i, j), M(i, j), 1e-9);
    }
}

TEST(SolveInverseTransform, ScalesAndShapeAngles) {
    {
        JobState job = jobWith(5, 6, 7, 0.1, 0.2, 0.3);
        job.ScaleX() = job.ScaleY() = job.ScaleZ() = job.ScaleXYZ() = 1.001;
        ASSERT_TRUE(solveInverseTransform(job));
        for (int c = 4; c <= 6; ++c) EXPECT_NEAR(job.InverseSolutionTable(1, c), 0.999000999, 1e-9);
        expectRowsInvert(job, 1e-7);
    }
    {
        // Different axis scales without shape angles: the inverse is no R'·S'.
        JobState job = jobWith(5, 6, 7, 0.1, 0.2, 0.3);
        job.ScaleX() = 1.001, job.ScaleY() = 1.002, job.ScaleZ() = 1.003;
        EXPECT_FALSE(solveInverseTransform(job));
        EXPECT_EQ(job.InverseSolutionTable.rows(), 0);
    }
    {
        JobState job = jobWith(5, 6, 7, 0.1, 0.2, 0.3);
        job.ScaleX() = 1.001, job.ScaleY() = 1.002, job.ScaleZ() = 1.003;
        job.ParXY() = 0.01, job.Azimuth() = 0.3, job.ZtoXY() = 0.02;
        ASSERT_TRUE(solveInverseTransform(job));
        EXPECT_EQ(job.InverseSolutionTable.rows(), 8);
        expectRowsInvert(job, 1e-6);
    }
    {
        // Shape angles with all four scales exactly 1: the scales still come from the matrix.
        JobState job = jobWith(5, 6, 7, 0.1, 0.2, 0.3);
        job.ParXY() = 0.01, job.Azimuth() = 0.3, job.ZtoXY() = 0.02;
        ASSERT_TRUE(solveInverseTransform(job));
        EXPECT_EQ(job.InverseSolutionTable.rows(), 8);
    }
}

TEST(AngleFromSinCos, ReturnsTheAngleAcrossTheCircle) {
    for (double theta = -3.1; theta < 3.14; theta += 0.05)
        EXPECT_NEAR(angleFromSinCos(std::sin(theta), std::cos(theta)), theta, 2e-10) << theta;
    EXPECT_NEAR(angleFromSinCos(std::sin(-3.0), std::cos(-3.0)), -2.99999999982, 1e-10);
}

TEST(ShapeAnglesFromMatrix, GivesBothSignsOfTheZAngle) {
    Matrix K(3, 3);
    shapeMatrixFromAngles(0.01, 0.3, 0.02, K);
    Vec3 s1{}, s2{};
    shapeAnglesFromMatrix(K, s1, s2);
    EXPECT_NEAR(s1[1], 0.01, 1e-9);
    EXPECT_NEAR(s1[2], 0.3, 1e-6);
    EXPECT_NEAR(s1[3], 0.02, 1e-9);
    EXPECT_NEAR(s2[3], -0.02, 1e-9);
}

TEST(RemoveDuplicateRows, DropsLaterEqualRowsAndTwoPiAboveOnly) {
    Matrix t(4, 2);
    const double rows[4][2] = {
        {0.1, 1.0}, {0.1 + 5e-5, 1.0}, {0.1 + 6.28318530717958, 1.0}, {0.1 - 6.28318530717958, 1.0}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 2; ++c) t(r + 1, c + 1) = rows[r][c];
    std::int32_t count = 0;
    removeDuplicateRows(t, 1e-4, count, true);
    // Row 2 lies within tol and row 4 2π below row 1: both go. Row 3 lies 2π above row 1, the
    // direction that does not count, and stays.
    EXPECT_EQ(count, 2);
    EXPECT_EQ(t(2, 1), rows[2][0]);
    EXPECT_EQ(t(3, 1), 0.0);
}

TEST(DeleteRow, MovesTheRowsBelowUpAndClearsTheLast) {
    Matrix t(3, 2);
    for (int r = 1; r <= 3; ++r) t(r, 1) = r, t(r, 2) = 10 * r, t(r, 0) = -r;
    deleteRow(t, 1);
    EXPECT_EQ(t(1, 1), 2);
    EXPECT_EQ(t(2, 2), 30);
    EXPECT_EQ(t(3, 1), 0);
    EXPECT_EQ(t(1, 0), -1);  // column 0 untouched
}

}  // namespace
}  // namespace kal
