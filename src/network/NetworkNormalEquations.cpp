#include "network/NetworkNormalEquations.h"

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

}  // namespace

void invertInPlace(Matrix& matrix, std::int32_t u, const std::function<void()>& poll) {
    if (u <= 0) return;
    const auto stride = static_cast<std::size_t>(matrix.cols()) + 1;
    double* a = &matrix(0, 0);
    auto at = [&](std::int32_t i, std::int32_t j) -> double& {
        return a[static_cast<std::size_t>(i) * stride + static_cast<std::size_t>(j)];
    };
    for (std::int32_t k = 1; k <= u; ++k) {
        const double diagonal = at(k, k);
        if (!std::isfinite(diagonal))
            throw NumericError("Invalid floating-point result in the network inversion");
        const double pivot = 1.0 / (1e-12 + diagonal);
        if (!std::isfinite(pivot)) throw NumericError("Division by zero in the network inversion");
        at(k, k) = pivot;
        double* rowK = &at(k, 0);
        for (std::int32_t j = 1; j <= u; ++j)
            if (j != k) rowK[j] = -rowK[j] * pivot;
        for (std::int32_t i = 1; i <= u; ++i) {
            if (i == k) continue;
            double* rowI = &at(i, 0);
            const double aik = rowI[k];
            if (aik == 0.0) continue;  // aik·a(k,j) + a(i,j) would leave a(i,j) as it is
            addScaledRow(rowI, rowK, aik, 1, k);
            addScaledRow(rowI, rowK, aik, k + 1, u + 1);
        }
        for (std::int32_t i = 1; i <= u; ++i)
            if (i != k) at(i, k) = at(i, k) * pivot;
        if (poll) poll();
    }
    for (std::int32_t i = 1; i <= u; ++i)
        for (std::int32_t j = 1; j <= u; ++j)
            if (!std::isfinite(at(i, j)))
                throw NumericError("Invalid floating-point result in the network inversion");
}

}  // namespace kal
