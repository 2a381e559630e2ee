#pragma once
// The value axis of the data chart: symmetric about zero and rounded up to a tidy limit, so a
// list of deviations plots beside its zero line with about 30 % room above the largest one.
#include <cstdint>
#include <optional>
#include <vector>

namespace kal {

// The failure message of the data chart (kept as users know it).
inline constexpr const char* kChartFailedMessage =
    "Sorry, but do have Problems with Graphs with Windows 7 or higher";

struct ChartRange {
    double max = -1e8;     // largest value, starting below any plotted deviation
    double min = 1e8;      // smallest value
    double halfRange = 0;  // m: the larger of max and |min|
    double limit = 0;      // L: the axis runs from -L to L
};

// L from m, each step in double precision from left to right:
//   t = m * 1.3 / 0.01 * 0.01 / 0.02;  A = floor(t) * 0.02 + 0.02;  L = (floor(A * 10) + 1) / 10.
// m = 0 gives 0.1, 0.5 gives 0.7, 1 gives 1.4, 10 gives 13.1.
double chartAxisLimit(double halfRange);

// The range of `values`; nullopt when there is nothing to chart (no value, or a value that is not
// a finite number), which the window answers with kChartFailedMessage.
std::optional<ChartRange> chartRangeOf(const std::vector<double>& values);

}  // namespace kal
