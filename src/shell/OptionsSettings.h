#pragma once
// The options window's rules: what its controls show when it opens, and how OK turns the typed
// texts into settings. Every field is checked before anything changes, so a mistyped number never
// leaves the settings half applied: the job and the settings file change together or not at all.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shared/IniFile.h"
#include "shared/JobState.h"

namespace kal {

// The fields of the window as the user left them. Numbers are the texts of their boxes.
struct OptionsFields {
    std::int16_t clipboardMode = 0;      // the selected option button 1..5; 0 when none is selected
    bool inverted = false;               // CheckInverted
    bool adTcp = false;                  // CheckAdTCP
    bool tableHeading = false;           // CheckTabelHeading
    std::string sigmaX, sigmaY, sigmaZ;  // TextSx, TextSy, TextSz (millimetres)
    std::string runs;                    // TextMonteCarloRuns
    std::string gimbalLockBorder;        // TextGimbalLock, in the display angle unit
    bool operator==(const OptionsFields&) const = default;
};

// The boxes a refusal points at.
enum class OptionsField { SigmaX, SigmaY, SigmaZ, Runs, GimbalLockBorder };

struct OptionsProblem {
    OptionsField field;
    std::string message;  // names the field: "Please enter a number for Monte Carlo runs."
};

// The largest run count accepted: every run is one more solve and one more slot in 18 lists.
inline constexpr std::int32_t kMaxMonteCarloRuns = 1000000;

// The controls' contents at opening. A run count of 0 becomes 100 in the job at once, whether the
// window is then confirmed or not. Numbers show in the general form with the regional separator;
// the border in the display angle unit (GimbalLockBorder × AngleFactor).
OptionsFields optionsFieldsForJob(JobState& job);

// Whether `clipboardMode` enables the two modifier boxes: CheckInverted with mode 4, CheckAdTCP
// with mode 5. A disabled box keeps its tick and is applied all the same.
inline bool invertedEnabled(std::int16_t clipboardMode) { return clipboardMode == 4; }
inline bool adTcpEnabled(std::int16_t clipboardMode) { return clipboardMode == 5; }

// The run count a typed number stands for: nearest integer, halves to even, at least 2.
std::int32_t runsFromNumber(double typed);

// OK (EinstellungenÜbernehmen): checks every field, then sets the nine settings in the job and
// returns the nine "Settings" keys in their order (ClipboardValue, InvertedBMW, AdTCP,
// TabelHeadMainSheet, sigmaX, sigmaY, sigmaZ, MonteCarloRuns, GimbalLockBorder) for one write.
// Numbers are read in the regional format; a group separator is refused ("0.01" under "," is no
// number, never 1). Refused, nothing in the job changes: a text that is no finite number, a negative
// sigma, more than kMaxMonteCarloRuns runs. With no option button selected the mode keeps its value.
struct OptionsApplied {
    std::optional<OptionsProblem> problem;
    std::vector<IniEntry> settings;  // empty when refused
};
OptionsApplied applyOptions(JobState& job, const OptionsFields& fields);

}  // namespace kal
