// The paraboloid flow on a dish of 10^4 points (f = 200 mm, radii 20 to 400 mm, 0.01 mm noise)
// under a moderate pose, from the raw MCS: one whole fit per iteration. Counters: the steps of
// the flow and the distance of the result from the truth.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "../tests/support/DishJob.h"
#include "calculation/CalculationFlow.h"
#include "shared/JobEvents.h"

namespace kal {
namespace {

void ParaboloidFit10k(benchmark::State& state) {
    testing::DishRecipe recipe;
    recipe.focal = 200.0;
    recipe.points = 10000;
    recipe.noise = 0.01;
    recipe.seed = 5;
    recipe.truth.tra[0] = 20.0;
    recipe.truth.tra[1] = -10.0;
    recipe.truth.tra[2] = 5.0;
    recipe.truth.rot[0] = 0.03;
    recipe.truth.rot[1] = -0.02;
    recipe.truth.rot[2] = 0.0;
    const JobState start = testing::makeDishJob(recipe);
    double steps = 0.0, off = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        JobState job = start;
        JobEvents events;
        CalculationFlow flow(job, events);
        flow.panel().selectPreset(Preset::TwelveParameter);
        flow.panel().selectPreset(Preset::SixParameter);
        flow.panel().setEstimate(kRotZ, false);
        flow.panel().setValueText(kRotZ, "0");
        state.ResumeTiming();
        if (flow.runCalculation() != CalcStatus::Solved) state.SkipWithError("the fit was not solved");
        steps = flow.results().ParaIteration - 1;
        off = 0.0;
        for (int i = 0; i < 3; ++i)
            off = std::max(off,
                           std::fabs(job.Params[static_cast<std::size_t>(kTraX + i)] - recipe.truth.tra[i]));
    }
    state.counters["steps"] = steps;
    state.counters["tra_off_mm"] = off;
}
BENCHMARK(ParaboloidFit10k)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace kal
