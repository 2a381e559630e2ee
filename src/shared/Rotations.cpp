#include "shared/Rotations.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "shared/Constants.h"
#include "shared/Errors.h"

namespace kal {
namespace {

// Added to the denominators of the arctangent quotients so that an exact zero in the matrix
// does not divide by zero.
constexpr double kEps = 1e-10 / 10000;

using R3 = std::array<std::array<double, 3>, 3>;  // 0-based 3 × 3 product of elementary rotations

R3 rotX(double a) {
    const double c = std::cos(a), s = std::sin(a);
    return {{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
}
R3 rotY(double a) {
    const double c = std::cos(a), s = std::sin(a);
    return {{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
}
R3 rotZ(double a) {
    const double c = std::cos(a), s = std::sin(a);
    return {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
}

R3 operator*(const R3& a, const R3& b) {
    R3 c{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) c[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return c;
}

void requireRotationSize(const Matrix& M, const char* what) {
    if (M.rows() < 3 || M.cols() < 3)
        throw std::out_of_range(std::string(what) + ": matrix smaller than 3 x 3");
}

// Stores R transposed: M(i,j) = R(j,i).
void storeTransposed(const R3& r, Matrix& M, const char* what) {
    requireRotationSize(M, what);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) M(i, j) = checkedFinite(r[j - 1][i - 1], what);
}

// Two candidates of one angle: the first normalised, the second built from the normalised first.
struct Candidates {
    double first, second;
};
Candidates fromTangent(double t) {  // t and t + P
    const double c1 = normalizeAngle(t);
    return {c1, normalizeAngle(c1 + kP)};
}
Candidates fromSine(double s) {  // s and P - s
    const double c1 = normalizeAngle(s);
    return {c1, normalizeAngle(kP - c1)};
}
Candidates fromCosine(double c) {  // c and 2P - c
    const double c1 = normalizeAngle(c);
    return {c1, normalizeAngle(k2P - c1)};
}

double atanOf(double num, double den) { return std::atan(checkedDivide(num, den + kEps, "AnglesFromMat")); }

using Builder = void (*)(double, double, double, Matrix&);

// Rebuilds all eight combinations (a1 outermost, a3 innermost) and keeps the two closest to M.
void chooseSolutions(const Matrix& M, Builder build, const Candidates& c1, const Candidates& c2,
                     const Candidates& c3, Vec3& S1, Vec3& S2) {
    const double v1[2] = {c1.first, c1.second};
    const double v2[2] = {c2.first, c2.second};
    const double v3[2] = {c3.first, c3.second};
    double best1 = std::pow(10.0, 9.0);
    double best2 = std::pow(10.0, 9.0);
    // A copy of M, so that elements outside 1..3 (a larger array) compare as equal.
    Matrix rebuilt = M;
    for (double a1 : v1)
        for (double a2 : v2)
            for (double a3 : v3) {
                build(a1, a2, a3, rebuilt);
                double d = 0.0;
                bool equal = false;
                matCompare(M, rebuilt, 1e-10, d, equal);
                if (best1 > best2) {
                    if (d < best1) {
                        S1 = {0.0, a1, a2, a3};
                        best1 = d;
                    }
                } else if (d < best2) {
                    S2 = {0.0, a1, a2, a3};
                    best2 = d;
                }
            }
}

}  // namespace

void matFromAnglesXYZ(double a1, double a2, double a3, Matrix& M) {
    storeTransposed(rotX(a1) * rotY(a2) * rotZ(a3), M, "MatFromAnglesXYZ");
}
void matFromAnglesZYX(double a1, double a2, double a3, Matrix& M) {
    storeTransposed(rotZ(a3) * rotY(a2) * rotX(a1), M, "MatFromAnglesZYX");
}
void matFromAnglesZXY(double a1, double a2, double a3, Matrix& M) {
    storeTransposed(rotZ(a3) * rotX(a1) * rotY(a2), M, "MatFromAnglesZXY");
}
void matFromAnglesZXZ(double a1, double a2, double a3, Matrix& M) {
    storeTransposed(rotZ(a1) * rotX(a2) * rotZ(a3), M, "MatFromAnglesZXZ");
}
void matFromAnglesZYZ(double a1, double a2, double a3, Matrix& M) {
    storeTransposed(rotZ(a1) * rotY(a2) * rotZ(a3), M, "MatFromAnglesZYZ");
}

void anglesFromMatXYZ(const Matrix& M, Vec3& S1, Vec3& S2) {
    requireRotationSize(M, "AnglesFromMatXYZ");
    chooseSolutions(M, matFromAnglesXYZ, fromTangent(atanOf(-M(3, 2), M(3, 3))), fromSine(arcSin(M(3, 1))),
                    fromTangent(atanOf(-M(2, 1), M(1, 1))), S1, S2);
}

void anglesFromMatZYX(const Matrix& M, Vec3& S1, Vec3& S2) {
    requireRotationSize(M, "AnglesFromMatZYX");
    chooseSolutions(M, matFromAnglesZYX, fromTangent(atanOf(M(2, 3), M(3, 3))), fromSine(-arcSin(M(1, 3))),
                    fromTangent(atanOf(M(1, 2), M(1, 1))), S1, S2);
}

void anglesFromMatZXY(const Matrix& M, Vec3& S1, Vec3& S2) {
    requireRotationSize(M, "AnglesFromMatZXY");
    chooseSolutions(M, matFromAnglesZXY, fromSine(arcSin(M(2, 3))), fromTangent(atanOf(-M(1, 3), M(3, 3))),
                    fromTangent(atanOf(-M(2, 1), M(2, 2))), S1, S2);
}

void anglesFromMatZXZ(const Matrix& M, Vec3& S1, Vec3& S2) {
    requireRotationSize(M, "AnglesFromMatZXZ");
    chooseSolutions(M, matFromAnglesZXZ, fromTangent(atanOf(-M(3, 1), M(3, 2))), fromCosine(arcCos(M(3, 3))),
                    fromTangent(atanOf(M(1, 3), M(2, 3))), S1, S2);
}

void anglesFromMatZYZ(const Matrix& M, Vec3& S1, Vec3& S2) {
    requireRotationSize(M, "AnglesFromMatZYZ");
    chooseSolutions(M, matFromAnglesZYZ, fromTangent(atanOf(M(3, 2), M(3, 1))), fromCosine(arcCos(M(3, 3))),
                    fromTangent(-atanOf(M(2, 3), M(1, 3))), S1, S2);
}

void matCompare(const Matrix& A, const Matrix& B, double tolerance, double& sum, bool& equal) {
    equal = true;
    sum = 0.0;
    if (A.rows() != B.rows() || A.cols() != B.cols()) {
        equal = false;
        return;
    }
    for (std::int32_t i = 1; i <= A.rows(); ++i)
        for (std::int32_t j = 1; j <= A.cols(); ++j) {
            const double d = std::fabs(A(i, j) - B(i, j));
            if (d > tolerance) equal = false;
            sum += d;
        }
    checkedFinite(sum, "MatCompare");
}

void quaternionFromMat(const Matrix& M, Matrix& Q, double& a1, double& a2, double& a3) {
    requireRotationSize(M, "QuatFromMat");
    if (Q.rows() < 8 || Q.cols() < 1) throw std::out_of_range("QuatFromMat: Q smaller than 8 x 1");
    const char* what = "QuatFromMat";
    double w, x, y, z;
    const double tr = M(1, 1) + M(2, 2) + M(3, 3);
    if (tr > 0) {
        const double s = checkedFinite(2 * std::sqrt(tr + 1), what);
        w = s / 4;
        x = checkedDivide(M(3, 2) - M(2, 3), s, what);
        y = checkedDivide(M(1, 3) - M(3, 1), s, what);
        z = checkedDivide(M(2, 1) - M(1, 2), s, what);
    } else if (M(1, 1) > M(2, 2) && M(1, 1) > M(3, 3)) {
        const double s = checkedFinite(2 * std::sqrt(1 + M(1, 1) - M(2, 2) - M(3, 3)), what);
        w = checkedDivide(M(3, 2) - M(2, 3), s, what);
        x = s / 4;
        y = checkedDivide(M(1, 2) + M(2, 1), s, what);
        z = checkedDivide(M(1, 3) + M(3, 1), s, what);
    } else if (M(2, 2) > M(3, 3)) {
        const double s = checkedFinite(2 * std::sqrt(1 + M(2, 2) - M(1, 1) - M(3, 3)), what);
        w = checkedDivide(M(1, 3) - M(3, 1), s, what);
        x = checkedDivide(M(1, 2) + M(2, 1), s, what);
        y = s / 4;
        z = checkedDivide(M(2, 3) + M(3, 2), s, what);
    } else {
        const double s = checkedFinite(2 * std::sqrt(1 + M(3, 3) - M(1, 1) - M(2, 2)), what);
        w = checkedDivide(M(2, 1) - M(1, 2), s, what);
        x = checkedDivide(M(1, 3) + M(3, 1), s, what);
        y = checkedDivide(M(2, 3) + M(3, 2), s, what);
        z = s / 4;
    }
    const double angle = 2 * arcCos(w);
    const double axisDivisor = std::sin(angle / 2) + 1e-10;
    Q(1, 1) = w;
    Q(2, 1) = x;
    Q(3, 1) = y;
    Q(4, 1) = z;
    Q(5, 1) = angle;
    Q(6, 1) = checkedDivide(x, axisDivisor, what);
    Q(7, 1) = checkedDivide(y, axisDivisor, what);
    Q(8, 1) = checkedDivide(z, axisDivisor, what);
    anglesFromQuaternion(w, x, y, z, a1, a2, a3);
}

void quaternionFromMat(const Matrix& M, Matrix& Q) {
    double a1 = 0, a2 = 0, a3 = 0;
    quaternionFromMat(M, Q, a1, a2, a3);
}

namespace {

// Angle of the quotient num / den moved into the right half-plane (P added for den < 0). An
// exactly zero denominator takes the quadrant-aware arctangent instead of dividing by zero.
double quaternionAngle(double num, double den) {
    if (den == 0) return std::atan2(num, den);
    double a = std::atan(checkedDivide(num, den, "AnglesFromQuat"));
    if (den < 0) a += kP;
    return a;
}

}  // namespace

void anglesFromQuaternion(double w, double x, double y, double z, double& a1, double& a2, double& a3) {
    const double sinB = checkedFinite(2 * w * y - 2 * x * z, "AnglesFromQuat");
    const double dz = checkedFinite(2 * std::pow(x, 2) + 2 * std::pow(w, 2) - 1, "AnglesFromQuat");
    const double dx = checkedFinite(2 * std::pow(z, 2) + 2 * std::pow(w, 2) - 1, "AnglesFromQuat");
    const double r2 = arcSin(sinB);
    const double r3 = quaternionAngle(checkedFinite(2 * w * z + 2 * x * y, "AnglesFromQuat"), dz);
    const double r1 = quaternionAngle(checkedFinite(2 * y * z + 2 * w * x, "AnglesFromQuat"), dx);
    // 0.0 - r rather than -r: a zero angle stays +0.
    a1 = 0.0 - normalizeAngle(r1);
    a2 = 0.0 - normalizeAngle(r2);
    a3 = 0.0 - normalizeAngle(r3);
}

}  // namespace kal
