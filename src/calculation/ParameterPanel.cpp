#include "calculation/ParameterPanel.h"

#include <vector>

namespace kal {

namespace {

// The order in which CheckReset unticks the boxes: rotations, translations, scales, shape
// angles, then the R options.
constexpr std::array<int, 14> kResetOrder{kRotX,   kRotY,   kRotZ,     kTraX,  kTraY,    kTraZ,  kScaleX,
                                          kScaleY, kScaleZ, kScaleXYZ, kParXY, kAzimuth, kZtoXY, kRDist};

struct PresetRule {
    Preset preset;
    std::vector<int> ticked;  // in this order
};

}  // namespace

ParameterPanel::ParameterPanel(JobState& job, PanelCallbacks callbacks, platform::Prompter* prompter,
                               const BusyState* busy)
    : job_(job), callbacks_(std::move(callbacks)), prompter_(prompter), busy_(busy) {
    for (int s = kRvecX; s <= kRvecZ; ++s) rows_[static_cast<std::size_t>(s)].valueReadOnly = true;
}

bool ParameterPanel::ocsAnglesCoverIdenticalPoints(const JobState& job) {
    return job.OcsAngles.rows() >= job.IdenticalCount && job.OcsAngles.cols() >= 3;
}

// ---- Public changes ----

bool ParameterPanel::setEstimate(int slot, bool ticked) {
    if (locked() || slot < 1 || slot > kParamCount) return false;
    if (isVectorSlot(slot)) return setUseAbc(ticked);
    applyEstimate(slot, ticked);
    return true;
}

bool ParameterPanel::setUseAbc(bool ticked) {
    if (locked()) return false;
    if (ticked && !useAbc_ && !ocsAnglesCoverIdenticalPoints(job_)) {
        // The offset-vector model turns each point's vector by its robot angles; without them
        // the design matrix would read angles that do not exist.
        if (prompter_)
            prompter_->message(
                "\"use ABC\" needs the robot angles A, B, C of every identical point, and the "
                "nominal points of this job carry none.");
        return false;
    }
    applyUseAbc(ticked);
    return true;
}

bool ParameterPanel::setSeedCheck(int slot, bool ticked) {
    if (locked() || slot < 1 || slot > kParamCount) return false;
    auto& r = rows_[static_cast<std::size_t>(slot)];
    if (r.seedChecked == ticked) return true;
    r.seedChecked = ticked;
    seedCheckHandler(slot);
    return true;
}

bool ParameterPanel::setRDataKnown(bool ticked) {
    if (locked()) return false;
    if (rDataKnown_ == ticked) return true;
    rDataKnown_ = ticked;
    loadRDataEnabled_ = ticked;
    return true;
}

bool ParameterPanel::selectPreset(Preset preset) {
    if (locked() || preset == Preset::None) return false;
    if (preset_ == preset) return true;
    preset_ = preset;
    handler([&] { presetHandler(); });
    return true;
}

bool ParameterPanel::selectNorm(std::int16_t mode) {
    if (locked() || mode < kNormL1 || mode > kNormMinimax) return false;
    applyNorm(mode);
    return true;
}

bool ParameterPanel::setAutoRecalc(bool ticked) {
    if (locked()) return false;
    applyAutoRecalc(ticked);
    return true;
}

bool ParameterPanel::setMonteCarlo(bool ticked) {
    if (locked()) return false;
    applyMonteCarlo(ticked);
    return true;
}

bool ParameterPanel::setValueText(int slot, std::string text) {
    if (slot < 1 || slot > kParamCount) return false;
    rows_[static_cast<std::size_t>(slot)].valueText = std::move(text);
    return true;
}

bool ParameterPanel::setSeedText(int slot, std::string text) {
    if (locked() || slot < 1 || slot > kParamCount) return false;
    rows_[static_cast<std::size_t>(slot)].seedText = std::move(text);
    return true;
}

// ---- Value changes that run handlers ----

void ParameterPanel::applyEstimate(int slot, bool ticked) {
    if (isVectorSlot(slot)) {
        applyUseAbc(ticked);
        return;
    }
    auto& r = rows_[static_cast<std::size_t>(slot)];
    if (r.estimate == ticked) return;
    r.estimate = ticked;
    if (slot == kScaleXYZ)
        handler([&] { scaleXyzHandler(); });
    else if (isAxisScaleSlot(slot))
        handler([&] { axisScaleHandler(slot); });
    else
        handler([&] { plainRowHandler(slot); });
}

void ParameterPanel::applyUseAbc(bool ticked) {
    if (useAbc_ == ticked) return;
    useAbc_ = ticked;
    for (int s = kRvecX; s <= kRvecZ; ++s) rows_[static_cast<std::size_t>(s)].estimate = ticked;
    handler([&] { useAbcHandler(); });
}

void ParameterPanel::applyAutoRecalc(bool ticked) {
    if (autoRecalc_ == ticked) return;
    autoRecalc_ = ticked;
    job_.AutoRecalc = ticked;  // CheckAutoRec_Click
}

void ParameterPanel::applyMonteCarlo(bool ticked) {
    if (monteCarlo_ == ticked) return;
    monteCarlo_ = ticked;
    job_.MonteCarloOn = ticked;  // CheckMonteCarlo_Click
}

void ParameterPanel::applyNorm(std::int16_t mode) {
    if (norm_ == mode) return;  // an option button acts only when it becomes selected
    norm_ = mode;
    handler([&] { normHandler(); });
}

// ---- Recalculation ----

template <class Body>
void ParameterPanel::handler(Body&& body) {
    ++depth_;
    try {
        body();
    } catch (...) {
        if (--depth_ == 0) pending_ = false;
        throw;
    }
    if (--depth_ == 0 && pending_) {
        pending_ = false;
        if (callbacks_.calculate) callbacks_.calculate();
    }
}

void ParameterPanel::recalculate(bool forced) {
    if (!forced && !job_.AutoRecalc) return;
    if (depth_ > 1 || forced) {
        pending_ = true;  // the outermost handler calculates once for the whole cascade
        return;
    }
    pending_ = false;
    if (callbacks_.calculate) callbacks_.calculate();
}

bool ParameterPanel::suspendAutoRecalc() {
    const bool remembered = job_.AutoRecalc;
    if (remembered) {
        applyAutoRecalc(false);
        job_.AutoRecalc = false;
    }
    return remembered;
}

void ParameterPanel::restoreAutoRecalc(bool remembered) {
    if (remembered) {
        applyAutoRecalc(true);
        job_.AutoRecalc = true;
    }
}

// ---- Handlers ----

void ParameterPanel::plainRowHandler(int slot) {
    auto& r = rows_[static_cast<std::size_t>(slot)];
    // The azimuth of the z axis means nothing without its tilt: ticking it ticks z to xy first.
    if (slot == kAzimuth && r.estimate) applyEstimate(kZtoXY, true);
    if (slot == kRDist) {
        if (r.estimate) {
            useAbcEnabled_ = false;
        } else {
            rDataKnownEnabled_ = false;
            useAbcEnabled_ = true;
        }
    }
    if (r.estimate) {
        r.valueEnabled = false;
        r.valueText = kFloat;
        r.seedCheckEnabled = true;
        r.seedEnabled = r.seedChecked;
    } else {
        r.valueEnabled = true;
        if (r.valueText == kFloat) r.valueText = kRowInfo[static_cast<std::size_t>(slot)].fixedDefault;
        r.seedCheckEnabled = false;
        r.seedEnabled = false;
    }
    if (slot == kZtoXY && !r.estimate) applyEstimate(kAzimuth, false);
    if (slot == kRDist) applyROption();
    recalculate();
    if (isShapeSlot(slot) && callbacks_.alternativeButton) callbacks_.alternativeButton();
}

void ParameterPanel::axisScaleHandler(int slot) {
    auto& r = rows_[static_cast<std::size_t>(slot)];
    auto& xyz = rows_[kScaleXYZ];
    if (r.estimate) {
        applyEstimate(kScaleXYZ, false);
        r.valueReadOnly = true;
        r.valueGrey = true;
        r.valueText = kFloat;
        xyz.valueReadOnly = true;
        xyz.valueText = kNotUsed;
        r.seedCheckEnabled = true;
        r.seedEnabled = r.seedChecked;
    } else {
        r.valueReadOnly = false;
        r.valueGrey = false;
        if (r.valueText == kFloat) r.valueText = "1";
        r.seedCheckEnabled = false;
        r.seedEnabled = false;
    }
    recalculate();
}

void ParameterPanel::scaleXyzHandler() {
    const bool remembered = suspendAutoRecalc();
    auto& xyz = rows_[kScaleXYZ];
    if (xyz.estimate) {
        for (int s = kScaleX; s <= kScaleZ; ++s) applyEstimate(s, false);
        xyz.valueReadOnly = true;
        xyz.valueGrey = true;
        xyz.valueText = kFloat;
        for (int s = kScaleX; s <= kScaleZ; ++s) {
            rows_[static_cast<std::size_t>(s)].valueReadOnly = true;
            rows_[static_cast<std::size_t>(s)].valueText = kNotUsed;
        }
        xyz.seedCheckEnabled = true;
        xyz.seedEnabled = xyz.seedChecked;
    } else {
        xyz.valueReadOnly = false;
        xyz.valueGrey = false;
        if (xyz.valueText == kFloat) xyz.valueText = "1";
        for (int s = kScaleX; s <= kScaleZ; ++s) rows_[static_cast<std::size_t>(s)].valueText = kNotUsed;
        xyz.seedCheckEnabled = false;
        xyz.seedEnabled = false;
    }
    restoreAutoRecalc(remembered);
    recalculate();
}

void ParameterPanel::useAbcHandler() {
    rDistEnabled_ = !useAbc_;
    for (int s = kRvecX; s <= kRvecZ; ++s) {
        auto& r = rows_[static_cast<std::size_t>(s)];
        if (useAbc_) {
            r.valueEnabled = false;
            r.valueReadOnly = true;
            r.valueText = kFloat;
            r.seedCheckEnabled = true;
            r.seedEnabled = r.seedChecked;
        } else {
            r.valueEnabled = true;
            r.valueReadOnly = false;
            if (r.valueText == kFloat) r.valueText = "0";
            r.seedCheckEnabled = false;
            r.seedEnabled = false;
        }
    }
    applyROption();
    recalculate();
}

void ParameterPanel::iniRdist() {
    if (locked()) return;
    handler([&] { applyROption(); });
}

void ParameterPanel::applyROption() {
    auto& rd = rows_[kRDist];
    if (rd.estimate) {
        job_.UseAbcMode = false;
        for (int s = kRvecX; s <= kRvecZ; ++s) {
            auto& r = rows_[static_cast<std::size_t>(s)];
            r.seedCheckEnabled = false;
            r.seedEnabled = false;
            r.valueEnabled = false;
            r.valueText = kNotUsed;
        }
        rd.valueText = kFloat;
        // In paraboloid mode the OCS are foot points: L1, Loo and a direction switch (which
        // would exchange the MCS with the foot points) stay off.
        if (!job_.ParaboloidMode) {
            normEnabled_[kNormL1] = true;
            normEnabled_[kNormMinimax] = true;
            directionEnabled_ = true;
        }
        rd.seedEnabled = true;
        rd.seedCheckEnabled = true;
    } else if (useAbc_) {
        job_.UseAbcMode = true;
        for (int s = kRvecX; s <= kRvecZ; ++s) rows_[static_cast<std::size_t>(s)].valueText = kFloat;
        rd.valueText = kNotUsed;
        rd.valueEnabled = false;
        normEnabled_[kNormL1] = false;
        normEnabled_[kNormMinimax] = false;
        applyNorm(kNormL2);
        for (int s = kRvecX; s <= kRvecZ; ++s) {
            rows_[static_cast<std::size_t>(s)].seedCheckEnabled = true;
            rows_[static_cast<std::size_t>(s)].seedEnabled = true;
        }
        rd.seedEnabled = false;
        rd.seedCheckEnabled = false;
        directionEnabled_ = false;
        if (job_.MCSOCSGetauscht) {
            // The offset vector belongs to the robot's side: switch back to MCS -> OCS. The
            // exchanged sets no longer fit the results, so a calculation follows in any case.
            if (callbacks_.switchDirection) callbacks_.switchDirection();
            recalculate(true);
        }
    }
    // Neither ticked: nothing changes; UseAbcMode keeps what the last R option set, which keeps
    // an offset vector held at its computed value working.
}

void ParameterPanel::normHandler() {
    job_.NormMode = norm_;
    recalculate();
    // After the calculation, so that it still sees the previous Monte Carlo choice.
    if (norm_ == kNormL2) {
        monteCarloEnabled_ = true;
    } else {
        applyMonteCarlo(false);
        monteCarloEnabled_ = false;
    }
}

void ParameterPanel::checkReset() {
    if (locked()) return;
    handler([&] { resetEstimates(); });
}

void ParameterPanel::resetEstimates() {
    for (int s : kResetOrder) applyEstimate(s, false);
    applyUseAbc(false);
}

void ParameterPanel::presetHandler() {
    static const std::array<PresetRule, 5> kRules{{
        {Preset::SixParameter, {kRotX, kRotY, kRotZ, kTraX, kTraY, kTraZ}},
        {Preset::SevenParameter, {kRotX, kRotY, kRotZ, kTraX, kTraY, kTraZ, kScaleXYZ}},
        {Preset::NineParameter, {kRotX, kRotY, kRotZ, kTraX, kTraY, kTraZ, kScaleX, kScaleY, kScaleZ}},
        {Preset::TwelveParameter,
         {kRotX, kRotY, kRotZ, kTraX, kTraY, kTraZ, kScaleX, kScaleY, kScaleZ, kParXY, kZtoXY, kAzimuth}},
        {Preset::HoldLevel, {kRotZ, kTraX, kTraY, kTraZ}},
    }};
    const bool remembered = suspendAutoRecalc();
    resetEstimates();
    if (callbacks_.resetDisplay) callbacks_.resetDisplay();
    for (const auto& rule : kRules) {
        if (rule.preset != preset_) continue;
        for (int s : rule.ticked) applyEstimate(s, true);
    }
    if (preset_ == Preset::SixParameter || preset_ == Preset::HoldLevel) {
        // No scale at all: ticking and unticking the common scale leaves every scale box
        // "not used" and read-only.
        applyEstimate(kScaleXYZ, true);
        applyEstimate(kScaleXYZ, false);
        rows_[kScaleXYZ].valueText = kNotUsed;
        rows_[kScaleXYZ].valueReadOnly = true;
    }
    if (preset_ == Preset::SixParameter) {
        for (int s : {kParXY, kAzimuth, kZtoXY, kRDist}) {
            rows_[static_cast<std::size_t>(s)].valueText = kNotUsed;
            rows_[static_cast<std::size_t>(s)].valueEnabled = false;
        }
    }
    restoreAutoRecalc(remembered);
    recalculate();
}

void ParameterPanel::seedCheckHandler(int slot) {
    auto& r = rows_[static_cast<std::size_t>(slot)];
    if (r.seedChecked) {
        r.seedEnabled = true;
        if (r.seedText.empty()) r.seedText = seedDefault(slot);
    } else {
        r.seedEnabled = false;
    }
}

}  // namespace kal
