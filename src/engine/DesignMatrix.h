#pragma once
// Observation equations of the model (TransformModel.h) linearised at the current parameters:
// the design matrix A (one row per observation, one column per estimated parameter) and the
// misclosures l (observed minus computed).
//
// Ordinary equations: identical point i owns rows 3i-2 (x), 3i-1 (y), 3i (z): OCS point against
// the transformed MCS point. Estimated slots get consecutive columns in slot order; the R Dist
// column and the first offset-vector column both follow the last estimated slot among 1..13.
// R Dist mode: one distance row per point (row i) replaces the three ordinary rows:
// |o_i - t_i| against RDist; rows n+1..3n of A are zero while l still holds the ordinary
// misclosures there. Use-ABC terms: the offset vector (Rvec_x, Rvec_y, Rvec_z), turned by the OCS
// point's A, B, C angles (M_i = Rz(A)·Ry(B)·Rx(C)), is added to the transformed point.
//
// The rows of one point are built by DesignRowBuilder, which prepares every matrix product once per
// linearisation point (no trigonometry per point and column); buildDesignMatrix writes them into a
// dense A, and the solver adds them into the normal equations without forming A at all. Both give
// the same numbers.
#include <array>
#include <cstdint>

#include "engine/EngineControls.h"
#include "engine/ParameterStates.h"
#include "engine/TransformModel.h"
#include "shared/JobState.h"
#include "shared/Matrix.h"

namespace kal {

class NormalEquations;

// What the equations look like for the given states and controls.
struct DesignLayout {
    std::array<bool, kParamCount + 1> isFloat{};
    std::int32_t nU = 0;         // estimated parameters: the columns of A
    std::int32_t nU13 = 0;       // estimated among slots 1..13
    bool rDistMode = false;      // distance equations replace the ordinary ones
    bool distanceRows = false;   // the points have distance rows (R Dist mode only)
    bool useAbcTerms = false;    // the turned offset vector is part of the model
    bool offsetColumns = false;  // slots 15..17 are estimated (columns nU13+1..nU13+3)
};

// The R Dist mode: (CheckRDist = 1, or CheckRDist = 0 and slot 14 held at a nonzero value) and
// UseAbcMode off (IsRDistMode). The one predicate for the solver, the calculation and its reweighting loops.
bool isRDistMode(const JobState& job, const EngineControls& controls, const ParamStates& states);

// Decides the layout (DecideDesignLayout). Refuses (CalcRefused) states the equations cannot serve:
// slots 15..17 not all estimated or all held, R Dist estimated together with the offset vector, distance rows
// together with the offset-vector terms, offset-vector terms while OcsAngles does not hold the
// angles of every identical point.
DesignLayout decideDesignLayout(const JobState& job, const EngineControls& controls,
                                const ParamStates& states);

// A local origin of the two point sets: the rows are built from MCS - mcs and OCS - ocs. Each
// estimated translation then stands for T + R·K·S·mcs - ocs, the translation at the local origin;
// a held one stays the stored value, and the rows of its axis take T + R·K·S·mcs - ocs as a fixed
// offset of the linearisation point and the columns at the full MCS point. Coordinates of 10^5 mm
// and more keep their small differences instead of rounding the misclosures at their own size, and
// the estimated translations do not move with every small turn of the rotation.
struct PointOrigin {
    double mcs[4]{};  // rows 1..3
    double ocs[4]{};
};

// Weighted sums over the ordinary rows of the identical points, per axis row j (1..3), of the MCS
// points taken from the local origin: what the normal matrix of the ordinary rows is made of
// whatever the parameters (the columns are linear in the MCS point). Formed once per solve, in the
// first iteration's pass over the points (DesignRowBuilder::sumMisclosures).
struct OrdinaryMoments {
    double p[4]{};          // Σ P
    double px[4][4]{};      // Σ P·x_m
    double pxx[4][4][4]{};  // Σ P·x_m·x_k, formed for m ≤ k
};

// Mirrors the moments formed for m ≤ k to m > k.
OrdinaryMoments completeMoments(OrdinaryMoments m);

// Weighted sums of the ordinary misclosures at one linearisation point, per axis row j (1..3):
// what the right-hand side AᵀPl is made of. They depend on the parameters, so they are formed
// afresh in every iteration, one pass over the points, each misclosure computed at the point
// itself (sums of products of the coordinates would cancel the misclosures away).
struct MisclosureSums {
    double pl[4]{};      // Σ P·l
    double plx[4][4]{};  // Σ P·l·x_m, x from the local origin
};

// The rows of one identical point.
struct PointRows {
    double a[3][kParamCount + 1];  // ordinary rows 3i-2..3i, columns 1..nU
    double l[3];                   // their misclosures
    double d[kParamCount + 1];     // the distance row (when the layout has distance rows), columns 1..nU
    double dl;                     // its misclosure D - RDist
};

class DesignRowBuilder {
  public:
    // Refreshes the working copy of the rotation (RotXSeed..RotZSeed := RotX..RotZ) and prepares
    // the matrices of this linearisation point. The job must not change while the builder is used.
    DesignRowBuilder(JobState& job, const EngineControls& controls, const ParamStates& states,
                     const PointOrigin& origin = {});

