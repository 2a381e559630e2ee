#pragma once
// The least-squares solver: an iterative (Gauss-Newton) weighted adjustment of the parameters whose
// state is "float", started from the seed solution and the parameter states, worked at the points'
// centroids whenever a translation is estimated. Each iteration builds the observation rows
// (DesignMatrix.h) and adds them straight into the normal equations: time O(n·u²) and memory
// O(n + u²) per iteration for n points and u unknowns; no design matrix, no Aᵀ, no AᵀP and nothing
// of size observations × observations is formed. The ordinary rows need less: their normal matrix
// comes from the points' moments, formed in the first iteration, and each iteration makes one pass
// over the points for the sums of the misclosures, each taken at its point.
//
// Progress goes to the calculation window's status bar through the context: panel 1 "Iteration  k",
// panel 2 the phase ("... calculating Matrix for LeastSquare calc...", "... start of Least Square
// calc...", the texts of leastSquareStep.h), and from the second iteration on panel 3 "Convergence
// Ratio: ", panel 4 "on VarNumber: ", panel 5 "delta x(i): ". Repaints and events follow the
// context's 50 ms clock; STOP (StopFlag) is tested once per iteration, after the corrections.
// The solver shows no message box and leaves the clipboard alone: what it has to tell the user
// comes back as data (AngleUnitWarning before a solve, HelmertOutcome after it) for the caller to show.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/CalcResults.h"
#include "engine/EngineContext.h"
#include "engine/EngineWarning.h"
#include "engine/ParameterStates.h"
#include "shared/JobState.h"
#include "shared/Matrix.h"

namespace kal {

// The largest coordinate magnitude a solve takes, in millimetres (a million kilometres). Squares and
// products of coordinates fill the normal equations; far below the range where they would overflow,
// and far beyond any measured point, so a point beyond it is an error of the input.
inline constexpr double kLargestCoordinate = 1e12;

struct HelmertOutcome {
    std::int32_t H3D_Zaehler = 0;  // iterations run
    bool converged = false;        // the last iteration's largest correction was below the threshold
    bool stopped = false;          // STOP ended the iteration
    bool limitReached = false;     // MaxIteration + 1 iterations ran
    // For the caller to show, in this order: "Calculation stopped after <MaxIteration> Iterations,
    // Convergence not reached yet!" (IterationLimit) when the limit ended an iteration that did
    // not converge; nothing else yet.
    std::vector<EngineWarning> warnings;
    // With "R Dist." ticked, the correction log for the clipboard: one line per iteration, the
    // each correction followed by a tab, each line by CR LF. Empty otherwise.
    std::optional<std::string> correctionLog;
};

// The warning a solve of this job starts with, for the caller to show before it: with "use ABC"
// and an angle unit other than degree, "Attention Angle UNITs" (OK/Cancel) asks the user to check
// that the nominal file's angles are in that unit; none once the user has answered Cancel
// (WinkelWarnungGezeigt). Either answer lets the solve go on: it only decides whether the next
// solve warns again.
std::optional<EngineWarning> AngleUnitWarning(const JobState& job);

// Panel 3: "Convergence Ratio: " and pm / den in the length format (ConvergenceRatioText). The ratio is shown
// only: a zero divisor (or a ratio that is not finite) shows a dash and never stops a solve.
std::string convergenceRatioText(double pm, double den, const std::string& lengthFormat);

// Estimates the "float" parameters (CalcHelmert). nU must equal the number of "float" slots, nObs 3 ×
// IdenticalCount, P (0..nObs, 0..1) holds the observation weights.
// After a normal end (converged, stopped, or the iteration limit): the parameter block holds the
// values after the last correction; v (0..nObs, 0..1) and Qxx (0..nU, 0..nU) those of the last step,
// computed before that correction; in the R Dist mode v's rows 1..n hold the distance residuals and
// each point's three weights in P all equal its z weight; the outcome carries the iteration-limit
// warning and the R Dist correction log.
// The R Dist fit (distance rows) runs its damped iteration from several starts on the used points
// (on an evenly spaced sample of at most 128 of them in large jobs): the all-points start with the
// held rows at their typed values (AllPointsStart.h), the start of the seed points and typed values,
// the all-points pose with that start's R Dist, and the all-points start turned by the 23 turns of
// a cube. It keeps the start whose run ends with the lowest weighted sum of squares (the first on a
// tie: the same job gives the same result), and the iteration shown runs from there on all points
// (or, after a sample, from the fit it reached there). It never accepts a step that raises the
// weighted sum of squares of the distance misclosures: a plain step that would is replaced by one
// of the Marquardt-damped normal equations (N + λ·diag(N))·x = w, λ growing tenfold from 1e-3. It
// converges on a plain step below the threshold, or where the plain step promises to lower the sum
// by less than 1e-8 of it. A normal matrix singular at the start values is "cannot determine" only
// when it is singular at every start. The ordinary models iterate as specified.
// A held translation beyond kLargestCoordinate is refused (CalcRefused) before any iteration.
// On failure (a normal matrix singular at the start values, a step that is not finite, a point at
// distance 0 in the R Dist mode, a refused input: a coordinate that is not finite or lies beyond
// kLargestCoordinate; in the R Dist and use-ABC models an iteration that cannot go on after it has
// moved: "The iteration did not converge from its start values ...") it throws NumericError or
// CalcRefused with a message for the user, and the parameter block, the working copy of the
// rotation, v, Qxx and P are as before the call.
HelmertOutcome solveLeastSquares(JobState& job, std::int32_t nU, std::int32_t nObs,
                                 const ParamStates& ParamState, Matrix& Qxx, Matrix& v, Matrix& P,
                                 EngineContext& ctx);

// The same on the calculation's fields: UnknownCount, ObservationCount, CofactorMatrix, Residuals,
// Weights; sets DistanceRowCount.
HelmertOutcome solveLeastSquares(JobState& job, CalcResults& results, const ParamStates& ParamState,
                                 EngineContext& ctx);

}  // namespace kal
