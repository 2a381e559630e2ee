#pragma once
// A start for the R Dist fit (the robot-tool fit: each OCS point at one common distance from its
// transformed MCS point, in a direction of its own) taken from all used points instead of the three
// seed points. Three seed points carry three tool offsets into the pose, often tens of degrees of
// rotation, from where the iteration can wander off; a fit of the pose to all used points averages
// the offsets out.
//
// The pose is the closed-form rigid fit (Horn's unit quaternion: the eigenvector of the largest
// eigenvalue of a symmetric 4×4 matrix of the weighted cross moments) of K·S·MCS onto the OCS,
// with K and S at their start values; with held translations or rotation angles, a damped
// Gauss–Newton fit of the others from there; then R Dist := the mean distance left between the
// transformed MCS points and their OCS points. Time O(n), memory O(n) for the turned points.
#include <array>
#include <optional>

#include "engine/DesignMatrix.h"
#include "shared/JobState.h"
#include "shared/Matrix.h"

namespace kal {

// The pose of the rigid fit: o ≈ T + Q·m for the points m and o with weights w (AllPointsRigidFit).
// Q is a rotation in rows and columns 1..3. Empty when no point weighs or the moments do not
// give one rotation (every weight 0, coincident points).
struct RigidPose {
    WorkMatrix Q{};
    double T[4]{};
};

// Every point i = 1..n with m[i], o[i] (rows 1..3) and w[i] ≥ 0.
std::optional<RigidPose> fitRigidPose(std::int32_t n, const double* const m[4], const double* const o[4],
                                      const double* w);

// The parameters the all-points start proposes for the job's estimated translations, rotations,
// scales and R Dist (AllPointsStart): the job's parameter block with those replaced. For layouts
// with distance rows, whatever is held: the held translations and rotation angles keep their
// values (the job's parameter block holds them) and the others come from the rigid fit with them
// held; an estimated scale from the fit's cross moments; an estimated R Dist the mean distance left.
// Empty for other layouts, or when the points give no rotation. The used points (P(3i), the
// distance row's weight, not 0) count alike: reweighting loops (L1) give a few points weights of
// 1e12, and a pose through those alone would start the fit in the corner where their distances are
// 0. Changes nothing.
std::optional<std::array<double, kParamCount + 1>> allPointsStart(const JobState& job,
                                                                  const DesignLayout& lay, const Matrix& P);

// A start turned away from `from`: its point rotation turned by `turn` (a rotation, rows and
// columns 1..3), the held rotation angles kept, then the estimated translations and R Dist as the
// all-points start completes them. Another valley of the robot-tool fit to start from.
std::optional<std::array<double, kParamCount + 1>> turnedStart(
    const JobState& job, const DesignLayout& lay, const Matrix& P,
    const std::array<double, kParamCount + 1>& from, const WorkMatrix& turn);

}  // namespace kal
