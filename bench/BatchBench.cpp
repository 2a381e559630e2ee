// The batch run over a folder of 100 point files of 10^4 points each: listing, check, read,
// transformation and the atomic write of every output.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "input/BatchTransform.h"
#include "shared/Units.h"

namespace kal {
namespace {

namespace fs = std::filesystem;

std::string pointFile(int n, std::mt19937& random) {
    std::uniform_real_distribution<double> coordinate(-5000, 5000);
    std::string text;
    text.reserve(static_cast<std::size_t>(n) * 44);
    char line[96];
    for (int i = 1; i <= n; ++i) {
        const int len = std::snprintf(line, sizeof line, "P%d\t%.4f\t%.4f\t%.4f\r\n", i, coordinate(random),
                                      coordinate(random), coordinate(random));
        text.append(line, static_cast<std::size_t>(len));
    }
    return text;
}

void BM_BatchRun(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0)), points = static_cast<int>(state.range(1));
    const fs::path root = fs::temp_directory_path() / ("kalvoreth-batch-bench-" + std::to_string(::getpid()));
    fs::create_directories(root / "mcs"), fs::create_directories(root / "tcs");
    std::mt19937 random(5);
    for (int f = 1; f <= files; ++f)
        std::ofstream(root / "mcs" / ("cell" + std::to_string(f) + ".txt"), std::ios::binary)
            << pointFile(points, random);

    JobState job;
    job.LengthUnitName = "millimeter", job.AngleUnitName = "degree";
    job.DigitLength = 3, job.DigitAngle = 4;
    applyUnitSettings(job);
    job.TraX() = 120, job.TraY() = -45, job.TraZ() = 30;
    job.RotXSeed = 0.1, job.RotYSeed = -0.2, job.RotZSeed = 0.3;
    job.ScaleX() = job.ScaleY() = job.ScaleZ() = 1.0001;
    job.TrafoCalculated = true;
    const BatchChoices choices{(root / "mcs").string(), (root / "tcs").string()};
    for (auto _ : state) {
        state.PauseTiming();
        for (const auto& e : fs::directory_iterator(root / "tcs")) fs::remove(e.path());
        state.ResumeTiming();
        const auto outcome = runBatchTransform(job, choices, BatchServices{});
        if (outcome.written.size() != static_cast<std::size_t>(files)) state.SkipWithError("outputs missing");
    }
    state.counters["points/s"] = benchmark::Counter(static_cast<double>(files) * points,
                                                    benchmark::Counter::kIsIterationInvariantRate);
    fs::remove_all(root);
}
BENCHMARK(BM_BatchRun)->Args({100, 10000})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kal
