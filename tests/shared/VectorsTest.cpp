#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "shared/Constants.h"
#include "shared/Errors.h"
#include "shared/Vectors.h"

namespace kal {
namespace {

const Vec3 kP0{0, 1, 2, 3};
const Vec3 kDir{0, -4, 0.5, 2};
const Vec3 kX{0, 0.3, -0.7, 5};

TEST(Vectors, CrossDotAndUnit) {
    Vec3 c{};
    vecCross(kP0, kDir, c);
    EXPECT_EQ(c, (Vec3{0, 2.5, -14, 8.5}));
    double d = 0;
    vecDot(kP0, kDir, d);
    EXPECT_EQ(d, 3.0);

    Vec3 u{0, 9, 9, 9};
    vecUnit(Vec3{0, 0, 0, 0}, u);  // no division by zero
    EXPECT_EQ(u, (Vec3{0, 0, 0, 0}));
    vecUnit(Vec3{0, 3, 0, 4}, u);
    EXPECT_NEAR(u[1], 0.6, 1e-15);
    EXPECT_NEAR(u[3], 0.8, 1e-15);

    Vec3 a{0, 1, 2, 3};
    vecCross(a, kDir, a);  // result into an operand
    EXPECT_EQ(a, (Vec3{0, 2.5, -14, 8.5}));
}

TEST(Vectors, DistancesAndFootPoint) {
    double d = 0;
    distancePointPlane(kP0, kDir, kX, d);
    EXPECT_NEAR(d, 1.2111111110842, 1e-12);
    distancePointLine(kP0, kDir, kX, d);
    EXPECT_NEAR(d, 3.211418670392, 1e-11);
    Vec3 f{};
    footPointOnLine(kP0, kDir, kX, f);
    EXPECT_NEAR(f[1], -0.07654320987, 1e-10);
    EXPECT_NEAR(f[2], 2.13456790123, 1e-10);
    EXPECT_NEAR(f[3], 3.53827160494, 1e-10);
}

struct AngleCase {
    const char* what;
    double value;
    double expected;
    double tolerance;
};

TEST(Vectors, AngleFunctionsUseTheTenDigitP) {
    const AngleCase cases[] = {
        {"AzimuthXY(-1, 0)", azimuthXY(-1, 0), 3.1415926535, 0},
        {"AzimuthXY(0, -1)", azimuthXY(0, -1), -1.57079632675, 1e-15},
        {"AzimuthXY(0, 1)", azimuthXY(0, 1), 1.57079632675, 0},
        {"AzimuthXY(1, -1)", azimuthXY(1, -1), -0.78539816334745, 1e-9},
        {"AzimuthXY(-1, -1)", azimuthXY(-1, -1), -3 * kPi / 4, 1e-9},
        {"AzimuthXY(0, 0)", azimuthXY(0, 0), 0, 0},
        {"NormAngle(-0.3)", normalizeAngle(-0.3), -0.3, 1e-15},
        {"NormAngle(7)", normalizeAngle(7), 7 - 6.283185307, 1e-15},
        {"NormAngle(P)", normalizeAngle(kP), kP, 0},
        {"NormAngle(-P)", normalizeAngle(-kP), kP, 0},
        {"NormAngle(full pi)", normalizeAngle(3.14159265358979), -3.14159265341021, 1e-14},
        {"NormAngle(-20)", normalizeAngle(-20), -20 + 3 * 6.283185307, 1e-14},
        {"PolarAngle(0, 0, 1)", polarAngle(0, 0, 1), std::sqrt(2e-10), 1e-12},  // 1e-10 in the divisor
        {"PolarAngle(1, 0, 0)", polarAngle(1, 0, 0), kPi / 2, 1e-14},
        {"Len2D(3, 4)", length2d(3, 4), 5, 0},
        {"Len3D(2, 3, 6)", length3d(2, 3, 6), 7, 0},
    };
    for (const auto& c : cases) EXPECT_NEAR(c.value, c.expected, c.tolerance) << c.what;
}

TEST(Vectors, ArcSinArcCosEndValuesAndOutsideArguments) {
    const AngleCase cases[] = {
        {"ArcSin(1)", arcSin(1), 1.57079632675, 0},
        {"ArcSin(-1)", arcSin(-1), -1.57079632675, 0},
        {"ArcSin(0.5)", arcSin(0.5), std::asin(0.5), 1e-15},
        {"ArcSin(1.0000000001)", arcSin(1.0000000001), 0, 0},
        {"ArcCos(1)", arcCos(1), 0, 0},
        {"ArcCos(-1)", arcCos(-1), 4 * std::atan(1.0), 0},
        {"ArcCos(0.5)", arcCos(0.5), std::acos(0.5), 1e-15},
        {"ArcCos(-1.0000000001)", arcCos(-1.0000000001), 0, 0},
    };
    for (const auto& c : cases) EXPECT_NEAR(c.value, c.expected, c.tolerance) << c.what;
}

TEST(Vectors, ArcSinOfRoundingAboveOneIsNinetyDegreesNotZero) {
    // sin(90°) rebuilt from a rotation matrix can come out one ulp above 1.
    const double justAbove = std::nextafter(1.0, 2.0);
    EXPECT_EQ(arcSin(justAbove), 1.57079632675);
    EXPECT_EQ(arcSin(-justAbove), -1.57079632675);
    EXPECT_EQ(arcSin(1 + 1e-12), 1.57079632675);
    EXPECT_EQ(arcCos(justAbove), 0.0);
    EXPECT_EQ(arcCos(-1 - 5e-13), 4 * std::atan(1.0));
    EXPECT_EQ(arcSin(1 + 1e-11), 0.0);  // farther out keeps the plain 0
}

TEST(Vectors, TriangleHeightSplitsTheBaseAndReportsImpossibleTriangles) {
    double h = 0, x = 0, y = 0;
    std::string message = "untouched";
    triangleHeight(3, 4, 5, h, x, y, message);
    EXPECT_NEAR(h, 2.39999999995, 1e-10);
    EXPECT_NEAR(x, 1.80000000006, 1e-10);
    EXPECT_NEAR(y, 3.19999999994, 1e-10);
    EXPECT_EQ(message, "untouched");

    triangleHeight(1, 1, 5, h, x, y, message);
    EXPECT_EQ(message, "Error in Höhe-Höhenfußpunkt; no possible triangle");
    EXPECT_TRUE(std::isfinite(h));
}

TEST(Vectors, NonFiniteResultsThrow) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_THROW(normalizeAngle(inf), NumericError);
    EXPECT_THROW(length3d(1e200, 1e200, 0), NumericError);
    EXPECT_THROW(azimuthXY(-1e-10, 1), NumericError);  // x + 1e-10 is exactly 0
    Vec3 c{};
    EXPECT_THROW(vecScale(Vec3{0, 1e300, 0, 0}, 1e300, c), NumericError);
}

}  // namespace
}  // namespace kal
