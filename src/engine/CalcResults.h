#pragma once
// The calculation fields that the solver, the calculation, its reweighting loops, the Monte Carlo
// series and the result display share. The calculation window's model owns one instance.
// Column vectors are 1-based Matrix objects with one used column (column 1).
#include <array>
#include <cstdint>

#include "shared/JobState.h"
#include "shared/Matrix.h"

namespace kal {

struct CalcResults {
    std::int32_t UnknownCount = 0;      // estimated parameters
    std::int32_t ObservationCount = 0;  // 3 × IdenticalCount: point k owns rows 3k-2 (x), 3k-1 (y), 3k (z)
    Matrix Weights;                     // (0..ObservationCount, 0..1): observation weights
    Matrix Residuals;                   // (0..ObservationCount, 0..1): residuals v, written by the solver
    Matrix CofactorMatrix;  // (0..UnknownCount, 0..UnknownCount): inverse of the last normal matrix
    double S0 = 0, Sx = 0, Sy = 0, Sz = 0;
    double NormTolerance = 0;  // mm, the stop tolerance of the reweighting loops
    // The norm the last adjustment minimised (NormModeValue). Under L1 and minimax the weights are
    // those of the last reweighting step, so S0 and the cofactors give no sigma of the estimate.
    std::int16_t SolvedNorm = kNormL2;

    std::array<double, kParamCount + 1> OldParams{};  // the parameter block before the calculation, 1..17
    std::int32_t ParaIteration = 0;                   // paraboloid step counter

    // Set by the solver: in the R Dist mode rows 1..DistanceRowCount of Residuals hold one distance
    // residual per identical point (weights per point in rows 3k); 0 otherwise. Whoever rewrites the
    // residuals as x, y, z triples sets it back to 0.
    std::int32_t DistanceRowCount = 0;
    // Set when S0, Sx, Sy, Sz were taken over the distance rows of the R Dist mode before those
    // rows were rewritten as triples: the result display shows these instead of recomputing them
    // over the triples. Every calculation starts it false.
    bool SigmasOfDistanceRows = false;
    // Set by the paraboloid flow: the estimated parameters that move with a turn about the
    // surface's own axis, which its points cannot determine while rot z'' is estimated. Their
    // cofactors belong to one of many equally good solutions, so they give no sigma. Every
    // calculation starts it clear.
    std::array<bool, kParamCount + 1> OpenBySurface{};
};

}  // namespace kal
