#pragma once
// The L1 and minimax (L∞) norms, both built on the weighted least-squares solver: each step is a
// full solve, and the observation weights change between the steps. L1 sets each weight to the
// reciprocal of its residual (iteratively reweighted least squares); minimax raises the weight of
// the largest residual and lowers that of the smallest by 1.1 per step.
//
// In the R Dist mode (the solver's own predicate) rows 1..n of the residuals are one distance per
// point and the solver reads point k's weight from row 3k: both loops then weigh points.
// Both loops are bounded (CalcSession::loopCap steps, 1000) and say so when the bound ends them; both stop on
// STOP after the current step.
#include <cstdint>

#include "calculation/CalcSession.h"
#include "calculation/CalculationView.h"

namespace kal {

// The L1 loop; stops when the sum of absolute residuals changes by less than 0.001 mm (L1Loop).
CalcStatus runL1Loop(CalcSession& s);

// The minimax loop; stops when the largest residual changes by less than 0.0001 mm or grows, then
// goes back to the weights of the step before and solves once more (MinimaxLoop).
CalcStatus runMinimaxLoop(CalcSession& s);

}  // namespace kal
