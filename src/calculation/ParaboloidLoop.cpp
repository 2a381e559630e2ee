#include "calculation/ParaboloidLoop.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "calculation/MonteCarlo.h"
#include "calculation/OneCalculation.h"
#include "calculation/SurfaceDistanceFit.h"
#include "engine/FootPoint.h"
#include "engine/ParameterStates.h"
#include "engine/TransformModel.h"
#include "shared/Errors.h"
#include "shared/Rotations.h"
#include "shared/Vectors.h"

namespace kal {

namespace {

std::size_t at(std::int32_t i) { return static_cast<std::size_t>(i); }

// The starts of the fit are compared on at most this many points, each fitted for at most this
// many steps. Another start replaces the first step's result only when its sum of squares ends
// below this share of that one's and lower by more than (1 µm)² a point: the polygon profile
// gives the distances minima a hair apart, which no start should trade for one another.
constexpr std::size_t kSamplePoints = 64;
constexpr int kSampleSteps = 30;
constexpr double kClearlyLower = 0.9;
constexpr double kLowerPerPoint = 1e-6;  // mm²

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

// How one iteration of foot points and fits ended.
enum class IterationEnd {
    Converged,  // the corrections fell below the convergence limit
    Bound,      // the step bound was reached first
    Stopped,    // the stop window or STOP ended it
    Stuck,      // no correction lowered the sum of squares while the parameters had not settled
    Refused,    // a calculation was refused (not redundant): the flow ends at once
};

class ParaboloidStepper {
  public:
    explicit ParaboloidStepper(CalcSession& s) : s_(s) {}

    std::int32_t steps = 0;  // steps of the latest iteration

    // One iteration: a first step towards the foot points of the transformed points, then damped
    // steps on the orthogonal distances until the corrections fall below the engine's limit, then
    // the closing step at the foot points of the result. `stopRequested` is asked before every
    // step after the first; a STOP (StopFlag) skips the closing step when `closeOnStop` is false.
    template <class StopRequested>
    IterationEnd iterate(StopRequested stopRequested, bool closeOnStop) {
        JobState& job = s_.job;
        steps = 0;
        if (!firstStep()) return IterationEnd::Refused;
        ++steps;
        chooseStart();
        SurfaceDistanceFit fit(job, s_.engine, s_.results.Weights, convergenceLimit(job));
        IterationEnd end;
        for (;;) {
            if (stopRequested()) {
                end = IterationEnd::Stopped;
                break;
            }
            if (steps >= s_.loopCap) {
                end = IterationEnd::Bound;
                break;
            }
            const SurfaceFitStep step = fit.step();
            ++steps;
            showFitStep(fit);
            if (step.converged) {
                end = IterationEnd::Converged;
                break;
            }
            if (step.stuck) {
                end = IterationEnd::Stuck;
                break;
            }
        }
        if (job.StopFlag && !closeOnStop) return end;
        closingStep(fit);
        return end;
    }

    // The estimated parameters that move with a turn the points do not determine, at the
    // parameters the iteration left (all false where they determine every one).
    std::array<bool, kParamCount + 1> undetermined() {
        SurfaceDistanceFit probe(s_.job, s_.engine, s_.results.Weights, convergenceLimit(s_.job));
        return probe.undeterminedSlots();
    }

  private:
    CalcSession& s_;
    std::array<double, kParamCount + 1> seedPose_{};  // the parameters the first step started from

    using Pose = std::array<double, kParamCount + 1>;

