#pragma once
// Rotation matrices from and to five Euler angle sequences, and quaternions.
//
// Convention: every matrix built here is stored transposed, M(i,j) = R(j,i), where R is the
// product of the elementary rotations Rx, Ry, Rz (right-handed, Rz(a) = [[c, -s, 0], [s, c, 0],
// [0, 0, 1]]) named below; a point is turned by multiplying its column vector from the left by
// M. Angles are radians. Matrices are kal::Matrix with upper bounds of at least 3 × 3 (elements
// 1..3 used; a smaller one throws std::out_of_range). Angle triples are Vec3 (entries 1..3).
//
// a1, a2, a3 keep one meaning in every sequence: for x-y'-z'', z-y'-x'' and z-x'-y'' a1 is the
// angle about x, a2 about y and a3 about z; for z-x'-z'' and z-y'-z'' a1 is the first angle
// about z, a2 the middle one and a3 the last one about z.
#include "shared/Matrix.h"
#include "shared/Vectors.h"

namespace kal {

// Rotation matrix of x-y'-z'' angles (MatFromAnglesXYZ).
void matFromAnglesXYZ(double a1, double a2, double a3, Matrix& M);  // x-y'-z'':  R = Rx(a1)·Ry(a2)·Rz(a3)
// Rotation matrix of z-y'-x'' angles (MatFromAnglesZYX).
void matFromAnglesZYX(double a1, double a2, double a3, Matrix& M);  // z-y'-x'':  R = Rz(a3)·Ry(a2)·Rx(a1)
// Rotation matrix of z-x'-y'' angles (MatFromAnglesZXY).
void matFromAnglesZXY(double a1, double a2, double a3, Matrix& M);  // z-x'-y'':  R = Rz(a3)·Rx(a1)·Ry(a2)
// Rotation matrix of z-x'-z'' angles (MatFromAnglesZXZ).
void matFromAnglesZXZ(double a1, double a2, double a3, Matrix& M);  // z-x'-z'':  R = Rz(a1)·Rx(a2)·Rz(a3)
// Rotation matrix of z-y'-z'' angles (MatFromAnglesZYZ).
void matFromAnglesZYZ(double a1, double a2, double a3, Matrix& M);  // z-y'-z'':  R = Rz(a1)·Ry(a2)·Rz(a3)

// The two angle solutions of the rotation matrix M (elements 1..3) in the sequence's own
// argument order (AnglesFromMatXYZ). Two candidates per angle give eight combinations; each is rebuilt and
// compared with M (sum of absolute element differences), and S1 and S2 keep the two closest. The very first
// combination lands in S2 and which solution is which is no ranking: callers that want one (the seed solution
// takes S1, the mouse rotation S2) rely on this exact rule.
void anglesFromMatXYZ(const Matrix& M, Vec3& S1, Vec3& S2);
// The two z-y'-x'' angle triples (AnglesFromMatZYX).
void anglesFromMatZYX(const Matrix& M, Vec3& S1, Vec3& S2);
// The two z-x'-y'' angle triples (AnglesFromMatZXY).
void anglesFromMatZXY(const Matrix& M, Vec3& S1, Vec3& S2);
// The two z-x'-z'' angle triples (AnglesFromMatZXZ).
void anglesFromMatZXZ(const Matrix& M, Vec3& S1, Vec3& S2);
// The two z-y'-z'' angle triples (AnglesFromMatZYZ).
void anglesFromMatZYZ(const Matrix& M, Vec3& S1, Vec3& S2);

// Compares elements (1..rows, 1..cols) of A and B: sum = Σ|A(i,j) - B(i,j)|, equal = every
// difference ≤ tolerance (MatCompare). Matrices with different upper bounds give equal false and sum 0.
void matCompare(const Matrix& A, const Matrix& B, double tolerance, double& sum, bool& equal);

// Quaternion of the rotation matrix M: Q(1..4, 1) = w, x, y, z (w the scalar part, w ≥ 0 in the
// trace branch), Q(5, 1) = the rotation angle 2·arcCos(w), Q(6..8, 1) = the axis (x, y, z) /
// (sin(angle/2) + 1e-10); a1, a2, a3 = its x-y'-z'' angles (AnglesFromQuat) (QuatFromMat). Q needs upper
// bounds of at least 8 × 1.
void quaternionFromMat(const Matrix& M, Matrix& Q, double& a1, double& a2, double& a3);
void quaternionFromMat(const Matrix& M, Matrix& Q);  // the same without the angles

// x-y'-z'' angles of the unit quaternion (w, x, y, z): for the quaternion of a matrix built by
// matFromAnglesXYZ they rebuild that matrix, also where a denominator of the arctangent
// quotients is exactly 0 (such as (0.5, 0.5, 0.5, 0.5)), which takes the quadrant-aware
// arctangent (AnglesFromQuat).
void anglesFromQuaternion(double w, double x, double y, double z, double& a1, double& a2, double& a3);

}  // namespace kal
