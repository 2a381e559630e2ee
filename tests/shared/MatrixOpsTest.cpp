#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>

#include "shared/Errors.h"
#include "shared/MatrixOps.h"

namespace kal {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Matrix make(std::initializer_list<std::initializer_list<double>> rows) {
    Matrix m(static_cast<std::int32_t>(rows.size()), static_cast<std::int32_t>(rows.begin()->size()));
    std::int32_t i = 0;
    for (const auto& row : rows) {
        ++i;
        std::int32_t j = 0;
        for (double v : row) m(i, ++j) = v;
    }
    return m;
}

// Elements 1..rows × 1..cols set to v (garbage a result must overwrite).
Matrix filled(std::int32_t rows, std::int32_t cols, double v) {
    Matrix m(rows, cols);
    for (std::int32_t i = 1; i <= rows; ++i)
        for (std::int32_t j = 1; j <= cols; ++j) m(i, j) = v;
    return m;
}

TEST(MatInvert, AddsTheSmallConstantToEveryPivotSoAZeroPivotGives1e12) {
    const Matrix a = make({{4, 0}, {0, 0}});
    Matrix inv(2, 2);
    matInvert(a, 2, 2, inv);
    EXPECT_DOUBLE_EQ(inv(1, 1), 0.2499999999999375);
    EXPECT_EQ(inv(1, 1), 1.0 / (1e-12 + 4.0));
    EXPECT_EQ(inv(1, 2), 0.0);
    EXPECT_EQ(inv(2, 1), 0.0);
    EXPECT_DOUBLE_EQ(inv(2, 2), 1e12);
}

TEST(MatInvert, UnknownWithoutObservationsLeavesTheRestInvertedAsABlock) {
    // Row and column 2 all zero: 1e12 on their diagonal, the outer block inverted on its own.
    const Matrix a = make({{2, 0, 1}, {0, 0, 0}, {1, 0, 1}});
    Matrix inv(3, 3);
    matInvert(a, 3, 3, inv);
    EXPECT_NEAR(inv(2, 2), 1e12, 1.0);
    EXPECT_EQ(inv(1, 2), 0.0);
    EXPECT_EQ(inv(2, 3), 0.0);
    EXPECT_NEAR(inv(1, 1), 1.0, 1e-11);
    EXPECT_NEAR(inv(1, 3), -1.0, 1e-11);
    EXPECT_NEAR(inv(3, 3), 2.0, 1e-11);
}

TEST(MatInvert, WellConditionedMatrixAgreesWithTheExactInverseAndKeepsItsSource) {
    const Matrix a = make({{2, -1, 0}, {-1, 2, -1}, {0, -1, 2}});
    const Matrix exact = make({{0.75, 0.5, 0.25}, {0.5, 1.0, 0.5}, {0.25, 0.5, 0.75}});
    const Matrix original = a;
    Matrix inv = filled(3, 3, kNaN);
    matInvert(a, 3, 3, inv);
    EXPECT_EQ(a, original);
    for (std::int32_t i = 1; i <= 3; ++i)
        for (std::int32_t j = 1; j <= 3; ++j) EXPECT_NEAR(inv(i, j), exact(i, j), 1e-11) << i << "," << j;

    Matrix inPlace = a;
    matInvert(inPlace, 3, 3, inPlace);
    for (std::int32_t i = 1; i <= 3; ++i)
        for (std::int32_t j = 1; j <= 3; ++j) EXPECT_EQ(inPlace(i, j), inv(i, j));
}

TEST(MatInvert, NonFiniteResultThrowsInsteadOfReturningGarbage) {
    Matrix inv(2, 2);
    // A pivot of exactly -1e-12 divides by zero once the constant is added.
    EXPECT_THROW(matInvert(make({{-1e-12, 0}, {0, 1}}), 2, 2, inv), NumericError);
    // Overflow: 1e300 times the 1e12 of a zero pivot.
    EXPECT_THROW(matInvert(make({{0, 1e300}, {1e300, 1}}), 2, 2, inv), NumericError);
    // An infinite pivot would turn into 0 by the division; it must not pass unnoticed.
    EXPECT_THROW(matInvert(make({{kInf, 0}, {0, 1}}), 2, 2, inv), NumericError);
}

TEST(MatMult, ZeroesTheResultFirstAndSkipsExactlyZeroFactors) {
    // The infinities only ever meet zeros: a product 0·inf would be NaN, so the skip shows.
    const Matrix a = make({{1, 2, 0, kInf}, {0, 0, 0, 0}});
    const Matrix b = make({{3, 0}, {4, 6}, {kInf, kInf}, {0, 0}});
    Matrix c = filled(2, 2, kNaN);
    std::int32_t rows = -1, cols = -1;
    matMult(a, 2, 4, b, 99, 2, c, rows, cols);  // rowsB is not read
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(cols, 2);
    EXPECT_EQ(c, make({{11, 12}, {0, 0}}));  // a zero row of A gives a zero row of C
}

TEST(MatMult, MatchesTheProductOfAGeneralPair) {
    const Matrix a = make({{1, 2, 3}, {4, 5, 6}});
    const Matrix b = make({{7, 8}, {9, 10}, {11, 12}});
    Matrix c(2, 2);
    std::int32_t rows = 0, cols = 0;
    matMult(a, 2, 3, b, 3, 2, c, rows, cols);
    EXPECT_EQ(c, make({{58, 64}, {139, 154}}));
}

TEST(MatMult, RefusesToOverwriteAFactorAndNonFiniteProducts) {
    Matrix a = make({{1, 2}, {3, 4}});
    const Matrix b = make({{1, 0}, {0, 1}});
    std::int32_t rows = 0, cols = 0;
    EXPECT_THROW(matMult(a, 2, 2, b, 2, 2, a, rows, cols), std::invalid_argument);
    Matrix c(1, 1);
    EXPECT_THROW(matMult(make({{1e200}}), 1, 1, make({{1e200}}), 1, 1, c, rows, cols), NumericError);
}

TEST(MatOps, SumDifferenceWeightsAndTransposeReportTheirDimensions) {
    const Matrix a = make({{1, 2, 3}, {4, 5, 6}});
    const Matrix b = make({{0.5, 1, 1.5}, {2, 2.5, 3}});
    Matrix c(2, 3);
    std::int32_t rows = 0, cols = 0;
    matAdd(a, 2, 3, b, 0, 0, c, rows, cols);  // rowsB and colsB are not read
    EXPECT_EQ(c, make({{1.5, 3, 4.5}, {6, 7.5, 9}}));
    matSub(a, 2, 3, b, 0, 0, c, rows, cols);
    EXPECT_EQ(c, make({{0.5, 1, 1.5}, {2, 2.5, 3}}));
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(cols, 3);

    // Aᵀ·P with the weight vector P in column 1: only the first two columns asked for.
    const Matrix p = make({{10}, {0}, {2}});
    Matrix w(2, 3);
    matTimesWeights(a, 2, 99, p, 99, 2, w, rows, cols);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(cols, 2);
    EXPECT_EQ(w, make({{10, 0, 0}, {40, 0, 0}}));

    Matrix t(3, 2);
    matTranspose(a, 2, 3, t, rows, cols);
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(cols, 2);
    EXPECT_EQ(t, make({{1, 4}, {2, 5}, {3, 6}}));
}

TEST(MatOps, EmptyDimensionsLeaveTheResultButWriteTheSizes) {
    const Matrix a = make({{1}});
    Matrix c = filled(1, 1, 7.0);
    std::int32_t rows = -5, cols = -5;
    matMult(a, 0, 1, a, 1, 1, c, rows, cols);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(cols, 1);
    EXPECT_EQ(c(1, 1), 7.0);
}

TEST(MatOps, ResultTooSmallThrowsBeforeWritingAnything) {
    const Matrix a = make({{1, 2}, {3, 4}});
    Matrix c = filled(1, 2, 7.0);
    std::int32_t rows = 0, cols = 0;
    EXPECT_THROW(matAdd(a, 2, 2, a, 2, 2, c, rows, cols), std::out_of_range);
    EXPECT_EQ(c, filled(1, 2, 7.0));
    EXPECT_THROW(matInvert(a, 2, 2, c), std::out_of_range);
}

TEST(MatDeleteRowCol, ShiftsInPlaceAndLeavesTheLastRowOrColumn) {
    Matrix m = make({{11, 12, 13}, {21, 22, 23}, {31, 32, 33}, {41, 42, 43}});
    std::int32_t rows = 0, cols = 0;
    matDeleteRowCol(m, 4, 3, m, rows, cols, true, 2);
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(cols, 3);
    EXPECT_EQ(m, make({{11, 12, 13}, {31, 32, 33}, {41, 42, 43}, {41, 42, 43}}));

    matDeleteRowCol(m, 3, 3, m, rows, cols, false, 1);
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(cols, 2);
    EXPECT_EQ(m, make({{12, 13, 13}, {32, 33, 33}, {42, 43, 43}, {41, 42, 43}}));
}

TEST(RemoveEqualValues, KeepsTheEarliestOfNearEqualEntriesAndNeverEntryZero) {
    std::vector<double> list{1.0, 1.0, 1.000000001, 2.0, 1.0};
    removeEqualValues(list);
    EXPECT_EQ(list, (std::vector<double>{1.0, 1.0, 2.0}));

    std::vector<double> exact{0.0, 0.0, 1e-8, 0.5e-8};  // exactly 1e-8 apart keeps both
    removeEqualValues(exact);
    EXPECT_EQ(exact, (std::vector<double>{0.0, 0.0, 1e-8}));
}

TEST(RemoveElement, ShiftsDownAndShrinksAndRefusesAMissingEntry) {
    std::vector<double> list{0, 10, 20, 30};
    removeElement(list, 2);
    EXPECT_EQ(list, (std::vector<double>{0, 10, 30}));
    EXPECT_THROW(removeElement(list, 3), std::out_of_range);
    EXPECT_THROW(removeElement(list, 0), std::out_of_range);
}

}  // namespace
}  // namespace kal
