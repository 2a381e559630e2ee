#pragma once
// A solve with scripted platform services and recorded progress: the calculation's fields sized
// as the calculation sizes them (weights from the use flags), a context whose clock lets every
// poll through.
#include <chrono>

#include "engine/CalcResults.h"
#include "engine/EngineContext.h"
#include "engine/LeastSquares.h"
#include "engine/ParameterStates.h"
#include "engine/RecordingProgress.h"
#include "shared/JobState.h"
#include "support/FakePlatform.h"

namespace kal::testing {

class SolverHarness {
  public:
    SolverHarness()
        : ctx(platform::Services{&prompter, &clipboard, &events}, &progress, std::chrono::milliseconds(0)) {}

    void size(const JobState& job, const ParamStates& states) {
        results.UnknownCount = floatCount(states);
        results.ObservationCount = 3 * job.IdenticalCount;
        results.Weights.resize(results.ObservationCount, 1);
        results.Residuals.resize(results.ObservationCount, 1);
        results.CofactorMatrix.resize(results.UnknownCount, results.UnknownCount);
        for (std::int32_t k = 1; k <= results.ObservationCount; ++k)
            results.Weights(k, 1) = job.UseFlags[static_cast<std::size_t>(k)];
    }

    HelmertOutcome solve(JobState& job, const ParamStates& states) {
        size(job, states);
        return solveLeastSquares(job, results, states, ctx);
    }

    FakePrompter prompter;
    FakeClipboard clipboard;
    FakeEventPump events;
    RecordingProgress progress;
    EngineContext ctx;
    CalcResults results;
};

}  // namespace kal::testing
