#include "shared/MatrixOps.h"

#include <cmath>

#include "shared/Errors.h"

namespace kal {
namespace {

// A subscript error before any element is written at an index outside the array.
void requireSize(const Matrix& m, std::int32_t rows, std::int32_t cols, const char* op, const char* name) {
    if (rows > m.rows() || cols > m.cols())
        throw std::out_of_range(std::string(op) + ": matrix " + name + " is smaller than " +
                                std::to_string(rows) + " x " + std::to_string(cols));
}

void addOrSubtract(const char* op, double sign, const Matrix& A, std::int32_t rowsA, std::int32_t colsA,
                   const Matrix& B, Matrix& C, std::int32_t& rowsC, std::int32_t& colsC) {
    rowsC = rowsA;
    colsC = colsA;
    if (rowsA <= 0 || colsA <= 0) return;
    requireSize(A, rowsA, colsA, op, "A");
    requireSize(B, rowsA, colsA, op, "B");
    requireSize(C, rowsA, colsA, op, "C");
    for (std::int32_t i = 1; i <= rowsA; ++i)
        for (std::int32_t j = 1; j <= colsA; ++j)
            C(i, j) = checkedFinite(sign > 0 ? A(i, j) + B(i, j) : A(i, j) - B(i, j), op);
}

}  // namespace

void matAdd(const Matrix& A, std::int32_t rowsA, std::int32_t colsA, const Matrix& B, std::int32_t /*rowsB*/,
            std::int32_t /*colsB*/, Matrix& C, std::int32_t& rowsC, std::int32_t& colsC) {
    addOrSubtract("MatAdd", 1.0, A, rowsA, colsA, B, C, rowsC, colsC);
}

void matSub(const Matrix& A, std::int32_t rowsA, std::int32_t colsA, const Matrix& B, std::int32_t /*rowsB*/,
            std::int32_t /*colsB*/, Matrix& C, std::int32_t& rowsC, std::int32_t& colsC) {
    addOrSubtract("MatSub", -1.0, A, rowsA, colsA, B, C, rowsC, colsC);
}

void matMult(const Matrix& A, std::int32_t rowsA, std::int32_t colsA, const Matrix& B, std::int32_t /*rowsB*/,
             std::int32_t colsB, Matrix& C, std::int32_t& rowsC, std::int32_t& colsC) {
    if (&C == &A || &C == &B) throw std::invalid_argument("MatMult: the product must not overwrite a factor");
    rowsC = rowsA;
    colsC = colsB;
    if (rowsA <= 0 || colsB <= 0) return;
    requireSize(A, rowsA, colsA, "MatMult", "A");
    requireSize(B, colsA, colsB, "MatMult", "B");
    requireSize(C, rowsA, colsB, "MatMult", "C");
    // Row-wise (i, k, j) order: every C(i,j) still receives its products in increasing k, so
    // the sums are those of the plain triple loop, while B and C are read along their rows.
    for (std::int32_t i = 1; i <= rowsA; ++i) {
        for (std::int32_t j = 1; j <= colsB; ++j) C(i, j) = 0.0;
        for (std::int32_t k = 1; k <= colsA; ++k) {
            const double a = A(i, k);
            if (a == 0.0) continue;
            for (std::int32_t j = 1; j <= colsB; ++j) {
                const double b = B(k, j);
                if (b != 0.0) C(i, j) += a * b;
            }
        }
        for (std::int32_t j = 1; j <= colsB; ++j) checkedFinite(C(i, j), "MatMult");
    }
}

void matTimesWeights(const Matrix& A, std::int32_t rowsA, std::int32_t /*colsA*/, const Matrix& P,
                     std::int32_t /*rowsP*/, std::int32_t cols, Matrix& C, std::int32_t& rowsC,
                     std::int32_t& colsC) {
    rowsC = rowsA;
    colsC = cols;
    if (rowsA <= 0 || cols <= 0) return;
    requireSize(A, rowsA, cols, "MatTimesWeights", "A");
    requireSize(P, cols, 1, "MatTimesWeights", "P");
    requireSize(C, rowsA, cols, "MatTimesWeights", "C");
    for (std::int32_t i = 1; i <= rowsA; ++i)
        for (std::int32_t j = 1; j <= cols; ++j)
            C(i, j) = checkedFinite(A(i, j) * P(j, 1), "MatTimesWeights");
}

void matTranspose(const Matrix& A, std::int32_t rowsA, std::int32_t colsA, Matrix& At, std::int32_t& rowsAt,
                  std::int32_t& colsAt) {
    if (&At == &A) throw std::invalid_argument("MatTranspose: the transpose must not overwrite its source");
    rowsAt = colsA;
    colsAt = rowsA;
    if (rowsA <= 0 || colsA <= 0) return;
    requireSize(A, rowsA, colsA, "MatTranspose", "A");
    requireSize(At, colsA, rowsA, "MatTranspose", "At");
    for (std::int32_t i = 1; i <= colsA; ++i)
        for (std::int32_t j = 1; j <= rowsA; ++j) At(i, j) = A(j, i);
}

void matInvert(const Matrix& A, std::int32_t n, std::int32_t m, Matrix& Ainv) {
    if (n <= 0) return;
    requireSize(Ainv, n, n, "MatInvert", "Ainv");
    if (&A != &Ainv) {
        if (m > 0) {
            requireSize(A, m, n, "MatInvert", "A");
            requireSize(Ainv, m, n, "MatInvert", "Ainv");
        }
        for (std::int32_t i = 1; i <= m; ++i)
            for (std::int32_t j = 1; j <= n; ++j) Ainv(i, j) = A(i, j);
    }
    Matrix& a = Ainv;
    for (std::int32_t k = 1; k <= n; ++k) {
        // Only this division can turn a non-finite element back into a finite one, so the
        // pivot is tested here and every other element once at the end.
        a(k, k) = checkedDivide(1.0, 1e-12 + checkedFinite(a(k, k), "MatInvert"), "MatInvert");
        const double pivot = a(k, k);
        for (std::int32_t j = 1; j <= n; ++j)
            if (j != k) a(k, j) = -a(k, j) * pivot;
        for (std::int32_t i = 1; i <= n; ++i) {
            if (i == k) continue;
            const double aik = a(i, k);
            for (std::int32_t j = 1; j <= n; ++j)
                if (j != k) a(i, j) = aik * a(k, j) + a(i, j);
        }
        for (std::int32_t i = 1; i <= n; ++i)
            if (i != k) a(i, k) = a(i, k) * pivot;
    }
    for (std::int32_t i = 1; i <= n; ++i)
        for (std::int32_t j = 1; j <= n; ++j) checkedFinite(a(i, j), "MatInvert");
}

void removeElement(std::vector<double>& list, std::int32_t k) {
    const auto upper = static_cast<std::int32_t>(list.size()) - 1;
    if (k < 1 || k > upper) throw std::out_of_range("RemoveElement: no entry " + std::to_string(k));
    list.erase(list.begin() + k);
}

void removeEqualValues(std::vector<double>& list) {
    // Same result as removing each later near-equal entry one by one, in one compaction pass
    // per kept entry.
    const double tolerance = std::pow(10.0, -8.0);
    for (std::size_t i = 1; i < list.size(); ++i) {
        std::size_t kept = i + 1;
        for (std::size_t j = i + 1; j < list.size(); ++j)
            if (!(std::fabs(list[j] - list[i]) < tolerance)) list[kept++] = list[j];
        list.resize(kept);
    }
}

}  // namespace kal
