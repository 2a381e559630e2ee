// The distance and scale analysis at 2 000 and 10 000 identical points (n(n-1)/2 pairs, each used
// for both of its rows) and the trumpet picture at 10 000 points (two passes over the pairs, nine
// pixels a pair, one pass over the pairs with the analysis's extremes). Each run lets events through on the
// window's clock (40 ms); the counter max_event_gap_ms is the longest time between two of those moments, the
// first one counted from the start: what a user waits at most for a repaint or for Stop to be seen.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>

#include "details/DistanceAnalysis.h"
#include "details/TrumpetExport.h"
#include "details/TrumpetGraph.h"

namespace kal {
namespace {

using Clock = std::chrono::steady_clock;

// n points over about 10 m, the OCS 12 ppm larger, shifted and disturbed by up to 0.1 mm.
DistanceSnapshot cloud(std::int32_t n) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-5000, 5000), noise(-0.1, 0.1);
    DistanceSnapshot s;
    s.withCalibration = false;
    for (std::int32_t k = 1; k <= n; ++k) {
        const double x = coordinate(random), y = coordinate(random), z = coordinate(random) / 5;
        s.names.push_back("P" + std::to_string(k));
        s.mcsX.push_back(x), s.mcsY.push_back(y), s.mcsZ.push_back(z);
        const double f = 1.0 + 12e-6;
        s.ocsX.push_back(f * x + 10 + noise(random));
        s.ocsY.push_back(f * y - 20 + noise(random));
        s.ocsZ.push_back(f * z + 5 + noise(random));
    }
    return s;
}

// Records the longest gap between two calls (and from the start to the first).
class GapPump : public platform::EventPump {
  public:
    void start() { last_ = Clock::now(); }
    void processEvents() override { note(); }
    void note() {
        const Clock::time_point now = Clock::now();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    }
    double longestMs() const { return std::chrono::duration<double, std::milli>(longest_).count(); }

  private:
    Clock::time_point last_ = Clock::now();
    Clock::duration longest_{};
};

void BM_DistanceAnalysis(benchmark::State& state) {
    const DistanceSnapshot points = cloud(static_cast<std::int32_t>(state.range(0)));
    double maxGap = 0;
    for (auto _ : state) {
        state.PauseTiming();
        DistanceSnapshot copy = points;
        GapPump pump;
        state.ResumeTiming();
        pump.start();
        auto result = analyseDistances(std::move(copy), {&pump, nullptr, std::chrono::milliseconds(40)});
        pump.note();  // the end of the run counts as the last moment
        benchmark::DoNotOptimize(result);
        maxGap = std::max(maxGap, pump.longestMs());
    }
    const double n = static_cast<double>(state.range(0));
    state.counters["pairs"] = n * (n - 1) / 2;
    state.counters["max_event_gap_ms"] = maxGap;
}
BENCHMARK(BM_DistanceAnalysis)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The picture as the window draws it: from a completed analysis, whose extremes save a pass.
void BM_TrumpetGraph(benchmark::State& state) {
    const std::optional<DistanceAnalysis> analysis =
        analyseDistances(cloud(static_cast<std::int32_t>(state.range(0))));
    const DistanceAnalysis& points = *analysis;
    ImageBuffer picture;
    double maxGap = 0;
    for (auto _ : state) {
        GapPump pump;
        pump.start();
        const bool drawn = drawTrumpetGraph(points, picture, {&pump, nullptr, std::chrono::milliseconds(40)});
        pump.note();
        benchmark::DoNotOptimize(drawn);
        maxGap = std::max(maxGap, pump.longestMs());
    }
    state.counters["max_event_gap_ms"] = maxGap;
}
BENCHMARK(BM_TrumpetGraph)->Arg(10000)->Unit(benchmark::kMillisecond);

// The pair export at 2 000 points: 1 999 000 lines (about 60 MB) formatted and written in chunks
// through an atomic save into the temporary folder.
void BM_TrumpetExport(benchmark::State& state) {
    const DistanceSnapshot points = cloud(static_cast<std::int32_t>(state.range(0)));
    const std::string path =
        (std::filesystem::temp_directory_path() / ("kalvoreth-pairs-" + std::to_string(::getpid()) + ".txt"))
            .string();
    double maxGap = 0;
    std::uintmax_t bytes = 0;
    for (auto _ : state) {
        GapPump pump;
        TrumpetExportServices s;
        s.events = &pump;
        pump.start();
        const ExportOutcome outcome = writeTrumpetPairs(path, points, 1.0, "0.000", s);
        pump.note();
        if (outcome != ExportOutcome::Written) state.SkipWithError("the export failed");
        maxGap = std::max(maxGap, pump.longestMs());
        bytes = std::filesystem::file_size(path);
    }
    std::filesystem::remove(path);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["max_event_gap_ms"] = maxGap;
}
BENCHMARK(BM_TrumpetExport)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kal
