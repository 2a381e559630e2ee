#include "input/AutoFindPts.h"

#include "engine/SeedSolution.h"
#include "engine/TransformModel.h"
#include "input/CoordinateMatching.h"

namespace kal {

std::int32_t pairNearestPoints(const PointCoords& mcsCompared, MatchSet mcs, MatchSet ocs, float etta,
                               PairRenaming renaming) {
    const auto partner = findCoordinatePartners(mcsCompared, ocs.coords, etta);
    return namePairs(partner, mcs.names, ocs.names, renaming);
}

SeedTransformation seedFromCandidates(const PointCoords& mcs, const PointCoords& ocs,
                                      const std::array<AutoFindCandidate, 3>& chosen, const JobState& job,
                                      SeedValueSource* seedValues) {
    JobState seedJob = job;
    // The three segment midpoints as the only points, all identical, all seed points.
    seedJob.MCS_Name.assign(4, std::string());
    seedJob.OCS_Name.assign(4, std::string());
    seedJob.MCS_X = TaggedArray(3), seedJob.MCS_Y = TaggedArray(3), seedJob.MCS_Z.assign(4, 0.0);
    seedJob.OCS_X = TaggedArray(3), seedJob.OCS_Y = TaggedArray(3), seedJob.OCS_Z.assign(4, 0.0);
    auto mid = [](std::span<const double> v, std::int32_t a, std::int32_t b) { return (v[a] + v[b]) / 2; };
    for (std::int32_t s = 1; s <= 3; ++s) {
        const auto& c = chosen[static_cast<std::size_t>(s - 1)];
        seedJob.MCS_X.set(s, mid(mcs.x, c.mcsI, c.mcsJ));
        seedJob.MCS_Y.set(s, mid(mcs.y, c.mcsI, c.mcsJ));
        seedJob.MCS_Z[static_cast<std::size_t>(s)] = mid(mcs.z, c.mcsI, c.mcsJ);
        seedJob.OCS_X.set(s, mid(ocs.x, c.ocsI, c.ocsJ));
        seedJob.OCS_Y.set(s, mid(ocs.y, c.ocsI, c.ocsJ));
        seedJob.OCS_Z[static_cast<std::size_t>(s)] = mid(ocs.z, c.ocsI, c.ocsJ);
    }
    seedJob.McsCount = seedJob.OcsCount = seedJob.IdenticalCount = 3;
    seedJob.McsOnlyCount = seedJob.OcsOnlyCount = 0;
    seedJob.SeedPointIndex = {0, 1, 2, 3};
    seedJob.UseFlags.assign(10, 1);
    seedJob.RawScale = 1;
    // The rotation goes through the parameter block, so that the calculation window's seed and
    // fixed values (which it writes there, refreshing the working copy) and the computed angles
    // end up in one place; the job keeps its own RotX..RotZ.
    calculateSeed(seedJob, seedJob.TraX(), seedJob.TraY(), seedJob.TraZ(), seedJob.RotX(), seedJob.RotY(),
                  seedJob.RotZ(), seedJob.ScaleX(), seedJob.ScaleY(), seedJob.ScaleZ(), seedValues);
    return {seedJob.TraX(), seedJob.TraY(),   seedJob.TraZ(),   seedJob.RotX(),  seedJob.RotY(),
            seedJob.RotZ(), seedJob.ScaleX(), seedJob.ScaleY(), seedJob.ScaleZ()};
}

std::string autoFindTooManyPointsMessage(std::int32_t ocsPoints) {
    return "The automatic matching compares the distances of every pair of OCS points and takes at most " +
           std::to_string(kMaxPairTablePoints) + " OCS points; this OCS holds " + std::to_string(ocsPoints) +
           ". Use only the first points of the OCS, or match by names or by coordinates.";
}

AutoFindResult autoFindPoints(MatchSet mcs, MatchSet ocs, float etta, std::optional<std::int32_t> ocsLimit,
                              const JobState& job, const AutoFindServices& services) {
    AutoFindResult result;
    std::int32_t m = ocs.coords.count();
    if (ocsLimit && *ocsLimit >= 0 && *ocsLimit < m) m = *ocsLimit;
    if (m > kMaxPairTablePoints) {
        if (services.prompter) services.prompter->message(autoFindTooManyPointsMessage(m));
        return result;
    }
    // The progress window opens before the OCS pair table is built: a large table takes a while,
    // and Cancel ends its build too.
    platform::ProgressScope window(services.progress, kAutoFindCaption);
    platform::ThrottledPump pump(services.events, services.interval);
    const OcsPairTable ocsPairs(ocs.coords.first(m), [&] {
        pump.poll();
        return window.stopRequested();
    });
    if (ocsPairs.stopped()) {
        result.status = AutoFindResult::Status::Stopped;
        return result;
    }
    auto search = findAutoFindCandidates(mcs.coords, ocsPairs, etta, &pump, services.progress);
    result.candidates = std::move(search.candidates);
    if (search.stopped) {
        result.status = AutoFindResult::Status::Stopped;
        return result;
    }
    // Two midpoints of one segment, or three in a line, fix no rotation: such a seed can put the
    // MCS anywhere (translations of 10^13 mm), so it is never used.
    const auto choice = chooseSoundSeedCandidates(result.candidates, mcs.coords, ocs.coords.first(m), etta);
    if (!choice) {
        if (services.prompter) services.prompter->message(kAutoFindFailed);
        return result;
    }
    const std::array<AutoFindCandidate, 3> chosen{result.candidates[static_cast<std::size_t>((*choice)[0])],
                                                  result.candidates[static_cast<std::size_t>((*choice)[1])],
                                                  result.candidates[static_cast<std::size_t>((*choice)[2])]};
    const SeedTransformation seed =
        seedFromCandidates(mcs.coords, ocs.coords, chosen, job, services.seedValues);
    if (window.stopRequested()) {
        result.status = AutoFindResult::Status::Stopped;
        return result;
    }

    // The MCS points placed into the OCS by the seed, then paired by coordinates.
    JobState seeded;  // the transformation alone: the job's shape angles with the seed
    seeded.Params = job.Params;
    seeded.TraX() = seed.TraX, seeded.TraY() = seed.TraY, seeded.TraZ() = seed.TraZ;
    seeded.RotXSeed = seed.RotXSeed, seeded.RotYSeed = seed.RotYSeed, seeded.RotZSeed = seed.RotZSeed;
    seeded.ScaleX() = seed.ScaleX, seeded.ScaleY() = seed.ScaleY, seeded.ScaleZ() = seed.ScaleZ;
    const PointTransform transform(seeded);
    const std::int32_t n = mcs.coords.count();
    std::vector<double> tx(n + 1, 0.0), ty(n + 1, 0.0), tz(n + 1, 0.0);
    for (std::int32_t i = 1; i <= n; ++i)
        transform.apply(mcs.coords.x[i], mcs.coords.y[i], mcs.coords.z[i], tx[i], ty[i], tz[i]);
    result.identicalCount = pairNearestPoints({tx, ty, tz}, mcs, ocs, etta, PairRenaming::Joined);
    result.seed = seed;
    result.status = AutoFindResult::Status::Paired;
    return result;
}

}  // namespace kal
