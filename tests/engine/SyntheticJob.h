#pragma once
// Synthetic jobs for the engine tests and benchmarks: MCS points spread in a box and OCS points that
// the model maps them to exactly, with known parameters.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <utility>

#include "engine/ParameterStates.h"
#include "engine/TransformModel.h"
#include "shared/Constants.h"
#include "shared/JobState.h"

namespace kal::testing {

// Units as a new job sets them: millimetre and degree.
inline void setDefaultUnits(JobState& job) {
    job.LengthUnitName = "millimeter";
    job.AngleUnitName = "degree";
    job.LengthFactor = 1.0;
    job.AngleFactor = 180 / kPi;
    job.LengthFormat = "0.000";
    job.AngleFormat = "0.0000";
    job.ScaleFormat = "0.000000";
    job.MaxIteration = 100;
    job.IterationThreshold = 0;
    job.RawScale = 2;
}

// A parameter block with unit scales and nothing else set.
inline std::array<double, kParamCount + 1> identityParams() {
    std::array<double, kParamCount + 1> p{};
    p[kScaleX] = p[kScaleY] = p[kScaleZ] = p[kScaleXYZ] = 1.0;
    return p;
}

// n identical points: MCS in a box of ±halfSize around `centre`, OCS = T + R·K·S·MCS with `truth`
// (the rotation taken as the working copy). Seed points 1, 2, 3, all use flags 1. The job's own
// parameters are left at the identity.
inline JobState makeJob(std::int32_t n, const std::array<double, kParamCount + 1>& truth,
                        double halfSize = 500.0, std::uint64_t seed = 7, double centre = 0.0) {
    JobState job;
    setDefaultUnits(job);
    job.IdenticalCount = job.McsCount = job.OcsCount = n;
    job.MCS_Name.assign(static_cast<std::size_t>(n + 1), std::string());
    job.OCS_Name.assign(static_cast<std::size_t>(n + 1), std::string());
    job.MCS_X.resize(n);
    job.MCS_Y.resize(n);
    job.MCS_Z.assign(static_cast<std::size_t>(n + 1), 0.0);
    job.OCS_X.resize(n);
    job.OCS_Y.resize(n);
    job.OCS_Z.assign(static_cast<std::size_t>(n + 1), 0.0);
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> u(-halfSize, halfSize);
    JobState model;
    model.Params = truth;
    model.RotXSeed = truth[kRotX];
    model.RotYSeed = truth[kRotY];
    model.RotZSeed = truth[kRotZ];
    const PointTransform t(model);
    for (std::int32_t i = 1; i <= n; ++i) {
        const double x = centre + u(rng), y = centre + u(rng), z = centre + u(rng);
        job.MCS_Name[static_cast<std::size_t>(i)] = std::string("P").append(std::to_string(i));
        job.OCS_Name[static_cast<std::size_t>(i)] = job.MCS_Name[static_cast<std::size_t>(i)];
        job.MCS_X.set(i, x);
        job.MCS_Y.set(i, y);
        job.MCS_Z[static_cast<std::size_t>(i)] = z;
        double xo, yo, zo;
        t.apply(x, y, z, xo, yo, zo);
        job.OCS_X.set(i, xo);
        job.OCS_Y.set(i, yo);
        job.OCS_Z[static_cast<std::size_t>(i)] = zo;
    }
    job.sizeDerivedArrays(1);
    job.SeedPointIndex = {0, 1, 2, 3};
    job.Params = identityParams();
    return job;
}

// Moves every OCS point by `r` along its own random direction: the points lie on spheres of radius
// r around the transformed MCS points (R Dist data).
inline void onSpheres(JobState& job, double r, std::uint64_t seed = 3) {
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> g;
    for (std::int32_t i = 1; i <= job.IdenticalCount; ++i) {
        const double u[3] = {g(rng), g(rng), g(rng)};
        const double len = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
        job.OCS_X.set(i, job.OCS_X[i] + r * u[0] / len);
        job.OCS_Y.set(i, job.OCS_Y[i] + r * u[1] / len);
        job.OCS_Z[static_cast<std::size_t>(i)] += r * u[2] / len;
    }
}

// States: the listed slots "float", every other slot the given fixed text ("0" by default, "1" on
// the scale rows, "not used" where listed).
inline ParamStates statesWith(std::initializer_list<int> floats,
                              std::initializer_list<std::pair<int, std::string>> fixed = {}) {
    ParamStates s;
    for (int k = 1; k <= kParamCount; ++k)
        s[static_cast<std::size_t>(k)] = std::string((k >= kScaleX && k <= kScaleXYZ) ? "1" : "0");
    s[kScaleXYZ] = "not used";
    for (int k : floats) s[static_cast<std::size_t>(k)] = "float";
    for (const auto& [k, text] : fixed) s[static_cast<std::size_t>(k)] = text;
    return s;
}

// How far the solved transformation moves the MCS points from where the true one puts them: the
// largest coordinate difference over the identical points (mm).
inline double largestPointError(const JobState& solved, const std::array<double, kParamCount + 1>& truth) {
    JobState a = solved, b = solved;
    a.RotXSeed = a.RotX(), a.RotYSeed = a.RotY(), a.RotZSeed = a.RotZ();
    b.Params = truth;
    b.RotXSeed = b.RotX(), b.RotYSeed = b.RotY(), b.RotZSeed = b.RotZ();
    const PointTransform ta(a), tb(b);
    double worst = 0;
    for (std::int32_t i = 1; i <= solved.IdenticalCount; ++i) {
        double x1, y1, z1, x2, y2, z2;
        const double x = solved.MCS_X[i], y = solved.MCS_Y[i], z = solved.MCS_Z[static_cast<std::size_t>(i)];
        ta.apply(x, y, z, x1, y1, z1);
        tb.apply(x, y, z, x2, y2, z2);
        worst = std::max({worst, std::fabs(x1 - x2), std::fabs(y1 - y2), std::fabs(z1 - z2)});
    }
    return worst;
}

}  // namespace kal::testing
