#include "engine/ParameterStates.h"

#include "shared/Errors.h"
#include "shared/NumberText.h"
#include "shared/Vectors.h"

namespace kal {

double parameterStateNumber(const std::string& state) { return leadingOwnNumber(state); }

std::int32_t floatCount(const ParamStates& states, int first, int last) {
    std::int32_t n = 0;
    for (int k = first; k <= last; ++k)
        if (isFloatState(states[static_cast<std::size_t>(k)])) ++n;
    return n;
}

void addCorrection(std::array<double, kParamCount + 1>& params, int k, double correction) {
    auto& value = params[static_cast<std::size_t>(k)];
    switch (k) {
        case kRotX:
        case kRotY:
        case kRotZ:
        case kParXY:
        case kAzimuth:
        case kZtoXY:
            value = normalizeAngle(value + correction);
            break;
        case kScaleXYZ:
            value = value + correction;
            params[kScaleX] = params[kScaleY] = params[kScaleZ] = value;
            break;
        default:
            value = value + correction;
            break;
    }
    checkedFinite(value, "the corrected parameters");
}

const char* parameterCaption(int k) {
    static constexpr const char* kCaptions[kParamCount + 1] = {
        "",        "tra x",     "tra y", "tra z",     "rot x",   "rot y'",  "rot z''", "scale x", "scale y",
        "scale z", "scale xyz", "xy",    "Azimuth z", "z to xy", "R Dist.", "vec_x",   "vec_y",   "vec_z"};
    return (k >= 1 && k <= kParamCount) ? kCaptions[k] : "";
}

}  // namespace kal
