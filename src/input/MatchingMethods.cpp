#include "input/MatchingMethods.h"

#include <filesystem>
#include <stdexcept>

#include "input/EttaPrompt.h"
#include "input/PairNaming.h"
#include "input/PointFileIo.h"
#include "input/PointFileRewrite.h"
#include "shared/Errors.h"
#include "shared/TextEncoding.h"

namespace kal {

namespace {

bool refuseNonAscii(const MatchingRequest& request, platform::Prompter& prompter) {
    if (request.ocsFormat == kOcsAscii) return false;
    prompter.message(kGeometryNeedsAscii);
    return true;
}

PointCoords coordsOf(const PointSet& set) { return {set.x, set.y, set.z}; }
MatchSet matchSet(PointSet& set) { return {set.names, coordsOf(set)}; }

void addPrefixes(PointSet& mcs, PointSet& ocs) {
    addNamePrefix(mcs.names, "MCS_");
    addNamePrefix(ocs.names, "OCS_");
}

struct PendingRewrite {
    std::string path;
    std::string bytes;
};

// The new bytes of a file, in the encoding it was read in (with its byte-order mark). When that is
// Windows-1252 and a name does not fit it, UTF-8: a name is never turned into "?".
PendingRewrite prepareRewrite(const std::string& path, const PointSet& set, const MatchingRequest& request) {
    const DecodedText original = decodeText(readFileBytes(path));
    const std::string text =
        rewrittenPointText(set.names, set.x, set.y, set.z, request.fileDelimiter, request.lengthFactor);
    bool lossy = false;
    std::string bytes = encodeText(text, original.encoding, original.byteOrderMark, &lossy);
    if (lossy) bytes = encodeText(text, TextEncoding::Utf8, original.byteOrderMark);
    return {path, std::move(bytes)};
}

}  // namespace

MatchingOutcome matchByCoordinates(PointSet& mcs, PointSet& ocs, const MatchingRequest& request,
                                   platform::Prompter& prompter) {
    MatchingOutcome outcome;
    if (refuseNonAscii(request, prompter)) {
        outcome.loadEnds = true;
        return outcome;
    }
    outcome.unitScales = true;
    const auto etta = askEtta(prompter, MatchingMethod::ByCoordinates);
    if (!etta) {
        outcome.loadEnds = true;
        return outcome;
    }
    PairRenaming renaming = PairRenaming::Joined;
    if (request.renameMcs)
        renaming = PairRenaming::McsTakesOcs;
    else if (request.renameOcs)
        renaming = PairRenaming::OcsTakesMcs;
    else
        addPrefixes(mcs, ocs);
    outcome.identicalCount = pairNearestPoints(coordsOf(mcs), matchSet(mcs), matchSet(ocs), *etta, renaming);
    if (renaming == PairRenaming::Joined) return outcome;

    // Rewriting a file whose names clash would leave the user a file the next load refuses.
    for (const auto* set : {&mcs, &ocs}) {
        if (const auto name = firstDoubleName(set->names)) {
            prompter.message(std::string("There might be a double Pointnumber in the ") +
                             (set == &mcs ? "MCS" : "OCS") + " File. \nPlease check Point Number " + *name);
            outcome.loadEnds = true;
            return outcome;
        }
    }
    std::vector<PendingRewrite> rewrites;
    try {
        if (request.renameMcs) rewrites.push_back(prepareRewrite(request.mcsFileName, mcs, request));
        if (request.renameOcs) rewrites.push_back(prepareRewrite(request.ocsFileName, ocs, request));
        for (const auto& r : rewrites) {
            try {
                outcome.backups.push_back(replaceFileKeepingBackup(r.path, r.bytes));
                outcome.rewrittenFiles.push_back(r.path);
            } catch (...) {
                // Put back a file rewritten before this one: all files stay as they were.
                for (std::size_t k = 0; k < outcome.rewrittenFiles.size(); ++k) {
                    std::error_code ignored;
                    std::filesystem::rename(outcome.backups[k], outcome.rewrittenFiles[k], ignored);
                }
                throw;
            }
        }
    } catch (const std::exception& e) {
        prompter.message(
            std::string("The point names could not be written back; the files are unchanged.\n") + e.what());
        outcome.loadEnds = true;
        outcome.rewrittenFiles.clear();
        outcome.backups.clear();
    }
    return outcome;
}

MatchingOutcome matchByDistances(PointSet& mcs, PointSet& ocs, const MatchingRequest& request,
                                 const JobState& job, const AutoFindServices& services) {
    MatchingOutcome outcome;
    if (!services.prompter) throw std::invalid_argument("matchByDistances needs a prompter");
    if (refuseNonAscii(request, *services.prompter)) {
        outcome.loadEnds = true;
        return outcome;
    }
    const auto etta = askEtta(*services.prompter, MatchingMethod::ByDistances);
    if (!etta) {
        outcome.loadEnds = true;
        return outcome;
    }
    addPrefixes(mcs, ocs);
    try {
        const auto found =
            autoFindPoints(matchSet(mcs), matchSet(ocs), *etta, request.ocsLimit, job, services);
        outcome.identicalCount = found.identicalCount;
        outcome.seed = found.seed;
        outcome.stopped = found.status == AutoFindResult::Status::Stopped;
    } catch (const std::exception& e) {
        services.prompter->message(std::string("The automatic matching failed: ") + e.what());
        outcome.loadEnds = true;
    }
    return outcome;
}

void applyMatchingOutcome(const MatchingOutcome& outcome, JobState& job) {
    if (outcome.unitScales) job.ScaleX() = job.ScaleY() = job.ScaleZ() = 1.0;
    if (const auto& s = outcome.seed) {
        job.TraX() = s->TraX, job.TraY() = s->TraY, job.TraZ() = s->TraZ;
        job.RotXSeed = s->RotXSeed, job.RotYSeed = s->RotYSeed, job.RotZSeed = s->RotZSeed;
        job.ScaleX() = s->ScaleX, job.ScaleY() = s->ScaleY, job.ScaleZ() = s->ScaleZ;
        job.SeedPointIndex = {0, 1, 2, 3};
    }
}

}  // namespace kal
