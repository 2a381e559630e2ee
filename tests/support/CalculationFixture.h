#pragma once
// A calculation flow over a job, with scripted platform services, a recording calculation window and
// recording subscribers for the windows around it, set to
// the state a calculation window opens with (6 parameters, automatic recalculation off).
#include <memory>

#include "calculation/CalculationFlow.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"
#include "support/KnownTransformJob.h"
#include "support/RecordingView.h"
#include "support/RecordingWindows.h"

namespace kal::testing {

// (RoadFixture)
struct CalculationFixture {
    JobState job;
    FakePrompter prompter;
    FakeClipboard clipboard;
    FakeEventPump events;
    RecordingView view;
    StatusBarRecorder progress;
    FakeProgress progressWindow;
    JobEvents jobEvents;
    RecordingWindows windows{jobEvents, job};
    std::unique_ptr<CalculationFlow> flow;

    explicit CalculationFixture(JobState j) : job(std::move(j)) {
        flow = std::make_unique<CalculationFlow>(
            job, jobEvents, platform::Services{&prompter, &clipboard, &events, nullptr, &progressWindow},
            &view, &progress);
        panel().selectPreset(Preset::TwelveParameter);
        panel().setEstimate(kRDist, true);
        panel().selectPreset(Preset::SixParameter);
    }
    explicit CalculationFixture(const SyntheticRecipe& recipe = {})
        : CalculationFixture(makeSyntheticJob(recipe)) {}

    ParameterPanel& panel() { return flow->panel(); }
    CalcResults& results() { return flow->results(); }
    CalcStatus calculate() { return flow->runCalculation(); }
    double residual(std::int32_t row) const { return flow->results().Residuals(row, 1); }
};

}  // namespace kal::testing
