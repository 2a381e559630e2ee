#pragma once
// The trend extrapolation of the paraboloid iteration: while s0 keeps falling, a parameter that
// moves by steady steps is pushed on by growing multiples of its last step (0, 1, 16, 81, 256 …),
// which shortens the slow drift of the alternating foot-point / solve iteration.
#include <array>
#include <cstdint>
#include <vector>

#include "shared/JobState.h"

namespace kal {

// The last five values of one parameter in entries 1..5, newest at 5; entry 0 unused.
using TrendList = std::vector<double>;

// isSteadyTrend: steady when every difference of successive entries 2..upper lies within
// |percent·d/100| of the first difference d = list(2) - list(1) (strictly outside is not
// steady) (ArrayTrend). With d = 0 all differences must be exactly 0.
bool isSteadyTrend(const TrendList& list, std::int32_t percent);

// The histories and counters of tra x, tra y, tra z, rot x, rot y' (index 0..4).
struct TrendState {
    static constexpr std::array<int, 5> kSlots{kTraX, kTraY, kTraZ, kRotX, kRotY};
    std::array<TrendList, 5> TrendHistory{TrendList(6), TrendList(6), TrendList(6), TrendList(6),
                                          TrendList(6)};
    std::array<std::int32_t, 5> TrendCount{};

    void reset() { *this = TrendState{}; }
    void resetCounts() { TrendCount.fill(0); }
};

// One trend step after a solve in which s0 fell: for each of the five parameters whose estimate
// box is ticked (`estimated[slot]`), append its value to its history and, when the history is
// steady, move it on by TrendCount⁴ times its last change and count on. Returns true when any
// parameter moved.
bool extrapolateTrends(TrendState& trend, JobState& job, const std::array<bool, kParamCount + 1>& estimated);

}  // namespace kal
