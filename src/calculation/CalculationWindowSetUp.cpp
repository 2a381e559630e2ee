#include "calculation/CalculationWindowSetUp.h"

#include <array>

#include "calculation/ParameterRows.h"

namespace kal {

namespace {

// The rows brought back from ParamState, in the order of the window (z to xy above Azimuth z, so
// that a job estimating z to xy alone keeps Azimuth z unticked).
constexpr std::array<int, 14> kRestoreOrder{kTraX,   kTraY,   kTraZ,     kRotX,  kRotY,  kRotZ,    kScaleX,
                                            kScaleY, kScaleZ, kScaleXYZ, kParXY, kZtoXY, kAzimuth, kRDist};

void applyParaboloidRestrictions(JobState& job, ParameterPanel& panel) {
    if (!job.ParaboloidMode) return;
    panel.setDirectionButtonEnabled(false);
    panel.setNormEnabled(kNormL1, false);
    panel.setNormEnabled(kNormMinimax, false);
}

}  // namespace

SetUpOutcome setUpCalculationPanel(JobState& job, ParameterPanel& panel) {
    SetUpOutcome outcome;
    const bool autoRecalc = job.AutoRecalc;
    job.AutoRecalc = false;  // no handler of the set-up calculates

    applyParaboloidRestrictions(job, panel);
    job.TrafoFormGeladen = true;

    if (job.NormMode < kNormL1 || job.NormMode > kNormMinimax) job.NormMode = kNormL2;
    panel.selectNorm(job.NormMode);

    panel.setMonteCarlo(false);
    job.MonteCarloOn = false;
    job.StopFlag = false;

    if (!job.ParamState[1].empty()) {
        for (int slot : kRestoreOrder) {
            const std::string& state = job.ParamState[static_cast<std::size_t>(slot)];
            panel.setEstimate(slot, state == kFloat);
            panel.setValueText(slot, state);
        }
    } else {
        panel.selectPreset(Preset::TwelveParameter);
        panel.setEstimate(kRDist, true);
        panel.selectPreset(Preset::SixParameter);
        int used = 0;
        for (std::int32_t k = 1; k <= job.IdenticalCount; ++k)
            used += job.UseFlags.at(static_cast<std::size_t>(3 * k - 2));
        if (used == 0 && job.IdenticalCount > 0) {
            for (std::int32_t k = 1; k <= 3 * job.IdenticalCount; ++k)
                job.UseFlags.at(static_cast<std::size_t>(k)) = 1;
            outcome.useFlagsSwitchedOn = true;
        }
    }

    if (job.ParaboloidMode) {
        // The surface fit has no R option. A row the mode disables must not stay estimated from an
        // earlier job's states, or every calculation is singular in it until a preset is chosen.
        panel.setUseAbc(false);
        panel.setEstimate(kRDist, false);
        panel.setValueText(kRDist, std::string(kNotUsed));
        panel.setRDistEnabled(false);
        job.UseAbcMode = false;
    }

    panel.setAutoRecalc(autoRecalc);
    job.AutoRecalc = autoRecalc;
    panel.iniRdist();
    // The R option may have enabled what the paraboloid mode keeps off.
    applyParaboloidRestrictions(job, panel);
    return outcome;
}

}  // namespace kal
