#pragma once
// The paraboloid flow: with the paraboloid option the OCS is a surface of revolution (the shape
// profile), and the transformation brings the MCS points onto it, fitting the estimated
// parameters to the orthogonal distances of the points from the surface (SurfaceDistanceFit.h);
// optionally inside a Monte Carlo series. An iteration starts with one calculation towards the
// foot points of the transformed points, goes on from the best of several starts (compared on a
// sample of the points), takes damped steps on the distances until the corrections fall below the
// engine's convergence limit, and closes by filling the results at the parameters it reached:
// residuals to the foot points, s0, and the cofactors of a calculation towards those foot points.
// After every step the foot points stand in the OCS and the window shows s0, as the steps go.
//
// With rot z'' estimated the points cannot fix the turn about the surface's own axis: the flow
// says so, names the values that turn with it and marks them (CalcResults::OpenBySurface) so that
// no sigma is shown for them; after a Monte Carlo series it marks their runs too
// (JobState::McOpenBySurface), which then give no Monte Carlo sigma.
//
// Converged means the parameters stopped moving, not that s0 stopped changing. Every loop is
// bounded (CalcSession::loopCap steps); the bound, the stop window's button, STOP and a fit that
// can no longer lower the sum each end the final iteration with a message that says so. The stop
// window's button ends the loop that runs, STOP the whole flow. A step refused as not redundant
// ends the flow at once.
#include <cstdint>

#include "calculation/CalcSession.h"
#include "calculation/CalculationView.h"

namespace kal {

// Step 4 of the driver in paraboloid mode (ParaboloidRoad).
CalcStatus runParaboloidLoop(CalcSession& s);

}  // namespace kal
