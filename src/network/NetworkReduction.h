#pragma once
// Which object points a run of the network adjustment uses: a percentage r of them, spread over
// the input order. Two rules exist, as the two calculation buttons read their box differently:
//   Calculate (percentage typed in the user's locale): n = ⌊r·P/100⌋, step = ⌊100/r⌋ with 100/r
//   first taken to 15 significant digits;
//   the fixed-datum variant (leading number, "." always): n = r·P/100 rounded half to even,
//   step = ⌊100/r⌋.
// The points 1, 1 + step, 1 + 2·step, ... are visited and the first n of them are used.
// P = 10: 50 -> 1, 3, 5, 7, 9; 60 -> 1..6; 30 -> 1, 4, 7; 100 -> every point.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kal {

enum class ReductionRule {
    Calculate,      // the Calculate button's reading and rounding
    FixedDatumRun,  // the Command1 variant's reading and rounding
};

// The percentage of the box `TextReduce` read by the rule; nullopt when the text is no number
// (Calculate reads the whole text strictly; the variant reads a leading number, 0 when none).
std::optional<double> reductionPercent(const std::string& text, ReductionRule rule);

// The input indices (1-based) of the used points, in use order. Empty when r is outside
// 0 < r ≤ 100 or chooses no point.
std::vector<std::int32_t> reducedPointIndices(double percent, std::int32_t pointCount, ReductionRule rule);

}  // namespace kal
