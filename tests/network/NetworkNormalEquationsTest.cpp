#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "network/NetworkNormalEquations.h"
#include "shared/Errors.h"
#include "shared/MatrixOps.h"

namespace kal {
namespace {

// A normal-matrix-like symmetric matrix with some all-zero rows and columns (unknowns that no
// distance reaches) and sparse coupling, as a network's N has.
Matrix networkLikeMatrix(std::int32_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    Matrix m(n, n);
    for (std::int32_t i = 1; i <= n; ++i)
        for (std::int32_t j = i; j <= n; ++j) {
            const double v = i == j ? n + 2.0 + value(random) : (value(random) > 0.3 ? value(random) : 0.0);
            m(i, j) = v, m(j, i) = v;
        }
    for (std::int32_t i = 3; i <= n; i += 17)
        for (std::int32_t j = 1; j <= n; ++j) m(i, j) = 0.0, m(j, i) = 0.0;
    return m;
}

TEST(NetworkInversion, BlockedExchangeGivesExactlyTheProgramsInverse) {
    for (std::int32_t n : {1, 2, 31, 32, 33, 70, 97}) {
        const Matrix m = networkLikeMatrix(n, static_cast<unsigned>(n));
        Matrix expected(n, n);
        matInvert(m, n, n, expected);
        Matrix blocked = m;
        int polls = 0;
        invertInPlace(blocked, n, [&polls](double) { ++polls; });
        for (std::int32_t i = 1; i <= n; ++i)
            for (std::int32_t j = 1; j <= n; ++j)
                ASSERT_EQ(blocked(i, j), expected(i, j)) << n << " " << i << " " << j;
        EXPECT_GE(polls, (n + 31) / 32) << n;
    }
}

TEST(NetworkInversion, NonFiniteInputIsRefused) {
    Matrix m = networkLikeMatrix(40, 1);
    m(35, 35) = std::numeric_limits<double>::infinity();
    EXPECT_THROW(invertInPlace(m, 40, {}), NumericError);
}

TEST(NetworkNormalEquations, SixNonZerosPerRowGiveTheDenseProduct) {
    // Three rows over five unknowns; unknown 4 unreached.
    std::vector<DesignRow> rows(3);
    rows[0] = {{1, 2, 3, 5}, {0.6, -0.8, 0.0, 0.25}, 4, 0.5};
    rows[1] = {{1, 3}, {1.0, 2.0}, 2, -1.0};
    rows[2] = {{2, 5}, {-0.5, 3.0}, 2, 0.0};
    Matrix A(3, 5), l(3, 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int e = 0; e < rows[r].size; ++e)
            A(static_cast<std::int32_t>(r) + 1, rows[r].unknown[static_cast<std::size_t>(e)]) =
                rows[r].value[static_cast<std::size_t>(e)];
        l(static_cast<std::int32_t>(r) + 1, 1) = rows[r].misclosure;
    }
    Matrix At(5, 3), N(5, 5), n(5, 1);
    std::int32_t r1 = 0, c1 = 0;
    matTranspose(A, 3, 5, At, r1, c1);
    matMult(At, 5, 3, A, 3, 5, N, r1, c1);
    matMult(At, 5, 3, l, 3, 1, n, r1, c1);
    Matrix normal(5, 5);
    std::vector<double> rightSide;
    accumulateNormalEquations(rows, 5, normal, rightSide, {});
    for (std::int32_t i = 1; i <= 5; ++i) {
        EXPECT_EQ(rightSide[static_cast<std::size_t>(i)], n(i, 1)) << i;
        for (std::int32_t j = 1; j <= 5; ++j) EXPECT_EQ(normal(i, j), N(i, j)) << i << " " << j;
    }
}

}  // namespace
}  // namespace kal
