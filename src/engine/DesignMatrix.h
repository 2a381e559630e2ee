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

// A local origin of the two point sets: the rows are built from MCS - mcs and OCS - ocs. With every
// translation estimated, the translation then stands for T + R·K·S·mcs - ocs; coordinates of 10^6 mm
// and more keep their small differences instead of rounding the misclosures at their own size.
struct PointOrigin {
    double mcs[4]{};  // rows 1..3
    double ocs[4]{};
};

// Weighted sums over the ordinary rows of the identical points, per axis row j (1..3), of the
// points taken from a local origin: what the normal equations of the ordinary rows are made of
// whatever the parameters (the columns and misclosures are linear in the MCS point). Formed once
// per solve, in one pass.
struct OrdinaryMoments {
    double p[4]{};          // Σ P
    double px[4][4]{};      // Σ P·x_m
    double pxx[4][4][4]{};  // Σ P·x_m·x_k
    double po[4]{};         // Σ P·o_j
    double pxo[4][4]{};     // Σ P·x_m·o_j
};

// Polls `poll` now and then in the pass (a long pass lets events through).
OrdinaryMoments sumOrdinaryMoments(const JobState& job, const PointOrigin& origin, const Matrix& P,
                                   void (*poll)(void*) = nullptr, void* pollArg = nullptr);

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

    // Adds the ordinary rows of identical points first..last, weights P(3i-2..3i, 1), into the
    // normal equations: what build() and NormalEquations::addRow give row by row, without the
    // columns that are 0 in a row (the other axes' translations). Only for layouts without distance
    // rows and without use-ABC terms.
    void addOrdinaryRows(std::int32_t first, std::int32_t last, const Matrix& P, NormalEquations& eq) const;

    // The same sums from the moments of the points: the normal equations without a pass over them.
    void addOrdinaryRows(const OrdinaryMoments& m, NormalEquations& eq) const;

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

  private:
    const JobState& job_;
    DesignLayout layout_;
    // Per column among slots 1..13: a unit vector (row 1..3) or a matrix applied to the MCS point.
    std::array<int, kParamCount + 1> unitRow_{};
    std::array<WorkMatrix, kParamCount + 1> columnMatrix_{};
    WorkMatrix r_{}, k_{}, s_{};  // R, K, S for the transformed point
    double t_[4]{};
    double rvec_[4]{};
    double rDist_ = 0.0;
    PointOrigin origin_;
    Matrix abc_;  // M_i of the current point
};

// Fills A (0..nObs, 0..nU) and l (0..nObs, 0..1), both sized by the caller (at least 3n × nU and
// 3n × 1; std::out_of_range otherwise), and refreshes the working copy of the rotation (BuildAMatrix).
void buildDesignMatrix(JobState& job, const EngineControls& controls, const ParamStates& states, Matrix& A,
                       Matrix& l);

}  // namespace kal