    // The surface distances have more than one minimum: far from the truth the foot points can
    // hold the points on a wrong part of the surface. So the fit goes on from the best of several
    // starts, each fitted on a sample of the points: the first step's result, the parameters it
    // started from, and, where rot x and rot y' are estimated, the dish's axis along each
    // principal direction of the points (both ways), its vertex below their centroid. The first
    // step's result stays unless another start ends clearly lower. Deterministic.
    void chooseStart() {
        JobState& job = s_.job;
        const Matrix& P = s_.results.Weights;
        std::vector<std::int32_t> weighed;
        for (std::int32_t k = 1; k <= job.IdenticalCount; ++k)
            if (P(3 * k - 2, 1) != 0.0 || P(3 * k - 1, 1) != 0.0 || P(3 * k, 1) != 0.0) weighed.push_back(k);
        if (weighed.size() < 3) return;
        const std::size_t stride = std::max<std::size_t>(1, weighed.size() / kSamplePoints);
        Matrix sample(P.rows(), P.cols());
        std::vector<std::int32_t> points;
        for (std::size_t i = 0; i < weighed.size(); i += stride) {
            const std::int32_t k = weighed[i];
            points.push_back(k);
            for (std::int32_t r = 3 * k - 2; r <= 3 * k; ++r) sample(r, 1) = P(r, 1);
        }
        const Pose first = job.Params;
        std::vector<Pose> starts{first, seedPose_};
        addAxisStarts(points, starts);

        Pose best = first;
        double bestSum = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < starts.size(); ++i) {
            job.Params = starts[i];
            double sum = std::numeric_limits<double>::infinity();
            try {
                SurfaceDistanceFit fit(job, s_.engine, sample, convergenceLimit(job), true);
                for (int step = 0; step < kSampleSteps; ++step) {
                    const SurfaceFitStep taken = fit.step();
                    sum = taken.sumOfSquares;
                    if (taken.converged || taken.stuck) break;
                }
            } catch (const NumericError&) {
                continue;  // a start that throws the points out of range is no start
            }
            if (i == 0) {
                bestSum = sum;
            } else if (sum < kClearlyLower * bestSum &&
                       bestSum - sum > kLowerPerPoint * static_cast<double>(points.size())) {
                bestSum = sum;
                best = job.Params;
            }
        }
        job.Params = best;
        job.RotXSeed = job.RotX();
        job.RotYSeed = job.RotY();
        job.RotZSeed = job.RotZ();
    }

    // The starts with the dish's axis along each principal direction of the sample points.
    void addAxisStarts(const std::vector<std::int32_t>& points, std::vector<Pose>& starts) {
        JobState& job = s_.job;
        if (!s_.estimated(kRotX) || !s_.estimated(kRotY) || job.ShapeProfile.rows() < 2) return;
        double c[3] = {0.0, 0.0, 0.0};
        auto point = [&](std::int32_t k, int i) {
            return i == 0 ? job.MCS_X[k] : i == 1 ? job.MCS_Y[k] : job.MCS_Z[at(k)];
        };
        for (std::int32_t k : points)
            for (int i = 0; i < 3; ++i) c[i] += point(k, i) / static_cast<double>(points.size());
        SurfaceDistanceFit::Square cov{}, axes{};
        for (std::int32_t k : points)
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) cov[i + 1][j + 1] += (point(k, i) - c[i]) * (point(k, j) - c[j]);
        symmetricEigen(cov, axes, 3);
        for (int e = 1; e <= 3; ++e)
            for (double sign : {1.0, -1.0}) {
                const double a[3] = {sign * axes[1][e], sign * axes[2][e], sign * axes[3][e]};
                starts.push_back(axisStart(points, c, a));
            }
    }

    // The parameters that turn the MCS direction `a` (unit) into the surface's axis, with rot z''
    // as it stands, and put the vertex on the axis through the centroid c at the mean profile
    // height of the points' distances from that axis. Held values stay as they are.
    Pose axisStart(const std::vector<std::int32_t>& points, const double c[3], const double a[3]) {
        JobState& job = s_.job;
        Pose p = job.Params;
        // The third row of Rx(rot x)·Ry(rot y')·Rz(rot z'') is a: with u = Rz(rot z'')·a it is
        // the third row of Rx·Ry, (−cos x·sin y, sin x, cos x·cos y).
        const double cz = std::cos(p[kRotZ]), sz = std::sin(p[kRotZ]);
        const double u[3] = {cz * a[0] - sz * a[1], sz * a[0] + cz * a[1], a[2]};
        p[kRotX] = std::asin(std::clamp(u[1], -1.0, 1.0));
        p[kRotY] = std::atan2(-u[0], u[2]);
        double height = 0.0;
        for (std::int32_t k : points) {
            const double d[3] = {job.MCS_X[k] - c[0], job.MCS_Y[k] - c[1], job.MCS_Z[at(k)] - c[2]};
            const double along = d[0] * a[0] + d[1] * a[1] + d[2] * a[2];
            const double radius =
                std::sqrt(std::max(0.0, d[0] * d[0] + d[1] * d[1] + d[2] * d[2] - along * along));
            height += profileHeight(job.ShapeProfile, radius) / static_cast<double>(points.size());
        }
        const Pose kept = job.Params;
        job.Params = p;
        for (int slot = kTraX; slot <= kTraZ; ++slot) job.Params[at(slot)] = 0.0;
        double t[3];
        PointTransform(job).apply(c[0], c[1], c[2], t[0], t[1], t[2]);
        job.Params = kept;
        const double target[3] = {0.0, 0.0, height};
        for (int i = 0; i < 3; ++i)
            if (s_.estimated(kTraX + i)) p[at(kTraX + i)] = target[i] - t[i];
        return p;
    }

