#pragma once
// Jobs built from known transformation parameters, for the calculation's tests and benchmarks:
// MCS points scattered in a box, OCS = T + R·S·MCS (x-y'-z'' rotation, common scale) plus
// optional normal noise and gross outliers. Units millimetre and degree, 3 and 4 decimals.
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "shared/JobState.h"
#include "shared/Matrix.h"
#include "shared/Rotations.h"
#include "shared/Units.h"

namespace kal::testing {

struct KnownTransform {
    double tra[3] = {120.0, -45.0, 30.0};  // mm
    double rot[3] = {0.1, -0.2, 0.3};      // rad
    double scale = 1.0;
};

struct SyntheticRecipe {
    std::int32_t points = 20;
    KnownTransform truth;
    double halfSize = 500.0;             // MCS points in [-halfSize, halfSize]³
    double noise = 0.0;                  // σ of the OCS noise, mm
    std::vector<std::int32_t> outliers;  // points displaced by `outlierSize` in x, y and z
    double outlierSize = 50.0;
    std::uint64_t seed = 1;
};

// OCS point of an MCS point under the known transformation.
inline void applyKnown(const KnownTransform& t, const double in[3], double out[3]) {
    Matrix M(3, 3);
    matFromAnglesXYZ(t.rot[0], t.rot[1], t.rot[2], M);
    for (int i = 0; i < 3; ++i) {
        out[i] = t.tra[i];
        for (int j = 0; j < 3; ++j) out[i] += M(i + 1, j + 1) * t.scale * in[j];
    }
}

// Millimetre and degree with 3 and 4 decimals, scales with 6.
inline void setMillimetreDegree(JobState& job, const char* lengthUnit = "millimeter") {
    job.LengthUnitName = lengthUnit;
    job.AngleUnitName = "degree";
    job.DigitLength = 3;
    job.DigitAngle = 4;
    job.DigitScale = 0;
    applyUnitSettings(job);
}

// Sizes the point arrays of a job with n identical points and no others.
inline void sizeIdentical(JobState& job, std::int32_t n) {
    job.McsCount = job.OcsCount = job.IdenticalCount = n;
    job.MCS_Name.assign(static_cast<std::size_t>(n + 1), std::string());
    job.OCS_Name.assign(static_cast<std::size_t>(n + 1), std::string());
    job.MCS_X.resize(n);
    job.MCS_Y.resize(n);
    job.MCS_Z.assign(static_cast<std::size_t>(n + 1), 0.0);
    job.OCS_X.resize(n);
    job.OCS_Y.resize(n);
    job.OCS_Z.assign(static_cast<std::size_t>(n + 1), 0.0);
    job.sizeDerivedArrays(1);
    for (std::int32_t k = 1; k <= n; ++k) {
        job.MCS_Name[static_cast<std::size_t>(k)] = job.OCS_Name[static_cast<std::size_t>(k)] =
            std::string("P").append(std::to_string(k));
        job.MCSt_Name[static_cast<std::size_t>(k)] = job.MCS_Name[static_cast<std::size_t>(k)];
    }
}

inline JobState makeSyntheticJob(const SyntheticRecipe& recipe) {
    JobState job;
    setMillimetreDegree(job);
    sizeIdentical(job, recipe.points);
    std::mt19937_64 rng(recipe.seed);
    std::uniform_real_distribution<double> box(-recipe.halfSize, recipe.halfSize);
    std::normal_distribution<double> noise(0.0, 1.0);
    for (std::int32_t k = 1; k <= recipe.points; ++k) {
        const double m[3] = {box(rng), box(rng), box(rng)};
        double o[3];
        applyKnown(recipe.truth, m, o);
        for (double& c : o) c += recipe.noise * noise(rng);
        job.MCS_X.set(k, m[0]);
        job.MCS_Y.set(k, m[1]);
        job.MCS_Z[static_cast<std::size_t>(k)] = m[2];
        job.MCSt_X.set(k, m[0]);
        job.MCSt_Y.set(k, m[1]);
        job.MCSt_Z[static_cast<std::size_t>(k)] = m[2];
        job.OCS_X.set(k, o[0]);
        job.OCS_Y.set(k, o[1]);
        job.OCS_Z[static_cast<std::size_t>(k)] = o[2];
    }
    for (std::int32_t k : recipe.outliers) {
        job.OCS_X.set(k, job.OCS_X[k] + recipe.outlierSize);
        job.OCS_Y.set(k, job.OCS_Y[k] - recipe.outlierSize);
        job.OCS_Z[static_cast<std::size_t>(k)] += recipe.outlierSize;
    }
    job.SeedPointIndex = {0, 1, 2, 3};
    job.SeedPointNames = {"", "P1", "P2", "P3"};
    job.ScaleX() = job.ScaleY() = job.ScaleZ() = job.ScaleXYZ() = 1.0;
    job.MaxIteration = 100;
    job.RawScale = 0;
    job.NormMode = kNormL2;
    job.RichtungMCStoOCS = true;
    job.TrafoFormGeladen = true;
    job.DataLoaded = true;
    return job;
}

}  // namespace kal::testing
