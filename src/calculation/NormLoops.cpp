#include "calculation/NormLoops.h"

#include <cmath>

#include "calculation/ShownSolve.h"
#include "engine/DesignMatrix.h"
#include "shared/Errors.h"
#include "shared/NumberText.h"

namespace kal {

namespace {

std::string notConverged(const char* loop, std::int32_t cap) {
    return std::string("The ") + loop + " iteration did not converge within " + std::to_string(cap) +
           " steps; the solution of its last step is kept.";
}

std::size_t at(std::int32_t i) { return static_cast<std::size_t>(i); }

}  // namespace

CalcStatus runL1Loop(CalcSession& s) {
    JobState& job = s.job;
    CalcResults& res = s.results;
    Matrix& P = res.Weights;
    const Matrix& v = res.Residuals;
    const bool rDistMode = isRDistMode(job, s.engine.controls, job.ParamState);
    JobEvents::Batch batch(s.events);  // the steps reach the windows once, at the loop's end
    double sum = 1e12;
    res.NormTolerance = 0.001;
    std::int32_t iteration = 0;
    for (;;) {
        const double previous = sum;
        sum = 0.0;
        ++iteration;
        solveShowingWarnings(s);
        if (!rDistMode) {
            for (std::int32_t i = 1; i <= res.ObservationCount; ++i) {
                if (P(i, 1) == 0.0) continue;  // switched off by its use flag: stays off
                P(i, 1) = 1.0 / (1e-12 + std::fabs(v(i, 1)));
                sum += std::fabs(v(i, 1));
            }
        } else {
            // One distance residual per point; each used coordinate row of the point takes its
            // weight, so a point with all three rows used counts once after the division.
            for (std::int32_t i = 1; i <= res.ObservationCount; ++i) {
                if (P(i, 1) == 0.0) continue;
                const std::int32_t k = (i - 1) / 3 + 1;
                const double den = std::fabs(v(k, 1) + 1e-12);
                if (den == 0.0) throw NumericError("Division by zero in the L1 weights");
                P(i, 1) = 1.0 / den;
                sum += std::fabs(v(k, 1));
            }
            sum /= 3.0;
        }
        checkedFinite(sum, "the L1 sum of residuals");
        const double change = std::fabs(previous - sum);
        s.setPanel(7, "d[v]: " + generalText(job.LengthFactor * change));
        s.setPanel(6, "L1 Iterationen: " + std::to_string(iteration));
        if (job.StopFlag) return CalcStatus::Stopped;
        if (change < res.NormTolerance) return CalcStatus::Solved;
        if (iteration >= s.loopCap) {
            s.message(notConverged("L1", s.loopCap));
            return CalcStatus::Solved;
        }
    }
}

namespace {

// The largest and smallest absolute residual among the used observations (points in the R Dist
// mode); the first one wins ties. Indices are rows, or points in the R Dist mode; 0 when none.
struct Extremes {
    double vmax = -1e11, vmin = 1e11;
    std::int32_t imax = 0, imin = 0;
};

Extremes extremes(const CalcSession& s, bool rDistMode, Extremes e) {
    const CalcResults& res = s.results;
    const auto consider = [&](std::int32_t i, double a) {
        if (a > e.vmax) {
            e.vmax = a;
            e.imax = i;
        }
        if (a < e.vmin) {
            e.vmin = a;
            e.imin = i;
        }
    };
    if (rDistMode) {
        for (std::int32_t k = 1; k <= s.job.IdenticalCount; ++k)
            if (res.Weights(3 * k, 1) != 0.0) consider(k, std::fabs(res.Residuals(k, 1)));
    } else {
        for (std::int32_t i = 1; i <= res.ObservationCount; ++i)
            if (s.job.UseFlags[at(i)] != 0) consider(i, std::fabs(res.Residuals(i, 1)));
    }
    return e;
}

// Multiplies the weight of row i (or of point i's three rows in the R Dist mode) by f. Index 0
// (no such observation yet) is skipped.
void scaleWeight(CalcResults& res, bool rDistMode, std::int32_t i, double f) {
    if (i <= 0) return;
    if (rDistMode) {
        for (std::int32_t r = 3 * i - 2; r <= 3 * i; ++r) res.Weights(r, 1) *= f;
    } else {
        res.Weights(i, 1) *= f;
    }
}

void showVmax(CalcSession& s, double vmax, std::int32_t iteration) {
    s.setPanel(7, "[v max]: " + formatNumber(std::fabs(vmax) * s.job.LengthFactor, s.job.LengthFormat));
    s.setPanel(6, "Loo Iterat.: " + std::to_string(iteration));
}

}  // namespace

CalcStatus runMinimaxLoop(CalcSession& s) {
    JobState& job = s.job;
    CalcResults& res = s.results;
    const bool rDistMode = isRDistMode(job, s.engine.controls, job.ParamState);
    JobEvents::Batch batch(s.events);  // the steps reach the windows once, at the loop's end
    constexpr double kFactor = 1.1;
    s.setPanel(6, "Loo...max is min");
    s.setPanel(7, "Loo...max is min");
    solveShowingWarnings(s);
    res.NormTolerance = 0.0001;

    Extremes e;
    e.vmax = 0.0;  // the first step compares with 0
    std::int32_t imaxBefore = 0, iminBefore = 0;
    std::int32_t iteration = 0;
    CalcStatus status = CalcStatus::Solved;
    for (;;) {
        const double previous = e.vmax;
        e.vmax = -1e11;
        e.vmin = 1e11;
        ++iteration;
        solveShowingWarnings(s);
        imaxBefore = e.imax;
        iminBefore = e.imin;
        e = extremes(s, rDistMode, e);
        // imax = imin (a single used observation) leaves its weight as it is.
        scaleWeight(res, rDistMode, e.imax, kFactor);
        scaleWeight(res, rDistMode, e.imin, 1.0 / kFactor);
        showVmax(s, e.vmax, iteration);
        if (std::fabs(previous - e.vmax) < res.NormTolerance) break;
        if (iteration > 1 && previous < e.vmax) break;  // the largest residual grew
        if (job.StopFlag) {
            status = CalcStatus::Stopped;
            break;
        }
        if (iteration >= s.loopCap) {
            s.message(notConverged("minimax", s.loopCap));
            break;
        }
    }
    // Back to the weights that gave the previous step's solution, and solve with them.
    scaleWeight(res, rDistMode, e.imax, 1.0 / kFactor);
    scaleWeight(res, rDistMode, imaxBefore, 1.0 / kFactor);
    scaleWeight(res, rDistMode, e.imin, kFactor);
    scaleWeight(res, rDistMode, iminBefore, kFactor);
    solveShowingWarnings(s);
    if (job.StopFlag) status = CalcStatus::Stopped;

    Extremes last = extremes(s, rDistMode, Extremes{-1e14, 1e11, 0, 0});
    showVmax(s, last.vmax, iteration);
    return status;
}

}  // namespace kal
