#include "calculation/ParaboloidTrend.h"

#include <cmath>

#include "engine/FootPoint.h"
#include "shared/Errors.h"

namespace kal {

bool isSteadyTrend(const TrendList& list, std::int32_t percent) {
    const double d = list[2] - list[1];
    const double tolerance = percent * d / 100.0;
    for (std::size_t a = 3; a < list.size(); ++a)
        if (std::fabs((list[a] - list[a - 1]) - d) > std::fabs(tolerance)) return false;
    return true;
}

bool extrapolateTrends(TrendState& trend, JobState& job, const std::array<bool, kParamCount + 1>& estimated) {
    bool moved = false;
    for (std::size_t t = 0; t < TrendState::kSlots.size(); ++t) {
        const auto slot = static_cast<std::size_t>(TrendState::kSlots[t]);
        if (!estimated[slot]) continue;
        TrendList& list = trend.TrendHistory[t];
        double& p = job.Params[slot];
        shiftAppend(list, p);
        if (!isSteadyTrend(list, 200)) continue;
        const double count = trend.TrendCount[t];
        const double step = count * count * count * count * (p - list[4]);
        if (step != 0.0) moved = true;
        p = checkedFinite(p + step, "the trend extrapolation");
        trend.TrendCount[t] += 1;
    }
    return moved;
}

}  // namespace kal
