#include "engine/StartValues.h"

#include <cmath>

#include "shared/Errors.h"
#include "shared/Matrix.h"
#include "shared/Rotations.h"
#include "shared/Vectors.h"

namespace kal {

namespace {

bool ticked(int checkValue) { return checkValue == 1; }

// A held slot's value in internal units: "not used" is 0, a number text its value ÷ factor.
double heldValue(const std::string& state, double factor, const char* what) {
    if (isNotUsedState(state)) return 0.0;
    return checkedDivide(parameterStateNumber(state), factor, what);
}

const std::string& st(const ParamStates& states, int k) { return states[static_cast<std::size_t>(k)]; }

}  // namespace

void applyStartValues(JobState& job, const ParamStates& states, const EngineControls& controls) {
    auto& p = job.Params;

    for (int k = kTraX; k <= kTraZ; ++k)
        if (!isFloatState(st(states, k)))
            p[static_cast<std::size_t>(k)] = heldValue(st(states, k), job.LengthFactor, "a held translation");

    // Rotations: of the seed's two angle triples, the one nearer to the last held angle.
    if (!isFloatState(st(states, kRotX)) || !isFloatState(st(states, kRotY)) ||
        !isFloatState(st(states, kRotZ))) {
        Matrix M(3, 3);
        matFromAnglesXYZ(p[kRotX], p[kRotY], p[kRotZ], M);
        Vec3 sol1{}, sol2{};
        anglesFromMatXYZ(M, sol1, sol2);
        double dA = 0.0, dB = 0.0;
        for (int k = kRotX; k <= kRotZ; ++k) {
            if (isFloatState(st(states, k))) continue;
            const double held = heldValue(st(states, k), job.AngleFactor, "a held rotation");
            dA = std::fabs(held - sol1[static_cast<std::size_t>(k - 3)]);
            dB = std::fabs(held - sol2[static_cast<std::size_t>(k - 3)]);
        }
        const Vec3& chosen = dA < dB ? sol1 : sol2;
        for (int k = kRotX; k <= kRotZ; ++k)
            p[static_cast<std::size_t>(k)] = chosen[static_cast<std::size_t>(k - 3)];
        for (int k = kRotX; k <= kRotZ; ++k)
            if (!isFloatState(st(states, k)))
                p[static_cast<std::size_t>(k)] = heldValue(st(states, k), job.AngleFactor, "a held rotation");
    }

    // Scales: the common scale drives all three axis scales; otherwise each axis by its own row.
    const std::string& common = st(states, kScaleXYZ);
    if (isFloatState(common)) {
        p[kScaleXYZ] = p[kScaleX];
        p[kScaleY] = p[kScaleX];
        p[kScaleZ] = p[kScaleX];
    } else if (isNumberText(common)) {
        const double s = parameterStateNumber(common);
        p[kScaleX] = p[kScaleY] = p[kScaleZ] = s;
    } else {
        const int seedBoxes[3] = {controls.CheckSeedScalex, controls.CheckSeedScaley,
                                  controls.CheckSeedScalez};
        for (int k = kScaleX; k <= kScaleZ; ++k) {
            if (ticked(seedBoxes[k - kScaleX])) continue;
            const std::string& s = st(states, k);
            p[static_cast<std::size_t>(k)] = isNumberText(s) ? parameterStateNumber(s) : 1.0;
        }
    }

    // Shape angles.
    const int shapeSeedBoxes[3] = {controls.CheckSeedxy, controls.CheckSeedAzimuth, controls.CheckSeedztoxy};
    for (int k = kParXY; k <= kZtoXY; ++k) {
        const std::string& s = st(states, k);
        if (isNumberText(s)) {
            p[static_cast<std::size_t>(k)] = heldValue(s, job.AngleFactor, "a held shape angle");
        } else if (!ticked(shapeSeedBoxes[k - kParXY])) {
            p[static_cast<std::size_t>(k)] = (isFloatState(s) && k != kParXY) ? kShapeAngleStart : 0.0;
        }
    }

    if (isNumberText(st(states, kRDist)))
        p[kRDist] = heldValue(st(states, kRDist), job.LengthFactor, "the held R Dist");
    if (isNumberText(st(states, kRvecX)))
        for (int k = kRvecX; k <= kRvecZ; ++k)
            p[static_cast<std::size_t>(k)] =
                isNumberText(st(states, k))
                    ? heldValue(st(states, k), job.LengthFactor, "the held offset vector")
                    : 0.0;
}

}  // namespace kal
