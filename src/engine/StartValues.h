#pragma once
// The start values of a solve, applied after the seed solution: held parameters take their typed
// values (display units converted to mm and rad; scales unconverted), estimated ones their seed or
// the defaults of the model, and the rotation keeps whichever of the seed's two equivalent angle
// triples lies nearer to a held rotation angle.
#include "engine/EngineControls.h"
#include "engine/ParameterStates.h"
#include "shared/JobState.h"

namespace kal {

// Translations, rotations, scales, shape angles, R Dist and the offset vector by their states
// (ApplyStartValues). A typed value to convert while LengthFactor or AngleFactor is 0 throws NumericError.
void applyStartValues(JobState& job, const ParamStates& states, const EngineControls& controls);

// The shape-angle start of an estimated Azimuth z or z to xy: 0.1°, so that the azimuth has a
// direction to start from.
inline constexpr double kShapeAngleStart = 0.1 / 180 * 3.14159265358979;

}  // namespace kal
