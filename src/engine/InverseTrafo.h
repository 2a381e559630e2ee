#pragma once
// The inverse of the transformation, MCS = T' + (R·K·S)⁻¹·OCS, and every parameter set (rotation,
// scales, shape angles) that rebuilds a given 3×3 matrix. A matrix R·K·S has several such sets:
// rotation triples that differ by π in several angles at once, and, with shape angles, different
// splits between R and K.
#include <cstdint>

#include "shared/JobState.h"
#include "shared/Matrix.h"
#include "shared/Vectors.h"

namespace kal {

// Shown by the windows when no parameter set rebuilds the matrix: the outcome for different axis
// scales without shape angles, whose inverse cannot be written as R'·S'.
inline constexpr const char* kNoInverseSolutionMessage =
    "No inverted Solutions found. Notice: A transformation with any scale in a SEPPARATE Axis does not have "
    "an "
    "inverted solution!";

// InvTraX, InvTraY, InvTraZ := -(R·K·S)⁻¹·T and InverseSolutionTable := the parameter sets of
// (R·K·S)⁻¹, with R from the working copy of the rotation, as transformPoint uses it (CalcInverseTrafo). The
// inverses of R, K and S are exact (the transpose and closed forms), so a rotation of exactly 90° inverts
// exactly. Shape angles take part when any is not 0; scales are taken from the matrix unless all
// four scales are exactly 1 and no shape angle is set. Returns false when no set was found (the
// table then holds row 0 only; the window shows kNoInverseSolutionMessage). A zero scale or a
// degenerate shape matrix (xy or z to xy of ±90°) throws NumericError.
bool solveInverseTransform(JobState& job);

// Fills `table` (0..n, 0..9) with every parameter set that rebuilds M (elements 1..3): per row rot x,
// rot y', rot z'' (columns 1..3), scale x, y, z (4..6; 1 without the scale flag), xy, azimuth z,
// z to xy (7..9); angles in (-P, P], sorted by xy, rot z'', azimuth z (EnumInverseSolutions). Returns false
// and leaves row 0 only when none rebuilds M within 1e-5 (sum of the absolute element differences).
bool enumerateInverseSolutions(const Matrix& M, bool shapeFlag, bool scaleFlag, Matrix& table);

// The two (xy, azimuth z, z to xy) solutions of a shape matrix K, in entries 1..3 (ShapeAnglesFromMatrix).
void shapeAnglesFromMatrix(const Matrix& K, Vec3& sol1, Vec3& sol2);

// The angle whose sine is s and cosine c (the two may disagree slightly): of the sine-based and the
// cosine-based candidates the closest pair, the sine-based member when it is within ±π/4 (AngleFromSinCos).
double angleFromSinCos(double s, double c);

// Removes every row equal within tol, column by column, to an earlier row (in angle mode a value
// 2π above the earlier row's counts as equal too); count := the rows left, which keep their order
// (RemoveDoubleRows).
void removeDuplicateRows(Matrix& table, double tol, std::int32_t& count, bool angleMode);

// Moves rows k+1..n up by one (columns 1..cols) and sets row n to 0; the table keeps its size (DeleteRow).
void deleteRow(Matrix& table, std::int32_t k);

}  // namespace kal
