#pragma once
// The normal equations of a distance network, built without the design matrix as a dense array.
// Each distance row has at most six non-zero entries (±d/s at its station's and its point's
// three columns), so N = AᵀPA (P = 1) and n = AᵀPl are accumulated row by row: per element the
// same products, added in the same row order, as the dense product that skips zero factors.
// Cost per iteration: O(36·w) for N and n, O(u³) for the inversion, O(u²) for x; memory: one
// u × u matrix (N, inverted in place into qxx) and vectors. No u × w array exists anywhere.
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "shared/Matrix.h"

namespace kal {

// One row of the design matrix: up to six (unknown, value) pairs in ascending unknown order
// (unknown 0 marks a held column, which is left out) and the misclosure l.
struct DesignRow {
    std::array<std::int32_t, 6> unknown{};
    std::array<double, 6> value{};
    int size = 0;
    double misclosure = 0.0;
};

// N (1..u × 1..u, `normal` sized u × u by the caller and set to 0 here) and n (1..u).
void accumulateNormalEquations(const std::vector<DesignRow>& rows, std::int32_t u, Matrix& normal,
                               std::vector<double>& rightSide, const std::function<void()>& poll);

// The inverse of the u × u matrix in place by the program's Gauss-Jordan exchange: steps
// k = 1..u in order, no pivot search, 1/(1e-12 + pivot) (an all-zero row and column gives 1e12 on
// the diagonal). Every element gets the arithmetic of matInvert in its order (the steps are taken
// in blocks for the cache, and rows whose factor is exactly 0 are skipped, which changes no value),
// so the result is matInvert's. `poll` is called every 16 rows of each block of steps with the
// share of the steps done (0 to 1), so events pass during a long inversion. NumericError when a
// pivot or a result is not finite.
void invertInPlace(Matrix& a, std::int32_t u, const std::function<void(double done)>& poll);

}  // namespace kal
