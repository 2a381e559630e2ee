#pragma once
// Dense matrix of doubles with 1-based indices: rows 1..rows(), columns 1..cols(); row 0 and
// column 0 exist and stay unused, so formulas written with 1-based indices read straight into code.
#include <cassert>
#include <cstdint>
#include <vector>

namespace kal {

class Matrix {
  public:
    Matrix() = default;
    Matrix(std::int32_t rows, std::int32_t cols) { resize(rows, cols); }

    // Sizes the matrix to rows × cols (upper bounds), all elements 0.
    void resize(std::int32_t rows, std::int32_t cols) {
        assert(rows >= 0 && cols >= 0);
        rows_ = rows;
        cols_ = cols;
        data_.assign(static_cast<std::size_t>(rows + 1) * static_cast<std::size_t>(cols + 1), 0.0);
    }

    std::int32_t rows() const { return rows_; }  // upper bound of the first index
    std::int32_t cols() const { return cols_; }  // upper bound of the second index

    double& operator()(std::int32_t i, std::int32_t j) {
        assert(i >= 0 && i <= rows_ && j >= 0 && j <= cols_);
        return data_[static_cast<std::size_t>(i) * static_cast<std::size_t>(cols_ + 1) +
                     static_cast<std::size_t>(j)];
    }
    double operator()(std::int32_t i, std::int32_t j) const {
        assert(i >= 0 && i <= rows_ && j >= 0 && j <= cols_);
        return data_[static_cast<std::size_t>(i) * static_cast<std::size_t>(cols_ + 1) +
                     static_cast<std::size_t>(j)];
    }

    bool operator==(const Matrix&) const = default;

  private:
    std::int32_t rows_ = 0;
    std::int32_t cols_ = 0;
    std::vector<double> data_ = std::vector<double>(1, 0.0);
};

}  // namespace kal
