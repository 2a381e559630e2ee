#pragma once
// A calculation road over a job, with scripted platform services, a recording calculation window and
// recording subscribers for the windows around it, set to
// the state a calculation window opens with (6 parameters, automatic recalculation off).
#include <memory>

#include "calculation/CalculationRoad.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"
#include "support/KnownTransformJob.h"
#include "support/RecordingView.h"
#include "support/RecordingWindows.h"

namespace kal::testing {

struct RoadFixture {
    JobState job;
    FakePrompter prompter;
    FakeClipboard clipboard;
    FakeEventPump events;
    RecordingView view;
    StatusBarRecorder progress;
    FakeProgress progressWindow;
    JobEvents jobEvents;
    RecordingWindows windows{jobEvents, job};
    std::unique_ptr<CalculationRoad> road;

    explicit RoadFixture(JobState j) : job(std::move(j)) {
        road = std::make_unique<CalculationRoad>(
            job, jobEvents, platform::Services{&prompter, &clipboard, &events, nullptr, &progressWindow},
            &view, &progress);
        panel().selectPreset(Preset::TwelveParameter);
        panel().setEstimate(kRDist, true);
        panel().selectPreset(Preset::SixParameter);
    }
    explicit RoadFixture(const SyntheticRecipe& recipe = {}) : RoadFixture(makeSyntheticJob(recipe)) {}

    ParameterPanel& panel() { return road->panel(); }
    CalcResults& results() { return road->results(); }
    CalcStatus calculate() { return road->BtnCalculate_Click(); }
    double residual(std::int32_t row) const { return road->results().Residuals(row, 1); }
};

}  // namespace kal::testing
