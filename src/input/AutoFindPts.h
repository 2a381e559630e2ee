#pragma once
// The two pair searches of the input dialog as the load runs them: `pairNearestPoints`, the pair
// search by coordinates with the naming of the pairs, and `autoFindPoints`, the automatic search by
// distances that seeds a transformation from three matched segments and then pairs by
// coordinates. Both work on the point sets read for the load, before anything of the job changes.
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/SeedValueSource.h"
#include "input/DistanceMatching.h"
#include "input/MatchGeometry.h"
#include "input/PairNaming.h"
#include "platform/Platform.h"
#include "platform/Progress.h"
#include "shared/JobState.h"

namespace kal {

// A point set as the searches see it: the names they may change and the coordinates (1-based).
struct MatchSet {
    std::vector<std::string>& names;
    PointCoords coords;
};

// Pairs each MCS point (compared at `mcsCompared`: its own coordinates, or transformed into the
// OCS) with the nearest OCS point not yet taken within `etta`, names the pairs and returns their
// number (the provisional IdenticalCount) (PaerchenSuchen).
std::int32_t pairNearestPoints(const PointCoords& mcsCompared, MatchSet mcs, MatchSet ocs, float etta,
                               PairRenaming renaming);

// The seed of the automatic search, to become the job's current transformation: translations,
// the working copy of the rotation (RotX..RotZ stay as they are) and the axis scales.
struct SeedTransformation {
    double TraX = 0, TraY = 0, TraZ = 0;
    double RotXSeed = 0, RotYSeed = 0, RotZSeed = 0;
    double ScaleX = 1, ScaleY = 1, ScaleZ = 1;
};

// The seed from three candidates: the midpoints of their MCS and OCS segments as three identical
// points, the seed solution with unit scales (RawScale 1) and, while the calculation window is
// loaded, its seed and fixed values (`seedValues`). Works on a copy of the job; the job is not
// changed.
SeedTransformation seedFromCandidates(const PointCoords& mcs, const PointCoords& ocs,
                                      const std::array<AutoFindCandidate, 3>& chosen, const JobState& job,
                                      SeedValueSource* seedValues);

struct AutoFindResult {
    enum class Status { Paired, NotSolved, Stopped } status = Status::NotSolved;
    std::int32_t identicalCount = 0;
    std::optional<SeedTransformation> seed;  // set when Paired
    std::vector<AutoFindCandidate> candidates;
};

struct AutoFindServices {
    platform::Prompter* prompter = nullptr;  // the "Could not solve" message
    platform::EventPump* events = nullptr;   // let through at most every 50 ms
    platform::Progress* progress = nullptr;  // the progress window, Cancel and its close box
    SeedValueSource* seedValues = nullptr;   // the calculation window's applySeed, while it is loaded
    std::chrono::milliseconds interval{50};
};

// The message when the OCS has more points than the automatic matching takes.
std::string autoFindTooManyPointsMessage(std::int32_t ocsPoints);

inline constexpr const char* kAutoFindCaption = "AutoFind Indentically Points - Progress";
inline constexpr const char* kAutoFindFailed =
    "Could not solve the auto find problem, maybe try changing ETTA Value";

// The automatic search on the (prefixed) point sets (AutoFindPts). `ocsLimit`: only the first that many OCS
// points take part in the distance search (nullopt: all). No sound seed among the candidates
// (fewer than three, or every triple shares a segment or lies in a line; see
// chooseSoundSeedCandidates): the message, no pairs, no seed. A stop: no
// message, no pairs, no seed. Names change only when it pairs, and only by joining: no index is ever put
// before a name, so the names a load gives never depend on what the load before it read.
AutoFindResult autoFindPoints(MatchSet mcs, MatchSet ocs, float etta, std::optional<std::int32_t> ocsLimit,
                              const JobState& job, const AutoFindServices& services);

}  // namespace kal
