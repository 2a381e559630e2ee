#pragma once
// The result display of the calculation window (FormThings) as a pure value: what each box,
// tooltip and arrow shows after a calculation or after a change of units, built from the job,
// the parameter ticks and the adjustment, in the order the window shows it.
//
// Every field is optional: a field that is absent is not written, its box keeps its text. A value
// that cannot be computed (no adjustment ran in this window yet, a cofactor that does not exist, a
// number that is not finite) makes its field absent instead of a text "inf", "nan" or "-0"; the
// rest of the display goes on. A box the display must empty (an R Dist entry that is skipped, an
// absent extreme) holds the empty text.
//
// The display also does the job-side steps: in offset-vector mode R Dist becomes the vector's
// length; with ShowRVec the identical points are transformed into RVec; the MCS points without a
// partner into MCSt; after a calculation (never after a mere change of units) the job is marked
// calculated; the residual statistics go to SigmaXyz, MaxDevX … MinDevZ when present.
//
// Under the L1 and minimax norms the sigmas (s0, sigma xyz, x, y, z, every parameter's sigma and
// significance) are empty: the a-posteriori sigma of the last reweighting step, with its weights
// of about 1/|v|, is no sigma of the estimate. The boxes say why in their tooltip.
#include <array>
#include <optional>
#include <string>

#include "calculation/ParameterPanel.h"
#include "engine/CalcResults.h"
#include "results/ResidualStatistics.h"
#include "shared/JobState.h"

namespace kal {

// The tick state of the parameter check boxes, taken when the display runs.
struct DisplayTicks {
    std::array<bool, kParamCount + 1> ticked{};  // slots 1..14; 15..17 unused
    bool useAbc = false;                         // "use ABC"
};
DisplayTicks ticksOf(const ParameterPanel& panel);

// One parameter row's texts.
struct ParameterTexts {
    std::optional<std::string> value;         // the value box (through the parameter panel)
    std::optional<std::string> changeTip;     // tooltip of the check box (vector rows: of the label)
    std::optional<std::string> scaleTip;      // tooltip of a scale value box
    std::optional<std::string> sigma;         // sigma box
    std::optional<std::string> significance;  // value/sigma box
    // The tooltip of the sigma and value/sigma boxes where it differs from the display's
    // sigmaTooltip (a value the points leave open).
    std::optional<std::string> sigmaTip;
};

struct ResultDisplay {
    std::array<ParameterTexts, kParamCount + 1> params{};
    std::array<std::optional<double>, kParamCount + 1> paramSigma{};  // ParamSigma of this display
    // Present when an adjustment ran in this window: the statistics frame.
    std::optional<StatisticsDisplay> statistics;
    std::array<std::string, kStatCount> statisticsText{};  // with `statistics`
    std::array<std::string, kExtremeCount> extremeName{};  // with `statistics`; "" when absent
    // With `statistics`: the tooltip of every sigma and significance box and of the s0 and sigma
    // boxes of the statistics; empty after an L2 adjustment (Monte Carlo included), the reason
    // why those boxes stay empty after an L1 or minimax one.
    std::string sigmaTooltip;
    bool seedEnabled = true;  // "Value to SEED" after every display
};

// What the display works from.
struct DisplayInput {
    const CalcResults* results = nullptr;  // null, or not sized: no adjustment in this window yet
    DisplayTicks ticks;
    bool afterCalculation = false;  // false: a re-display in new units
};

// Runs the display's steps 1 to 11 (the clipboard report is CalculationReport.h). `prev` is the
// window's PrevStats, updated for present values only.
ResultDisplay showResults(JobState& job, const DisplayInput& in, PrevStats& prev);

// Display texts of the job's units, nullopt for a value that is not finite.
std::optional<std::string> lengthText(const JobState& job, double mm);
std::optional<std::string> angleText(const JobState& job, double radians);
std::optional<std::string> scaleText(const JobState& job, double scale);

inline constexpr const char* kDeltaPrefix = "delta to last calculation: ";

// True when an adjustment under `norm` gives sigmas of its estimate (L2); under L1 and minimax the
// weights are those of the last reweighting step, so s0, the axis sigmas, the parameter sigmas and
// their significances are no statistics of the estimate and stay empty.
bool normGivesSigmas(int norm);
// The tooltip of those empty boxes after an adjustment under `norm` (L1 or minimax); "" under L2.
std::string noSigmaTooltip(int norm);

// The tooltip of the empty sigma boxes of a value that moves with the turn about the surface's own
// axis, which the points of a paraboloid job do not determine while rot z'' is estimated.
inline constexpr const char* kOpenBySurfaceTooltip =
    "No sigma: the points do not determine the turn about the surface's axis, and this value turns "
    "with it. Hold rot z'' for sigmas.";

// The statistics that are sigmas: empty, with noSigmaTooltip, under L1 and minimax.
inline constexpr std::array<int, 5> kSigmaStatistics{kStatS0, kStatSigmaXyz, kStatSx, kStatSy, kStatSz};

}  // namespace kal
