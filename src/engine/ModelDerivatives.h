#pragma once
// Analytic derivatives of the rotation matrix R and the shape matrix K of the model (see
// TransformModel.h) by one angle each. The rotation derivatives are taken at the working copy
// RotXSeed, RotYSeed, RotZSeed; the shape derivatives at ParXY, Azimuth, ZtoXY. Each builder
// writes all nine elements, zeros included.
#include "engine/TransformModel.h"
#include "shared/JobState.h"

namespace kal {

void DerivRotX(const JobState& job, H3DMatrices& m);  // H3D_Matrix1 := ∂R/∂a (rot x)
void DerivRotY(const JobState& job, H3DMatrices& m);  // H3D_Matrix1 := ∂R/∂b (rot y')
void DerivRotZ(const JobState& job, H3DMatrices& m);  // H3D_Matrix1 := ∂R/∂c (rot z'')

void DerivShapeXY(const JobState& job, H3DMatrices& m);       // H3D_Matrix2 := ∂K/∂xy
void DerivShapeAzimuth(const JobState& job, H3DMatrices& m);  // H3D_Matrix2 := ∂K/∂az
void DerivShapeZtoXY(const JobState& job, H3DMatrices& m);    // H3D_Matrix2 := ∂K/∂zt

}  // namespace kal
