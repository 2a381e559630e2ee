#include "calculation/MonteCarlo.h"

#include <algorithm>
#include <cmath>

#include "calculation/OneCalculation.h"
#include "calculation/ShownSolve.h"
#include "engine/Sigma.h"
#include "shared/Statistics.h"
#include "shared/Vectors.h"

namespace kal {

namespace {

constexpr std::size_t kSigmaXyzList = kParamCount + 1;  // McRuns[18] is MC_SigmaXyz
constexpr double kTwoPi = 2.0 * 3.14159265358979;

std::size_t at(std::int32_t i) { return static_cast<std::size_t>(i); }

// An angle moved by whole turns to lie within half a turn of `reference`.
double unwrapTowards(double angle, double reference) {
    while (angle - reference > kTwoPi / 2) angle -= kTwoPi;
    while (angle - reference < -kTwoPi / 2) angle += kTwoPi;
    return angle;
}

}  // namespace

double sigmaXyzOf(CalcSession& s) {
    CalcResults& r = s.results;
    if (r.DistanceRowCount > 0)
        calculateSigmaDistanceRows(r.Residuals, r.Weights, r.DistanceRowCount, r.S0, r.Sx, r.Sy, r.Sz);
    else
        calculateSigma(r.Residuals, r.Weights, r.UnknownCount, r.ObservationCount, r.S0, r.Sx, r.Sy, r.Sz);
    s.job.SigmaXyz = std::sqrt(r.Sx * r.Sx + r.Sy * r.Sy + r.Sz * r.Sz);
    return s.job.SigmaXyz;
}

namespace {
platform::Services withoutClipboardAndBoxes(platform::Services services) {
    services.clipboard = nullptr;
    services.prompter = nullptr;
    return services;
}
}  // namespace

QuietRunSession::QuietRunSession(const CalcSession& s)
    : engine(withoutClipboardAndBoxes(s.engine.services), s.engine.progress), session{s.job,     s.panel,
                                                                                      s.results, engine,
                                                                                      s.view,    s.events,
                                                                                      s.loopCap, s.prompter} {
    engine.controls = s.engine.controls;
    engine.seedValues = s.engine.seedValues;
}

MonteCarloScope::MonteCarloScope(CalcSession& s, std::int32_t runs)
    : s_(s),
      runs_(runs),
      // A negative sigma means nothing to a normal distribution: its size is what counts.
      sigmaX_(std::fabs(s.job.sigmaX)),
      sigmaY_(std::fabs(s.job.sigmaY)),
      sigmaZ_(std::fabs(s.job.sigmaZ)),
      progress_(s.engine.services.progress, "Calculating MonteCarlo") {
    JobState& job = s.job;
    const std::int32_t n = job.IdenticalCount;
    job.McBackupX.assign(at(n + 1), 0.0);
    job.McBackupY.assign(at(n + 1), 0.0);
    job.McBackupZ.assign(at(n + 1), 0.0);
    for (std::int32_t k = 1; k <= n; ++k) {
        job.McBackupX[at(k)] = job.MCS_X[k];
        job.McBackupY[at(k)] = job.MCS_Y[k];
        job.McBackupZ[at(k)] = job.MCS_Z[at(k)];
    }
    s.view.setWaitCursor(true);
    for (auto& list : job.McRuns) list.assign(at(runs_ + 1), 0.0);
    job.McOpenBySurface = {};  // new runs: the flow that draws them marks what they leave open
}

MonteCarloScope::~MonteCarloScope() {
    if (finished_) return;
    try {
        finishMonteCarlo();
    } catch (...) {
        // The points are back (plain copies cannot fail); a window that failed to close is no
        // reason to end the program.
    }
}

void MonteCarloScope::addNoiseToMcs() {
    JobState& job = s_.job;
    for (std::int32_t k = 1; k <= job.IdenticalCount; ++k) {
        job.MCS_X.set(k, job.McBackupX[at(k)] + gaussRandom(0.0, sigmaX_));
        job.MCS_Y.set(k, job.McBackupY[at(k)] + gaussRandom(0.0, sigmaY_));
        job.MCS_Z[at(k)] = job.McBackupZ[at(k)] + gaussRandom(0.0, sigmaZ_);
    }
}

void MonteCarloScope::storeRunResults(std::int32_t i) {
    JobState& job = s_.job;
    auto store = [&](int slot, double value) { job.McRuns[at(slot)][at(i)] = value; };
    for (int slot = kTraX; slot <= kTraZ; ++slot)
        if (s_.estimated(slot)) store(slot, job.Params[at(slot)]);
    preferSmallerRotations(job);
    for (int slot = kRotX; slot <= kRotZ; ++slot) {
        if (!s_.estimated(slot)) continue;
        double a = normalizeAngle(job.Params[at(slot)]);
        if (i > 1) a = unwrapTowards(a, job.McRuns[at(slot)][1]);
        store(slot, a);
    }
    for (int slot = kScaleX; slot <= kZtoXY; ++slot)
        if (s_.estimated(slot)) store(slot, job.Params[at(slot)]);
    if (job.UseAbcMode) {
        for (int slot = kRvecX; slot <= kRvecZ; ++slot) store(slot, job.Params[at(slot)]);
    } else if (s_.estimated(kRDist)) {
        store(kRDist, job.RDist());
    }
    job.McRuns[kSigmaXyzList][at(i)] = job.SigmaXyz;
    s_.events.publish(JobEvent::ResultsChanged);
}

void MonteCarloScope::finishMonteCarlo() {
    finished_ = true;
    JobState& job = s_.job;
    for (std::int32_t k = 1; k <= job.IdenticalCount; ++k) {
        job.MCS_X.set(k, job.McBackupX[at(k)]);
        job.MCS_Y.set(k, job.McBackupY[at(k)]);
        job.MCS_Z[at(k)] = job.McBackupZ[at(k)];
    }
    s_.view.setWaitCursor(false);
    progress_.close();
}

void MonteCarloScope::showRun(std::int32_t i) {
    progress_.setValue(static_cast<int>(static_cast<std::int64_t>(i) * 100 / runs_));
}

bool MonteCarloScope::stopRequested() {
    if (progress_.stopRequested()) s_.job.StopFlag = true;
    return s_.job.StopFlag;
}

CalcStatus runMonteCarloSeries(CalcSession& s) {
    JobState& job = s.job;
    const std::int32_t runs = std::max(kMinMonteCarloRuns, job.MonteCarloRuns);
    JobEvents::Batch batch(s.events);
    {
        QuietRunSession quiet(s);
        EngineContext& runEngine = quiet.engine;
        CalcSession& run = quiet.session;

        MonteCarloScope mc(run, runs);
        for (std::int32_t i = 1; i <= runs; ++i) {
            mc.showRun(i);
            runEngine.poll();
            mc.addNoiseToMcs();
            solveShowingWarnings(run);
            if (mc.stopRequested()) break;  // this run is not stored
            sigmaXyzOf(run);
            mc.storeRunResults(i);
        }
        job.McCompleted = !job.StopFlag;
        job.StopFlag = false;
        mc.finishMonteCarlo();
    }
    const HelmertOutcome out = solveShowingWarnings(s);
    batch.end();
    return out.stopped ? CalcStatus::Stopped : CalcStatus::Solved;
}

}  // namespace kal
