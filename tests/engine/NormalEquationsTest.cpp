#include <gtest/gtest.h>

#include <random>

#include "engine/LeastSquareStep.h"
#include "engine/NormalEquations.h"
#include "shared/Errors.h"
#include "shared/MatrixOps.h"

namespace kal {
namespace {

// A 30 × 5 design matrix with exact zeros (as translation columns have), weights 0 to 2.
void randomProblem(Matrix& A, Matrix& l, Matrix& P) {
    std::mt19937_64 rng(21);
    std::uniform_real_distribution<double> u(-100, 100);
    A.resize(30, 5), l.resize(30, 1), P.resize(30, 1);
    for (std::int32_t k = 1; k <= 30; ++k) {
        for (std::int32_t c = 1; c <= 5; ++c) A(k, c) = (k + c) % 3 == 0 ? 0.0 : u(rng);
        l(k, 1) = u(rng);
        P(k, 1) = static_cast<double>(k % 3);
    }
}

TEST(NormalEquations, EqualTheProductsOfTheTransposeAndTheWeights) {
    Matrix A, l, P;
    randomProblem(A, l, P);
    NormalEquations eq(5);
    std::vector<double> row(6);
    for (std::int32_t k = 1; k <= 30; ++k) {
        for (std::int32_t c = 1; c <= 5; ++c) row[c] = A(k, c);
        eq.addRow(row.data(), l(k, 1), P(k, 1));
    }
    // Aᵀ, AᵀP, AᵀPA and AᵀPl as the matrix library forms them.
    Matrix At(5, 30), AtP(5, 30), N(5, 5), w(5, 1);
    std::int32_t r = 0, c = 0;
    matTranspose(A, 30, 5, At, r, c);
    matTimesWeights(At, 5, 30, P, 30, 30, AtP, r, c);
    matMult(AtP, 5, 30, A, 30, 5, N, r, c);
    matMult(AtP, 5, 30, l, 30, 1, w, r, c);
    const Matrix Ns = eq.normalMatrix(), ws = eq.rightHandSide();
    for (std::int32_t i = 1; i <= 5; ++i) {
        EXPECT_EQ(ws(i, 1), w(i, 1));
        for (std::int32_t j = 1; j <= 5; ++j) {
            if (j >= i) {
                EXPECT_EQ(Ns(i, j), N(i, j));  // same products, same order
            }
            EXPECT_NEAR(Ns(i, j), N(i, j), 1e-12 * std::fabs(N(i, j)));
        }
    }
}

TEST(LeastSquareStep, SolvesTheNormalEquationsAndGivesResidualsAxMinusL) {
    Matrix A, l, P;
    randomProblem(A, l, P);
    Matrix x, v, Qxx;
    leastSquareStep(A, l, P, x, v, Qxx, 5, 30);
    ASSERT_EQ(v.rows(), 30);
    ASSERT_EQ(Qxx.rows(), 5);
    // The weighted residuals are orthogonal to every column: AᵀPv = 0.
    for (std::int32_t c = 1; c <= 5; ++c) {
        double g = 0, scale = 0;
        for (std::int32_t k = 1; k <= 30; ++k)
            g += A(k, c) * P(k, 1) * v(k, 1), scale += std::fabs(A(k, c) * l(k, 1));
        EXPECT_LT(std::fabs(g), 1e-12 * scale);
    }
    for (std::int32_t k = 1; k <= 30; ++k) {
        double ax = 0;
        for (std::int32_t c = 1; c <= 5; ++c) ax += A(k, c) * x(c, 1);
        EXPECT_NEAR(v(k, 1), ax - l(k, 1), 1e-12 * (1 + std::fabs(ax)));
    }
}

TEST(SolveNormalEquations, AnUnknownWithoutObservationsIsNoFailure) {
    // [[4, 0], [0, 0]]: the second unknown has no observation; the inversion gives it 1e12.
    Matrix N(2, 2), w(2, 1), Qxx, x;
    N(1, 1) = 4, w(1, 1) = 2;
    solveNormalEquations(N, w, 2, Qxx, x);
    EXPECT_NEAR(x(1, 1), 0.5, 1e-12);
    EXPECT_EQ(x(2, 1), 0.0);
    EXPECT_EQ(Qxx(2, 2), 1e12);
}

TEST(SolveNormalEquations, DependentUnknownsAreRefusedNotInverted) {
    // Column 3 = column 1 + column 2.
    Matrix N(3, 3), w(3, 1), Qxx, x;
    const double a[3][3] = {{2, 1, 3}, {1, 5, 6}, {3, 6, 9}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) N(i + 1, j + 1) = a[i][j];
    std::int32_t dependent = 0;
    EXPECT_THROW(solveNormalEquations(N, w, 3, Qxx, x, &dependent), NumericError);
    EXPECT_EQ(dependent, 3);
    EXPECT_EQ(findDependentUnknown(N, 2), 0);
}

}  // namespace
}  // namespace kal
