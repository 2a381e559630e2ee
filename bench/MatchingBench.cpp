// Matching by coordinates and by distances on large point sets: a measured body (MCS) and the
// same body moved and measured again with noise (OCS).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "input/AutoFindPts.h"
#include "input/CoordinateMatching.h"
#include "input/DistanceMatching.h"
#include "input/OcsPairTable.h"

namespace kal {
namespace {

struct Body {
    std::vector<double> x{0.0}, y{0.0}, z{0.0};
    PointCoords view() const { return {x, y, z}; }
};

// n points spread through a box of `size` mm; the copy is turned by `angle` about z, shifted by
// `shift` and has Gaussian noise `sigma` on every coordinate, in a shuffled order.
std::pair<Body, Body> rigidBody(std::int32_t n, double size, double angle, double shift, double sigma) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> u(0.0, size);
    std::normal_distribution<double> g(0.0, sigma);
    Body mcs, ocs;
    std::vector<std::int32_t> order;
    for (std::int32_t i = 1; i <= n; ++i) {
        mcs.x.push_back(u(rng)), mcs.y.push_back(u(rng)), mcs.z.push_back(u(rng));
        order.push_back(i);
    }
    std::shuffle(order.begin(), order.end(), rng);
    const double ca = std::cos(angle), sa = std::sin(angle);
    for (auto i : order) {
        ocs.x.push_back(ca * mcs.x[i] - sa * mcs.y[i] + shift + g(rng));
        ocs.y.push_back(sa * mcs.x[i] + ca * mcs.y[i] + shift + g(rng));
        ocs.z.push_back(mcs.z[i] + shift + g(rng));
    }
    return {mcs, ocs};
}

// The coordinate flow: no transformation between the sets; tolerance (second argument, mm) 0.8
// by default, up to far wider than the set, where every MCS point takes its nearest free point.
void BM_CoordinateMatching(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const auto [mcs, ocs] = rigidBody(n, 1000.0, 0.0, 0.0, 0.1);
    const float etta = state.range(1) > 0 ? static_cast<float>(state.range(1)) : 0.8f;
    std::int64_t pairs = 0;
    for (auto _ : state) {
        const auto partner = findCoordinatePartners(mcs.view(), ocs.view(), etta);
        pairs = std::count_if(partner.begin() + 1, partner.end(), [](auto j) { return j > 0; });
        benchmark::DoNotOptimize(partner.data());
    }
    state.counters["pairs"] = static_cast<double>(pairs);
}
BENCHMARK(BM_CoordinateMatching)
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({100000, 50})
    ->Args({100000, 100000})
    ->Unit(benchmark::kMillisecond);

// The candidate search of the automatic matching, OCS pair table included. Tolerance (second
// argument): 0: 0.2 µm, between the noise and the spacing of the lengths, so the sixth candidate
// comes early; 1: the default 0.8 mm, where only some of the longest lengths stand clear of the
// others; 2: 5 mm, where none does and every MCS pair is tried (the search fails).
void BM_AutoFindCandidates(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const float ettas[] = {2e-4f, 0.8f, 5.0f};
    const float etta = ettas[state.range(1)];
    const auto [mcs, ocs] = rigidBody(n, 1000.0, 0.7, 250.0, 1e-5);
    std::size_t found = 0;
    for (auto _ : state) {
        const OcsPairTable table(ocs.view());
        const auto result = findAutoFindCandidates(mcs.view(), table, etta, nullptr, nullptr);
        found = result.candidates.size();
    }
    state.counters["candidates"] = static_cast<double>(found);
}
BENCHMARK(BM_AutoFindCandidates)
    ->Args({500, 0})
    ->Args({2000, 0})
    ->Args({2000, 1})
    ->Args({2000, 2})
    ->Unit(benchmark::kMillisecond);

// The whole automatic matching as the load runs it: OCS pair table, candidates, seed from three
// segments, every MCS point transformed and paired by coordinates, names joined. Second argument:
// 0: noise 0.01 µm, tolerance 0.2 µm (the sixth candidate comes early); 1: noise 10 µm and the
// default tolerance 0.8 mm (only long lengths stand clear; most MCS pairs are tried first).
void BM_AutoFindPts(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const bool fine = state.range(1) == 0;
    const auto [mcs, ocs] = rigidBody(n, 1000.0, 0.7, 250.0, fine ? 1e-5 : 1e-2);
    const float etta = fine ? 2e-4f : 0.8f;
    std::vector<std::string> mcsNames{""}, ocsNames{""};
    for (std::int32_t i = 1; i <= n; ++i) mcsNames.push_back("MCS_" + std::to_string(i));
    for (std::int32_t i = 1; i <= n; ++i) ocsNames.push_back("OCS_" + std::to_string(i));
    const JobState job;
    std::int32_t pairs = 0;
    for (auto _ : state) {
        auto mn = mcsNames, on = ocsNames;
        const auto result = autoFindPoints({mn, mcs.view()}, {on, ocs.view()}, etta, std::nullopt, job, {});
        pairs = result.identicalCount;
    }
    state.counters["pairs"] = pairs;
}
BENCHMARK(BM_AutoFindPts)->Args({2000, 0})->Args({2000, 1})->Unit(benchmark::kMillisecond);

// Building and sorting the OCS pair table alone.
void BM_OcsPairTable(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const auto [mcs, ocs] = rigidBody(n, 1000.0, 0.7, 250.0, 1e-5);
    for (auto _ : state) {
        const OcsPairTable table(ocs.view());
        benchmark::DoNotOptimize(table.size());
    }
}
BENCHMARK(BM_OcsPairTable)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kal