    // The profile's height at a radius, along its segments (the last one carried on).
    static double profileHeight(const Matrix& profile, double radius) {
        const std::int32_t rows = profile.rows();
        std::int32_t i = 1;
        while (i + 1 < rows && profile(i + 1, 1) < radius) ++i;
        const double r0 = profile(i, 1), r1 = profile(i + 1, 1);
        const double z0 = profile(i, 2), z1 = profile(i + 1, 2);
        return r1 != r0 ? z0 + (z1 - z0) * (radius - r0) / (r1 - r0) : z0;
    }

    static double convergenceLimit(const JobState& job) {
        return job.IterationThreshold != 0.0 ? std::fabs(job.IterationThreshold) : 1e-9;
    }

    // The foot points of the transformed identical points become their OCS points.
    void placeOcsOnFootPoints() {
        JobState& job = s_.job;
        for (std::int32_t k = 1; k <= job.IdenticalCount; ++k) {
            s_.engine.poll();
            double x, y, z;
            paraboloidFootPoint(job.ShapeProfile, job.MCSt_X[k], job.MCSt_Y[k], job.MCSt_Z[at(k)], x, y, z);
            job.OCS_X.set(k, x);
            job.OCS_Y.set(k, y);
            job.OCS_Z[at(k)] = z;
        }
    }

    // The sigmas of the step in the window (Paraboloid, steps 2 to 6).
    void showStepSigmas() {
        const double sigmaXyz = sigmaXyzOf(s_);
        s_.view.resetResultDisplay();
        s_.view.showStepSigmas(s_.results.S0, sigmaXyz);
        s_.engine.poll();
        s_.job.TrafoCalculated = true;
    }

    // The first step (CalcParaboloid): the seeds on the calculation's first step, the foot points
    // of the transformed points, one calculation towards them. It also makes the calculation's
    // checks (not redundant, texts that are no numbers) and sets the parameter states and weights
    // the fit reads. False when the calculation was refused.
    bool firstStep() {
        JobState& job = s_.job;
        s_.engine.poll();
        if (s_.results.ParaIteration == 1) {
            if (s_.engine.seedValues) s_.engine.seedValues->applySeed(job);
            transformAllMcs(job);
        }
        seedPose_ = job.Params;
        placeOcsOnFootPoints();
        s_.results.ParaIteration += 1;
        // Its solve only starts the fit: where the solver's iteration limit ends it, the fit goes
        // on from there, and the end of the fit is what the flow reports.
        struct StartOnly {
            bool& flag;
            explicit StartOnly(bool& f) : flag(f) { flag = true; }
            ~StartOnly() { flag = false; }
        } startOnly(s_.startOnly);
        if (calculateOnce(s_) == CalcStatus::Refused) return false;
        showStepSigmas();
        return true;
    }

    // After a step of the fit: the foot points become the OCS, the residuals are the vectors from
    // them to the transformed points, and the window shows the step as after a calculation.
    void showFitStep(const SurfaceDistanceFit& fit) {
        JobState& job = s_.job;
        CalcResults& res = s_.results;
        s_.results.ParaIteration += 1;
        transformAllMcs(job);
        const auto& feet = fit.feet();
        for (std::int32_t k = 1; k <= job.IdenticalCount; ++k) {
            const SurfaceFoot& f = feet[at(k)];
            job.OCS_X.set(k, f.x);
            job.OCS_Y.set(k, f.y);
            job.OCS_Z[at(k)] = f.z;
            res.Residuals(3 * k - 2, 1) = job.MCSt_X[k] - f.x;
            res.Residuals(3 * k - 1, 1) = job.MCSt_Y[k] - f.y;
            res.Residuals(3 * k, 1) = job.MCSt_Z[at(k)] - f.z;
        }
        // The boxes show the smaller of the two equal angle triples, but the fit goes on from its
        // own: rebuilt from the other triple the rotation differs in the last bits, and a sum
        // lowered by that alone would pass for a descent.
        const auto fitted = job.Params;
        finishCalculation(s_);
        job.Params = fitted;
        showStepSigmas();
    }

