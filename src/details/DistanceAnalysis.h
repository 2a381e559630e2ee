#pragma once
// The distance and scale analysis (Distance_Calculation): every pair of identical points compared
// in both systems. For the pair (i, j) the MCS distance dM (from the MCS as loaded, or from the MCS
// transformed into the OCS "with calibration"), the OCS distance dO, delta s = dO - dM and the
// scale dO / (dM + 1e-10); per point the largest and smallest delta s and scale over the other
// points, each with the first point (ascending j) where it occurs, and the means of |delta s| and
// of the scale.
//
// Exactness. Distances are computed in double precision. delta s and the scale are taken from the
// double distances and then rounded to single precision as they are kept (a difference of two
// rounded distances would be quantised to about 1 um at 10 m, the size of the errors looked for).
// The extremes compare those single values strictly, so among equal ones the first j names it. The
// means are summed in double precision. The 1e-10 keeps two coincident MCS points from dividing by
// zero: their scale is about dO * 1e10, or 0 when the OCS points coincide too.
//
// Cost. n(n-1)/2 distance pairs, each used for both of its rows (the result is the same as
// computing (i, j) and (j, i) apart): 5 * 10^7 pairs at 10^4 points. Memory O(n): the pair table
// (TrumpetPairs) is not stored. The analysis keeps a snapshot of the coordinates and the mode it
// ran on, from which any pair is recomputed exactly (trumpetPair) for the trumpet graph and the
// export, however the job changes afterwards.
//
// Long work. The loop lets events through at most every `interval`, shows its progress and ends
// when Stop is pressed; a stopped analysis returns nothing, so the caller keeps its previous table.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/EventPump.h"
#include "platform/Progress.h"
#include "shared/JobState.h"

namespace kal {

inline constexpr const char* kDistanceAnalysisCaption = "Distance Scale";

// The coordinates of the identical points 1..n at one moment (the snapshot of TrumpetPairs): index
// k - 1 holds point k.
struct DistanceSnapshot {
    bool withCalibration = true;     // WithCalibration: the MCS side is MCSt (transformed) when true
    std::vector<std::string> names;  // MCS_Name
    std::vector<double> mcsX, mcsY, mcsZ;
    std::vector<double> ocsX, ocsY, ocsZ;

    std::int32_t count() const { return static_cast<std::int32_t>(names.size()); }
};

// The copy of the job's identical points for an analysis in the given mode. Throws
// std::invalid_argument when the point arrays are shorter than IdenticalCount (with calibration:
// the transformed set) and NumericError for a coordinate that is not finite.
DistanceSnapshot takeDistanceSnapshot(const JobState& job, bool withCalibration);

// One pair of identical points (TrumpetPair; its names are the snapshot's names of i and j), in
// millimetres.
struct TrumpetPair {
    float DistMCS = 0;
    float DistOCS = 0;
    float DeltaS = 0;  // DistOCS - DistMCS, from the double distances
    float scale = 0;   // DistOCS / (DistMCS + 1e-10), from the double distances
};

// The distances of points a and b (0-based) in double precision, MCS side first. The squared
// differences are the same for (a, b) and (b, a), so both directions give the same bits.
inline void pairDistances(const DistanceSnapshot& p, std::size_t a, std::size_t b, double& dM, double& dO) {
    const double mx = p.mcsX[a] - p.mcsX[b], my = p.mcsY[a] - p.mcsY[b], mz = p.mcsZ[a] - p.mcsZ[b];
    const double ox = p.ocsX[a] - p.ocsX[b], oy = p.ocsY[a] - p.ocsY[b], oz = p.ocsZ[a] - p.ocsZ[b];
    dM = std::sqrt(mx * mx + my * my + mz * mz);
    dO = std::sqrt(ox * ox + oy * oy + oz * oz);
}

// The scale of a pair: 1e-10 keeps coincident MCS points from dividing by zero.
inline double pairScale(double dM, double dO) { return dO / (dM + 1e-10); }

// The pair from point i to point j of the snapshot (1-based, i != j); the same numbers for (j, i).
inline TrumpetPair trumpetPair(const DistanceSnapshot& points, std::int32_t i, std::int32_t j) {
    double dM, dO;
    pairDistances(points, static_cast<std::size_t>(i - 1), static_cast<std::size_t>(j - 1), dM, dO);
    return {static_cast<float>(dM), static_cast<float>(dO), static_cast<float>(dO - dM),
            static_cast<float>(pairScale(dM, dO))};
}

// The OCS distance and delta s of the pair (i, j) alone, as trumpetPair gives them (the trumpet
// graph needs no scale).
inline void trumpetDistanceAndDeltaS(const DistanceSnapshot& points, std::int32_t i, std::int32_t j,
                                     float& distOcs, float& deltaS) {
    double dM, dO;
    pairDistances(points, static_cast<std::size_t>(i - 1), static_cast<std::size_t>(j - 1), dM, dO);
    distOcs = static_cast<float>(dO);
    deltaS = static_cast<float>(dO - dM);
}

// One row of the result table. With no other point (n = 1) the row has no pairs and shows only its
// name. A extreme that no pair of the row beat keeps its start value and the name the row above
// left (as the names are carried from row to row); index 0 names no point.
struct DistanceRow {
    bool hasPairs = false;
    float maxDeltaS = -1e8f, minDeltaS = 1e9f, maxScale = -1e9f, minScale = 1e9f;
    std::int32_t maxDeltaSAt = 0, minDeltaSAt = 0, maxScaleAt = 0, minScaleAt = 0;
    double meanAbsDeltaS = 0;  // millimetres
    double meanScale = 0;
};

// The extremes over the unordered pairs that the trumpet graph scales its picture by, with their
// start values: the largest DistOCS and the largest and smallest DeltaS.
struct PairExtremes {
    float largestDistOcs = -1e8f;
    float largestDeltaS = -1e8f;
    float smallestDeltaS = 1e8f;
    bool operator==(const PairExtremes&) const = default;
};

struct DistanceAnalysis {
    DistanceSnapshot points;        // what the pairs are computed from
    std::vector<DistanceRow> rows;  // row of point k at index k - 1
    PairExtremes extremes;          // gathered on the way, so the trumpet graph needs one pass
};

struct DistanceAnalysisServices {
    platform::EventPump* events = nullptr;   // let through at most every `interval`
    platform::Progress* progress = nullptr;  // the progress window and its Stop
    std::chrono::milliseconds interval{40};
};

// Runs the analysis over `points`; nullopt when Stop ended it.
std::optional<DistanceAnalysis> analyseDistances(DistanceSnapshot points,
                                                 const DistanceAnalysisServices& services = {});

}  // namespace kal
