#include "engine/NormalEquations.h"

#include <string>

#include "shared/Errors.h"
#include "shared/MatrixOps.h"

namespace kal {

NormalEquations::NormalEquations(std::int32_t unknowns)
    : n_(unknowns),
      upper_(static_cast<std::size_t>(unknowns + 1) * static_cast<std::size_t>(unknowns + 1), 0.0),
      w_(static_cast<std::size_t>(unknowns + 1), 0.0) {}

Matrix NormalEquations::normalMatrix() const {
    Matrix N(n_, n_);
    for (std::int32_t i = 1; i <= n_; ++i)
        for (std::int32_t j = i; j <= n_; ++j) {
            const double v = upper_[static_cast<std::size_t>(i) * static_cast<std::size_t>(n_ + 1) +
                                    static_cast<std::size_t>(j)];
            N(i, j) = v;
            N(j, i) = v;
        }
    return N;
}

Matrix NormalEquations::rightHandSide() const {
    Matrix w(n_, 1);
    for (std::int32_t i = 1; i <= n_; ++i) w(i, 1) = w_[static_cast<std::size_t>(i)];
    return w;
}

std::int32_t findDependentUnknown(const Matrix& N, std::int32_t u) {
    // L·D·Lᵀ without exchanges: D(k) is the pivot the Gauss-Jordan inversion meets at step k.
    Matrix L(u, u);
    std::vector<double> D(static_cast<std::size_t>(u + 1), 0.0);
    for (std::int32_t k = 1; k <= u; ++k) {
        const double diag = N(k, k);
        if (diag == 0.0) continue;  // no observation: its row and column are zero
        double dk = diag;
        for (std::int32_t j = 1; j < k; ++j) dk -= L(k, j) * L(k, j) * D[static_cast<std::size_t>(j)];
        if (!(dk > kDependenceRatio * diag)) return k;
        D[static_cast<std::size_t>(k)] = dk;
        for (std::int32_t i = k + 1; i <= u; ++i) {
            double s = N(i, k);
            for (std::int32_t j = 1; j < k; ++j) s -= L(i, j) * L(k, j) * D[static_cast<std::size_t>(j)];
            L(i, k) = s / dk;
        }
    }
    return 0;
}

void solveNormalEquations(const Matrix& N, const Matrix& w, std::int32_t u, Matrix& Qxx, Matrix& x,
                          std::int32_t* dependent) {
    for (std::int32_t i = 1; i <= u; ++i)
        for (std::int32_t j = 1; j <= u; ++j) checkedFinite(N(i, j), "the normal matrix");
    const std::int32_t k = findDependentUnknown(N, u);
    if (dependent) *dependent = k;
    if (k != 0)
        throw NumericError("The normal matrix is singular: unknown " + std::to_string(k) +
                           " is not determined by the observations.");
    if (Qxx.rows() != u || Qxx.cols() != u) Qxx.resize(u, u);
    if (x.rows() != u || x.cols() != 1) x.resize(u, 1);
    matInvert(N, u, u, Qxx);
    std::int32_t rows = 0, cols = 0;
    matMult(Qxx, u, u, w, u, 1, x, rows, cols);
    for (std::int32_t i = 1; i <= u; ++i) {
        checkedFinite(x(i, 1), "the corrections");
        for (std::int32_t j = 1; j <= u; ++j) checkedFinite(Qxx(i, j), "the cofactor matrix");
    }
}

}  // namespace kal
