#pragma once
// Paraboloid jobs for the tests and benchmarks of the paraboloid flow: the nominal surface is the
// dish z = r²/(4f), profiled with a vertex every 0.5 mm up to a radius of 400 mm; the MCS points
// lie on it between two radii at random azimuths, carried into the MCS by a known transformation
// (MCS = Rᵀ·(OCS - T), x-y'-z'' rotation), with optional normal noise on the MCS coordinates. As
// after loading, each OCS point is the foot point of its raw MCS point.
#include <cmath>
#include <cstdint>
#include <random>

#include "KnownTransformJob.h"
#include "engine/FootPoint.h"
#include "shared/JobState.h"
#include "shared/Matrix.h"
#include "shared/Rotations.h"

namespace kal::testing {

struct DishRecipe {
    double focal = 100.0;  // f of z = r²/(4f), mm
    std::int32_t points = 24;
    KnownTransform truth;  // OCS = T + R·MCS (scale 1)
    double noise = 0.0;    // σ of the MCS noise per coordinate, mm
    double innerRadius = 20.0, outerRadius = 400.0;
    std::uint64_t seed = 9;
};

inline Matrix dishProfile(double focal) {
    const std::int32_t rows = 801;
    Matrix profile(rows, 2);
    for (std::int32_t i = 1; i <= rows; ++i) {
        const double r = 0.5 * (i - 1);
        profile(i, 1) = r;
        profile(i, 2) = r * r / (4 * focal);
    }
    return profile;
}

inline JobState makeDishJob(const DishRecipe& recipe) {
    JobState job;
    setMillimetreDegree(job);
    const std::int32_t n = recipe.points;
    sizeIdentical(job, n);
    job.ShapeProfile = dishProfile(recipe.focal);
    Matrix M(3, 3);
    matFromAnglesXYZ(recipe.truth.rot[0], recipe.truth.rot[1], recipe.truth.rot[2], M);
    std::mt19937_64 rng(recipe.seed);
    std::uniform_real_distribution<double> radius(recipe.innerRadius, recipe.outerRadius),
        azimuth(-M_PI, M_PI);
    std::normal_distribution<double> noise(0.0, 1.0);
    for (std::int32_t k = 1; k <= n; ++k) {
        const double r = radius(rng), phi = azimuth(rng);
        const double o[3] = {r * std::cos(phi), r * std::sin(phi), r * r / (4 * recipe.focal)};
        double m[3] = {0, 0, 0};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) m[i] += M(j + 1, i + 1) * (o[j] - recipe.truth.tra[j]);
        if (recipe.noise > 0.0)
            for (double& c : m) c += recipe.noise * noise(rng);
        const auto kz = static_cast<std::size_t>(k);
        job.MCS_X.set(k, m[0]);
        job.MCS_Y.set(k, m[1]);
        job.MCS_Z[kz] = m[2];
        job.MCSt_X.set(k, m[0]);
        job.MCSt_Y.set(k, m[1]);
        job.MCSt_Z[kz] = m[2];
        double f[3];
        paraboloidFootPoint(job.ShapeProfile, m[0], m[1], m[2], f[0], f[1], f[2]);
        job.OCS_X.set(k, f[0]);
        job.OCS_Y.set(k, f[1]);
        job.OCS_Z[kz] = f[2];
    }
    job.SeedPointIndex = {0, 1, 2, 3};
    job.SeedPointNames = {"", "P1", "P2", "P3"};
    job.ScaleX() = job.ScaleY() = job.ScaleZ() = job.ScaleXYZ() = 1.0;
    job.MaxIteration = 100;
    job.NormMode = kNormL2;
    job.ParaboloidMode = true;
    job.TrafoFormGeladen = true;
    job.RichtungMCStoOCS = true;
    job.DataLoaded = true;
    return job;
}

}  // namespace kal::testing
