#pragma once
// Matching by name: both point sets are sorted by name (numeric names by value, equal-valued names
// such as "7" and "007" kept apart), a name that occurs twice in one set stops the load, and the
// points whose names occur in both sets move to indices 1..k of both sets, in name order. The
// points without partner follow. Names compare exactly (P1 is not p1, 1 is not 01).
//
// The load reads and matches into these values first and commits them to the job only when every
// step succeeded; the use flags of the new pairs are taken over by name from the job's old pairs
// (a name not paired before starts used).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "input/PointSet.h"
#include "input/ReadOptions.h"
#include "shared/JobState.h"
#include "shared/Matrix.h"

namespace kal {

struct MatchedPoints {
    PointSet mcs, ocs;                // pairs first (1..identical), then the points without partner
    std::optional<Matrix> ocsAngles;  // robot angles, moved along with the OCS points
    std::int32_t identical = 0;
};

// Sorts, checks for double names and moves the pairs to the front. A double name is reported
// ("There might be a double Pointnumber in the MCS File. " / "Please check Point Number <name>",
// the MCS tested first) and ends in a FormatError. `ocsAngles`, when given, has a row per OCS point.
MatchedPoints matchPointsByName(PointSet mcs, PointSet ocs, std::optional<Matrix> ocsAngles,
                                const ReadOptions& options);

// The x, y, z use flags of the job's current pairs, by point name.
using UseFlagsByName = std::unordered_map<std::string, std::array<std::int16_t, 3>>;
UseFlagsByName rememberUseFlags(const JobState& job);

// Writes the matched sets into the job: point sets and counts, OcsAngles (emptied when the OCS
// carries none), MCSt as a copy of the MCS, RVec sized to the pairs and 0, and UseFlags by name.
// When the job's systems are exchanged (MCSOCSGetauscht), the new sets are exchanged too
// (exchangeMcsAndOcs).
void commitMatchedPoints(JobState& job, MatchedPoints matched, const UseFlagsByName& flags);

}  // namespace kal
