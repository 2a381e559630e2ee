// The calculation flow on synthetic jobs: one calculation on 100 points; a Monte Carlo series of
// 1000 runs on the same points, whose counter per_solve (the series' time over its 1001 solves)
// should stay close to OneCalculation100, with no repaint or clipboard work inside the runs; and
// the L1 and minimax norms on 10^4 points with 1 % gross outliers (counters: reweighting steps
// and time per step, each step one full solve).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "../tests/support/KnownTransformJob.h"
#include "calculation/CalculationFlow.h"
#include "engine/CalcProgress.h"
#include "shared/JobEvents.h"

namespace kal {
namespace {

// Keeps the last text of the norm panel (6), where the loops count their steps.
class StepCounter : public CalcProgress {
  public:
    void setPanelText(int panel, const std::string& text) override {
        if (panel == 6) panel6 = text;
    }
    void repaint() override {}
    std::int32_t steps() const {
        const auto colon = panel6.rfind(": ");
        return colon == std::string::npos ? 0 : std::stoi(panel6.substr(colon + 2));
    }
    std::string panel6;
};

testing::SyntheticRecipe recipe(std::int32_t points, bool outliers) {
    testing::SyntheticRecipe s;
    s.points = points;
    s.noise = 0.05;
    s.seed = 17;
    if (outliers)
        for (std::int32_t k = 10; k <= points; k += 100) s.outliers.push_back(k);
    return s;
}

// Opens the flow in the 6-parameter state a new window has.
void sixParameters(CalculationFlow& flow) {
    flow.panel().selectPreset(Preset::TwelveParameter);
    flow.panel().setEstimate(kRDist, true);
    flow.panel().selectPreset(Preset::SixParameter);
}

void OneCalculation100(benchmark::State& state) {
    JobState job = testing::makeSyntheticJob(recipe(100, false));
    JobEvents events;
    CalculationFlow flow(job, events);
    sixParameters(flow);
    for (auto _ : state) benchmark::DoNotOptimize(flow.runCalculation());
}
BENCHMARK(OneCalculation100)->Unit(benchmark::kMicrosecond);

void MonteCarlo1000Runs100Points(benchmark::State& state) {
    JobState job = testing::makeSyntheticJob(recipe(100, false));
    job.MonteCarloRuns = 1000;
    job.sigmaX = job.sigmaY = job.sigmaZ = 0.05;
    JobEvents events;
    CalculationFlow flow(job, events);
    sixParameters(flow);
    flow.panel().setMonteCarlo(true);
    for (auto _ : state) {
        if (flow.runCalculation() != CalcStatus::Solved || !job.McCompleted)
            state.SkipWithError("series failed");
    }
    state.counters["per_solve"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 1001,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(MonteCarlo1000Runs100Points)->Unit(benchmark::kMillisecond);

void normBench(benchmark::State& state, std::int16_t norm) {
    JobState job = testing::makeSyntheticJob(recipe(10000, true));
    StepCounter steps;
    JobEvents events;
    CalculationFlow flow(job, events, {}, nullptr, &steps);
    sixParameters(flow);
    flow.panel().selectNorm(norm);
    for (auto _ : state) {
        if (flow.runCalculation() != CalcStatus::Solved) state.SkipWithError("calculation failed");
    }
    state.counters["steps"] = steps.steps();
    state.counters["per_step"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * steps.steps(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
void L1Norm10000Points(benchmark::State& state) { normBench(state, kNormL1); }
void MinimaxNorm10000Points(benchmark::State& state) { normBench(state, kNormMinimax); }
BENCHMARK(L1Norm10000Points)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(MinimaxNorm10000Points)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace kal
