#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "details/DetailsFigures.h"
#include "details/SequenceSolutions.h"
#include "engine/TransformModel.h"
#include "shared/NumberText.h"
#include "shared/Rotations.h"
#include "support/KnownTransformJob.h"

namespace kal {
namespace {

// A calculated job with rotation (0.3, 0.5, 0.7) rad, unit scales, mm and degrees (4 decimals).
JobState rotatedJob(double rx = 0.3, double ry = 0.5, double rz = 0.7) {
    JobState job;
    testing::setMillimetreDegree(job);
    job.RotX() = job.RotXSeed = rx;
    job.RotY() = job.RotYSeed = ry;
    job.RotZ() = job.RotZSeed = rz;
    job.TraX() = 100.0;
    job.TraY() = -20.0;
    job.TraZ() = 5.5;
    job.ScaleX() = job.ScaleY() = job.ScaleZ() = job.ScaleXYZ() = 1.0;
    job.TrafoCalculated = true;
    return job;
}

TEST(DetailsFigures, RotationMatrixAndQuaternionCellsMatchTheReferenceValues) {
    JobState job = rotatedJob();
    const DetailsFigures f = computeDetails(job);
    // Cell (r, c) of the grid shows element (r + 1, c + 1).
    EXPECT_EQ(f.rotationGrid.cell(1, 0), "-0.56535421");
    EXPECT_EQ(f.rotationGrid.cell(2, 1), "-0.25934338");
    EXPECT_EQ(f.homogeneousGrid.cell(1, 0), "-0.56535421");
    EXPECT_EQ(f.quaternionGrid.cell(0, 1), "0.88727219");
    EXPECT_EQ(f.quaternionGrid.cell(1, 1), "-0.21989577");
    EXPECT_EQ(f.quaternionGrid.cell(2, 1), "-0.18014586");
    EXPECT_EQ(f.quaternionGrid.cell(3, 1), "-0.36323737");
    EXPECT_EQ(f.quaternionGrid.cell(4, 0), "Angel of Rot");
    EXPECT_EQ(f.quaternionGrid.cell(5, 0), "RotVec .x ");
}

TEST(DetailsFigures, XyzGridShowsBothSolutionsInDegrees) {
    JobState job = rotatedJob();
    const DetailsFigures f = computeDetails(job);
    const TextTable& g = f.sequenceGrid(AngleSequence::XYZ);
    ASSERT_EQ(g.rowCount(), 4);
    ASSERT_EQ(g.columnCount(), 3);
    EXPECT_EQ(g.cell(0, 1), "Solution 1");
    EXPECT_EQ(g.cell(0, 2), "Solution 2");
    EXPECT_EQ(g.cell(0, 0), "");
    std::set<std::vector<std::string>> columns;
    for (int c = 1; c <= 2; ++c) columns.insert({g.cell(1, c), g.cell(2, c), g.cell(3, c)});
    EXPECT_EQ(columns, (std::set<std::vector<std::string>>{{"17.1887", "28.6479", "40.1070"},
                                                           {"-162.8113", "151.3521", "-139.8930"}}));
    EXPECT_EQ(g.cell(1, 0), "Rot X");
    EXPECT_EQ(g.cell(3, 0), "Rot Z''");
}

TEST(DetailsFigures, ZxyRowsStandInTheSequenceOrderWithTheirOwnAxes) {
    // A matrix built as z-x'-y'' from (about x 0.3, about y 0.5, about z 0.7): the row "Rot X'"
    // must show 0.3 rad (17.1887°), "Rot Y''" 0.5 rad and "Rot Z" 0.7 rad in one of the solutions.
    Matrix M(3, 3);
    matFromAnglesZXY(0.3, 0.5, 0.7, M);
    Vec3 xyz1{}, xyz2{};
    anglesFromMatXYZ(M, xyz1, xyz2);
    JobState job = rotatedJob(xyz1[1], xyz1[2], xyz1[3]);
    const DetailsFigures f = computeDetails(job);
    const TextTable& g = f.sequenceGrid(AngleSequence::ZXY);
    EXPECT_EQ(g.cell(1, 0), "Rot Z");
    EXPECT_EQ(g.cell(2, 0), "Rot X'");
    EXPECT_EQ(g.cell(3, 0), "Rot Y''");
    bool found = false;
    for (int c = 1; c <= 2; ++c)
        found |= g.cell(1, c) == "40.1070" && g.cell(2, c) == "17.1887" && g.cell(3, c) == "28.6479";
    EXPECT_TRUE(found) << g.cell(1, 1) << " " << g.cell(2, 1) << " " << g.cell(3, 1);
}

TEST(DetailsFigures, RobCadAnglesAreTheNegatedZxySolutionWithTheSmallerSum) {
    Matrix M(3, 3);
    matFromAnglesZXY(0.3, 0.5, 0.7, M);
    const Vec3 a = robCadAnglesOf(M);
    EXPECT_NEAR(a[1], -0.3, 1e-12);
    EXPECT_NEAR(a[2], -0.5, 1e-12);
    EXPECT_NEAR(a[3], -0.7, 1e-12);
    // The identity: both solutions have the same sum, solution 2 is taken; never NaN.
    Matrix I(3, 3);
    matFromAnglesXYZ(0, 0, 0, I);
    Vec3 s1{}, s2{};
    anglesFromMatZXY(I, s1, s2);
    const Vec3 b = robCadAnglesOf(I);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(b[static_cast<std::size_t>(i)], -s2[static_cast<std::size_t>(i)]);
}

TEST(DetailsFigures, HomogeneousAffineAndScaleMatrices) {
    JobState job = rotatedJob();
    job.LengthUnitName = "meter";
    applyUnitSettings(job);
    job.ScaleX() = 1.5;
    const DetailsFigures f = computeDetails(job);
    EXPECT_EQ(f.homogeneousGrid.cell(0, 3), formatNumber(0.1, job.LengthFormat));  // 100 mm in metres
    EXPECT_EQ(f.homogeneousGrid.cell(3, 0), "0");
    EXPECT_EQ(f.homogeneousGrid.cell(3, 3), "1");
    EXPECT_EQ(f.affineGrid.cell(0, 0), "1.00000000");
    EXPECT_EQ(f.affineGrid.cell(0, 1), "0.00000000");
    EXPECT_EQ(f.scaleGrid.cell(0, 0), "1.50000000");
    EXPECT_EQ(f.scaleGrid.cell(1, 1), "1.00000000");
    EXPECT_EQ(f.scaleGrid.cell(2, 0), "0.00000000");
}

TEST(DetailsFigures, ThreeInverseSetsGiveThirteenRowsAndFourColumns) {
    JobState job = rotatedJob();
    job.InvTraX = 1.25;
    job.InvTraY = -2.0;
    job.InvTraZ = 3.0;
    job.InverseSolutionTable = Matrix(3, 9);
    for (int k = 1; k <= 3; ++k) {
        job.InverseSolutionTable(k, 1) = 0.1 * k;
        for (int c = 4; c <= 6; ++c) job.InverseSolutionTable(k, c) = 1.0;
    }
    const TextTable g = inverseGridOf(job);
    ASSERT_EQ(g.rowCount(), 13);
    ASSERT_EQ(g.columnCount(), 4);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(g.cell(0, k), "Solution " + std::to_string(k));
        EXPECT_EQ(g.cell(1, k), "1.250");
        EXPECT_EQ(g.cell(2, k), "-2.000");
    }
    EXPECT_EQ(g.cell(0, 0), "");
    EXPECT_EQ(g.cell(12, 0), "z to xy");
    EXPECT_EQ(g.cell(4, 2),
              formatAngle(0.2, job.AngleFactor, job.AngleFormat, job.AngleUnitName, job.AngleFormat));
}

// The inverse of a turn of 90° about z with a translation: its translation is the MCS place of the
// OCS origin, −Rᵀ·t, worked out from the forward transformation of the axes; every solution shows
// it in x, y, z order, and the first one turns back by −90° about z alone.
TEST(DetailsFigures, InverseOfAQuarterTurnAboutZIsTheMcsPlaceOfTheOcsOrigin) {
    const double quarter = 3.14159265358979323846 / 2;
    JobState job = rotatedJob(0.0, 0.0, quarter);
    double t[3], column[3][3];
    transformPoint(job, 0, 0, 0, t[0], t[1], t[2]);
    ASSERT_EQ(t[0], 100.0);
    for (int axis = 0; axis < 3; ++axis) {
        double e[3] = {0, 0, 0}, o[3];
        e[axis] = 1;
        transformPoint(job, e[0], e[1], e[2], o[0], o[1], o[2]);
        for (int r = 0; r < 3; ++r) column[axis][r] = o[r] - t[r];
    }
    // −Rᵀ·t: each component is minus the axis column's dot product with t.
    double inverse[3];
    for (int axis = 0; axis < 3; ++axis)
        inverse[axis] = -(column[axis][0] * t[0] + column[axis][1] * t[1] + column[axis][2] * t[2]);
    const DetailsFigures f = computeDetails(job);
    ASSERT_TRUE(f.inverseFound);
    for (std::int32_t k = 1; k < f.inverseGrid.columnCount(); ++k) {
        SCOPED_TRACE(k);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_EQ(f.inverseGrid.cell(1 + axis, k), formatNumber(inverse[axis], job.LengthFormat)) << axis;
    }
    EXPECT_EQ(f.inverseGrid.cell(3, 1), "-5.500");
}

TEST(DetailsFigures, NoInverseIsAValueNotAMessage) {
    JobState job = rotatedJob();
    job.ScaleX() = 1.1;  // different axis scales without shape angles have no inverse set
    job.ScaleY() = 0.9;
    const DetailsFigures f = computeDetails(job);
    EXPECT_FALSE(f.inverseFound);
    ASSERT_EQ(f.inverseGrid.rowCount(), 2);
    ASSERT_EQ(f.inverseGrid.columnCount(), 2);
    EXPECT_EQ(f.inverseGrid.cell(1, 1), "no solution");

    JobState zero = rotatedJob();
    zero.ScaleZ() = 0.0;  // no inverse at all: the same value, no exception out of the fill
    EXPECT_EQ(computeDetails(zero).inverseGrid.cell(1, 1), "no solution");

    JobState plain = rotatedJob();
    EXPECT_TRUE(computeDetails(plain).inverseFound);
}

TEST(DetailsFigures, MonteCarloMarksFollowTheEstimatedParametersAtEachFill) {
    JobState job = rotatedJob();
    job.McCompleted = true;
    for (auto& runs : job.McRuns) runs = {0.0, 1.0, 2.0, 3.0};  // σ = 1
    job.ParamState[kTraX] = "float";
    job.ParamState[kRDist] = "float";
    job.UseAbcMode = true;
    DetailsFigures f = computeDetails(job);
    const TextTable& g = f.monteCarloGrid;
    EXPECT_EQ(g.cell(0, 0), "Tra x");
    EXPECT_TRUE(g.bold(0, 0));
    EXPECT_TRUE(g.bold(18, 0));  // "s of sigmaXYZ" follows tra x
    EXPECT_EQ(g.cell(18, 0), "s of sigmaXYZ");
    EXPECT_FALSE(g.bold(1, 0));
    EXPECT_FALSE(g.bold(13, 0));  // R_Dist is not marked in "use ABC" mode
    EXPECT_TRUE(g.bold(14, 0) && g.bold(15, 0) && g.bold(16, 0));
    EXPECT_EQ(g.cell(0, 1), "1.000");
    EXPECT_EQ(g.cell(17, 0), "");
    EXPECT_EQ(g.cell(17, 1), "");

    // Unticked at the next fill: the mark goes.
    job.ParamState[kTraX] = "0";
    f = computeDetails(job);
    EXPECT_FALSE(f.monteCarloGrid.bold(0, 0));
    EXPECT_FALSE(f.monteCarloGrid.bold(18, 0));

    // Fewer than two runs: an empty value, no division by zero.
    for (auto& runs : job.McRuns) runs = {0.0, 1.0};
    f = computeDetails(job);
    EXPECT_EQ(f.monteCarloGrid.cell(0, 0), "Tra x");
    EXPECT_EQ(f.monteCarloGrid.cell(0, 1), "");

    // A series stopped before its end leaves the table empty.
    job.McCompleted = false;
    f = computeDetails(job);
    for (int r = 0; r < 19; ++r) EXPECT_EQ(f.monteCarloGrid.cell(r, 0), "");
}

TEST(DetailsFigures, EmptyDetailsHaveTheDesignSizes) {
    const DetailsFigures f = emptyDetails();
    EXPECT_EQ(f.inverseGrid.rowCount(), 1);
    EXPECT_EQ(f.inverseGrid.columnCount(), 1);
    EXPECT_EQ(f.monteCarloGrid.rowCount(), 19);
    EXPECT_EQ(f.quaternionGrid.rowCount(), 11);
    EXPECT_EQ(f.rotation, Matrix(3, 3));
}

}  // namespace
}  // namespace kal