    const DesignLayout& layout() const { return layout_; }

    // The normal matrix N = AᵀPA of the ordinary rows of every identical point from the moments of
    // the points (no pass over them). Only for layouts without distance rows and use-ABC terms.
    void addOrdinaryNormalMatrix(const OrdinaryMoments& m, NormalEquations& eq) const;

    // Adds the misclosures of the ordinary rows of identical points first..last, weights
    // P(3i-2..3i, 1), into `sums`, and with `moments` the points' moments into those (to be
    // completed by completeMoments once every point is in).
    void sumMisclosures(std::int32_t first, std::int32_t last, const Matrix& P, MisclosureSums& sums,
                        OrdinaryMoments* moments = nullptr) const;

    // The right-hand side w = AᵀPl of the ordinary rows from their misclosure sums.
    void addOrdinaryRightHandSide(const MisclosureSums& sums, NormalEquations& eq) const;

    // Residuals v = A·x - l of the ordinary rows of identical points first..last with the
    // corrections x (1..nU): rows 3i-2..3i go to v(3i-2..3i, 1).
    void ordinaryResiduals(std::int32_t first, std::int32_t last, const Matrix& x, Matrix& v) const;

    // Whether every ordinary residual with the corrections x is surely finite when no coordinate
    // is larger than `largestCoordinate` in size: a bound on every term of them stays far from
    // overflow.
    bool ordinaryResidualsStayFinite(double largestCoordinate, const Matrix& x) const;

    // Columns 1..nU13 of the three ordinary rows at an MCS point x (rows 1..3), as build() gives them.
    void columnsAt(const double x[4], double a[3][kParamCount + 1]) const;

    // Whether column c (1..nU) can be nonzero in ordinary row j (1..3) of some point at this
    // linearisation point (for the R Dist column: whether there are distance rows): the model
    // depends on the unknown there. A column that reaches no row is an unknown the model does not
    // depend on at all (Azimuth z with z to xy at 0).
    bool reachesRow(std::int32_t c, int j) const;

    // Rows of identical point i (1..IdenticalCount). A point at distance 0 from its OCS point in
    // the R Dist mode throws NumericError (the distance row divides by it).
    void build(std::int32_t i, PointRows& rows);

    // The weighted sum of squares of the misclosures at this linearisation point: Σ P(3i)·(D_i -
    // RDist)² over the distance rows, or Σ P·l² over the ordinary rows (with the use-ABC terms),
    // each misclosure as build() gives it. A point at distance 0 counts with D = 0. Only for
    // layouts with distance rows or use-ABC terms (the solver's step control).
    double weightedSquareSum(const Matrix& P) const;

  private:
    const JobState& job_;
    DesignLayout layout_;
    // Per column among slots 1..13: a unit vector (row 1..3) or a matrix applied to the MCS point.
    std::array<int, kParamCount + 1> unitRow_{};
    std::array<WorkMatrix, kParamCount + 1> columnMatrix_{};
    // Per axis row j whose translation is held (the local origin in use): column c's entry at the
    // origin's MCS point, added to every point's entry; 0 elsewhere.
    double heldShift_[4][kParamCount + 1]{};
    bool heldAxis_[4]{};
    WorkMatrix r_{}, k_{}, s_{};  // R, K, S for the transformed point
    WorkMatrix q_{};              // (R·K)·S: the ordinary rows' passes over many points
    double t_[4]{};  // the translation at the local origin (for a held one: the fixed offset)
    double rvec_[4]{};
    double rDist_ = 0.0;
    PointOrigin origin_;
    Matrix abc_;  // M_i of the current point

    // A·x of a point's ordinary rows is shift + D·(MCS - mcs): the combined corrections.
    void combinedCorrections(const Matrix& x, WorkMatrix& D, double shift[4]) const;
};

// Fills A (0..nObs, 0..nU) and l (0..nObs, 0..1), both sized by the caller (at least 3n × nU and
// 3n × 1; std::out_of_range otherwise), and refreshes the working copy of the rotation (BuildAMatrix).
void buildDesignMatrix(JobState& job, const EngineControls& controls, const ParamStates& states, Matrix& A,
                       Matrix& l);

}  // namespace kal
