// The whole load of a point pair from disk by name: both files read and checked, matched, and
// committed to the job (use flags, transformed set), as OK in the input dialog runs it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>
#include <string>

#include "input/PointLoad.h"
#include "platform/Regional.h"

namespace kal {
namespace {

// Answers nothing and shows nothing: the bench files need no box.
class SilentPrompter : public platform::Prompter {
  protected:
    platform::Answer showMessage(const std::string&, platform::Buttons, const std::string&,
                                 platform::Icon) override {
        return platform::Answer::Yes;
    }
    int showCustom(const std::string&, const std::string&, const std::vector<std::string>&) override {
        return 1;
    }
    std::optional<std::string> showInput(const std::string&, const std::string&,
                                         const std::string&) override {
        return std::nullopt;
    }
};

// n points "P<i><delimiter>x<delimiter>y<delimiter>z\r\n" in shuffled order.
std::string writePointFile(const std::string& path, int n, char delimiter, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(-5000, 5000);
    std::vector<int> order(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) order[static_cast<std::size_t>(i)] = i + 1;
    std::shuffle(order.begin(), order.end(), random);
    std::string text;
    text.reserve(static_cast<std::size_t>(n) * 44);
    char line[128];
    for (int i : order) {
        const int len =
            std::snprintf(line, sizeof line, "P%d%c%.4f%c%.4f%c%.4f\r\n", i, delimiter, coordinate(random),
                          delimiter, coordinate(random), delimiter, coordinate(random));
        text.append(line, static_cast<std::size_t>(len));
    }
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

void BM_LoadPointsByName(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    platform::ScopedDecimalSeparator point('.');
    const auto folder = std::filesystem::temp_directory_path() / "kalvoreth-bench-load";
    std::filesystem::create_directories(folder);
    PointLoadRequest request;
    request.mcsFile = writePointFile((folder / "mcs.txt").string(), n, '\t', 1);
    request.ocsFile = writePointFile((folder / "ocs.txt").string(), n, ';', 2);
    SilentPrompter prompter;
    PointLoadServices services;
    services.prompter = &prompter;
    services.resetJob = [](JobState& job) { job.DataLoaded = false; };
    for (auto _ : state) {
        JobState job;
        job.LengthFactor = 1.0, job.AngleFactor = 180.0 / std::numbers::pi;
        const auto outcome = loadPoints(job, request, services);
        if (outcome.status != PointLoadStatus::Loaded || job.IdenticalCount != n)
            state.SkipWithError("not loaded");
        benchmark::DoNotOptimize(job.MCSt_Z.data());
        state.PauseTiming();
        job = JobState();  // the freeing is not the load's
        state.ResumeTiming();
    }
    std::filesystem::remove_all(folder);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * n);
}
BENCHMARK(BM_LoadPointsByName)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace kal
