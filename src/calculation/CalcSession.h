#pragma once
// What one calculation works with: the job, the parameter panel it reads and writes back, the
// calculation's shared fields, the engine context (controls snapshot, status bar, events,
// platform services with the progress window), the calculation window and the job's change hub
// through which every other window hears of the results. The flow builds one per calculation; the
// calculation, its reweighting loops, the Monte Carlo series and the paraboloid flow take it.
#include <cstdint>
#include <string>

#include "calculation/CalculationView.h"
#include "calculation/ParameterPanel.h"
#include "engine/CalcResults.h"
#include "engine/EngineContext.h"
#include "engine/ParameterStates.h"
#include "platform/Prompter.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"

namespace kal {

struct CalcSession {
    JobState& job;
    ParameterPanel& panel;
    CalcResults& results;
    EngineContext& engine;
    CalculationView& view;
    JobEvents& events;
    // The bound of the reweighting and paraboloid loops.
    std::int32_t loopCap = 1000;

    // Where the calculation's own messages go (not redundant, not converged); the engine context
    // of a Monte Carlo run has no prompter of its own, so that the solver's boxes stay out of
    // the series, but these still reach the user.
    platform::Prompter* prompter = nullptr;

    // The calculation only gives the start of an iteration that goes on (the first step of the
    // paraboloid flow): the solver's iteration limit ends nothing there, so it is not reported.
    bool startOnly = false;

    // A message box with an OK button; nothing without a prompter.
    void message(const std::string& text) const {
        if (prompter) prompter->message(text);
    }
    void setPanel(int panel, const std::string& text) const { engine.setPanel(panel, text); }
    // True when the estimate box of a slot is ticked (slots 15..17: "use ABC").
    bool estimated(int slot) const { return panel.row(slot).estimate; }
};

}  // namespace kal
