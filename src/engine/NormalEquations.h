#pragma once
// The normal equations N·x = w of a weighted least-squares step, N = AᵀPA and w = AᵀPl, added up
// one observation row at a time. Neither Aᵀ nor AᵀP nor any observations × observations matrix
// is formed: time O(rows·u²), memory O(u²). Each row adds (A(k,i)·P(k))·A(k,j) to N(i,j) and
// (A(k,i)·P(k))·l(k) to w(i) in increasing row order, skipping a zero A(k,i)·P(k): the sums of the
// products Aᵀ·P, then ·A and ·l. N is added up on and above the diagonal and mirrored.
#include <cstdint>
#include <vector>

#include "shared/Matrix.h"

namespace kal {

class NormalEquations {
  public:
    explicit NormalEquations(std::int32_t unknowns);

    std::int32_t unknowns() const { return n_; }

    // Adds one observation row: a[1..u] (a[0] unused), misclosure l, weight p.
    void addRow(const double* a, double l, double p) {
        const std::int32_t n = n_;
        for (std::int32_t i = 1; i <= n; ++i) {
            const double ap = a[i] * p;
            if (ap == 0.0) continue;
            double* row = &upper_[static_cast<std::size_t>(i) * static_cast<std::size_t>(n + 1)];
            for (std::int32_t j = i; j <= n; ++j) row[j] += ap * a[j];
            w_[static_cast<std::size_t>(i)] += ap * l;
        }
    }

    // The same for a row that can be nonzero only in the columns cols[0..count) (ascending): the
    // sums addRow() forms, without the products of the columns known to be 0.
    void addRow(const std::int32_t* cols, int count, const double* a, double l, double p) {
        const std::size_t stride = static_cast<std::size_t>(n_ + 1);
        for (int ii = 0; ii < count; ++ii) {
            const std::int32_t i = cols[ii];
            const double ap = a[i] * p;
            if (ap == 0.0) continue;
            double* row = &upper_[static_cast<std::size_t>(i) * stride];
            for (int jj = ii; jj < count; ++jj) row[cols[jj]] += ap * a[cols[jj]];
            w_[static_cast<std::size_t>(i)] += ap * l;
        }
    }

    // Adds v to N(i, j), i ≤ j (mirrored below the diagonal), and to w(i): for sums formed elsewhere.
    void addToMatrix(std::int32_t i, std::int32_t j, double v) {
        upper_[static_cast<std::size_t>(i) * static_cast<std::size_t>(n_ + 1) +
               static_cast<std::size_t>(j)] += v;
    }
    void addToRightHandSide(std::int32_t i, double v) { w_[static_cast<std::size_t>(i)] += v; }

    // N (0..u, 0..u) and w (0..u, 0..1) as 1-based matrices.
    Matrix normalMatrix() const;
    Matrix rightHandSide() const;

  private:
    std::int32_t n_;
    std::vector<double> upper_;  // (u+1) × (u+1), row-major, used on and above the diagonal
    std::vector<double> w_;
};

// Tells whether the normal matrix N (1..u) determines every unknown. The elimination runs in the
// order the inversion uses (1..u, no exchanges); unknown k depends on the earlier ones when what is
// left of its diagonal after eliminating them is at most kDependenceRatio of the diagonal itself
// (or negative). An unknown whose diagonal is exactly 0 has no observation at all: it is passed
// over, and the inversion gives it 1e12 and no correction. Returns the first dependent unknown,
// or 0 when there is none.
inline constexpr double kDependenceRatio = 1e-13;
// (FindDependentUnknown)
std::int32_t findDependentUnknown(const Matrix& N, std::int32_t u);

// Solves a weighted least-squares step from its normal equations: Qxx (0..u, 0..u) := N⁻¹ by
// matInvert, x (0..u, 0..1) := Qxx·w (SolveNormalEquations). Sizes Qxx and x itself. Throws NumericError when
// N is singular (see findDependentUnknown; `dependent` then names the unknown) or a result is not finite.
void solveNormalEquations(const Matrix& N, const Matrix& w, std::int32_t u, Matrix& Qxx, Matrix& x,
                          std::int32_t* dependent = nullptr);

}  // namespace kal
