#pragma once
// 3-vectors and the geometry helpers built on them. Angles are radians; the helpers use the
// ten-digit P = 3.1415926535 (kP) and 2P (k2P), not full pi. Small constants (1e-9, 1e-10) keep
// degenerate input (zero vectors, zero lengths) away from a division by zero: such input gives
// meaningless numbers, not errors. A result that comes out non-finite throws NumericError.
#include <array>
#include <string>

namespace kal {

// x, y, z in entries 1, 2, 3; entry 0 unused.
using Vec3 = std::array<double, 4>;

// Results may be written into one of the operands.
void vecAdd(const Vec3& a, const Vec3& b, Vec3& c);    // c = a + b (VecAdd)
void vecSub(const Vec3& a, const Vec3& b, Vec3& c);    // c = a - b (VecSub)
void vecScale(const Vec3& a, double s, Vec3& c);       // c = s·a (VecScale)
void vecDot(const Vec3& a, const Vec3& b, double& d);  // d = a1·b1 + a2·b2 + a3·b3 (VecDot)
void vecCross(const Vec3& a, const Vec3& b, Vec3& c);  // c = a × b (VecCross)
void vecNorm(const Vec3& a, double& n);                // n = |a| (VecNorm)
// Unit vector (VecUnit).
void vecUnit(const Vec3& a, Vec3& u);  // u = a / |a|; the zero vector gives (0, 0, 0)

double length2d(double x, double y);            // cylinder radius √(x² + y²) (Len2D)
double length3d(double x, double y, double z);  // sphere radius √(x² + y² + z²) (Len3D)

// Direction angle of (x, y) in (-P, P]; (0, 0) gives 0 (AzimuthXY).
double azimuthXY(double x, double y);

// Angle from the +z axis, arcCos(z / (length3d + 1e-10)), 0..π (PolarAngle).
double polarAngle(double x, double y, double z);

// Arcsine: ±P/2 at ±1 (ArcSin). An argument beyond ±1 by at most 1e-12 (rounding) counts as ±1; one
// farther outside gives 0.
double arcSin(double x);

// Arccosine: 0 at 1, full π at -1 (ArcCos). An argument beyond ±1 by at most 1e-12 counts as ±1; one
// farther outside gives 0.
double arcCos(double x);

// a brought into (-P, P]: P stays P and -P becomes P (NormAngle).
double normalizeAngle(double a);

// Signed distance of x from the plane through p0 with normal n: (n·x - n·p0) / (|n| + 1e-10)
// (DistPointPlane).
void distancePointPlane(const Vec3& p0, const Vec3& n, const Vec3& x, double& d);

// Distance of x from the line through p0 with direction r (DistPointLine).
void distancePointLine(const Vec3& p0, const Vec3& r, const Vec3& x, double& d);

// Foot point f of x on the line through p0 with direction r (FootPointOnLine).
void footPointOnLine(const Vec3& p0, const Vec3& r, const Vec3& x, Vec3& f);

// Altitude h onto side c of the triangle with sides a, b, c, and the parts x (next to side a)
// and y (next to side b) into which its foot divides c (TriangleHeight). When one side is longer than the two
// others together, message is set to "Error in Höhe-Höhenfußpunkt; no possible triangle"
// (otherwise it is not touched) and h, x, y are still computed, h from |h²|.
void triangleHeight(double a, double b, double c, double& h, double& x, double& y, std::string& message);

}  // namespace kal
