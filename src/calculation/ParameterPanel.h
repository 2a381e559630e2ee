#pragma once
// The parameter panel of the calculation window as a model: the 17 parameter rows with their
// estimate, value and seed controls, the R option, the norm, the presets, automatic
// recalculation and the Monte Carlo switch, and every rule that ties them together.
//
// The rules are a cascade: a check box's handler runs whenever its value really changes, also
// when another handler changes it, and runs to its end before that handler goes on. Each setter
// below is such a change; the private handlers keep the order of those cascades.
//
// Automatic recalculation: a user action that changes rows asks for one calculation when
// `AutoRecalc` is on. Requests made inside a nested handler (ticking Azimuth z ticks z to xy
// first; "use ABC" under L1 selects L2) are merged into the one the outermost handler makes, so
// every change costs one calculation, never two back to back.
//
// While a calculation runs (`BusyState`), every setter is refused: the window shows the rows
// disabled and the calculation works on the snapshot it took at its start.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "calculation/BusyState.h"
#include "calculation/ParameterRows.h"
#include "platform/Prompter.h"
#include "shared/JobState.h"

namespace kal {

// One row's controls. For slots 15 to 17, `estimate` mirrors the shared "use ABC" box.
struct ParameterRow {
    bool estimate = false;  // estimate box ticked
    std::string valueText;  // "float", "not used" or a number in display units
    bool valueEnabled = true;
    bool valueReadOnly = false;  // locked, but not greyed out as a disabled box is
    bool valueGrey = false;      // grey text (colour 8) instead of black
    bool seedChecked = false;
    bool seedCheckEnabled = true;
    std::string seedText;
    bool seedEnabled = false;

    bool operator==(const ParameterRow&) const = default;
};

enum class Preset { None, SixParameter, SevenParameter, NineParameter, TwelveParameter, HoldLevel };

// What the panel asks of the window and the calculation flow. Any may be empty in a test.
struct PanelCallbacks {
    std::function<void()> calculate;          // runCalculation: one calculation
    std::function<void()> switchDirection;    // the direction switch without its calculation
    std::function<void()> resetDisplay;       // resetResultDisplay: clear the result boxes
    std::function<void()> alternativeButton;  // updateAlternativeButton
};

class ParameterPanel {
  public:
    // Design state of a new window: every box unticked, seed boxes disabled, seed check boxes
    // enabled, vector boxes read-only, "L&2" selected, no preset. Writes nothing to the job.
    ParameterPanel(JobState& job, PanelCallbacks callbacks = {}, platform::Prompter* prompter = nullptr,
                   const BusyState* busy = nullptr);

    // ---- State ----
    const ParameterRow& row(int slot) const { return rows_.at(static_cast<std::size_t>(slot)); }
    bool rDistEnabled() const { return rDistEnabled_; }  // the "R Dist." check box
    bool useAbc() const { return useAbc_; }              // the "use ABC" check box
    bool useAbcEnabled() const { return useAbcEnabled_; }
    bool rDataKnown() const { return rDataKnown_; }
    bool rDataKnownEnabled() const { return rDataKnownEnabled_; }
    bool loadRDataEnabled() const { return loadRDataEnabled_; }
    std::int16_t norm() const { return norm_; }  // 1 L1, 2 L2, 3 Loo
    bool normEnabled(std::int16_t mode) const { return normEnabled_.at(static_cast<std::size_t>(mode)); }
    Preset preset() const { return preset_; }
    bool autoRecalc() const { return autoRecalc_; }
    bool monteCarlo() const { return monteCarlo_; }
    bool monteCarloEnabled() const { return monteCarloEnabled_; }
    bool directionButtonEnabled() const { return directionEnabled_; }
    bool seedButtonEnabled() const { return seedButtonEnabled_; }
    bool locked() const { return busy_ && busy_->busy(); }

    // ---- Changes (a user click or code); each returns false when refused ----
    // Estimate box of a slot; slots 15 to 17 act on "use ABC", slot 14 is "R Dist.".
    bool setEstimate(int slot, bool ticked);
    bool setUseAbc(bool ticked);
    bool setSeedCheck(int slot, bool ticked);
    bool setRDataKnown(bool ticked);
    bool selectPreset(Preset preset);  // re-selecting the selected preset does nothing
    bool selectNorm(std::int16_t mode);
    bool setAutoRecalc(bool ticked);
    bool setMonteCarlo(bool ticked);
    // Texts typed by the user or written by the calculation and the result display.
    bool setValueText(int slot, std::string text);
    bool setSeedText(int slot, std::string text);

    // Unticks the fifteen estimate boxes through their handlers (CheckReset).
    void checkReset();
    // Sets the controls and `UseAbcMode` for the ticked R option (INI_Rdist).
    void iniRdist();

    // Whether "Value to SEED" can be used; the result display enables it after a calculation.
    void setSeedButtonEnabled(bool enabled) { seedButtonEnabled_ = enabled; }
    // Enables or disables a norm option or the direction button from outside the rules (the
    // window's set-up in paraboloid mode).
    void setNormEnabled(std::int16_t mode, bool enabled) {
        normEnabled_.at(static_cast<std::size_t>(mode)) = enabled;
    }
    void setDirectionButtonEnabled(bool enabled) { directionEnabled_ = enabled; }
    void setRDistEnabled(bool enabled) { rDistEnabled_ = enabled; }

    // True when the job's robot angles cover every identical point (use ABC needs them).
    static bool ocsAnglesCoverIdenticalPoints(const JobState& job);

  private:
    // The handlers (…_Click): run after the box's value changed.
    void plainRowHandler(int slot);
    void axisScaleHandler(int slot);
    void scaleXyzHandler();
    void useAbcHandler();
    void normHandler();
    void presetHandler();
    void seedCheckHandler(int slot);
    void resetEstimates();  // CheckReset inside a handler
    void applyROption();    // INI_Rdist inside a handler

    // Changes a value and runs its handler, only on a real change.
    void applyEstimate(int slot, bool ticked);
    void applyUseAbc(bool ticked);
    void applyAutoRecalc(bool ticked);
    void applyMonteCarlo(bool ticked);
    void applyNorm(std::int16_t mode);

    // Recalculation: asks for a calculation when AutoRecalc is on, or always when forced.
    // Inside a nested handler, and always when forced, the request waits for the outermost
    // handler's end, where one calculation serves every request of the cascade.
    void recalculate(bool forced = false);
    template <class Body>
    void handler(Body&& body);
    // Suspends automatic recalculation for a handler that changes several boxes; returns what
    // to restore.
    bool suspendAutoRecalc();
    void restoreAutoRecalc(bool remembered);

    JobState& job_;
    PanelCallbacks callbacks_;
    platform::Prompter* prompter_;
    const BusyState* busy_;

    std::array<ParameterRow, kParamCount + 1> rows_{};
    bool rDistEnabled_ = true;
    bool useAbc_ = false;
    bool useAbcEnabled_ = true;
    bool rDataKnown_ = false;
    bool rDataKnownEnabled_ = false;
    bool loadRDataEnabled_ = false;
    std::int16_t norm_ = kNormL2;
    std::array<bool, 4> normEnabled_{false, true, true, true};
    Preset preset_ = Preset::None;
    bool autoRecalc_ = false;
    bool monteCarlo_ = false;
    bool monteCarloEnabled_ = true;
    bool directionEnabled_ = true;
    bool seedButtonEnabled_ = false;

    int depth_ = 0;         // handlers running, nested
    bool pending_ = false;  // a nested handler asked for a calculation
};

}  // namespace kal
