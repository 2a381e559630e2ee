// Reading a large ASCII point file and matching large point sets by name.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

#include "input/AsciiPointReader.h"
#include "input/PointMatching.h"

namespace kal {
namespace {

// n points "P<i>\t<x>\t<y>\t<z>\r\n", about 40 bytes each.
std::string pointFile(int n) {
    std::string text;
    text.reserve(static_cast<std::size_t>(n) * 44);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-5000, 5000);
    char line[96];
    for (int i = 1; i <= n; ++i) {
        const int len = std::snprintf(line, sizeof line, "P%d\t%.4f\t%.4f\t%.4f\r\n", i, coordinate(random),
                                      coordinate(random), coordinate(random));
        text.append(line, static_cast<std::size_t>(len));
    }
    return text;
}

void BM_ReadAsciiPointFile(benchmark::State& state) {
    const std::string text = pointFile(static_cast<int>(state.range(0)));
    ReadOptions options;
    options.decimalSeparator = '.';
    for (auto _ : state) {
        auto file = parseAsciiPointFile(text, "bench.txt", options);
        benchmark::DoNotOptimize(file.points.x.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_ReadAsciiPointFile)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Both sets hold n names in shuffled order; a tenth of each set has no partner.
void BM_MatchByName(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::mt19937 random(11);
    auto make = [&](int offset) {
        std::vector<int> order(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) order[static_cast<std::size_t>(i)] = i + offset;
        std::shuffle(order.begin(), order.end(), random);
        PointSet set;
        set.reserve(static_cast<std::size_t>(n));
        for (int i : order)
            set.add(std::string(i % 3 == 0 ? "P" : "").append(std::to_string(i)), i, 2.0 * i, 3.0 * i);
        return set;
    };
    const PointSet mcs = make(0), ocs = make(n / 10);
    ReadOptions options;
    for (auto _ : state) {
        state.PauseTiming();
        PointSet a = mcs, b = ocs;
        state.ResumeTiming();
        auto matched = matchPointsByName(std::move(a), std::move(b), std::nullopt, options);
        benchmark::DoNotOptimize(matched.identical);
    }
}
BENCHMARK(BM_MatchByName)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kal
