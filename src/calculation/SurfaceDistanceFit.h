#pragma once
// The fit of the paraboloid flow: the estimated parameters of the model (slots 1..13) fitted to the
// orthogonal distances of the transformed identical points from the surface of revolution (the
// shape profile).
//
// Each point's residual is its signed distance from the surface along the normal n at its foot
// point, weighted by nᵀ·diag(Px, Py, Pz)·n of its three weights: the weighted sum of squares is
// then the sum of the squared foot-point residual vectors, the same sum that s0 is made of. One
// step linearises the distances at the current parameters (the tangent plane at every foot point:
// row nᵀ·∂t/∂p of the transformed point t), solves the normal equations damped after Levenberg and
// Marquardt (scaled by their diagonal) and takes the correction only when it lowers the sum of
// squares; otherwise it raises the damping and tries a shorter correction. A direction the points
// do not determine (a turn about the surface's own axis) is left alone instead of making the
// equations singular.
//
// Unlike alternating foot points with a point-to-point solve, whose steps shrink to nothing along
// the dish's flat direction (tilt against sideways shift), the damped Gauss–Newton step moves the
// whole way along it, and the end is judged on the corrections, not on the change of s0.
//
// Cost per step: one foot-point search per point for the linearisation and one per trial,
// O(n·u²) for the normal equations and O(u³) for their eigen-decomposition (u ≤ 13).
#include <array>
#include <vector>

#include "engine/EngineContext.h"
#include "engine/EngineControls.h"
#include "engine/FootPoint.h"
#include "shared/JobState.h"
#include "shared/Matrix.h"

namespace kal {

struct SurfaceFitStep {
    bool moved = false;              // the parameters took a correction
    bool converged = false;          // the correction taken, or the shortest tried, was below the limit
    bool stuck = false;              // no correction lowered the sum of squares, not even a tiny one
    double largestCorrection = 0.0;  // mm or rad: of the correction taken, or of the last one tried
    double sumOfSquares = 0.0;       // weighted, mm², at the parameters the step left
};

class SurfaceDistanceFit {
  public:
    // Takes the estimated slots from the job's ParamState and the weights from P (rows 3k-2..3k of
    // identical point k, column 1); `limit` is the convergence limit of the corrections (mm, rad).
    // The passes over the points let events through by the context's clock. A layout with R Dist
    // or the offset vector has no surface distances: CalcRefused.
    // With `weighedOnly` the points without weight are not searched at all (their foot points are
    // left unset): for a fit on a sample of the points.
    SurfaceDistanceFit(JobState& job, EngineContext& engine, const Matrix& P, double limit,
                       bool weighedOnly = false);

    // One damped step from the job's current parameters. Leaves the job at the parameters after
    // the step, with the working copy of the rotation (RotXSeed..RotZSeed) equal to them. A
    // transformed point that is not finite throws NumericError.
    SurfaceFitStep step();

    // The foot points (and normals) of the identical points at the parameters the last step left,
    // index 1..IdenticalCount (entry 0 unused); empty before the first step.
    const std::vector<SurfaceFoot>& feet() const { return feet_; }

    // The estimated slots that take part in a direction the points do not determine at the job's
    // current parameters (a turn about the surface's own axis moves tra x, tra y and the angles
    // with rot z''); all false where the points determine every estimated parameter. Leaves the
    // foot points at the current parameters.
    std::array<bool, kParamCount + 1> undeterminedSlots();

    // The cofactor matrix (AᵀPA)⁻¹ of the three coordinate rows of every identical point at the
    // job's current parameters (the rows a calculation towards fixed foot points solves), into
    // Q (1..u, 1..u), u the estimated slots in column order.
    void pointCofactors(Matrix& Q);

    static constexpr int kMaxUnknowns = 13;
    using Square = std::array<std::array<double, kMaxUnknowns + 1>, kMaxUnknowns + 1>;
    using Column = std::array<double, kMaxUnknowns + 1>;

  private:
    // The scaled normal equations at the current parameters and foot points, decomposed.
    struct Linearisation {
        std::vector<int> slots;  // the slot of each unknown 1..u
        Column scale{};          // 1/√N_cc
        Square eigen{};          // the scaled normal matrix, diagonalised: eigenvalues on the diagonal
        Square vectors{};        // its eigenvectors (columns)
        Column projected{};      // qᵀ·g_s per eigenvector, 0 for the undetermined directions
        std::array<bool, kMaxUnknowns + 1> open{};  // the eigenvector is a direction the points leave open
    };
    Linearisation linearise();

    JobState& job_;
    EngineContext& engine_;
    const EngineControls controls_;
    const Matrix& P_;
    const double limit_;
    const bool weighedOnly_;
    double damping_ = 1e-3;  // μ of the scaled normal equations (N_s + μ·I)
    std::vector<SurfaceFoot> feet_;
    std::vector<SurfaceFoot> trialFeet_;

    // The weighted sum of squares at the job's current parameters, with the foot points into `feet`.
    double evaluate(std::vector<SurfaceFoot>& feet);
};

// Eigen-decomposition of the symmetric matrix a (1..u) by cyclic Jacobi rotations: a becomes
// diagonal (the eigenvalues), the columns of q the eigenvectors.
void symmetricEigen(SurfaceDistanceFit::Square& a, SurfaceDistanceFit::Square& q, int u);

// The weight of a point's orthogonal distance: nᵀ·diag(px, py, pz)·n.
double normalWeight(const SurfaceFoot& foot, double px, double py, double pz);

}  // namespace kal
