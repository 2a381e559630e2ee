#pragma once
// The automatic matching by distances, its search part: find segments (pairs of points) whose
// length in the MCS matches the length of exactly one OCS segment, so that three of them can
// seed a transformation.
//
// For each MCS pair p = (i, j), i < j, in the order i = 1..n-1, j = i+1..n: q* is the OCS pair
// whose distance is nearest to that of p (first in table order among equals), d1 = dist(p) -
// dist(q*), and d2 = dist(q*) minus the distance of the nearest other OCS pair. p and q* become a
// candidate when |d1|, rounded to single precision, is below `etta` and |d2|, likewise rounded,
// is above it: the lengths agree and no other OCS length could be meant. The search ends at the
// sixth candidate.
//
// The MCS pairs are generated as they are needed, never stored, and the OCS side is answered by
// an OcsPairTable: O(n² log m) time and O(m²) memory at worst, and usually far less time, as
// the search ends with its sixth candidate.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "input/MatchGeometry.h"
#include "input/OcsPairTable.h"
#include "platform/EventPump.h"
#include "platform/Progress.h"

namespace kal {

struct AutoFindCandidate {
    std::int32_t mcsI = 0, mcsJ = 0;  // the MCS pair
    std::int32_t ocsI = 0, ocsJ = 0;  // the OCS pair q*
    double d1 = 0;                    // dist(MCS pair) - dist(q*)
    double d2 = 0;                    // dist(q*) - dist(nearest other OCS pair)
    bool operator==(const AutoFindCandidate&) const = default;
};

inline constexpr int kMaxAutoFindCandidates = 6;

struct CandidateSearch {
    std::vector<AutoFindCandidate> candidates;  // at most kMaxAutoFindCandidates, in finding order
    bool stopped = false;                       // the user stopped the search
};

// Lets events through on the clock of `pump` (may be null), writes the progress value to
// `progress` (may be null) when it does, and ends the search when `progress` reports a stop.
CandidateSearch findAutoFindCandidates(const PointCoords& mcs, const OcsPairTable& ocsPairs, float etta,
                                       platform::ThrottledPump* pump, platform::Progress* progress);

// The progress value after MCS pair `pairNumber` (1-based) of `pairCount` with `candidates`
// found: the larger of the share of pairs done and 20 per candidate, between 2 and 100.
int autoFindProgress(std::int64_t pairNumber, std::int64_t pairCount, std::int32_t candidates);

// The three candidates (indices into the list) that seed the transformation. Three: all, in
// list order. More: three rounds, each taking the not yet chosen candidate with the largest
// |d2|, the first on ties. Requires at least three candidates.
std::array<std::int32_t, 3> chooseSeedCandidates(const std::vector<AutoFindCandidate>& candidates);

// Whether three seed points (the midpoints of three segments) span a triangle that fixes a
// rotation: its smallest height (twice its area over its longest side) must exceed the matching
// tolerance `etta` and one millionth of its longest side. The tolerance is the accuracy of the
// points, so a flatter triangle leaves the turn about its long side to noise; the relative bound
// catches collinear points whose height is rounding alone, whatever their size and the tolerance.
bool isSoundSeedTriangle(const std::array<std::array<double, 3>, 3>& points, float etta);

// The three candidates that seed the transformation, the first sound choice: the candidates are
// ranked as chooseSeedCandidates takes them (three: in list order; more: by falling |d2|, the
// earlier first on ties) and the triples are tried in that ranking's order, (0,1,2), (0,1,3), ...
// A triple is taken only when no two of its candidates share an MCS or an OCS segment and its
// three MCS midpoints and its three OCS midpoints both make a sound triangle. Empty when no
// triple does (fewer than three candidates included).
std::optional<std::array<std::int32_t, 3>> chooseSoundSeedCandidates(
    const std::vector<AutoFindCandidate>& candidates, const PointCoords& mcs, const PointCoords& ocs,
    float etta);

}  // namespace kal
