#include "calculation/CalculationFlow.h"

#include <exception>

#include "calculation/CalcSession.h"
#include "calculation/CalculationRollback.h"
#include "calculation/OneCalculation.h"
#include "calculation/ParaboloidLoop.h"
#include "engine/CalcRefused.h"
#include "engine/EngineContext.h"

namespace kal {

namespace {

// The calculation window while a calculation runs: wait cursor, Calculate disabled; put back on
// every exit.
class RunningWindow {
  public:
    explicit RunningWindow(CalculationView& view) : view_(view) {
        view_.setWaitCursor(true);
        view_.setCalculateEnabled(false);
    }
    ~RunningWindow() { restore(); }
    void restore() {
        if (restored_) return;
        restored_ = true;
        view_.setWaitCursor(false);
        view_.setCalculateEnabled(true);
    }

  private:
    CalculationView& view_;
    bool restored_ = false;
};

}  // namespace

CalculationFlow::CalculationFlow(JobState& job, JobEvents& events, platform::Services services,
                                 CalculationView* view, CalcProgress* progress)
    : job_(job),
      services_(services),
      view_(view ? *view : defaultView_),
      events_(events),
      progress_(progress),
      panel_(
          job,
          PanelCallbacks{[this] { runCalculation(); }, [this] { switchDirectionOnly(); },
                         [this] { view_.resetResultDisplay(); }, [this] { view_.updateAlternativeButton(); }},
          services.prompter, &busy_),
      seedValues_(panel_),
      directionLabel_(directionLabelAtSetUp(job)) {}

CalcStatus CalculationFlow::runCalculation() {
    if (busy()) return CalcStatus::Busy;
    view_.setStopEnabled(true);
    const CalcStatus status = calculateKeepingStop();
    view_.setStopEnabled(false);
    return status;
}

void CalculationFlow::requestStop() {
    job_.StopFlag = true;
    view_.setStopEnabled(false);
}

void CalculationFlow::stopParaboloidLoop() {
    job_.ParaStopFlag = true;
    view_.closeStopWindow();
}

CalcStatus CalculationFlow::calculateKeepingStop() {
    BusyGuard guard(busy_);
    if (!guard.acquired()) return CalcStatus::Busy;

    for (int k = 1; k <= kParamCount; ++k)
        results_.OldParams[static_cast<std::size_t>(k)] = job_.Params[static_cast<std::size_t>(k)];
    RunningWindow window(view_);
    results_.ParaIteration = 1;

    EngineContext engine(services_, progress_);
    engine.seedValues = job_.TrafoFormGeladen ? &seedValues_ : nullptr;
    CalcSession session{job_, panel_, results_, engine, view_, events_, loopCap_, services_.prompter};
    const CalculationRollback before(job_, results_, panel_);
    try {
        events_.publish(JobEvent::CalculationStarted);
    } catch (const std::exception& e) {
        session.message(e.what());  // a window that could not close says why; the calculation runs
    }
    // What the work emits on its way (the runs of a series, the steps of a loop) reaches the
    // windows once, with the flow's own ResultsChanged, or not at all when the job is put back.
    JobEvents::Batch batch(events_);
    CalcStatus status;
    std::string failure;
    try {
        status = job_.ParaboloidMode ? runParaboloidLoop(session) : calculateOnce(session);
    } catch (const CalcRefused& e) {
        status = CalcStatus::Refused;
        failure = e.what();
    } catch (const std::exception& e) {
        status = CalcStatus::Failed;
        failure = e.what();
    }
    job_.StopFlag = false;
    job_.ParaStopFlag = false;

    const bool solved = status == CalcStatus::Solved || status == CalcStatus::Stopped;
    if (!solved) {
        batch.discard();
        before.restore(job_, results_, panel_);
        if (!failure.empty()) session.message(failure);
    }
    try {
        if (solved) {
            events_.publish(JobEvent::ResultsChanged);
            batch.end();
            job_.JobDirty = true;
        }
        window.restore();
        events_.publish(JobEvent::CalculationEnded);
    } catch (const std::exception& e) {
        // The results stand; a window that could not show them says why.
        session.message(e.what());
    }
    return status;
}

void CalculationFlow::switchDirectionOnly() {
    directionLabel_ = pressDirectionSwitch(job_, [this] { events_.publish(JobEvent::PointsReplaced); });
}

CalcStatus CalculationFlow::switchDirection() {
    if (busy()) return CalcStatus::Busy;
    if (job_.ParaboloidMode) return CalcStatus::Refused;
    view_.setWaitCursor(true);
    switchDirectionOnly();
    view_.setWaitCursor(false);
    return runCalculation();
}

void CalculationFlow::copyValuesToSeed() {
    if (busy()) return;
    valueToSeed(panel_, job_);
}

}  // namespace kal