namespace kal {
namespace {

// At gimbal lock the outer angles came from arctangents of rounding noise: a rotation of −90° about
// z alone showed z-x'-z'' angles near (180°, 0, 180°), which rebuild almost no rotation at all.
TEST(SequenceSolutions, EverySolutionRebuildsTheMatrixAlsoAtGimbalLock) {
    const double h = 3.14159265358979323846 / 2;
    struct Case {
        double x, y, z;  // x-y'-z'' angles of the job
    };
    std::vector<Case> cases{{0, 0, -h},   {0, 0, 0},  {0.3, 0.5, 0.7}, {0, h, 0.4},
                            {0.2, -h, 0}, {-h, 0, 0}, {h, 0.3, 0},     {0, 0, 2 * h}};
    std::mt19937 random(3);
    std::uniform_real_distribution<double> angle(-2 * h, 2 * h);
    for (int i = 0; i < 50; ++i) cases.push_back({angle(random), angle(random), angle(random)});
    // Locks of the z-x'-y'' sequence: a middle (about x) angle of ±90°.
    for (double sign : {1.0, -1.0}) {
        Matrix M(3, 3);
        matFromAnglesZXY(sign * h, 0.25, 0.5, M);
        Vec3 a{}, b{};
        anglesFromMatXYZ(M, a, b);
        cases.push_back({a[1], a[2], a[3]});
    }
    for (const Case& c : cases) {
        Matrix M(3, 3);
        matFromAnglesXYZ(c.x, c.y, c.z, M);
        for (AngleSequence s : kAngleSequences) {
            Vec3 s1{}, s2{};
            solveSequence(s, M, s1, s2);
            for (const Vec3* sol : {&s1, &s2}) {
                Matrix rebuilt(3, 3);
                const Vec3& v = *sol;
                switch (s) {
                    case AngleSequence::XYZ:
                        matFromAnglesXYZ(v[1], v[2], v[3], rebuilt);
                        break;
                    case AngleSequence::ZYX:
                        matFromAnglesZYX(v[1], v[2], v[3], rebuilt);
                        break;
                    case AngleSequence::ZXY:
                        matFromAnglesZXY(v[1], v[2], v[3], rebuilt);
                        break;
                    case AngleSequence::ZXZ:
                        matFromAnglesZXZ(v[1], v[2], v[3], rebuilt);
                        break;
                    case AngleSequence::ZYZ:
                        matFromAnglesZYZ(v[1], v[2], v[3], rebuilt);
                        break;
                }
                double error = 0;
                for (int i = 1; i <= 3; ++i)
                    for (int j = 1; j <= 3; ++j) error += std::abs(rebuilt(i, j) - M(i, j));
                EXPECT_LT(error, 1e-8)
                    << "sequence " << static_cast<int>(s) << " angles " << c.x << " " << c.y << " " << c.z;
            }
        }
    }
}

TEST(SequenceSolutions, PureZRotationShowsItsEulerAngles) {
    JobState job = rotatedJob(0, 0, -3.14159265358979323846 / 2);
    const DetailsFigures f = computeDetails(job);
    const TextTable& zxz = f.sequenceGrid(AngleSequence::ZXZ);
    EXPECT_EQ(zxz.cell(1, 1) + " " + zxz.cell(2, 1) + " " + zxz.cell(3, 1), "-90.0000 0.0000 0.0000");
}

}  // namespace
}  // namespace kal