    // The closing step fills the results as a calculation does, at the parameters the iteration
    // left: the residuals are the vectors from the foot points (now the OCS) to the transformed
    // points, and the cofactors those of a calculation towards these foot points (at a stationary
    // point of the distances that calculation would not move). So residuals, s0 and sigmas
    // belong to the parameters and coordinates shown, however the iteration ended.
    void closingStep(SurfaceDistanceFit& fit) {
        JobState& job = s_.job;
        CalcResults& res = s_.results;
        transformAllMcs(job);
        placeOcsOnFootPoints();
        for (std::int32_t k = 1; k <= job.IdenticalCount; ++k) {
            res.Residuals(3 * k - 2, 1) = job.MCSt_X[k] - job.OCS_X[k];
            res.Residuals(3 * k - 1, 1) = job.MCSt_Y[k] - job.OCS_Y[k];
            res.Residuals(3 * k, 1) = job.MCSt_Z[at(k)] - job.OCS_Z[at(k)];
        }
        fit.pointCofactors(res.CofactorMatrix);
        finishCalculation(s_);
        showStepSigmas();
        // The points without a partner follow the final parameters too (their foot points are
        // written at the end of the flow).
        const PointTransform model(job);
        for (std::int32_t i = job.IdenticalCount + 1; i <= job.McsCount; ++i) {
            double x, y, z;
            model.apply(job.MCS_X[i], job.MCS_Y[i], job.MCS_Z[at(i)], x, y, z);
            job.MCSt_X.set(i, x);
            job.MCSt_Y.set(i, y);
            job.MCSt_Z[at(i)] = z;
        }
    }
};

std::string notConverged(std::int32_t cap) {
    return "The paraboloid iteration did not converge within " + std::to_string(cap) +
           " steps; the solution of its last step is kept.";
}

std::string stoppedEarly(std::int32_t steps) {
    return "The paraboloid iteration was stopped after " + std::to_string(steps) +
           " steps, before its parameters had settled; the solution of its last step is kept.";
}

std::string noDescent(std::int32_t steps) {
    return "The paraboloid iteration ended after " + std::to_string(steps) +
           " steps without converging: no correction lowered the sum of the squared distances from the "
           "surface, although the parameters had not settled. The solution of its last step is kept.";
}

std::string unsettledRunsMessage(std::int32_t boundRuns, std::int32_t stuckRuns, std::int32_t cap) {
    std::string text;
    if (boundRuns > 0)
        text = std::to_string(boundRuns) +
               " Monte Carlo runs of the paraboloid iteration did not converge within " +
               std::to_string(cap) + " steps.";
    if (stuckRuns > 0)
        text +=
            (text.empty() ? "" : " ") + std::to_string(stuckRuns) +
            " Monte Carlo runs of the paraboloid iteration ended without converging: no correction lowered "
            "the sum of the squared distances from the surface.";
    return text;
}

// The estimated values that change when the transformation is turned about the surface's axis,
// the OCS z axis: OCS' = Rz(φ)·OCS gives T' = Rz(φ)·T and R' = Rz(φ)·R. tra z never does; tra x
// and tra y unless T lies on the axis; an angle unless the turn leaves it as it is.
std::array<bool, kParamCount + 1> movedByATurn(CalcSession& s) {
    JobState& job = s.job;
    constexpr double phi = 1e-3;
    std::array<bool, kParamCount + 1> moved{};
    const double c = std::cos(phi), sn = std::sin(phi);
    const double tx = job.TraX(), ty = job.TraY();
    const double rounding = 1e-12 * std::max(1.0, std::hypot(tx, ty));
    moved[kTraX] = std::fabs(c * tx - sn * ty - tx) > rounding;
    moved[kTraY] = std::fabs(sn * tx + c * ty - ty) > rounding;
    // The matrices are stored transposed (M = Rᵀ): Rz·R is stored as M·Mz.
    Matrix M(3, 3), Mz(3, 3), turned(3, 3);
    matFromAnglesXYZ(job.RotX(), job.RotY(), job.RotZ(), M);
    matFromAnglesXYZ(0.0, 0.0, phi, Mz);
    for (std::int32_t i = 1; i <= 3; ++i)
        for (std::int32_t j = 1; j <= 3; ++j)
            for (std::int32_t k = 1; k <= 3; ++k) turned(i, j) += M(i, k) * Mz(k, j);
    Vec3 first{}, second{};
    anglesFromMatXYZ(turned, first, second);
    const double angles[3] = {job.RotX(), job.RotY(), job.RotZ()};
    auto change = [&](const Vec3& v, int i) {
        return std::fabs(std::remainder(v[static_cast<std::size_t>(i + 1)] - angles[i], 2.0 * M_PI));
    };
    auto distance = [&](const Vec3& v) { return change(v, 0) + change(v, 1) + change(v, 2); };
    const Vec3& nearer = distance(first) <= distance(second) ? first : second;
    for (int i = 0; i < 3; ++i) moved[static_cast<std::size_t>(kRotX + i)] = change(nearer, i) > 1e-12;
    for (int slot = 1; slot <= kParamCount; ++slot)
        if (!s.estimated(slot)) moved[static_cast<std::size_t>(slot)] = false;
    return moved;
}

