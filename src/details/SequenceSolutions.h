#pragma once
// The two angle solutions of one rotation sequence, made sound at gimbal lock.
//
// The sequence procedures take the outer angles from arctangents of matrix elements. When the
// middle angle sits where the outer axes line up (z-x'-z'' and z-y'-z'' with the middle angle 0 or
// 180°, the other three with it at ±90°), those elements are rounding noise and the quotient picks
// an arbitrary pair: for a rotation about z alone the z-x'-z'' angles came out near (180°, 0,
// 180°), a rotation of almost nothing. Only the sum (or difference) of the outer angles is fixed
// then; a solution that does not rebuild the matrix is replaced by the one with its last angle 0
// (solution 1) or 180° (solution 2) and its first angle taken from the matrix, which does.
#include "details/AngleSequences.h"
#include "shared/Matrix.h"
#include "shared/Vectors.h"

namespace kal {

// The sequence's procedure, then every solution checked by rebuilding the matrix (sum of absolute
// element differences at most 1e-9) and replaced as above when it fails.
void solveSequence(AngleSequence sequence, const Matrix& M, Vec3& s1, Vec3& s2);

}  // namespace kal
