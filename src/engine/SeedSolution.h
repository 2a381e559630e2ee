#pragma once
// The seed: a raw transformation from three identical points (the seed points), computed before
// any least-squares iteration: translations, x-y'-z'' rotations and three axis scales.
#include "engine/SeedValueSource.h"
#include "shared/JobState.h"

namespace kal {

// Writes the nine outputs (mm, rad, factors) (CalcSeed). The seed points are SeedPointIndex(1..3) among the
// identical points; with only two identical points the OCS origin stands in for the third OCS
// seed point. The scales come from the point distances (RawScale 0), are 1 (RawScale 1), or come
// from the distances unless a use flag of a seed point is 0 (RawScale 2, with 3 or more points).
// Collinear or coincident seed points give meaningless values, not an error.
// At its end, when the job is not in paraboloid mode and the calculation window is loaded
// (TrafoFormGeladen), `seedValues` (the window's applySeed) overwrites what the window holds.
// Refuses (CalcRefused, nothing written) fewer than two identical points or a seed point index
// outside the identical points (the third may be 0 with only two points).
void calculateSeed(JobState& job, double& TraX, double& TraY, double& TraZ, double& RotX, double& RotY,
                   double& RotZ, double& ScaleX, double& ScaleY, double& ScaleZ,
                   SeedValueSource* seedValues = nullptr);

}  // namespace kal
