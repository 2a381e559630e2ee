#pragma once
// The Monte Carlo simulation: the calculation repeated on copies of the identical MCS points
// disturbed by normal noise (sigmaX, sigmaY, sigmaZ), each run's parameters stored
// (JobState::McRuns), then the points restored and solved once more undisturbed. The details
// window shows the standard deviation of each stored parameter as its Monte Carlo sigma.
//
// The identical MCS points are put back on every exit, at the end, on STOP and on an error, so a
// save can never store noisy points. A series makes at least two runs (one run has no standard
// deviation); runs and sigmas are taken once at its start.
//
// Each stored run is a ResultsChanged (the details window's sigmas come from the runs); the
// series is one batch, so the windows hear of it once, after the series, not once per run. The
// progress window ("Calculating MonteCarlo") shows the run; its Cancel stops as STOP does.
#include <cstdint>
#include <functional>

#include "calculation/CalcSession.h"
#include "calculation/CalculationView.h"
#include "platform/Progress.h"

namespace kal {

inline constexpr std::int32_t kMinMonteCarloRuns = 2;

// The session a Monte Carlo run solves in: the calculation's job, panel and windows, but an
// engine without the clipboard (the R Dist correction log goes there once, from the final solve)
// and without message boxes (a box per run would stop the series). The engine's controls, seed
// values and progress panels are the calculation's.
struct QuietRunSession {
    explicit QuietRunSession(const CalcSession& s);
    QuietRunSession(const QuietRunSession&) = delete;
    QuietRunSession& operator=(const QuietRunSession&) = delete;

    EngineContext engine;
    CalcSession session;
};

// The identical MCS points as they were before the series, and their restoration. Holding one
// means the points may be disturbed; its destructor restores them and closes the progress window.
class MonteCarloScope {
  public:
    // MonteCarloInitialisieren: backs the points up, sizes the run lists (0..runs, all zero) and
    // shows the progress window "Calculating MonteCarlo".
    MonteCarloScope(CalcSession& s, std::int32_t runs);
    ~MonteCarloScope();  // finishMonteCarlo, if not called before
    MonteCarloScope(const MonteCarloScope&) = delete;
    MonteCarloScope& operator=(const MonteCarloScope&) = delete;

    std::int32_t runs() const { return runs_; }
    // The progress bar at run i of the series.
    void showRun(std::int32_t i);
    // Cancel of the progress window (or its close box) since the series began: StopFlag is set
    // then, so that the loop ends as on STOP. True when the series is to stop.
    bool stopRequested();
    // addNoiseToMcs: fresh noise on every identical MCS point (x, then y, then z per point)
    // (MCS_verrauschen).
    void addNoiseToMcs();
    // storeRunResults(i): stores run i's estimated parameters (rotations after preferSmallerRotations,
    // unwrapped towards run 1 so that an angle near ±π does not jump by 2π between runs) and
    // its sigma xyz; emits ResultsChanged (MonteCarloWriteiResults).
    void storeRunResults(std::int32_t i);
    // finishMonteCarlo: restores the points and closes the progress window (MonteCarloFinalisieren).
    void finishMonteCarlo();

  private:
    CalcSession& s_;
    std::int32_t runs_;
    double sigmaX_, sigmaY_, sigmaZ_;
    platform::ProgressScope progress_;
    bool finished_ = false;
};

// The series inside an L2 calculation, ending with the plain solution on the restored points
// (MonteCarloSeries). McCompleted tells whether every run was made.
CalcStatus runMonteCarloSeries(CalcSession& s);

// Sigma xyz of the current residuals: √(sx² + sy² + sz²), over the distance rows in the R Dist
// mode. Also sets S0, Sx, Sy, Sz of the results.
double sigmaXyzOf(CalcSession& s);

}  // namespace kal
