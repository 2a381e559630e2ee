#include "details/DistanceAnalysis.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "details/ProgressPump.h"
#include "shared/Errors.h"

namespace kal {

namespace {

struct PairValues {
    double dM, dO;
};

inline PairValues distancesOf(const DistanceSnapshot& p, std::size_t a, std::size_t b) {
    PairValues d;
    pairDistances(p, a, b, d.dM, d.dO);
    return d;
}

inline double scaleOf(const PairValues& d) { return pairScale(d.dM, d.dO); }

struct RowSums {
    double absDeltaS = 0;
    double scale = 0;
};

inline void takePair(DistanceRow& row, RowSums& sums, std::int32_t other, float deltaS, float scale,
                     double exactDeltaS, double exactScale) {
    if (deltaS > row.maxDeltaS) row.maxDeltaS = deltaS, row.maxDeltaSAt = other;
    if (deltaS < row.minDeltaS) row.minDeltaS = deltaS, row.minDeltaSAt = other;
    if (scale > row.maxScale) row.maxScale = scale, row.maxScaleAt = other;
    if (scale < row.minScale) row.minScale = scale, row.minScaleAt = other;
    sums.absDeltaS += std::fabs(exactDeltaS);
    sums.scale += exactScale;
}

}  // namespace

DistanceSnapshot takeDistanceSnapshot(const JobState& job, bool withCalibration) {
    const std::int32_t n = job.IdenticalCount;
    if (n < 0) throw std::invalid_argument("negative count of identical points");
    const auto need = static_cast<std::size_t>(n) + 1;
    const bool mcsFits = withCalibration
                             ? job.MCSt_X.upper() >= n && job.MCSt_Y.upper() >= n && job.MCSt_Z.size() >= need
                             : job.MCS_X.upper() >= n && job.MCS_Y.upper() >= n && job.MCS_Z.size() >= need;
    if (!mcsFits || job.MCS_Name.size() < need || job.OCS_X.upper() < n || job.OCS_Y.upper() < n ||
        job.OCS_Z.size() < need)
        throw std::invalid_argument(
            "The point sets do not hold every identical point; nothing was analysed.");
    DistanceSnapshot s;
    s.withCalibration = withCalibration;
    s.names.reserve(need - 1);
    for (auto* v : {&s.mcsX, &s.mcsY, &s.mcsZ, &s.ocsX, &s.ocsY, &s.ocsZ}) v->reserve(need - 1);
    for (std::int32_t k = 1; k <= n; ++k) {
        const auto u = static_cast<std::size_t>(k);
        s.names.push_back(job.MCS_Name[u]);
        s.mcsX.push_back(withCalibration ? job.MCSt_X[k] : job.MCS_X[k]);
        s.mcsY.push_back(withCalibration ? job.MCSt_Y[k] : job.MCS_Y[k]);
        s.mcsZ.push_back(withCalibration ? job.MCSt_Z[u] : job.MCS_Z[u]);
        s.ocsX.push_back(job.OCS_X[k]);
        s.ocsY.push_back(job.OCS_Y[k]);
        s.ocsZ.push_back(job.OCS_Z[u]);
        for (double c :
             {s.mcsX.back(), s.mcsY.back(), s.mcsZ.back(), s.ocsX.back(), s.ocsY.back(), s.ocsZ.back()})
            checkedFinite(c, ("the coordinates of point " + job.MCS_Name[u]).c_str());
    }
    return s;
}

std::optional<DistanceAnalysis> analyseDistances(DistanceSnapshot points,
                                                 const DistanceAnalysisServices& services) {
    const std::int32_t n = points.count();
    DistanceAnalysis result;
    result.rows.assign(static_cast<std::size_t>(n), DistanceRow{});
    std::vector<RowSums> sums(static_cast<std::size_t>(n));
    PairExtremes extremes;

    platform::ProgressScope window(services.progress, kDistanceAnalysisCaption);
    ProgressPump progressPump(window, services.events);
    platform::ThrottledPump pump(&progressPump, services.interval);
    const double totalPairs = 0.5 * n * (n - 1.0);
    double pairsDone = 0;
    // Pairs between two looks at the clock: a few microseconds of work.
    constexpr std::int32_t kChunk = 1024;

    // Each unordered pair once, for both of its rows. Row a hears of its partners b in ascending
    // order: the b < a come from the earlier outer passes, in order, then its own pass.
    for (std::int32_t a = 0; a < n; ++a) {
        DistanceRow& rowA = result.rows[static_cast<std::size_t>(a)];
        RowSums& sumA = sums[static_cast<std::size_t>(a)];
        for (std::int32_t start = a + 1; start < n; start += kChunk) {
            const std::int32_t end = std::min(n, start + kChunk);
            for (std::int32_t b = start; b < end; ++b) {
                const PairValues d =
                    distancesOf(points, static_cast<std::size_t>(a), static_cast<std::size_t>(b));
                const double deltaS = d.dO - d.dM, scale = scaleOf(d);
                const auto deltaS32 = static_cast<float>(deltaS), scale32 = static_cast<float>(scale);
                const auto distOcs32 = static_cast<float>(d.dO);
                if (distOcs32 > extremes.largestDistOcs) extremes.largestDistOcs = distOcs32;
                if (deltaS32 > extremes.largestDeltaS) extremes.largestDeltaS = deltaS32;
                if (deltaS32 < extremes.smallestDeltaS) extremes.smallestDeltaS = deltaS32;
                takePair(rowA, sumA, b + 1, deltaS32, scale32, deltaS, scale);
                takePair(result.rows[static_cast<std::size_t>(b)], sums[static_cast<std::size_t>(b)], a + 1,
                         deltaS32, scale32, deltaS, scale);
            }
            pairsDone += end - start;
            progressPump.percent = static_cast<int>(100.0 * pairsDone / totalPairs);
            pump.poll();
            if (window.stopRequested()) return std::nullopt;
        }
    }
    if (window.stopRequested()) return std::nullopt;

    // Means, and the names carried down the rows: an extreme that no pair of a row beat keeps the
    // name the row above had for it.
    std::int32_t carried[4] = {0, 0, 0, 0};
    for (std::int32_t a = 0; a < n; ++a) {
        DistanceRow& row = result.rows[static_cast<std::size_t>(a)];
        row.hasPairs = n > 1;
        if (row.hasPairs) {
            row.meanAbsDeltaS = sums[static_cast<std::size_t>(a)].absDeltaS / (n - 1);
            row.meanScale = sums[static_cast<std::size_t>(a)].scale / (n - 1);
        }
        std::int32_t* at[4] = {&row.maxDeltaSAt, &row.minDeltaSAt, &row.maxScaleAt, &row.minScaleAt};
        for (int k = 0; k < 4; ++k) {
            if (*at[k] == 0)
                *at[k] = carried[k];
            else
                carried[k] = *at[k];
        }
    }
    window.close();
    result.extremes = extremes;
    result.points = std::move(points);
    return result;
}

}  // namespace kal
