#pragma once
// The text the result display puts on the clipboard after a calculation, chosen by ClipboardMode:
// 2 the complete results report, 4 the cell-calibration line (translations and negated rotations,
// optionally of the inverse), 5 the robot X, Y, Z, A, B, C line. Modes 1 and 3 and any other value
// leave the clipboard alone.
//
// Texts: cells separated by TAB, lines by CR LF (also the first two of the report), no line end
// after the last line; lengths and angles in the display units with the user's decimal separator;
// a value that cannot be computed (an absent statistic, a number that is not finite) is an empty
// field. The report is built in one pass into one reserved buffer: O(n) for n points.
#include <array>
#include <optional>
#include <string>

#include "results/ResultDisplay.h"
#include "shared/JobState.h"

namespace kal {

struct ClipboardOutput {
    // The text to put on the clipboard (cleared first, then set); nullopt leaves it untouched.
    std::optional<std::string> text;
    // Mode 4: the rotation boxes show the other rotation solution ("&sec Rot Sol").
    std::optional<std::array<std::string, 3>> rotationTexts;
    // Mode 4 inverted: no parameter set rebuilds the inverse; the window says so.
    bool noInverse = false;
};

// The clipboard step of the display `d` (ClipboardMode from the job).
ClipboardOutput clipboardOutput(JobState& job, const DisplayTicks& ticks, const ResultDisplay& d);

// Mode 2: file names, parameters, sigmas, statistics, the 25-column header and one line per
// identical point (n + 20 lines; one more with scale xyz, two more in offset-vector mode).
// dev.Phi is folded into [−π, π], as the main sheet shows it.
std::string completeResultsReport(const JobState& job, const DisplayTicks& ticks, const ResultDisplay& d);

// Mode 5: "Trala xyz, Rot -z-y'-x''", TAB, x, y, z, −rot z, −rot y', −rot x (and with AdTCP the
// negated offset vector), on one line.
std::string robotPoseLine(const JobState& job);

// Mode 4: x, y, z, −rot x, −rot y', −rot z'', each followed by TAB; with InvertedBMW those of the
// inverse transformation, after a two-line notice when more than translations and rotations were
// calculated. Empty (and `noInverse` set) when the inverse has no parameter set.
std::string cellCalibrationLine(JobState& job, const DisplayTicks& ticks, bool& noInverse);

// True when only translations and rotations describe the transformation: no scale or shape box
// ticked, every used scale 1 and every used shape angle 0 as the boxes show them.
bool plainSixParameters(const JobState& job, const DisplayTicks& ticks);

inline constexpr const char* kRobotHead = "Trala xyz, Rot -z-y'-x''";
inline constexpr const char* kRobotTcpHead = ", TCP -x-y-z";
inline constexpr const char* kNotPlainNotice =
    "Notice: Your have NOT calculated a simple 6 parameter transformation, be sure what you are doing!";
inline constexpr const char* kOnlyTraRotNotice =
    "ONLY the 3 Translations and the 3 Rotations are copied to clipboard, no other parameter which might be "
    "important in your configuration!";

}  // namespace kal
