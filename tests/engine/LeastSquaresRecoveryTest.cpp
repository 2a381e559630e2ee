// Exact synthetic data with known parameters: the solver recovers them to 1e-10 (relative).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "engine/DesignMatrix.h"
#include "engine/LeastSquares.h"
#include "engine/Sigma.h"
#include "engine/SolverHarness.h"
#include "engine/SyntheticJob.h"
#include "shared/Rotations.h"

namespace kal {
namespace {

using testing::statesWith;

constexpr double kDeg = kPi / 180;

// (R·K)·S of a parameter block, the rotation taken from RotX..RotZ.
WorkMatrix modelMatrix(const std::array<double, kParamCount + 1>& p) {
    JobState j;
    j.Params = p;
    j.RotXSeed = p[kRotX], j.RotYSeed = p[kRotY], j.RotZSeed = p[kRotZ];
    return PointTransform(j).matrix();
}

std::array<double, kParamCount + 1> truthWith(std::initializer_list<std::pair<int, double>> values) {
    auto p = testing::identityParams();
    p[kTraX] = 101.5, p[kTraY] = -48.25, p[kTraZ] = 25;
    p[kRotX] = 0.3, p[kRotY] = -0.2, p[kRotZ] = 0.5;
    for (const auto& [k, v] : values) p[k] = v;
    return p;
}

// Robot angles for every OCS point, and the offset vector turned by them added to the OCS points.
void withOffsetVector(JobState& job, const double rvec[3]) {
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> a(-kPi, kPi);
    job.OcsAngles.resize(job.IdenticalCount, 3);
    Matrix M(3, 3);
    for (std::int32_t i = 1; i <= job.IdenticalCount; ++i) {
        const double A = a(rng), B = a(rng) / 2, C = a(rng);
        job.OcsAngles(i, 1) = A, job.OcsAngles(i, 2) = B, job.OcsAngles(i, 3) = C;
        matFromAnglesXYZ(-C, -B, -A, M);
        job.OCS_X.set(i, job.OCS_X[i] + M(1, 1) * rvec[0] + M(1, 2) * rvec[1] + M(1, 3) * rvec[2]);
        job.OCS_Y.set(i, job.OCS_Y[i] + M(2, 1) * rvec[0] + M(2, 2) * rvec[1] + M(2, 3) * rvec[2]);
        job.OCS_Z[i] += M(3, 1) * rvec[0] + M(3, 2) * rvec[1] + M(3, 3) * rvec[2];
    }
    job.UseAbcMode = true;
}

struct RecoveryCase {
    const char* name;
    std::array<double, kParamCount + 1> truth;
    ParamStates states;
    std::int32_t points = 20;
    std::function<void(JobState&, EngineControls&)> setUp = nullptr;
    bool exact = true;  // the data fit the model exactly (false: a slot held at a wrong value)
};

std::vector<RecoveryCase> recoveryCases() {
    const double rvec[3] = {12.5, -40, 150};
    std::vector<RecoveryCase> cases;
    // No 16-bit limit of 10922 points.
    cases.push_back({"translations and rotations", truthWith({}), statesWith({1, 2, 3, 4, 5, 6}), 11000});
    cases.push_back(
        {"one common scale",
         truthWith({{kScaleX, 1.0005}, {kScaleY, 1.0005}, {kScaleZ, 1.0005}, {kScaleXYZ, 1.0005}}),
         statesWith({1, 2, 3, 4, 5, 6, kScaleXYZ},
                    {{kScaleX, "not used"}, {kScaleY, "not used"}, {kScaleZ, "not used"}})});
    cases.push_back({"three axis scales", truthWith({{kScaleX, 1.001}, {kScaleY, 0.999}, {kScaleZ, 1.002}}),
                     statesWith({1, 2, 3, 4, 5, 6, 7, 8, 9})});
    cases.push_back({"shape angles",
                     truthWith({{kScaleX, 1.001},
                                {kScaleY, 0.999},
                                {kScaleZ, 1.002},
                                {kParXY, 0.01},
                                {kAzimuth, 0.7},
                                {kZtoXY, 0.02}}),
                     statesWith({1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13})});
    cases.push_back({"slots held at their true values", truthWith({{kTraZ, 25}, {kRotY, -10 * kDeg}}),
                     statesWith({1, 2, 4, 6}, {{kTraZ, "25"}, {kRotY, "-10"}})});
    cases.push_back({"slot held at a wrong value", truthWith({{kTraZ, 25}}),
                     statesWith({1, 2, 4, 5, 6}, {{kTraZ, "30"}}), 20, nullptr, false});
    cases.push_back({"R Dist on spheres", truthWith({{kRDist, 5}}), statesWith({1, 2, 3, 4, 5, 6, kRDist}),
                     30, [](JobState& job, EngineControls& c) {
                         testing::onSpheres(job, 5);
                         job.RawScale = 1;  // the seed scales of displaced points would start it far off
                         c.CheckRDist = 1;
                     }});
    cases.push_back({"offset vector", truthWith({{kRvecX, rvec[0]}, {kRvecY, rvec[1]}, {kRvecZ, rvec[2]}}),
                     statesWith({1, 2, 3, 4, 5, 6, kRvecX, kRvecY, kRvecZ}), 30,
                     [rvec](JobState& job, EngineControls& c) {
                         withOffsetVector(job, rvec);
                         c.CheckUseABC = 1;
                         c.TextRDistEnabled = false;
                     }});
    return cases;
}

void expectRelative(double got, double want, const std::string& what) {
    EXPECT_NEAR(got, want, 1e-10 * std::max(1.0, std::fabs(want))) << what;
}

TEST(SolveLeastSquares, RecoversKnownParametersFromExactData) {
    for (const RecoveryCase& c : recoveryCases()) {
        SCOPED_TRACE(c.name);
        JobState job = testing::makeJob(c.points, c.truth);
        testing::SolverHarness h;
        if (c.setUp) c.setUp(job, h.ctx.controls);
        const HelmertOutcome out = h.solve(job, c.states);
        EXPECT_TRUE(out.converged);
        EXPECT_FALSE(out.limitReached);
        EXPECT_LE(out.H3D_Zaehler, 10);
        EXPECT_TRUE(h.prompter.texts().empty());

        // Held slots keep their values exactly.
        for (int k = 1; k <= kParamCount; ++k) {
            const std::string& s = c.states[k];
            if (isNumberText(s) && k != kScaleXYZ && !(k >= kScaleX && k <= kScaleZ) && k < kRDist) {
                const double factor = (k >= kRotX && k <= kRotZ) ? job.AngleFactor : job.LengthFactor;
                EXPECT_EQ(job.Params[k], parameterStateNumber(s) / factor) << "held slot " << k;
            }
        }
        if (!c.exact) {
            // The best fit under the held value: the misclosures are orthogonal to every column.
            Matrix A(3 * c.points, 5), l(3 * c.points, 1);
            buildDesignMatrix(job, h.ctx.controls, c.states, A, l);
            double ll = 0;
            for (std::int32_t r = 1; r <= 3 * c.points; ++r) ll += l(r, 1) * l(r, 1);
            EXPECT_GT(std::sqrt(ll), 1.0);
            for (int col = 1; col <= 5; ++col) {
                double g = 0, aa = 0;
                for (std::int32_t r = 1; r <= 3 * c.points; ++r)
                    g += A(r, col) * l(r, 1), aa += A(r, col) * A(r, col);
                EXPECT_LT(std::fabs(g), 1e-9 * std::sqrt(aa * ll)) << "column " << col;
            }
            continue;
        }

        for (int k = kTraX; k <= kTraZ; ++k) expectRelative(job.Params[k], c.truth[k], "translation");
        const WorkMatrix got = modelMatrix(job.Params), want = modelMatrix(c.truth);
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j) EXPECT_NEAR(got[i][j], want[i][j], 1e-10) << "R·K·S " << i << j;
        for (int k = kScaleX; k <= kScaleZ; ++k) expectRelative(job.Params[k], c.truth[k], "scale");
        if (isFloatState(c.states[kRDist])) expectRelative(job.RDist(), c.truth[kRDist], "R Dist");
        if (isFloatState(c.states[kRvecX]))
            for (int k = kRvecX; k <= kRvecZ; ++k) expectRelative(job.Params[k], c.truth[k], "offset vector");

        double s0, sx, sy, sz;
        if (h.results.DistanceRowCount > 0)
            calculateSigmaDistanceRows(h.results.Residuals, h.results.Weights, h.results.DistanceRowCount, s0,
                                       sx, sy, sz);
        else
            calculateSigma(h.results.Residuals, h.results.Weights, h.results.UnknownCount,
                           h.results.ObservationCount, s0, sx, sy, sz);
        EXPECT_LT(s0, 1e-8);
    }
}

}  // namespace
}  // namespace kal
