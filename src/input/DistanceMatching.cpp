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

bool isSoundSeedTriangle(const std::array<std::array<double, 3>, 3>& p, float etta) {
    auto sub = [](const std::array<double, 3>& a, const std::array<double, 3>& b) {
        return std::array<double, 3>{a[0] - b[0], a[1] - b[1], a[2] - b[2]};
    };
    auto length = [](const std::array<double, 3>& v) {
        return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    };
    const auto u = sub(p[1], p[0]), v = sub(p[2], p[0]), w = sub(p[2], p[1]);
    const double longest = std::max({length(u), length(v), length(w)});
    const std::array<double, 3> cross{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                                      u[0] * v[1] - u[1] * v[0]};
    if (!(longest > 0) || !std::isfinite(longest)) return false;
    const double height = length(cross) / longest;
    return height > static_cast<double>(etta) && height > 1e-6 * longest;
}

std::optional<std::array<std::int32_t, 3>> chooseSoundSeedCandidates(
    const std::vector<AutoFindCandidate>& candidates, const PointCoords& mcs, const PointCoords& ocs,
    float etta) {
    const auto count = static_cast<std::int32_t>(candidates.size());
    if (count < 3) return std::nullopt;
    // The ranking: list order for three, otherwise by falling |d2|, the earlier first on ties.
    std::vector<std::int32_t> rank(candidates.size());
    for (std::int32_t c = 0; c < count; ++c) rank[static_cast<std::size_t>(c)] = c;
    if (count > 3)
        std::stable_sort(rank.begin(), rank.end(), [&](std::int32_t a, std::int32_t b) {
            return std::fabs(candidates[a].d2) > std::fabs(candidates[b].d2);
        });
    auto shareSegment = [&](const AutoFindCandidate& a, const AutoFindCandidate& b) {
        return (a.mcsI == b.mcsI && a.mcsJ == b.mcsJ) || (a.ocsI == b.ocsI && a.ocsJ == b.ocsJ);
    };
    auto midpoint = [](const PointCoords& s, std::int32_t i, std::int32_t j) {
        return std::array<double, 3>{(s.x[i] + s.x[j]) / 2, (s.y[i] + s.y[j]) / 2, (s.z[i] + s.z[j]) / 2};
    };
    for (std::int32_t a = 0; a < count; ++a)
        for (std::int32_t b = a + 1; b < count; ++b)
            for (std::int32_t c = b + 1; c < count; ++c) {
                const std::array<std::int32_t, 3> pick{rank[a], rank[b], rank[c]};
                const auto& p = candidates[pick[0]];
                const auto& q = candidates[pick[1]];
                const auto& r = candidates[pick[2]];
                if (shareSegment(p, q) || shareSegment(p, r) || shareSegment(q, r)) continue;
                const std::array<std::array<double, 3>, 3> m{midpoint(mcs, p.mcsI, p.mcsJ),
                                                             midpoint(mcs, q.mcsI, q.mcsJ),
                                                             midpoint(mcs, r.mcsI, r.mcsJ)};
                const std::array<std::array<double, 3>, 3> o{midpoint(ocs, p.ocsI, p.ocsJ),
                                                             midpoint(ocs, q.ocsI, q.ocsJ),
                                                             midpoint(ocs, r.ocsI, r.ocsJ)};
                if (isSoundSeedTriangle(m, etta) && isSoundSeedTriangle(o, etta)) return pick;
            }
    return std::nullopt;
}

}  // namespace kal
