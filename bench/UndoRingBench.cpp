// The undo ring of a graphics window over a cloud of 10^6 points: the memory of a full ring
// (50 stored views) and the time of one store (the copy into the ring slot and the copy into the
// default view record). FlagOfPoint is held sparse, so both grow with the flags and lines of a
// view, not with the cloud; the dense 16-bit table of the file layout would cost 51 × 2 MB.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>

#include "view3d/UndoRing.h"

namespace {

constexpr std::int32_t kCloudRows = 1'000'000;

// A view of a 10^6-row cloud with `flags` flags (each with its layout) and `lines` line segments.
kal::ScreenProperties viewOf(std::int32_t flags, std::int32_t lines, int seed) {
    kal::ScreenProperties v;
    v.BigNess = static_cast<std::int16_t>(2 + seed % 5);
    v.Massstab = 1.5f + static_cast<float>(seed);
    v.ViewAngles.resize(2, 3);
    v.ViewAngles(1, 1) = 0.01 * seed;
    v.FlagOfPoint.resize(kCloudRows);
    v.FahneProps.resize(static_cast<std::size_t>(flags) + 1);
    for (std::int32_t k = 1; k <= flags; ++k) {
        v.FlagOfPoint.set(1 + (k * 7919 + seed) % kCloudRows, static_cast<std::int16_t>(k));
        v.FahneProps[static_cast<std::size_t>(k)].Name = "Arial";
        v.FahneProps[static_cast<std::size_t>(k)].Size = 8.25f;
    }
    v.FahneAnzahl = static_cast<std::int16_t>(flags);
    v.Lines.resize(2, lines);
    for (std::int32_t k = 1; k <= lines; ++k) {
        v.Lines(1, k) = k;
        v.Lines(2, k) = k + 1;
    }
    v.LineCount = lines;
    v.CS_Type = "CART";
    v.ADis = 100;
    return v;
}

std::size_t heapInUse() { return mallinfo2().uordblks; }

// Fifty views stored into a fresh ring: the bytes the ring holds (with its default record).
void BM_UndoRingFullMemory(benchmark::State& state) {
    const auto flags = static_cast<std::int32_t>(state.range(0));
    const auto lines = static_cast<std::int32_t>(state.range(1));
    std::vector<kal::ScreenProperties> views;
    for (int seed = 0; seed < kal::kUndoRingSlots; ++seed) views.push_back(viewOf(flags, lines, seed));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        auto ring = std::make_unique<kal::UndoRing>();
        auto defaults = std::make_unique<kal::ScreenProperties>();
        for (const auto& v : views) ring->store(v, {12000, 9000}, *defaults);
        bytes = heapInUse() - before;
        benchmark::DoNotOptimize(ring->UndoIndex());
    }
    state.counters["ring_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["dense_flag_tables_MB"] = 51.0 * 2.0 * (kCloudRows + 1) / 1e6;
}
BENCHMARK(BM_UndoRingFullMemory)
    ->Args({10, 10})
    ->Args({100, 100})
    ->Args({1000, 500})
    ->Unit(benchmark::kMillisecond);

// One store into a full ring (the slot's buffers reused), the view copied twice.
void BM_UndoRingStore(benchmark::State& state) {
    const auto flags = static_cast<std::int32_t>(state.range(0));
    const auto lines = static_cast<std::int32_t>(state.range(1));
    kal::UndoRing ring;
    kal::ScreenProperties defaults;
    const kal::ScreenProperties a = viewOf(flags, lines, 1), b = viewOf(flags, lines, 2);
    for (int i = 0; i < kal::kUndoRingSlots; ++i) ring.store(i % 2 ? a : b, {12000, 9000}, defaults);
    int i = 0;
    for (auto _ : state) {
        ring.store(++i % 2 ? a : b, {12000, 9000}, defaults);
        benchmark::DoNotOptimize(defaults.BigNess);
    }
}
BENCHMARK(BM_UndoRingStore)
    ->Args({10, 10})
    ->Args({100, 100})
    ->Args({1000, 500})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
