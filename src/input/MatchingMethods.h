#pragma once
// The load's two flows that find the identical points by geometry rather than by name: by
// coordinates (the sets lie in one system already) and by distances (automatic). Each asks for
// the tolerance, marks the pairs through equal names and leaves the ordering and counting to the
// matching by name that the load runs next. They work on the point sets read for the load and
// report what the job is to take over when the load commits; only the renaming of the coordinate
// flow writes files, and only after every check passed.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "input/AutoFindPts.h"
#include "input/PointSet.h"
#include "shared/JobState.h"

namespace kal {

// What the input dialog and the load give a flow.
struct MatchingRequest {
    std::int16_t ocsFormat = kOcsAscii;         // the OCS data type (OcsFormat)
    bool renameMcs = false, renameOcs = false;  // CheckRenameMCS, CheckRenameOCS: coordinate flow only
    std::string mcsFileName, ocsFileName;       // the files a ticked rename box rewrites
    char fileDelimiter = ' ';                   // FileDelimiter: the OCS file's after the reading
    double lengthFactor = 1.0;                  // display length unit per millimetre
    std::optional<std::int32_t> ocsLimit;       // distance flow: "Use only the first" n OCS points
};

struct MatchingOutcome {
    bool loadEnds = false;                   // tolerance prompt cancelled, or refused with a message
    bool stopped = false;                    // distance flow: the user stopped the search
    std::int32_t identicalCount = 0;         // pairs named alike (the matching by name counts anew)
    bool unitScales = false;                 // coordinate flow: the axis scales become 1
    std::optional<SeedTransformation> seed;  // distance flow: the seed that placed the MCS
    std::vector<std::string> rewrittenFiles, backups;  // coordinate flow with a rename box
};

inline constexpr const char* kGeometryNeedsAscii =
    "Robot and shape files can only be matched by Point ID / Point Number. Please choose "
    "\"by Point ID / Point Number (default)\" for this OCS data type.";

// The coordinate flow: axis scales 1, the tolerance prompt, the prefixes "MCS_" and "OCS_" when
// no rename box is ticked, the pair search on the MCS coordinates as they are, and for a ticked
// rename box the rewrite of that file (the original kept as its ".$" backup). Before any file is
// touched, both renamed sets are checked for double names and the texts are built; a refusal or a
// failed write shows a message, ends the load and leaves the user's files as they were.
MatchingOutcome matchByCoordinates(PointSet& mcs, PointSet& ocs, const MatchingRequest& request,
                                   platform::Prompter& prompter);

// The distance flow: the tolerance prompt, the prefixes, then autoFindPoints. Its failure message
// and a stop let the load go on with the prefixed, unpaired points.
MatchingOutcome matchByDistances(PointSet& mcs, PointSet& ocs, const MatchingRequest& request,
                                 const JobState& job, const AutoFindServices& services);

// The load's commit of a flow's outcome: the axis scales of the coordinate flow, or the seed with
// SeedPointIndex 1, 2, 3 of the distance flow.
void applyMatchingOutcome(const MatchingOutcome& outcome, JobState& job);

}  // namespace kal
