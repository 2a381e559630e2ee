#pragma once
// The pair search by coordinates: each MCS point, in index order, takes the nearest OCS point
// that no earlier MCS point took, provided their distance rounded to single precision is below
// the tolerance `etta` (millimetres) and below 1e10. Equal distances go to the smaller OCS index.
// The search is greedy: an earlier MCS point keeps its partner even when a later one lies closer.
//
// The plain search compares every MCS point with every OCS point: O(n·m). Here the OCS points sit
// in a k-d tree whose nodes count the points not taken yet and know their smallest index, so each
// MCS point finds its partner in about O(log m) whatever the tolerance (a grid of cells as wide as
// the tolerance would fall back to the plain search when the tolerance is large), with the very
// same pairs, ties and repeated points included.
#include <cstdint>
#include <vector>

#include "input/MatchGeometry.h"

namespace kal {

// partner[i] for i = 1..mcs.count(): the OCS index paired with MCS point i, 0 when none;
// partner[0] is 0. A tolerance of 0 or below (or NaN) pairs nothing. Throws std::invalid_argument
// for a non-finite coordinate.
std::vector<std::int32_t> findCoordinatePartners(const PointCoords& mcs, const PointCoords& ocs, float etta);

}  // namespace kal
