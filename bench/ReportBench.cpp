// The complete results report (clipboard mode 2) of n identical points: 25 fields a point, built
// in one pass; its cost must grow linearly with n.
#include <benchmark/benchmark.h>

#include <random>

#include "results/CalculationReport.h"
#include "shared/Units.h"

namespace kal {
namespace {

JobState reportJob(std::int32_t n) {
    JobState job;
    job.LengthUnitName = "millimeter";
    job.AngleUnitName = "degree";
    job.DigitLength = 3, job.DigitAngle = 4, job.DigitScale = 0;
    applyUnitSettings(job);
    job.McsCount = job.OcsCount = job.IdenticalCount = n;
    job.MCS_Name.resize(static_cast<std::size_t>(n + 1));
    job.OCS_Name.resize(static_cast<std::size_t>(n + 1));
    job.OCS_X.resize(n), job.OCS_Y.resize(n), job.OCS_Z.resize(static_cast<std::size_t>(n + 1));
    job.MCS_X.resize(n), job.MCS_Y.resize(n), job.MCS_Z.resize(static_cast<std::size_t>(n + 1));
    job.sizeDerivedArrays(1);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> coordinate(-5000, 5000), deviation(-0.05, 0.05);
    for (std::int32_t i = 1; i <= n; ++i) {
        const auto at = static_cast<std::size_t>(i);
        job.MCS_Name[at] = "P" + std::to_string(i);
        job.OCS_X.set(i, coordinate(random)), job.OCS_Y.set(i, coordinate(random));
        job.OCS_Z[at] = coordinate(random);
        job.MCSt_X.set(i, job.OCS_X[i] + deviation(random)),
            job.MCSt_Y.set(i, job.OCS_Y[i] + deviation(random));
        job.MCSt_Z[at] = job.OCS_Z[at] + deviation(random);
    }
    job.ScaleX() = job.ScaleY() = job.ScaleZ() = job.ScaleXYZ() = 1.0;
    return job;
}

void BM_CompleteResultsReport(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    const JobState job = reportJob(n);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = completeResultsReport(job, {}, ResultDisplay{});
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.SetComplexityN(n);
}
BENCHMARK(BM_CompleteResultsReport)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace kal
