#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "shared/Constants.h"
#include "shared/Errors.h"
#include "shared/Rotations.h"
#include "shared/Statistics.h"

namespace kal {
namespace {

using Builder = void (*)(double, double, double, Matrix&);
using Decomposer = void (*)(const Matrix&, Vec3&, Vec3&);

double differenceSum(const Matrix& a, const Matrix& b) {
    double sum = 0;
    bool equal = false;
    matCompare(a, b, 0, sum, equal);
    return sum;
}

Matrix build(Builder b, const Vec3& angles) {
    Matrix m(3, 3);
    b(angles[1], angles[2], angles[3], m);
    return m;
}

// Angles equal up to a whole turn (normalizeAngle works with P, so compare modulo 2π).
bool sameAngles(const Vec3& a, const Vec3& b, double tolerance) {
    for (int i = 1; i <= 3; ++i)
        if (std::fabs(std::remainder(a[i] - b[i], 2 * kPi)) > tolerance) return false;
    return true;
}

// Rotation matrix of the unit quaternion (w, x, y, z), in the stored orientation of this library.
Matrix quaternionMatrix(double w, double x, double y, double z) {
    Matrix m(3, 3);
    m(1, 1) = 1 - 2 * (y * y + z * z);
    m(1, 2) = 2 * (x * y - w * z);
    m(1, 3) = 2 * (x * z + w * y);
    m(2, 1) = 2 * (x * y + w * z);
    m(2, 2) = 1 - 2 * (x * x + z * z);
    m(2, 3) = 2 * (y * z - w * x);
    m(3, 1) = 2 * (x * z - w * y);
    m(3, 2) = 2 * (y * z + w * x);
    m(3, 3) = 1 - 2 * (x * x + y * y);
    return m;
}

const Vec3 kAngles{0, 0.3, 0.5, 0.7};

TEST(MatFromAnglesXYZ, FollowsTheWrittenOutTable) {
    const Matrix m = build(matFromAnglesXYZ, kAngles);
    EXPECT_NEAR(m(2, 1), -0.5653542083811, 1e-13);
    EXPECT_NEAR(m(3, 2), -0.2593433800522, 1e-13);

    const double c1 = std::cos(0.3), s1 = std::sin(0.3), c2 = std::cos(0.5), s2 = std::sin(0.5);
    const double c3 = std::cos(0.7), s3 = std::sin(0.7);
    const double table[3][3] = {{c2 * c3, c1 * s3 + s1 * s2 * c3, s1 * s3 - c1 * s2 * c3},
                                {-c2 * s3, c1 * c3 - s1 * s2 * s3, s1 * c3 + c1 * s2 * s3},
                                {s2, -s1 * c2, c1 * c2}};
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) EXPECT_NEAR(m(i, j), table[i - 1][j - 1], 1e-15) << i << "," << j;
}

TEST(AnglesFromMatXYZ, GivesBothSolutionsWithTheFirstCombinationInS2) {
    const Matrix m = build(matFromAnglesXYZ, kAngles);
    Vec3 s1{}, s2{};
    anglesFromMatXYZ(m, s1, s2);
    EXPECT_NEAR(s2[1], 0.3, 1e-14);
    EXPECT_NEAR(s2[2], 0.5, 1e-14);
    EXPECT_NEAR(s2[3], 0.7, 1e-14);
    EXPECT_NEAR(s1[1], -2.8415926535, 1e-9);
    EXPECT_NEAR(s1[2], 2.6415926535, 1e-9);
    EXPECT_NEAR(s1[3], -2.4415926535, 1e-9);
    // The second solution is built with P, not π, so it rebuilds M only to about 7e-10.
    EXPECT_LT(differenceSum(build(matFromAnglesXYZ, s1), m), 1e-9);
    EXPECT_LT(differenceSum(build(matFromAnglesXYZ, s2), m), 1e-9);
}

TEST(AnglesFromMatZXZ, GivesTheAnglesAndTheirMirror) {
    const Matrix m = build(matFromAnglesZXZ, kAngles);
    Vec3 s1{}, s2{};
    anglesFromMatZXZ(m, s1, s2);
    const Vec3 mirror{0, -2.8415926535, -0.5, -2.4415926535};
    EXPECT_TRUE((sameAngles(s1, kAngles, 1e-12) && sameAngles(s2, mirror, 1e-9)) ||
                (sameAngles(s2, kAngles, 1e-12) && sameAngles(s1, mirror, 1e-9)));
}

struct Sequence {
    const char* name;
    Builder build;
    Decomposer decompose;
    bool properEuler;  // z-x'-z'' and z-y'-z'': the middle angle is singular at 0 and π, else at ±90°
};

const Sequence kSequences[] = {
    {"XYZ", matFromAnglesXYZ, anglesFromMatXYZ, false}, {"ZYX", matFromAnglesZYX, anglesFromMatZYX, false},
    {"ZXY", matFromAnglesZXY, anglesFromMatZXY, false}, {"ZXZ", matFromAnglesZXZ, anglesFromMatZXZ, true},
    {"ZYZ", matFromAnglesZYZ, anglesFromMatZYZ, true},
};

// Angles near ±π for the outer angles and near the singular middle angle, plus uniform ones.
std::vector<Vec3> roundTripAngles(bool properEuler) {
    UniformRandom random(20240611);
    auto uniform = [&](double lo, double hi) { return lo + (hi - lo) * random.next(); };
    auto outer = [&](int k) {
        switch (k % 4) {
            case 0:
                return kPi - uniform(1e-9, 1e-3);
            case 1:
                return -kPi + uniform(1e-9, 1e-3);
            default:
                return uniform(-kPi, kPi);
        }
    };
    auto middle = [&](int k) {
        const double nearSingular = uniform(1e-6, 1e-3);
        if (properEuler) {
            switch (k % 3) {
                case 0:
                    return nearSingular;
                case 1:
                    return kPi - nearSingular;
                default:
                    return uniform(0, kPi);
            }
        }
        switch (k % 3) {
            case 0:
                return kPi / 2 - nearSingular;
            case 1:
                return -kPi / 2 + nearSingular;
            default:
                return uniform(-kPi / 2, kPi / 2);
        }
    };
    std::vector<Vec3> angles;
    for (int k = 0; k < 120; ++k) angles.push_back({0, outer(k), middle(k / 4), outer(k / 2 + 1)});
    angles.push_back({0, 0, 0, 0});
    angles.push_back({0, 0.3, 0.5, 0.7});
    return angles;
}

TEST(RotationSequences, EverySequenceRoundTripsIncludingNearPiAndNearTheSingularMiddleAngle) {
    for (const Sequence& seq : kSequences) {
        for (const Vec3& angles : roundTripAngles(seq.properEuler)) {
            const Matrix m = build(seq.build, angles);
            Vec3 s1{}, s2{};
            seq.decompose(m, s1, s2);
            const std::string where = std::string(seq.name) + " (" + std::to_string(angles[1]) + ", " +
                                      std::to_string(angles[2]) + ", " + std::to_string(angles[3]) + ")";
            EXPECT_LT(differenceSum(build(seq.build, s1), m), 1e-8) << where << " S1";
            EXPECT_LT(differenceSum(build(seq.build, s2), m), 1e-8) << where << " S2";
            // Near the singular middle angle only the product of the outer angles is well defined.
            if (std::fabs(seq.properEuler ? std::sin(angles[2]) : std::cos(angles[2])) > 1e-2) {
                EXPECT_TRUE(sameAngles(s1, angles, 1e-8) || sameAngles(s2, angles, 1e-8)) << where;
            }
        }
    }
}

TEST(MatCompare, SumsDifferencesAndCountsTheToleranceAsEqual) {
    Matrix a(3, 3), b(3, 3);
    double sum = -1;
    bool equal = false;
    matCompare(a, b, 0.0, sum, equal);
    EXPECT_EQ(sum, 0.0);
    EXPECT_TRUE(equal);
    b(2, 3) = 0.25;
    b(1, 1) = -0.5;
    matCompare(a, b, 0.5, sum, equal);
    EXPECT_EQ(sum, 0.75);
    EXPECT_TRUE(equal);
    matCompare(a, b, 0.4, sum, equal);
    EXPECT_FALSE(equal);
    matCompare(a, Matrix(3, 4), 1.0, sum, equal);
    EXPECT_FALSE(equal);
    EXPECT_EQ(sum, 0.0);
}

TEST(QuaternionFromMat, IdentityAndTheXyzExample) {
    Matrix q(8, 1);
    double a1 = 9, a2 = 9, a3 = 9;
    quaternionFromMat(build(matFromAnglesXYZ, {0, 0, 0, 0}), q, a1, a2, a3);
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(q(i, 1), i == 1 ? 1.0 : 0.0) << i;
    EXPECT_EQ(a1, 0.0);
    EXPECT_EQ(a2, 0.0);
    EXPECT_EQ(a3, 0.0);

    quaternionFromMat(build(matFromAnglesXYZ, kAngles), q, a1, a2, a3);
    EXPECT_NEAR(q(1, 1), 0.8872721877, 1e-10);
    EXPECT_NEAR(q(2, 1), -0.2198957663, 1e-10);
    EXPECT_NEAR(q(3, 1), -0.1801458580, 1e-10);
    EXPECT_NEAR(q(4, 1), -0.3632373697, 1e-10);
    EXPECT_NEAR(q(5, 1), 2 * std::acos(0.8872721877), 1e-9);
    const double norm = std::sqrt(1 - q(1, 1) * q(1, 1));
    EXPECT_NEAR(q(6, 1), q(2, 1) / norm, 1e-9);
    EXPECT_NEAR(a1, 0.3, 1e-9);
    EXPECT_NEAR(a2, 0.5, 1e-9);
    EXPECT_NEAR(a3, 0.7, 1e-9);
}

TEST(QuaternionFromMat, HalfTurnTakesTheSecondDiagonalBranchOnEqualDiagonalElements) {
    Matrix m(3, 3);
    const double rows[3][3] = {
        {-1.0 / 9, -8.0 / 9, 4.0 / 9}, {-8.0 / 9, -1.0 / 9, -4.0 / 9}, {4.0 / 9, -4.0 / 9, -7.0 / 9}};
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) m(i, j) = rows[i - 1][j - 1];
    Matrix q(8, 1);
    double a1 = 0, a2 = 0, a3 = 0;
    quaternionFromMat(m, q, a1, a2, a3);
    const double expected[8] = {0, -2.0 / 3, 2.0 / 3, -1.0 / 3, kPi, -2.0 / 3, 2.0 / 3, -1.0 / 3};
    for (int i = 1; i <= 8; ++i) EXPECT_NEAR(q(i, 1), expected[i - 1], 1e-9) << i;
    EXPECT_NEAR(a1, 2.622446539, 1e-9);
    EXPECT_NEAR(a2, 0.460553992, 1e-9);
    EXPECT_NEAR(a3, 1.695151321, 1e-9);
    EXPECT_LT(differenceSum(build(matFromAnglesXYZ, {0, a1, a2, a3}), m), 1e-9);
}

