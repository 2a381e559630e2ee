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

// The seed choice with its soundness rule, written out: the candidates ranked as seedChoice takes
// them, then the first triple in that ranking with no shared segment whose midpoints, in the MCS
// and in the OCS, lie farther from the line through their two farthest points than the tolerance
// and than a millionth of that distance. Empty when none does.
inline std::vector<std::int32_t> soundSeedChoice(const std::vector<AutoFindCandidate>& c,
                                                 const PointCoords& mcs, const PointCoords& ocs, float etta) {
    if (c.size() < 3) return {};
    std::vector<std::int32_t> rank;
    std::vector<bool> taken(c.size(), false);
    for (std::size_t round = 0; round < c.size(); ++round) {
        std::int32_t pick = -1;
        for (std::size_t k = 0; k < c.size(); ++k)
            if (!taken[k] && (pick < 0 || (c.size() > 3 && std::fabs(c[k].d2) > std::fabs(c[pick].d2))))
                pick = static_cast<std::int32_t>(k);
        taken[pick] = true;
        rank.push_back(pick);
    }
    struct P {
        double x, y, z;
    };
    auto sound = [&](P a, P b, P d) {
        // The vertex opposite the longest side, and its distance from that side's line.
        auto dist = [](P u, P v) { return std::hypot(u.x - v.x, u.y - v.y, u.z - v.z); };
        P s0 = a, s1 = b, o = d;
        if (dist(a, d) > dist(s0, s1)) s0 = a, s1 = d, o = b;
        if (dist(b, d) > dist(s0, s1)) s0 = b, s1 = d, o = a;
        const double len = dist(s0, s1);
        if (!(len > 0)) return false;
        const P e{(s1.x - s0.x) / len, (s1.y - s0.y) / len, (s1.z - s0.z) / len};
        const double t = (o.x - s0.x) * e.x + (o.y - s0.y) * e.y + (o.z - s0.z) * e.z;
        const double h = dist(o, P{s0.x + t * e.x, s0.y + t * e.y, s0.z + t * e.z});
        return h > etta && h > 1e-6 * len;
    };
    auto mid = [](const PointCoords& s, std::int32_t i, std::int32_t j) {
        return P{(s.x[i] + s.x[j]) / 2, (s.y[i] + s.y[j]) / 2, (s.z[i] + s.z[j]) / 2};
    };
    const auto n = c.size();
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = a + 1; b < n; ++b)
            for (std::size_t d = b + 1; d < n; ++d) {
                const auto &p = c[rank[a]], &q = c[rank[b]], &r = c[rank[d]];
                bool shared = false;
                for (const auto* u : {&p, &q, &r})
                    for (const auto* v : {&p, &q, &r})
                        if (u < v && ((u->mcsI == v->mcsI && u->mcsJ == v->mcsJ) ||
                                      (u->ocsI == v->ocsI && u->ocsJ == v->ocsJ)))
                            shared = true;
                if (shared) continue;
                if (sound(mid(mcs, p.mcsI, p.mcsJ), mid(mcs, q.mcsI, q.mcsJ), mid(mcs, r.mcsI, r.mcsJ)) &&
                    sound(mid(ocs, p.ocsI, p.ocsJ), mid(ocs, q.ocsI, q.ocsJ), mid(ocs, r.ocsI, r.ocsJ)))
                    return {rank[a], rank[b], rank[d]};
            }
    return {};
}

}  // namespace kal::reference
