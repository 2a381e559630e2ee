#include "engine/ParameterStates.h"

#include "shared/NumberText.h"

namespace kal {

double parameterStateNumber(const std::string& state) { return leadingOwnNumber(state); }

std::int32_t floatCount(const ParamStates& states, int first, int last) {
    std::int32_t n = 0;
    for (int k = first; k <= last; ++k)
        if (isFloatState(states[static_cast<std::size_t>(k)])) ++n;
    return n;
}

const char* parameterCaption(int k) {
    static constexpr const char* kCaptions[kParamCount + 1] = {
        "",        "tra x",     "tra y", "tra z",     "rot x",   "rot y'",  "rot z''", "scale x", "scale y",
        "scale z", "scale xyz", "xy",    "Azimuth z", "z to xy", "R Dist.", "vec_x",   "vec_y",   "vec_z"};
    return (k >= 1 && k <= kParamCount) ? kCaptions[k] : "";
}

}  // namespace kal
