#pragma once
// Reading the parameter states: "float" (estimated), "not used", or a fixed value as typed in
// display units. Slots 1..17 follow the parameter block; entry 0 is not used.
#include <array>
#include <cstdint>
#include <string>

#include "shared/JobState.h"

namespace kal {

using ParamStates = std::array<std::string, kParamCount + 1>;

inline constexpr const char* kStateFloat = "float";
inline constexpr const char* kStateNotUsed = "not used";

// (IsFloat)
inline bool isFloatState(const std::string& state) { return state == kStateFloat; }
// (IsNotUsed)
inline bool isNotUsedState(const std::string& state) { return state == kStateNotUsed; }
// A fixed value: any text that is neither "float" nor "not used" (IsNumberText).
inline bool isNumberText(const std::string& state) { return !isFloatState(state) && !isNotUsedState(state); }

// The numeric value of a state: its leading number, 0 when it has none ("float" and "not used"
// are 0) (ParamStateNumber). The decimal separator may be "." or the regional one, so that a value the
// calculation window wrote with a "," reads back with its decimals.
double parameterStateNumber(const std::string& state);

// Slot k is held at a value whose numeric value is not 0 (IsFixedNonZero).
inline bool isFixedNonZero(const ParamStates& states, int k) {
    return !isFloatState(states[static_cast<std::size_t>(k)]) &&
           parameterStateNumber(states[static_cast<std::size_t>(k)]) != 0.0;
}

// Number of "float" slots among first..last (FloatCount).
std::int32_t floatCount(const ParamStates& states, int first = 1, int last = kParamCount);

// Adds `correction` to slot k of the parameter block as an iteration does: angles kept in (-π, π],
// scale xyz driving the three axis scales. Throws NumericError on a value that is not finite.
void addCorrection(std::array<double, kParamCount + 1>& params, int k, double correction);

// The caption of slot k's row in the calculation window ("tra x", "rot y'", ...), for messages
// (ParamCaption).
const char* parameterCaption(int k);

}  // namespace kal
