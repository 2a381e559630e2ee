#pragma once
// The matching searches written as plain loops over all pairs, step by step as the program has
// always described them. Far too slow for real point sets, they are the reference the fast
// searches are compared with.
#include <cmath>
#include <cstdint>
#include <vector>

#include "input/DistanceMatching.h"
#include "input/MatchGeometry.h"

namespace kal::reference {

// The coordinate search: partner[i] for MCS point i (0: none).
inline std::vector<std::int32_t> coordinatePartners(const PointCoords& mcs, const PointCoords& ocs,
                                                    float etta) {
    std::vector<std::int32_t> partner(mcs.count() + 1, 0);
    std::vector<bool> used(ocs.count() + 1, false);
    for (std::int32_t i = 1; i <= mcs.count(); ++i) {
        double best = 1e10;
        std::int32_t found = 0;
        for (std::int32_t j = 1; j <= ocs.count(); ++j) {
            if (used[j]) continue;
            const double dx = mcs.x[i] - ocs.x[j];
            const double dy = mcs.y[i] - ocs.y[j];
            const double dz = mcs.z[i] - ocs.z[j];
            const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
            if (static_cast<float>(d) < etta && d < best) {
                best = d;
                found = j;
            }
        }
        if (found > 0) {
            used[found] = true;
            partner[i] = found;
        }
    }
    return partner;
}

struct PairEntry {
    double distance;
    std::int32_t i, j;
};

// The pair table of points 1..n: (i, j) with i < j, i = 1..n-1, j = i+1..n.
inline std::vector<PairEntry> pairTable(const PointCoords& p) {
    std::vector<PairEntry> table;
    for (std::int32_t i = 1; i < p.count(); ++i)
        for (std::int32_t j = i + 1; j <= p.count(); ++j) {
            const double dx = p.x[i] - p.x[j];
            const double dy = p.y[i] - p.y[j];
            const double dz = p.z[i] - p.z[j];
            table.push_back({std::sqrt(dx * dx + dy * dy + dz * dz), i, j});
        }
    return table;
}

// The candidate loop of the automatic search, without stop and progress.
inline std::vector<AutoFindCandidate> autoFindCandidates(const PointCoords& mcs, const PointCoords& ocs,
                                                         float etta) {
    const auto mcsTable = pairTable(mcs);
    const auto ocsTable = pairTable(ocs);
    std::vector<AutoFindCandidate> candidates;
    for (const auto& p : mcsTable) {
        double best = 1e10, d1 = 0;
        std::int64_t q = -1;
        for (std::size_t k = 0; k < ocsTable.size(); ++k) {
            const double diff = p.distance - ocsTable[k].distance;
            if (std::fabs(diff) < best) {
                best = std::fabs(diff);
                d1 = diff;
                q = static_cast<std::int64_t>(k);
            }
        }
        if (q < 0) continue;  // no OCS pair at all
        double best2 = 1e10, d2 = 1e10;
        for (std::size_t k = 0; k < ocsTable.size(); ++k) {
            if (static_cast<std::int64_t>(k) == q) continue;
            const double diff = ocsTable[q].distance - ocsTable[k].distance;
            if (std::fabs(diff) < best2) {
                best2 = std::fabs(diff);
                d2 = diff;
            }
        }
        if (static_cast<float>(std::fabs(d1)) < etta && static_cast<float>(std::fabs(d2)) > etta)
            candidates.push_back({p.i, p.j, ocsTable[q].i, ocsTable[q].j, d1, d2});
        if (candidates.size() > 5) break;
    }
    return candidates;
}

// The choice of the three seed candidates (indices into the list).
inline std::vector<std::int32_t> seedChoice(const std::vector<AutoFindCandidate>& c) {
    if (c.size() < 3) return {};
    if (c.size() == 3) return {0, 1, 2};
    std::vector<std::int32_t> chosen;
    std::vector<bool> taken(c.size(), false);
    for (int round = 0; round < 3; ++round) {
        double largest = 0;
        std::int32_t pick = -1;
        for (std::size_t k = 0; k < c.size(); ++k)
            if (!taken[k] && std::fabs(c[k].d2) > largest) {
                largest = std::fabs(c[k].d2);
                pick = static_cast<std::int32_t>(k);
            }
        taken[pick] = true;
        chosen.push_back(pick);
    }
    return chosen;
}

}  // namespace kal::reference
