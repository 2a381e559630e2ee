// The MCS-only export of 10^6 points: the text built in one buffer (formatting every coordinate
// with the length pattern) and the atomic write of the file, about 40 MB.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "details/McsOnlyExport.h"
#include "shared/Units.h"

namespace kal {
namespace {

namespace fs = std::filesystem;

JobState mcsOnlyJob(std::int32_t n) {
    JobState job;
    job.LengthUnitName = "millimeter";
    job.AngleUnitName = "degree";
    job.DigitLength = 3;
    job.DigitAngle = 4;
    applyUnitSettings(job);
    job.IdenticalCount = 0;
    job.McsCount = n;
    job.sizeDerivedArrays(1);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-5000, 5000);
    for (std::int32_t i = 1; i <= n; ++i) {
        job.MCSt_Name[static_cast<std::size_t>(i)] = "P" + std::to_string(i);
        job.MCSt_X.set(i, coordinate(random));
        job.MCSt_Y.set(i, coordinate(random));
        job.MCSt_Z[static_cast<std::size_t>(i)] = coordinate(random);
    }
    return job;
}

void BM_McsOnlyText(benchmark::State& state) {
    const JobState job = mcsOnlyJob(static_cast<std::int32_t>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = mcsOnlyFileBytes(job);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.SetItemsProcessed(state.range(0) * state.iterations());
}
BENCHMARK(BM_McsOnlyText)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_McsOnlyExport(benchmark::State& state) {
    JobState job = mcsOnlyJob(static_cast<std::int32_t>(state.range(0)));
    const fs::path root =
        fs::temp_directory_path() / ("kalvoreth-mcsonly-bench-" + std::to_string(::getpid()));
    fs::create_directories(root);
    job.CurrentJobFile = (root / "job1.tfo").string();
    for (auto _ : state) {
        if (exportMcsOnlyPoints(job, ExportServices{}) != ExportOutcome::Written)
            state.SkipWithError("not written");
        fs::remove(root / "job1.txt");  // no replace question on the next round
    }
    state.SetItemsProcessed(state.range(0) * state.iterations());
    fs::remove_all(root);
}
BENCHMARK(BM_McsOnlyExport)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kal
