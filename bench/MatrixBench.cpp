// Cost of the dense matrix operations at the sizes the solver meets: 17 × 17 (the normal
// equations of the full parameter block) and 100 × 100 (network adjustment scale).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

#include "shared/Matrix.h"
#include "shared/MatrixOps.h"

namespace kal {
namespace {

Matrix randomMatrix(std::int32_t n, std::uint64_t seed) {
    std::mt19937_64 engine(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    Matrix m(n, n);
    for (std::int32_t i = 1; i <= n; ++i)
        for (std::int32_t j = 1; j <= n; ++j) m(i, j) = value(engine);
    return m;
}

// Symmetric and diagonally dominant, like a normal matrix: the unpivoted inversion is stable.
Matrix normalMatrix(std::int32_t n) {
    Matrix a = randomMatrix(n, 7);
    Matrix s(n, n);
    for (std::int32_t i = 1; i <= n; ++i)
        for (std::int32_t j = 1; j <= n; ++j) s(i, j) = i == j ? n + 1.0 : 0.5 * (a(i, j) + a(j, i));
    return s;
}

void BM_MatMult(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const Matrix a = randomMatrix(n, 1);
    const Matrix b = randomMatrix(n, 2);
    Matrix c(n, n);
    std::int32_t rows = 0, cols = 0;
    for (auto _ : state) {
        matMult(a, n, n, b, n, n, c, rows, cols);
        benchmark::DoNotOptimize(c(1, 1));
    }
    state.SetItemsProcessed(state.iterations() * n * n * n);  // multiply-adds
}
BENCHMARK(BM_MatMult)->Arg(17)->Arg(100);

// A design-matrix-like product: each row touches only a few columns, the zero skip pays.
void BM_MatMultSparse(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    Matrix a(n, n);
    for (std::int32_t i = 1; i <= n; ++i)
        for (std::int32_t j = i; j <= n && j < i + 3; ++j) a(i, j) = 1.0 + j;
    const Matrix b = randomMatrix(n, 2);
    Matrix c(n, n);
    std::int32_t rows = 0, cols = 0;
    for (auto _ : state) {
        matMult(a, n, n, b, n, n, c, rows, cols);
        benchmark::DoNotOptimize(c(1, 1));
    }
}
BENCHMARK(BM_MatMultSparse)->Arg(100);

void BM_MatInvert(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const Matrix a = normalMatrix(n);
    Matrix inverse(n, n);
    for (auto _ : state) {
        matInvert(a, n, n, inverse);
        benchmark::DoNotOptimize(inverse(1, 1));
    }
    state.SetItemsProcessed(state.iterations() * n * n * n);
}
BENCHMARK(BM_MatInvert)->Arg(17)->Arg(100);

}  // namespace
}  // namespace kal
