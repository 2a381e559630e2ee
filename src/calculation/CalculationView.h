#pragma once
// What the calculation road asks of the windows around it: the result display, the graphics
// windows, the main sheet, the main window, the details window, and the progress and stop
// windows of long runs. The windows implement it (later); every method does nothing by default,
// so a test overrides only what it watches. None of these may start a calculation: the road
// holds the busy state while it calls them. Closing a window that is not open does nothing.
#include <string>

namespace kal {

class CalculationView {
  public:
    virtual ~CalculationView() = default;

    // ---- Result display (the calculation window) ----
    virtual void ResetArrows() {}
    // Shows the results of the solution just calculated; marks the job calculated and enables
    // "Value to SEED" and the exports. Called only after a calculation that solved.
    virtual void FormThings() {}
    virtual void AnzeigeReset() {}
    // s0 and sigma xyz of the latest paraboloid step, millimetres.
    virtual void showStepSigmas(double s0, double sigmaXyz) {}
    // Logic_BtnShowAlternativ: whether the alternative-solution button is enabled.
    virtual void Logic_BtnShowAlternativ() {}

    // ---- Other windows, refreshed after a calculation ----
    // Every open graphics window rebuilds its cloud, redraws and refills its flags, one after
    // the other; nothing when none is open.
    virtual void refreshGraphicsWindows() {}
    // FuellenHaupttabelle while the main sheet is shown; nothing otherwise.
    virtual void refreshMainSheet() {}
    virtual void ProgrammLogik() {}
    virtual void closeDetails() {}
    virtual void showDetails() {}
    // After a direction switch: closes and reopens the input statistics window while it is
    // shown, so that it shows the exchanged sets.
    virtual void reopenInputStatistics() {}

    // ---- The calculation window while it calculates ----
    virtual void setWaitCursor(bool on) {}
    virtual void setCalculateEnabled(bool enabled) {}
    virtual void setStopEnabled(bool enabled) {}
    // The whole calculation window, on the paraboloid road; STOP stays usable when disabled.
    virtual void setWindowEnabled(bool enabled) {}

    // ---- Progress window of a Monte Carlo series (its Cancel sets StopFlag) ----
    virtual void showProgress(const std::string& caption) {}
    // Called once per run: keep the value; the bar repaints when events are let through (at
    // most every 50 ms), never once per run.
    virtual void setProgress(float percent) {}
    virtual void closeProgress() {}

    // ---- Paraboloid stop window (its button and close box call StopIt of the road) ----
    virtual void showStopWindow() {}
    virtual void setStopWindowEnabled(bool enabled) {}
    virtual void closeStopWindow() {}
};

// How a calculation ended.
enum class CalcStatus {
    Solved,   // results stand (also after a reweighting or paraboloid loop that hit its bound)
    Stopped,  // STOP ended it early; the results of the last finished step stand
    Refused,  // not run: not redundant, a text that is not a number, an impossible option; nothing changed
    Failed,   // an error ended it; the job is as it was before
    Busy,     // not started: another calculation is running
};

}  // namespace kal
