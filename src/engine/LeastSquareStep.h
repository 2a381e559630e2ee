#pragma once
// One weighted least-squares step on a dense design matrix: N = AᵀPA and w = AᵀPl added up from
// the rows of A (NormalEquations.h), Qxx := N⁻¹, x := Qxx·w, v := A·x - l. The solver itself adds
// the rows up as it builds them (LeastSquares.h) and writes the same progress texts.
#include <cstdint>
#include <string>

#include "engine/EngineContext.h"
#include "shared/Matrix.h"

namespace kal {

// Panel 2 texts of a step, in the order they are shown.
inline constexpr const char* kTextTranspose = "calculating A transposed...";
inline constexpr const char* kTextAtP = "calculating At * P... ";
inline constexpr const char* kTextAtPA = "calculating At * P * A... ";
inline constexpr const char* kTextInversion = "doing Matrix inversion...";
inline constexpr const char* kTextAtPl = "calculating At * P * l... ";
inline constexpr const char* kTextResults = "calculating Resultsvector... ";
inline constexpr const char* kTextCorrections = "calculating corrections... ";

// Panel 1: "Iteration " and the number of finished iterations with a leading blank when ≥ 0
// ("Iteration  0") (IterationText).
std::string iterationText(std::int32_t finishedIterations);

// A: (0..nObs, 0..nU), l and P: (0..nObs, 0..1) (LeastSquareStep). Sizes x (0..nU, 0..1), v (0..nObs, 0..1)
// and Qxx (0..nU, 0..nU). Throws NumericError when the normal matrix is singular or a result is not finite;
// x, v and Qxx are then not to be used. With a context, the texts go to panels 1 and 2.
void leastSquareStep(const Matrix& A, const Matrix& l, const Matrix& P, Matrix& x, Matrix& v, Matrix& Qxx,
                     std::int32_t nU, std::int32_t nObs, EngineContext* ctx = nullptr,
                     std::int32_t finishedIterations = 0);

}  // namespace kal
