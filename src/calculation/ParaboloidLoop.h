#pragma once
// The paraboloid flow: with the paraboloid option the OCS is a surface of revolution (the shape
// profile), and the transformation brings the MCS points onto it. The iteration alternates the
// foot points of the transformed MCS points on the surface with a solve towards them, speeded
// up by trend extrapolation, until s0 settles; optionally inside a Monte Carlo series.
//
// Every loop is bounded (CalcSession::loopCap steps, with a message when the bound ends it); the
// stop window's button ends the loop that runs, STOP the whole flow. A step refused as not
// redundant ends the flow at once.
#include <cstdint>

#include "calculation/CalcSession.h"
#include "calculation/CalculationView.h"
#include "calculation/ParaboloidTrend.h"

namespace kal {

// Step 4 of the driver in paraboloid mode (ParaboloidRoad). `trend` keeps the extrapolation state between
// steps.
CalcStatus runParaboloidLoop(CalcSession& s, TrendState& trend);

}  // namespace kal
