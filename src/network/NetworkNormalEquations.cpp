#include "network/NetworkNormalEquations.h"

#include <algorithm>
#include <cmath>

#include "shared/Errors.h"

namespace kal {

void accumulateNormalEquations(const std::vector<DesignRow>& rows, std::int32_t u, Matrix& normal,
                               std::vector<double>& rightSide, const std::function<void()>& poll) {
    const auto stride = static_cast<std::size_t>(normal.cols()) + 1;
    double* n = &normal(0, 0);
    for (std::int32_t i = 0; i <= u; ++i)
        for (std::int32_t j = 0; j <= u; ++j)
            n[static_cast<std::size_t>(i) * stride + static_cast<std::size_t>(j)] = 0.0;
    rightSide.assign(static_cast<std::size_t>(u) + 1, 0.0);
    std::size_t count = 0;
    for (const DesignRow& row : rows) {
        for (int a = 0; a < row.size; ++a) {
            const double va = row.value[static_cast<std::size_t>(a)];
            if (va == 0.0) continue;
            const auto ia = static_cast<std::size_t>(row.unknown[static_cast<std::size_t>(a)]);
            double* line = n + ia * stride;
            for (int b = 0; b < row.size; ++b) {
                const double vb = row.value[static_cast<std::size_t>(b)];
                if (vb != 0.0)
                    line[static_cast<std::size_t>(row.unknown[static_cast<std::size_t>(b)])] += va * vb;
            }
            if (row.misclosure != 0.0) rightSide[ia] += va * row.misclosure;
        }
        if ((++count & 4095) == 0 && poll) poll();
    }
}

namespace {

// target(j) := factor·source(j) + target(j) for j in [begin, end): the exchange step's update of
// one row. The rows never overlap (row i ≠ row k), which lets the compiler use vector registers;
// each element gets the same one product and one sum as before.
void addScaledRow(double* __restrict target, const double* __restrict source, double factor,
                  std::int32_t begin, std::int32_t end) {
    for (std::int32_t j = begin; j < end; ++j) target[j] = factor * source[j] + target[j];
}

// c3·r3 + (c2·r2 + (c1·r1 + (c0·r0 + a))) over [begin, end): four exchange steps' updates of one
// row's element, in the steps' order, with the row read and written once.
void addFourScaledRows(double* __restrict target, const double* __restrict r0, const double* __restrict r1,
                       const double* __restrict r2, const double* __restrict r3, const double (&c)[4],
                       std::int32_t begin, std::int32_t end) {
    const double c0 = c[0], c1 = c[1], c2 = c[2], c3 = c[3];
    for (std::int32_t j = begin; j < end; ++j) {
        double a = target[j];
        a = c0 * r0[j] + a;
        a = c1 * r1[j] + a;
        a = c2 * r2[j] + a;
        a = c3 * r3[j] + a;
        target[j] = a;
    }
}

// Exchange steps k..k+3 on one row outside the block; `pivotRows` holds the four pivot rows one
// stride apart, as they stood right after their scaling. The four pivot columns go step by step
// (they give each step its factor); every other element takes the four updates in one pass. No
// zero factor is skipped here: 0·r + a is a for every finite r, and a non-finite r ends the
// inversion at its final check either way.
void fourSteps(double* rowI, const double* pivotRows, std::size_t stride, const double* pivots,
               std::int32_t k, std::int32_t u) {
    const double* r[4] = {pivotRows, pivotRows + stride, pivotRows + 2 * stride, pivotRows + 3 * stride};
    double c[4];
    for (int s = 0; s < 4; ++s) {
        c[s] = rowI[k + s];
        for (int t = 0; t < 4; ++t)
            if (t != s) rowI[k + t] = c[s] * r[s][k + t] + rowI[k + t];
        rowI[k + s] = c[s] * pivots[s];
    }
    addFourScaledRows(rowI, r[0], r[1], r[2], r[3], c, 1, k);
    addFourScaledRows(rowI, r[0], r[1], r[2], r[3], c, k + 4, u + 1);
}

}  // namespace

void invertInPlace(Matrix& matrix, std::int32_t u, const std::function<void(double done)>& poll) {
    if (u <= 0) return;
    const auto stride = static_cast<std::size_t>(matrix.cols()) + 1;
    double* a = &matrix(0, 0);
    auto row = [&](std::int32_t i) { return a + static_cast<std::size_t>(i) * stride; };
    // The exchange steps are taken kBlock at a time. Step k changes row i only through row i
    // itself and row k as it stands right after its scaling in step k; so the block's own rows
    // are first taken through the block's steps (keeping a copy of each pivot row), and then
    // every other row through all of them while it sits in the cache. Each element sees the
    // same operations in the same order as step-by-step over the whole matrix; the matrix is
    // streamed through memory u/kBlock times instead of u times.
    constexpr std::int32_t kBlock = 32;
    std::vector<double> pivotRows(static_cast<std::size_t>(kBlock) * stride);
    std::array<double, kBlock> pivots{};
    for (std::int32_t k0 = 1; k0 <= u; k0 += kBlock) {
        const std::int32_t k1 = std::min(u, k0 + kBlock - 1);
        for (std::int32_t k = k0; k <= k1; ++k) {
            double* rowK = row(k);
            if (!std::isfinite(rowK[k]))
                throw NumericError("Invalid floating-point result in the network inversion");
            const double pivot = 1.0 / (1e-12 + rowK[k]);
            if (!std::isfinite(pivot)) throw NumericError("Division by zero in the network inversion");
            rowK[k] = pivot;
            for (std::int32_t j = 1; j <= u; ++j)
                if (j != k) rowK[j] = -rowK[j] * pivot;
            std::copy(rowK, rowK + stride,
                      pivotRows.begin() + static_cast<std::ptrdiff_t>((k - k0) * stride));
            pivots[static_cast<std::size_t>(k - k0)] = pivot;
            for (std::int32_t i = k0; i <= k1; ++i) {
                if (i == k) continue;
                double* rowI = row(i);
                const double aik = rowI[k];
                if (aik == 0.0) continue;  // aik·a(k,j) + a(i,j) would leave a(i,j) as it is
                addScaledRow(rowI, rowK, aik, 1, k);
                addScaledRow(rowI, rowK, aik, k + 1, u + 1);
            }
            for (std::int32_t i = k0; i <= k1; ++i)
                if (i != k) row(i)[k] *= pivot;
        }
        for (std::int32_t i = 1; i <= u; ++i) {
            if (i == k0) i = k1 + 1;
            if (i > u) break;
            double* rowI = row(i);
            std::int32_t k = k0;
            for (; k + 3 <= k1; k += 4) {
                const double* rowK = pivotRows.data() + static_cast<std::size_t>(k - k0) * stride;
                fourSteps(rowI, rowK, stride, &pivots[static_cast<std::size_t>(k - k0)], k, u);
            }
            for (; k <= k1; ++k) {
                const double* rowK = pivotRows.data() + static_cast<std::size_t>(k - k0) * stride;
                const double aik = rowI[k];
                if (aik != 0.0) {
                    addScaledRow(rowI, rowK, aik, 1, k);
                    addScaledRow(rowI, rowK, aik, k + 1, u + 1);
                }
                rowI[k] = aik * pivots[static_cast<std::size_t>(k - k0)];
            }
            if (poll && (i & 15) == 0) poll((k0 - 1.0) / u);
        }
        if (poll) poll(static_cast<double>(k1) / u);
    }
    for (std::int32_t i = 1; i <= u; ++i)
        for (std::int32_t j = 1; j <= u; ++j)
            if (!std::isfinite(row(i)[j]))
                throw NumericError("Invalid floating-point result in the network inversion");
}

}  // namespace kal
