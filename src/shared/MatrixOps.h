#pragma once
// Dense matrix operations on 1-based kal::Matrix. Every operation takes the dimensions of its
// operands as arguments (never from the arrays, which may be larger) and reports the dimensions
// of its result through two output arguments, written before any element. Results go into a
// matrix the caller has sized; nothing here resizes a matrix, except the two list operations.
//
// Errors: a result array too small for the given dimensions, or an index outside a list, throws
// std::out_of_range before anything is written; an element that comes out non-finite (overflow,
// invalid operation) throws NumericError, and the elements written before it stay. Dimensions of
// 0 or less leave the result untouched.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "shared/Matrix.h"

namespace kal {

// C(i,j) = A(i,j) + B(i,j) for i = 1..rowsA, j = 1..colsA (MatAdd). rowsB and colsB are not read.
void matAdd(const Matrix& A, std::int32_t rowsA, std::int32_t colsA, const Matrix& B, std::int32_t rowsB,
            std::int32_t colsB, Matrix& C, std::int32_t& rowsC, std::int32_t& colsC);

// C(i,j) = A(i,j) - B(i,j), ranges as matAdd (MatSub).
void matSub(const Matrix& A, std::int32_t rowsA, std::int32_t colsA, const Matrix& B, std::int32_t rowsB,
            std::int32_t colsB, Matrix& C, std::int32_t& rowsC, std::int32_t& colsC);

// C = A·B (rowsA × colsB) (MatMult). Each C(i,j) starts at 0 and adds A(i,k)·B(k,j) for k = 1..colsA in
// order, skipping every product with an exactly zero factor: sparse design matrices rely on it
// for speed, and the rounding of the normal equations depends on it. rowsB is not read.
// C must be a different matrix from A and B (std::invalid_argument otherwise).
void matMult(const Matrix& A, std::int32_t rowsA, std::int32_t colsA, const Matrix& B, std::int32_t rowsB,
             std::int32_t colsB, Matrix& C, std::int32_t& rowsC, std::int32_t& colsC);

// C(i,j) = A(i,j)·P(j,1) for i = 1..rowsA, j = 1..cols: A times the diagonal matrix whose
// diagonal is column 1 of P (a weight vector) (MatTimesWeights). colsC = cols; colsA and rowsP are not read.
void matTimesWeights(const Matrix& A, std::int32_t rowsA, std::int32_t colsA, const Matrix& P,
                     std::int32_t rowsP, std::int32_t cols, Matrix& C, std::int32_t& rowsC,
                     std::int32_t& colsC);

// At(i,j) = A(j,i); rowsAt = colsA, colsAt = rowsA (MatTranspose). At must be a different matrix from A.
void matTranspose(const Matrix& A, std::int32_t rowsA, std::int32_t colsA, Matrix& At, std::int32_t& rowsAt,
                  std::int32_t& colsAt);

// Inverse of the n × n matrix A by Gauss-Jordan exchange in place, in the order k = 1..n, with
// no pivot search and 1e-12 added to every pivot whatever its sign (MatInvert). A zero pivot therefore gives
// 1e12 rather than a failure: an unknown whose row and column of a normal matrix are all zero
// comes out with 1e12 on the diagonal, and the caller (the solver) judges such a system. Rows
// 1..m of A are copied first (m = n at every use). Ainv may be the same matrix as A.
// Not for rotation or shape matrices: those have exact inverses (transpose, closed form).
void matInvert(const Matrix& A, std::int32_t n, std::int32_t m, Matrix& Ainv);

// Removes row k (deleteRow true) or column k (false) of the rows × cols matrix A into B by
// shifting the following rows (columns) up (left) by one: B(i,j) = A(i+1,j) for i = k..rows-1,
// or B(i,j) = A(i,j+1) for j = k..cols-1 (MatDeleteRowCol). Rows (columns) before k are not copied, the last
// row (column) keeps its values and no array changes size, so B may be A (in-place use). Remove several rows
// or columns highest index first. Works on any matrix type with operator()(i, j), rows() and cols().
template <class M>
void matDeleteRowCol(const M& A, std::int32_t rows, std::int32_t cols, M& B, std::int32_t& rowsB,
                     std::int32_t& colsB, bool deleteRow, std::int32_t k) {
    rowsB = deleteRow ? rows - 1 : rows;
    colsB = deleteRow ? cols : cols - 1;
    const std::int32_t last = deleteRow ? rows - 1 : cols - 1;
    if (k > last || rows <= 0 || cols <= 0) return;  // nothing to shift
    if (k < 0 || rows > A.rows() || cols > A.cols() || rowsB > B.rows() || colsB > B.cols())
        throw std::out_of_range("MatDeleteRowCol: index outside the matrix");
    if (deleteRow) {
        for (std::int32_t i = k; i <= rows - 1; ++i)
            for (std::int32_t j = 1; j <= cols; ++j) B(i, j) = A(i + 1, j);
    } else {
        for (std::int32_t i = 1; i <= rows; ++i)
            for (std::int32_t j = k; j <= cols - 1; ++j) B(i, j) = A(i, j + 1);
    }
}

// Removes entry k (1..upper bound) of a list with entry 0 unused: the entries after it move
// down by one and the list shrinks by one (RemoveElement).
void removeElement(std::vector<double>& list, std::int32_t k);

// Removes every entry that lies within 1e-8 (strictly) of an earlier entry; the earliest of a
// group of near-equal entries stays, a difference of exactly 1e-8 keeps both, entry 0 is never
// compared or removed (RemoveEqualValues).
void removeEqualValues(std::vector<double>& list);

}  // namespace kal
