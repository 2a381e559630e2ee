#pragma once
// The transformation model OCS = T + R·K·S·MCS and the one point transformation of the program.
//
// R: rotation of the x-y'-z'' triple (a, b, c) = (RotXSeed, RotYSeed, RotZSeed), the transpose of
//    Rx(a)·Ry(b)·Rz(c). R is built from the working copy of the angles, never from RotX..RotZ:
//    after a solve, points turn with the rotation from the start of the last iteration.
// K: shape matrix of xy, Azimuth z, z to xy (ParXY, Azimuth, ZtoXY), rows (1, sin xy, sin zt·cos az),
//    (0, cos xy, sin zt·sin az), (0, 0, cos zt).
// S: diag(ScaleX, ScaleY, ScaleZ). ScaleXYZ is no factor of its own; R Dist and the offset vector
//    take no part here.
// T: (TraX, TraY, TraZ). Lengths in millimetres, angles in radians.
#include <array>
#include <cstdint>

#include "shared/JobState.h"
#include "shared/Matrix.h"

namespace kal {

// A 4×4 matrix indexed (row, column) 0..3 of which rows and columns 1..3 are used; row 0 and
// column 0 stay 0.
using WorkMatrix = std::array<std::array<double, 4>, 4>;

// The engine's four work matrices, shared by the model builders, the derivative builders of the
// design matrix and transformMcsPoint.
struct H3DMatrices {
    WorkMatrix H3D_Matrix1{};  // R, or a derivative of R
    WorkMatrix H3D_Matrix2{};  // K, or a derivative of K
    WorkMatrix H3D_Matrix3{};  // S
    WorkMatrix H3D_Matrix4{};  // column 1: the result of transformMcsPoint
};

// H3D_Matrix1 := R from RotXSeed, RotYSeed, RotZSeed (BuildRotMatrix).
void buildRotationMatrix(const JobState& job, H3DMatrices& m);
// H3D_Matrix2 := K from ParXY, Azimuth, ZtoXY (all nine elements written) (BuildShapeMatrix).
void buildShapeMatrix(const JobState& job, H3DMatrices& m);
// H3D_Matrix3 := diag(ScaleX, ScaleY, ScaleZ) (BuildScaleMatrix).
void buildScaleMatrix(const JobState& job, H3DMatrices& m);

// M(1..3, 1..3) := K of the given angles; other elements of M stay (ShapeMatrixFromAngles). M needs upper
// bounds of at least 3 × 3 (std::out_of_range otherwise).
void shapeMatrixFromAngles(double xy, double az, double zt, Matrix& M);
void shapeMatrixFromAngles(double xy, double az, double zt, WorkMatrix& M);

// Column 1 of H3D_Matrix4 := ((H3D_Matrix1·H3D_Matrix2)·H3D_Matrix3)·MCS point i (TransformMcsPoint). Builds
// nothing and adds no translation. i outside 1..McsCount throws std::out_of_range.
void transformMcsPoint(const JobState& job, std::int32_t i, H3DMatrices& m);

// (xo, yo, zo) := T + ((R·K)·S)·(x, y, z) with the current parameters (TransformPoint). A result that is not
// finite throws NumericError.
void transformPoint(const JobState& job, double x, double y, double z, double& xo, double& yo, double& zo);

// 3×3 product a·b over rows and columns 1..3, in the order and with the zero skip of matMult:
// c(i,j) starts at 0 and adds a(i,k)·b(k,j) for k = 1..3 unless a factor is exactly 0 (MultiplyWork).
WorkMatrix multiplyWork(const WorkMatrix& a, const WorkMatrix& b);

// The model built once for many points: (R·K)·S and T as transformPoint forms them, so apply()
// gives exactly what transformPoint gives, without trigonometry per point. Rebuild it after any
// change of the parameters or of the working copy of the rotation.
class PointTransform {
  public:
    explicit PointTransform(const JobState& job);
    // A result that is not finite throws NumericError.
    void apply(double x, double y, double z, double& xo, double& yo, double& zo) const;
    const WorkMatrix& matrix() const { return q_; }  // (R·K)·S

  private:
    WorkMatrix q_{};
    double t_[4]{};
};

}  // namespace kal
