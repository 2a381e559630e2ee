#pragma once
// What the calculation flow asks of the calculation window itself: its cursor and buttons, the
// display it updates while a paraboloid flow runs, and the paraboloid stop window that stands in
// for it while it is disabled. The window implements it (later); every method does nothing by
// default, so a test overrides only what it watches. None of these may start a calculation: the
// flow holds the busy state while it calls them.
//
// The other windows (result display, graphics, main sheet, main window, details, input
// statistics) are not called: they subscribe to the job's events (shared/JobEvents.h). The
// progress window of a Monte Carlo series is the platform's (platform/Progress.h).
#include <string>

namespace kal {

class CalculationView {
  public:
    virtual ~CalculationView() = default;

    // ---- The calculation window while it calculates ----
    virtual void setWaitCursor(bool on) {}
    virtual void setCalculateEnabled(bool enabled) {}
    virtual void setStopEnabled(bool enabled) {}
    // The whole calculation window, on the paraboloid flow; STOP stays usable when disabled.
    virtual void setWindowEnabled(bool enabled) {}

    // ---- Its result boxes between the steps of a paraboloid flow ----
    // (AnzeigeReset) Clears the result boxes and statistics of the window.
    virtual void resetResultDisplay() {}
    // s0 and sigma xyz of the latest paraboloid step, millimetres.
    virtual void showStepSigmas(double s0, double sigmaXyz) {}
    // (Logic_BtnShowAlternativ) Whether the alternative-solution button is enabled.
    virtual void updateAlternativeButton() {}

    // ---- Paraboloid stop window (its button and close box call stopParaboloidLoop of the flow) ----
    // Closing a window that is not open does nothing.
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
