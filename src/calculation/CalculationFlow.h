#pragma once
// The calculation flow of the calculation window: every calculation starts here (the Calculate
// button, STOP, calculateKeepingStop and recalculateForOtherWindow for other windows), keeps the previous
// parameters for the comparison the result display shows, runs the paraboloid flow or one calculation, and
// then tells the job's change hub: CalculationStarted before it (the details window closes),
// ResultsChanged once when it solved (the result display, the graphics windows, the main sheet,
// in the hub's subscriber order; whatever the work emitted on the way is collected into this one
// delivery), CalculationEnded after it, solved or not (the main window refreshes its commands;
// the details window reopens after a completed Monte Carlo series).
//
// One calculation at a time: while one runs (it lets events through, so STOP is seen), a second
// start from anywhere is refused (Busy) and the parameter rows cannot change. The cursor, the
// buttons and the windows of a run are put back on every exit. A calculation that is refused or
// fails leaves the job as it was: no ResultsChanged reaches the windows, the job is not made
// dirty, and one message says why. A direction switch emits PointsReplaced (the input statistics
// show the exchanged sets) before its calculation.
#include <cstdint>
#include <string>

#include "calculation/BusyState.h"
#include "calculation/CalculationView.h"
#include "calculation/DirectionSwitch.h"
#include "calculation/ParameterPanel.h"
#include "calculation/SeedValues.h"
#include "engine/CalcProgress.h"
#include "engine/CalcResults.h"
#include "platform/Platform.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"

namespace kal {

// Whether the details window opens when a calculation has ended: after a Monte Carlo series that
// ran to its end, and after every later calculation while the series' runs stand and Monte Carlo
// is on.
inline bool detailsShownAfterCalculation(const JobState& job) { return job.MonteCarloOn && job.McCompleted; }

// (CalculationRoad)
class CalculationFlow {
  public:
    // `view` and `progress` (the status bar) may be null (no window): a test drives the flow
    // alone. The Monte Carlo series shows `services.progress`.
    CalculationFlow(JobState& job, JobEvents& events, platform::Services services = {},
                    CalculationView* view = nullptr, CalcProgress* progress = nullptr);
    CalculationFlow(const CalculationFlow&) = delete;
    CalculationFlow& operator=(const CalculationFlow&) = delete;

    ParameterPanel& panel() { return panel_; }
    const ParameterPanel& panel() const { return panel_; }
    CalcResults& results() { return results_; }
    const CalcResults& results() const { return results_; }
    SeedValues& seedValues() { return seedValues_; }
    // Whether a calculation runs; commands that change the job wait while it does.
    const BusyState& busyState() const { return busy_; }
    bool busy() const { return busy_.busy(); }
    const DirectionLabel& directionLabel() const { return directionLabel_; }

    // The Calculate button: STOP enabled for the run (BtnCalculate_Click).
    CalcStatus runCalculation();
    // STOP: the running calculation ends at its next check (BtnSTOP_Click).
    void requestStop();
    // Other windows' recalculation (opening a job, a flag's use toggled with AutoRecalc) (testIt).
    CalcStatus recalculateForOtherWindow() { return runCalculation(); }
    // The calculation flow itself; STOP stays as it is (the clipboard quick calculation) (myButtonCalculate).
    CalcStatus calculateKeepingStop();
    // The direction switch: exchanges the sets and calculates in the new direction (BtnSwitchMcsOcs_Click).
    // Refused in paraboloid mode (the OCS are foot points) and while a calculation runs.
    CalcStatus switchDirection();
    // The paraboloid stop window's button and close box: the running iteration loop ends after
    // its step.
    void stopParaboloidLoop();
    // "Value to SEED" (BtnSEED_Click).
    void copyValuesToSeed();
    // The bound of the reweighting and paraboloid loops (1000).
    void setLoopCap(std::int32_t cap) { loopCap_ = cap; }

  private:
    void switchDirectionOnly();

    JobState& job_;
    platform::Services services_;
    CalculationView defaultView_;
    CalculationView& view_;
    JobEvents& events_;
    CalcProgress* progress_;
    BusyState busy_;
    CalcResults results_;
    ParameterPanel panel_;
    SeedValues seedValues_;
    DirectionLabel directionLabel_;
    std::int32_t loopCap_ = 1000;
};

}  // namespace kal
