#include "shared/Vectors.h"

#include <cmath>

#include "shared/Constants.h"
#include "shared/Errors.h"

namespace kal {
namespace {

// Arguments within this distance outside ±1 are rounding of ±1 (a rotation matrix element of a
// 90° angle comes out as 1 + 2e-16) and are taken as ±1.
constexpr double kUnitSlack = 1e-12;

double clampRounding(double x) {
    if (x > 1.0 && x <= 1.0 + kUnitSlack) return 1.0;
    if (x < -1.0 && x >= -1.0 - kUnitSlack) return -1.0;
    return x;
}

Vec3 checked(const Vec3& v, const char* what) {
    for (int i = 1; i <= 3; ++i) checkedFinite(v[i], what);
    return v;
}

}  // namespace

void vecAdd(const Vec3& a, const Vec3& b, Vec3& c) {
    c = checked({0.0, a[1] + b[1], a[2] + b[2], a[3] + b[3]}, "VecAdd");
}

void vecSub(const Vec3& a, const Vec3& b, Vec3& c) {
    c = checked({0.0, a[1] - b[1], a[2] - b[2], a[3] - b[3]}, "VecSub");
}

void vecScale(const Vec3& a, double s, Vec3& c) {
    c = checked({0.0, s * a[1], s * a[2], s * a[3]}, "VecScale");
}

void vecDot(const Vec3& a, const Vec3& b, double& d) {
    d = checkedFinite(a[1] * b[1] + a[2] * b[2] + a[3] * b[3], "VecDot");
}

void vecCross(const Vec3& a, const Vec3& b, Vec3& c) {
    c = checked({0.0, a[2] * b[3] - a[3] * b[2], a[3] * b[1] - a[1] * b[3], a[1] * b[2] - a[2] * b[1]},
                "VecCross");
}

void vecNorm(const Vec3& a, double& n) {
    n = checkedFinite(std::sqrt(a[1] * a[1] + a[2] * a[2] + a[3] * a[3]), "VecNorm");
}

void vecUnit(const Vec3& a, Vec3& u) {
    double n = 0.0;
    vecNorm(a, n);
    if (n == 0.0) n = 1e-9;
    vecScale(a, 1.0 / n, u);
}

double length2d(double x, double y) { return checkedFinite(std::sqrt(x * x + y * y), "Len2D"); }

double length3d(double x, double y, double z) {
    return checkedFinite(std::sqrt(x * x + y * y + z * z), "Len3D");
}

double azimuthXY(double x, double y) {
    double r = std::atan(checkedDivide(y, x + 1e-10, "AzimuthXY"));
    if (x < 0 && y > 0) r += kP;
    if (x < 0 && y < 0) r += kP;
    if (x > 0 && y < 0) r += k2P;
    if (x == 0) {
        if (y > 0) r = kP / 2;
        if (y < 0) r = kP / 2 + kP;
    }
    if (y == 0) {
        if (x > 0) r = 0;
        if (x < 0) r = kP;
    }
    if (r > kP) r -= k2P;
    return r;
}

double polarAngle(double x, double y, double z) {
    return arcCos(checkedDivide(z, length3d(x, y, z) + 1e-10, "PolarAngle"));
}

double arcSin(double x) {
    x = clampRounding(checkedFinite(x, "ArcSin"));
    const double t = 1.0 - x * x;
    if (t < 0) return 0.0;
    const double root = std::sqrt(t);
    if (root == 0.0) return x > 0 ? kP / 2 : -kP / 2;
    return std::atan(x / root);
}

double arcCos(double x) {
    x = clampRounding(checkedFinite(x, "ArcCos"));
    const double t = 1.0 - x * x;
    if (t < 0) return 0.0;
    const double root = std::sqrt(t);
    if (root == 0.0) return x > 0 ? 0.0 : 4.0 * std::atan(1.0);
    return std::atan(-x / root) + 2.0 * std::atan(1.0);
}

double normalizeAngle(double a) {
    checkedFinite(a, "NormAngle");
    if (a == 0) return 0.0;
    double r = a - 2.0 * std::floor(a / k2P) * kP;
    if (r > kP) r -= k2P;
    if (r < -kP) {
        r += k2P;
        if (r > kP || r < -kP) return 0.0;
    }
    return r;
}

void distancePointPlane(const Vec3& p0, const Vec3& n, const Vec3& x, double& d) {
    double nx = 0.0, np0 = 0.0, len = 0.0;
    vecDot(n, x, nx);
    vecDot(n, p0, np0);
    vecNorm(n, len);
    d = checkedDivide(nx - np0, len + 1e-10, "DistPointPlane");
}

namespace {

// t of the foot point p0 + t·r of x on the line through p0 with direction r.
double footParameter(const Vec3& p0, const Vec3& r, const Vec3& x) {
    Vec3 v{};
    vecSub(x, p0, v);
    double vr = 0.0, rr = 0.0;
    vecDot(v, r, vr);
    vecDot(r, r, rr);
    return checkedDivide(vr, rr + 1e-10, "FootPointOnLine");
}

}  // namespace

void distancePointLine(const Vec3& p0, const Vec3& r, const Vec3& x, double& d) {
    const double t = footParameter(p0, r, x);
    Vec3 diff{}, tr{};
    vecSub(p0, x, diff);
    vecScale(r, t, tr);
    vecAdd(diff, tr, diff);
    vecNorm(diff, d);
}

void footPointOnLine(const Vec3& p0, const Vec3& r, const Vec3& x, Vec3& f) {
    const double t = footParameter(p0, r, x);
    Vec3 tr{};
    vecScale(r, t, tr);
    vecAdd(p0, tr, f);
}

void triangleHeight(double a, double b, double c, double& h, double& x, double& y, std::string& message) {
    if (a > b + c || b > a + c || c > a + b) message = "Error in Höhe-Höhenfußpunkt; no possible triangle";
    const double denominator = c + 1e-10;
    if (a > b) {
        x = checkedDivide((a * a + c * c - b * b) / 2, denominator, "TriangleHeight");
        y = c - x;
        h = checkedFinite(std::sqrt(std::fabs(b * b - y * y)), "TriangleHeight");
    } else {
        y = checkedDivide((b * b + c * c - a * a) / 2, denominator, "TriangleHeight");
        x = c - y;
        h = checkedFinite(std::sqrt(std::fabs(a * a - x * x)), "TriangleHeight");
    }
}

}  // namespace kal
