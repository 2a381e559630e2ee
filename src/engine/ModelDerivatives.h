#pragma once
// Analytic derivatives of the rotation matrix R and the shape matrix K of the model (see
// TransformModel.h) by one angle each. The rotation derivatives are taken at the working copy
// RotXSeed, RotYSeed, RotZSeed; the shape derivatives at ParXY, Azimuth, ZtoXY. Each builder
// writes all nine elements, zeros included.
#include "engine/TransformModel.h"
#include "shared/JobState.h"

namespace kal {

void derivativeRotX(const JobState& job, H3DMatrices& m);  // H3D_Matrix1 := ∂R/∂a (rot x) (DerivRotX)
void derivativeRotY(const JobState& job, H3DMatrices& m);  // H3D_Matrix1 := ∂R/∂b (rot y') (DerivRotY)
void derivativeRotZ(const JobState& job, H3DMatrices& m);  // H3D_Matrix1 := ∂R/∂c (rot z'') (DerivRotZ)

void derivativeShapeXY(const JobState& job, H3DMatrices& m);  // H3D_Matrix2 := ∂K/∂xy (DerivShapeXY)
// (DerivShapeAzimuth)
void derivativeShapeAzimuth(const JobState& job, H3DMatrices& m);  // H3D_Matrix2 := ∂K/∂az
void derivativeShapeZtoXY(const JobState& job, H3DMatrices& m);  // H3D_Matrix2 := ∂K/∂zt (DerivShapeZtoXY)

}  // namespace kal
