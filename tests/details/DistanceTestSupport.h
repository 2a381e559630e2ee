#pragma once
// Jobs for the distance analysis tests: identical points given by their MCS and OCS coordinates,
// the transformed set a copy of the MCS, units millimetres with three decimals.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "shared/JobState.h"

namespace kal::testing {

struct PointPair {
    std::string name;
    double mx, my, mz;
    double ox, oy, oz;
};

inline JobState distanceJob(const std::vector<PointPair>& points) {
    JobState job;
    const auto n = static_cast<std::int32_t>(points.size());
    job.IdenticalCount = job.McsCount = job.OcsCount = n;
    job.MCS_Name.assign(points.size() + 1, std::string());
    job.OCS_Name.assign(points.size() + 1, std::string());
    job.MCS_X = TaggedArray(n), job.MCS_Y = TaggedArray(n), job.MCS_Z.assign(points.size() + 1, 0.0);
    job.OCS_X = TaggedArray(n), job.OCS_Y = TaggedArray(n), job.OCS_Z.assign(points.size() + 1, 0.0);
    for (std::int32_t k = 1; k <= n; ++k) {
        const PointPair& p = points[static_cast<std::size_t>(k - 1)];
        const auto u = static_cast<std::size_t>(k);
        job.MCS_Name[u] = job.OCS_Name[u] = p.name;
        job.MCS_X.set(k, p.mx), job.MCS_Y.set(k, p.my), job.MCS_Z[u] = p.mz;
        job.OCS_X.set(k, p.ox), job.OCS_Y.set(k, p.oy), job.OCS_Z[u] = p.oz;
    }
    job.MCSt_Name = job.MCS_Name;
    job.MCSt_X = job.MCS_X, job.MCSt_Y = job.MCS_Y, job.MCSt_Z = job.MCS_Z;
    job.sizeDerivedArrays(1);
    job.DataLoaded = n > 0;
    job.LengthFactor = 1.0;
    job.LengthFormat = "0.000";
    job.ScaleFormat = "0.0000000";
    return job;
}

// `n` points spread over about 10 m, the OCS the MCS scaled by (1 + ppm * 1e-6), shifted, and
// disturbed by up to `noise` mm; seeded, so every run sees the same points.
inline std::vector<PointPair> scaledCloud(std::int32_t n, double ppm, double noise = 0.0, unsigned seed = 7) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> coord(-5000.0, 5000.0), jitter(-1.0, 1.0);
    const double s = 1.0 + ppm * 1e-6;
    std::vector<PointPair> points;
    for (std::int32_t k = 1; k <= n; ++k) {
        const double x = coord(rng), y = coord(rng), z = coord(rng) / 5;
        points.push_back({"P" + std::to_string(k), x, y, z, s * x + 100.0 + noise * jitter(rng),
                          s * y - 250.0 + noise * jitter(rng), s * z + 30.0 + noise * jitter(rng)});
    }
    return points;
}

}  // namespace kal::testing
