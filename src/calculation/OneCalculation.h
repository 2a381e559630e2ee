#pragma once
// One calculation of the transformation from what the parameter panel shows (ButtonCalcErsatz):
// the rows become parameter states, the use flags become weights, a calculation with fewer used
// observations than unknowns is refused, the norm's solve runs (L2 directly or as a Monte Carlo
// series, L1 and minimax by reweighting), and the results go back into the value boxes and the
// transformed identical points.
#include "calculation/CalcSession.h"
#include "calculation/CalculationView.h"
#include "engine/EngineControls.h"
#include "engine/ParameterStates.h"

namespace kal {

inline constexpr const char* kNotRedundant = "This is not a redundant calculation";
inline constexpr const char* kRDistAndUseAbc = "bigbug here in the CODE, you can never use R_Dist AND UseABC";

// The parameter states of the rows: "float" for a ticked row, else the value box's text (angles
// in degrees, minutes and seconds as decimal numbers); slots 15..17 follow "use ABC".
void rowsToParamState(const ParameterPanel& panel, ParamStates& states);

// The control states the engine reads, taken once when a calculation starts.
EngineControls controlsOf(const ParameterPanel& panel);

// Replaces RotX, RotY, RotZ by the equivalent x-y'-z'' triple with the smaller sum of absolute
// angles; a tie (sums within 1e-9) takes the second solution (NiceRotSol). Not while a rotation is
// held at a typed value (ParamState): that angle keeps its value, and the solved triple with it.
void preferSmallerRotations(JobState& job);

// calculateOnce (ButtonCalcErsatz). Refused: the message is shown and the caller puts the job back. Throws
// what the engine throws (NumericError, CalcRefused, FormatError) after showing nothing.
CalcStatus calculateOnce(CalcSession& s);

// Steps 11 to 15 after a solve: "...ready", preferSmallerRotations, the value boxes, the offset vector in the
// use-ABC mode, and MCSt of the identical points as OCS + residuals (distance residuals spread
// along each point's direction first).
void finishCalculation(CalcSession& s);

}  // namespace kal
