// A calculated job of identical points spread through a 1 m cube, for the graphics benchmarks:
// half of `rows` MCS sides, half OCS sides, the MCS sides off by deviations of about 0.1 mm, all
// points and their deviation vectors shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

#include "shared/JobState.h"

namespace kal::bench {

inline JobState deviationCubeJob(std::int32_t rows) {
    const std::int32_t n = rows / 2;
    JobState job;
    job.IdenticalCount = job.McsCount = job.OcsCount = n;
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> u(0.0, 1000.0);
    std::normal_distribution<double> g(0.0, 0.1);
    job.MCS_Name.assign(static_cast<std::size_t>(n) + 1, std::string());
    job.OCS_Name = job.MCS_Name;
    job.MCS_X = job.OCS_X = TaggedArray(n);
    job.MCS_Y = job.OCS_Y = TaggedArray(n);
    job.MCS_Z.assign(static_cast<std::size_t>(n) + 1, 0.0);
    job.OCS_Z = job.MCS_Z;
    for (std::int32_t i = 1; i <= n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        job.MCS_Name[k] = job.OCS_Name[k] = "P" + std::to_string(i);
        const double x = u(rng), y = u(rng), z = u(rng);
        job.OCS_X.set(i, x), job.OCS_Y.set(i, y), job.OCS_Z[k] = z;
        job.MCS_X.set(i, x + g(rng)), job.MCS_Y.set(i, y + g(rng)), job.MCS_Z[k] = z + g(rng);
    }
    job.MCSt_Name = job.MCS_Name;
    job.MCSt_X = job.MCS_X, job.MCSt_Y = job.MCS_Y, job.MCSt_Z = job.MCS_Z;
    job.sizeDerivedArrays(1);
    auto& f = job.GraphicsFlags;
    f.ViewAllMCS = f.ViewAllOCS = f.ViewAllonlyMCS = f.ViewAllonlyOCS = f.DevVecDirection = true;
    job.TrafoCalculated = true;
    return job;
}

}  // namespace kal::bench
