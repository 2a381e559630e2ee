#include "input/DistanceMatching.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kal {

int autoFindProgress(std::int64_t pairNumber, std::int64_t pairCount, std::int32_t candidates) {
    const double share =
        pairCount > 0 ? 100.0 * static_cast<double>(pairNumber) / static_cast<double>(pairCount) : 0;
    const double value = std::max(share, 20.0 * candidates);
    return static_cast<int>(std::clamp(value, 2.0, 100.0));
}

CandidateSearch findAutoFindCandidates(const PointCoords& mcs, const OcsPairTable& ocsPairs, float etta,
                                       platform::ThrottledPump* pump, platform::Progress* progress) {
    checkCoords(mcs, "MCS");
    CandidateSearch result;
    const std::int32_t n = mcs.count();
    const std::int64_t pairCount = static_cast<std::int64_t>(n) * (n - 1) / 2;
    if (progress && progress->stopRequested()) {
        result.stopped = true;
        return result;
    }
    std::int64_t p = 0;
    for (std::int32_t i = 1; i < n; ++i) {
        for (std::int32_t j = i + 1; j <= n; ++j) {
            ++p;
            if (pump && pump->poll()) {
                if (progress) {
                    progress->setValue(autoFindProgress(p, pairCount, std::ssize(result.candidates)));
                    if (progress->stopRequested()) {
                        result.stopped = true;
                        return result;
                    }
                }
            }
            const double d = pointDistance(mcs, i, mcs, j);
            const auto nearest = ocsPairs.nearestWithin(d, etta);
            if (!nearest) continue;  // |d1| is not below the tolerance
            const double d2 = ocsPairs.gapOf(nearest->pair);
            if (!(toSingle(std::fabs(d2)) > etta)) continue;
            result.candidates.push_back({i, j, nearest->pair.i, nearest->pair.j, nearest->diff, d2});
            if (std::ssize(result.candidates) >= kMaxAutoFindCandidates) return result;
        }
    }
    return result;
}

std::array<std::int32_t, 3> chooseSeedCandidates(const std::vector<AutoFindCandidate>& candidates) {
    const auto count = static_cast<std::int32_t>(candidates.size());
    if (count < 3) throw std::invalid_argument("chooseSeedCandidates needs at least three candidates");
    if (count == 3) return {0, 1, 2};
    std::array<std::int32_t, 3> chosen{-1, -1, -1};
    std::vector<char> taken(candidates.size(), 0);
    for (auto& pick : chosen) {
        double largest = 0;
        for (std::int32_t c = 0; c < count; ++c) {
            const double gap = std::fabs(candidates[c].d2);
            if (!taken[c] && gap > largest) largest = gap, pick = c;
        }
        // Every candidate's gap exceeds a positive tolerance, so each round finds one.
        if (pick < 0) throw std::logic_error("chooseSeedCandidates: a candidate without a gap");
        taken[pick] = 1;
    }
    return chosen;
}

}  // namespace kal