struct QuatCase {
    const char* what;
    double w, x, y, z;
};

TEST(AnglesFromQuaternion, RebuildsTheMatrixOfItsQuaternionAlsoWhereADenominatorIsExactlyZero) {
    const double h = std::sqrt(0.5);
    const QuatCase cases[] = {
        {"both denominators 0", 0.5, 0.5, 0.5, 0.5},
        {"dz = 0 only", 0.5, 0.5, h, 0},
        {"dx = 0 only", 0.5, 0, h, 0.5},
        {"half turn", 0, -2.0 / 3, 2.0 / 3, -1.0 / 3},
        {"general", 0.8872721877, -0.2198957663, -0.1801458580, -0.3632373697},
    };
    for (const auto& c : cases) {
        double a1 = 0, a2 = 0, a3 = 0;
        anglesFromQuaternion(c.w, c.x, c.y, c.z, a1, a2, a3);
        EXPECT_LT(
            differenceSum(build(matFromAnglesXYZ, {0, a1, a2, a3}), quaternionMatrix(c.w, c.x, c.y, c.z)),
            1e-8)
            << c.what;
    }
    double a1 = 0, a2 = 0, a3 = 0;
    anglesFromQuaternion(0.5, 0.5, 0.5, 0.5, a1, a2, a3);
    EXPECT_NEAR(a1, -kPi / 2, 1e-14);
    EXPECT_EQ(a2, 0.0);
    EXPECT_NEAR(a3, -kPi / 2, 1e-14);

    // Through quaternionFromMat: the matrix of (0.5, 0.5, 0.5, 0.5) comes back from its angles.
    const Matrix m = quaternionMatrix(0.5, 0.5, 0.5, 0.5);
    Matrix q(8, 1);
    quaternionFromMat(m, q, a1, a2, a3);
    EXPECT_EQ(q(1, 1), 0.5);
    EXPECT_LT(differenceSum(build(matFromAnglesXYZ, {0, a1, a2, a3}), m), 1e-14);
}

TEST(Rotations, TooSmallMatricesAreRefused) {
    Matrix small(2, 3);
    EXPECT_THROW(matFromAnglesXYZ(0, 0, 0, small), std::out_of_range);
    Matrix q(4, 1);
    EXPECT_THROW(quaternionFromMat(build(matFromAnglesXYZ, kAngles), q), std::out_of_range);
}

}  // namespace
}  // namespace kal
