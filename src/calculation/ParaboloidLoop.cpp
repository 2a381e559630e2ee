#include "calculation/ParaboloidLoop.h"

#include <algorithm>
#include <cmath>

#include "calculation/MonteCarlo.h"
#include "calculation/OneCalculation.h"
#include "engine/FootPoint.h"
#include "engine/TransformModel.h"

namespace kal {

namespace {

std::size_t at(std::int32_t i) { return static_cast<std::size_t>(i); }

// The calculation window and the stop window while the flow runs; put back on every exit.
class ParaboloidWindows {
  public:
    explicit ParaboloidWindows(CalcSession& s) : s_(s) {
        s_.view.setWindowEnabled(false);
        s_.job.TrafoCalculated = false;
        s_.view.showStopWindow();
    }
    ~ParaboloidWindows() {
        s_.view.setWindowEnabled(true);
        s_.view.closeStopWindow();
        s_.job.ParaStopFlag = false;
    }
    ParaboloidWindows(const ParaboloidWindows&) = delete;
    ParaboloidWindows& operator=(const ParaboloidWindows&) = delete;

  private:
    CalcSession& s_;
};

// MCSt of every MCS point from the current parameters.
void transformAllMcs(JobState& job) {
    const PointTransform model(job);
    for (std::int32_t i = 1; i <= job.McsCount; ++i) {
        double x, y, z;
        model.apply(job.MCS_X[i], job.MCS_Y[i], job.MCS_Z[at(i)], x, y, z);
        job.MCSt_X.set(i, x);
        job.MCSt_Y.set(i, y);
        job.MCSt_Z[at(i)] = z;
    }
}

class ParaboloidStepper {
  public:
    ParaboloidStepper(CalcSession& s, TrendState& trend) : s_(s), trend_(trend) {}

    double PrevS0 = 100.0;

    // placeOcsOnFootPoints: foot points of the transformed identical points become their OCS points,
    // then one calculation towards them, then the trend extrapolation. False when the
    // calculation was refused.
    bool placeOcsOnFootPoints() {
        JobState& job = s_.job;
        s_.engine.poll();
        if (s_.results.ParaIteration == 1) {
            if (s_.engine.seedValues) s_.engine.seedValues->applySeed(job);
            transformAllMcs(job);
        }
        for (std::int32_t k = 1; k <= job.IdenticalCount; ++k) {
            s_.engine.poll();
            double x, y, z;
            paraboloidFootPoint(job.ShapeProfile, job.MCSt_X[k], job.MCSt_Y[k], job.MCSt_Z[at(k)], x, y, z);
            job.OCS_X.set(k, x);
            job.OCS_Y.set(k, y);
            job.OCS_Z[at(k)] = z;
        }
        s_.results.ParaIteration += 1;
        if (calculateOnce(s_) == CalcStatus::Refused) return false;
        // S0 is still the s0 of the step before: extrapolate while it falls.
        if (s_.results.S0 < PrevS0) {
            std::array<bool, kParamCount + 1> estimated{};
            for (int slot = 1; slot <= kParamCount; ++slot) estimated[at(slot)] = s_.estimated(slot);
            extrapolateTrends(trend_, job, estimated);
            transformAllMcs(job);
        } else {
            trend_.resetCounts();
        }
        PrevS0 = s_.results.S0;
        return true;
    }

    // paraboloidStep: one step with its sigmas shown. False when the step was refused.
    bool paraboloidStep() {
        if (!placeOcsOnFootPoints()) return false;
        const double sigmaXyz = sigmaXyzOf(s_);
        s_.view.resetResultDisplay();
        s_.view.showStepSigmas(s_.results.S0, sigmaXyz);
        s_.engine.poll();
        s_.job.TrafoCalculated = true;
        return true;
    }

    bool settled(double tolerance) const { return std::fabs(PrevS0 - s_.results.S0) < tolerance; }

  private:
    CalcSession& s_;
    TrendState& trend_;
};

std::string notConverged(std::int32_t cap) {
    return "The paraboloid iteration did not converge within " + std::to_string(cap) +
           " steps; the solution of its last step is kept.";
}

}  // namespace

CalcStatus runParaboloidLoop(CalcSession& s, TrendState& trend) {
    JobState& job = s.job;
    ParaboloidWindows windows(s);
    // The steps and runs reach the windows as one change, when the flow has ended.
    JobEvents::Batch batch(s.events);
    trend.reset();

    if (job.MonteCarloOn) {
        const std::int32_t runs = std::max(kMinMonteCarloRuns, job.MonteCarloRuns);
        std::int32_t unsettledRuns = 0;
        {
            QuietRunSession quiet(s);
            EngineContext& runEngine = quiet.engine;
            CalcSession& run = quiet.session;
            ParaboloidStepper stepper(run, trend);  // the runs share the trend: no fresh seeds per run

            MonteCarloScope mc(run, runs);
            s.view.setStopWindowEnabled(false);
            for (std::int32_t i = 1; i <= runs && !job.StopFlag; ++i) {
                mc.showRun(i);
                mc.addNoiseToMcs();
                stepper.PrevS0 = 100.0;
                std::int32_t steps = 0;
                for (;;) {
                    if (!stepper.paraboloidStep()) {
                        batch.discard();  // refused: the caller puts the job back
                        return CalcStatus::Refused;
                    }
                    runEngine.poll();
                    if (mc.stopRequested()) break;
                    if (stepper.settled(job.LengthFactor * 1e-5) || job.ParaStopFlag) break;
                    if (++steps >= s.loopCap) {
                        ++unsettledRuns;
                        break;
                    }
                }
                if (job.StopFlag) break;   // this run is not stored
                job.ParaStopFlag = false;  // the stop window ends one run's loop
                mc.storeRunResults(i);
            }
            mc.finishMonteCarlo();
        }
        if (unsettledRuns > 0)
            s.message(std::to_string(unsettledRuns) +
                      " Monte Carlo runs of the paraboloid iteration did not converge within " +
                      std::to_string(s.loopCap) + " steps.");
        if (!job.StopFlag) {
            job.McCompleted = true;
            s.view.setStopWindowEnabled(true);  // the final iteration keeps a live stop control
        } else {
            job.McCompleted = false;
            s.view.closeStopWindow();  // stopParaboloidLoop: STOP ends the final iteration now
        }
        job.StopFlag = false;
        job.ParaStopFlag = false;
    }

    ParaboloidStepper stepper(s, trend);
    CalcStatus status = CalcStatus::Solved;
    std::int32_t steps = 0;
    for (;;) {
        if (!stepper.paraboloidStep()) {
            batch.discard();
            return CalcStatus::Refused;
        }
        if (stepper.settled(job.LengthFactor * 1e-6)) break;
        if (job.ParaStopFlag || job.StopFlag) {
            status = CalcStatus::Stopped;
            break;
        }
        if (++steps >= s.loopCap) {
            s.message(notConverged(s.loopCap));
            break;
        }
    }
    const std::int32_t last = std::min(job.McsCount, job.OCS_X.upper());
    for (std::int32_t i = 1; i <= last; ++i) {
        double x, y, z;
        paraboloidFootPoint(job.ShapeProfile, job.MCSt_X[i], job.MCSt_Y[i], job.MCSt_Z[at(i)], x, y, z);
        job.OCS_X.set(i, x);
        job.OCS_Y.set(i, y);
        job.OCS_Z[at(i)] = z;
    }
    batch.end();
    return status;
}

}  // namespace kal
