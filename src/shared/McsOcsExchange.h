#pragma once
// Exchanging the MCS and OCS point sets of a job (MCS_OCS): the one job operation behind the
// direction switch and behind loading new sets into a job whose systems are exchanged.
#include "shared/JobState.h"

namespace kal {

// Exchanges the MCS and OCS point sets with their counts. The identical pairs keep their indices
// 1..IdenticalCount and their use flags; names, robot angles, offset vectors, profile, file names,
// parameters and parameter states stay. MCSt becomes a copy of the new MCS until the next
// calculation transforms it. An exact involution: two calls give back the sets, counts and order
// bit for bit. O(McsCount + OcsCount); the arrays trade places, nothing is copied twice.
void exchangeMcsAndOcs(JobState& job);

}  // namespace kal