std::string turnNotDetermined(const std::array<bool, kParamCount + 1>& open) {
    std::string names;
    int count = 0;
    for (int slot = 1; slot <= kParamCount; ++slot) {
        if (!open[static_cast<std::size_t>(slot)]) continue;
        names += (count++ == 0 ? "" : ", ") + std::string(parameterCaption(slot));
    }
    return "The points cannot determine the turn about the surface's axis: the surface looks the same turned "
           "about it. " +
           names + (count == 1 ? " turns" : " turn") +
           " with it, so the values shown are one of many equally good solutions and their sigmas are not "
           "shown. Hold rot z'' (for instance at 0) and calculate again to determine them.";
}

}  // namespace

CalcStatus runParaboloidLoop(CalcSession& s) {
    JobState& job = s.job;
    ParaboloidWindows windows(s);
    // The steps and runs reach the windows as one change, when the flow has ended.
    JobEvents::Batch batch(s.events);

    const bool series = job.MonteCarloOn;
    if (series) {
        const std::int32_t runs = std::max(kMinMonteCarloRuns, job.MonteCarloRuns);
        std::int32_t boundRuns = 0, stuckRuns = 0;
        {
            QuietRunSession quiet(s);
            CalcSession& run = quiet.session;
            ParaboloidStepper stepper(run);  // each run goes on from the last: no fresh seeds per run

            MonteCarloScope mc(run, runs);
            s.view.setStopWindowEnabled(false);
            for (std::int32_t i = 1; i <= runs && !job.StopFlag; ++i) {
                mc.showRun(i);
                mc.addNoiseToMcs();
                const IterationEnd end =
                    stepper.iterate([&] { return mc.stopRequested() || job.ParaStopFlag; }, false);
                if (end == IterationEnd::Refused) {
                    batch.discard();  // refused: the caller puts the job back
                    return CalcStatus::Refused;
                }
                if (job.StopFlag) break;  // this run is not stored
                if (end == IterationEnd::Bound) ++boundRuns;
                if (end == IterationEnd::Stuck) ++stuckRuns;
                job.ParaStopFlag = false;  // the stop window ends one run's loop
                mc.storeRunResults(i);
            }
            mc.finishMonteCarlo();
        }
        if (boundRuns > 0 || stuckRuns > 0) s.message(unsettledRunsMessage(boundRuns, stuckRuns, s.loopCap));
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

    ParaboloidStepper stepper(s);
    const IterationEnd end = stepper.iterate([&] { return job.ParaStopFlag || job.StopFlag; }, true);
    CalcStatus status = CalcStatus::Solved;
    switch (end) {
        case IterationEnd::Refused:
            batch.discard();
            return CalcStatus::Refused;
        case IterationEnd::Converged:
            break;
        case IterationEnd::Bound:
            s.message(notConverged(s.loopCap));
            break;
        case IterationEnd::Stuck:
            s.message(noDescent(stepper.steps));
            break;
        case IterationEnd::Stopped:
            s.message(stoppedEarly(stepper.steps));
            status = CalcStatus::Stopped;
            break;
    }
    // A surface of revolution looks the same turned about its axis: with rot z'' estimated the
    // points leave that turn open, and the values that move with it are one of many equally good
    // solutions.
    if (stepper.undetermined()[kRotZ]) {
        const std::array<bool, kParamCount + 1> open = movedByATurn(s);
        s.results.OpenBySurface = open;
        // The runs of this flow's series were turned about the axis just as freely.
        if (series) job.McOpenBySurface = open;
        s.message(turnNotDetermined(open));
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
