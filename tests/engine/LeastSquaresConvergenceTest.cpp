// The solver converges wherever the points determine the solve: a held translation with
// coordinates far from the origin, rot y' close to (not at) its singular position, points close to
// a line, and the reweighted solves of an L1 calculation. The noisy cases carry noise without any
// part the model can fit, so the known parameters are the least-squares solution itself.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "calculation/NormLoops.h"
#include "engine/DesignMatrix.h"
#include "engine/LeastSquares.h"
#include "engine/SolverHarness.h"
#include "engine/SyntheticJob.h"
#include "shared/Constants.h"
#include "shared/Rotations.h"
#include "support/CalculationFixture.h"

namespace kal {
namespace {

using testing::makeJob;
using testing::SolverHarness;
using testing::statesWith;
using Params = std::array<double, kParamCount + 1>;

// Noise of σ on the OCS points without its part in the span of the model's columns at `truth`:
// unit columns of the estimated translations, turns about the three axes (e_k × y, y = OCS - T the
// turned MCS point, whichever angle sequence), and with `scale` y itself. The known parameters then
// stay the least-squares solution, up to the rounding of the coordinates.
void addNoiseTheModelCannotFit(JobState& job, const Params& truth, const bool translation[3], bool scale,
                               double sigma, std::uint64_t seed = 17) {
    const std::int32_t n = job.IdenticalCount;
    const std::size_t rows = static_cast<std::size_t>(3 * n);
    using Vec = std::vector<long double>;
    std::vector<Vec> cols;
    Vec y(rows);
    for (std::int32_t i = 1; i <= n; ++i) {
        const std::size_t r = static_cast<std::size_t>(3 * i - 3);
        y[r] = static_cast<long double>(job.OCS_X[i]) - truth[kTraX];
        y[r + 1] = static_cast<long double>(job.OCS_Y[i]) - truth[kTraY];
        y[r + 2] = static_cast<long double>(job.OCS_Z[static_cast<std::size_t>(i)]) - truth[kTraZ];
    }
    for (int j = 0; j < 3; ++j) {
        if (!translation[j]) continue;
        Vec c(rows, 0.0L);
        for (std::size_t r = static_cast<std::size_t>(j); r < rows; r += 3) c[r] = 1.0L;
        cols.push_back(c);
    }
    for (int k = 0; k < 3; ++k) {
        Vec c(rows, 0.0L);
        for (std::size_t r = 0; r < rows; r += 3) {
            const long double e[3] = {k == 0 ? 1.0L : 0.0L, k == 1 ? 1.0L : 0.0L, k == 2 ? 1.0L : 0.0L};
            c[r] = e[1] * y[r + 2] - e[2] * y[r + 1];
            c[r + 1] = e[2] * y[r] - e[0] * y[r + 2];
            c[r + 2] = e[0] * y[r + 1] - e[1] * y[r];
        }
        cols.push_back(c);
    }
    if (scale) cols.push_back(y);
    auto dot = [](const Vec& a, const Vec& b) {
        long double s = 0;
        for (std::size_t r = 0; r < a.size(); ++r) s += a[r] * b[r];
        return s;
    };
    // Gram-Schmidt, each projection twice.
    std::vector<Vec> q;
    for (Vec c : cols) {
        for (int pass = 0; pass < 2; ++pass)
            for (const Vec& b : q) {
                const long double f = dot(b, c);
                for (std::size_t r = 0; r < rows; ++r) c[r] -= f * b[r];
            }
        const long double len = std::sqrt(dot(c, c));
        for (long double& v : c) v /= len;
        q.push_back(c);
    }
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> g(0, sigma);
    Vec e(rows);
    for (long double& v : e) v = g(rng);
    for (int pass = 0; pass < 2; ++pass)
        for (const Vec& b : q) {
            const long double f = dot(b, e);
            for (std::size_t r = 0; r < rows; ++r) e[r] -= f * b[r];
        }
    for (std::int32_t i = 1; i <= n; ++i) {
        const std::size_t r = static_cast<std::size_t>(3 * i - 3);
        job.OCS_X.set(i, static_cast<double>(job.OCS_X[i] + e[r]));
        job.OCS_Y.set(i, static_cast<double>(job.OCS_Y[i] + e[r + 1]));
        job.OCS_Z[static_cast<std::size_t>(i)] = static_cast<double>(job.OCS_Z[static_cast<std::size_t>(i)] + e[r + 2]);
    }
}

void expectSameRotation(const JobState& job, const Params& truth, double tolerance) {
    Matrix got(3, 3), want(3, 3);
    matFromAnglesXYZ(job.Params[kRotX], job.Params[kRotY], job.Params[kRotZ], got);
    matFromAnglesXYZ(truth[kRotX], truth[kRotY], truth[kRotZ], want);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) EXPECT_NEAR(got(i, j), want(i, j), tolerance) << i << "," << j;
}

void expectConverged(const HelmertOutcome& out) {
    EXPECT_TRUE(out.converged);
    EXPECT_FALSE(out.limitReached);
    EXPECT_TRUE(out.warnings.empty());
    EXPECT_LT(out.H3D_Zaehler, 30);
}

// One or two translations held at their true values, the points 10^5 mm and more from the origin,
// 0.01 mm of noise: the corrections oscillated and the solve ended at the iteration limit, with a
// free translation up to metres off at 5·10^7 mm.
TEST(SolveLeastSquares, HeldTranslationWithCoordinatesFarFromTheOriginConverges) {
    const std::vector<std::vector<int>> heldSets = {{kTraX}, {kTraY}, {kTraZ},
                                                    {kTraX, kTraY}, {kTraX, kTraZ}, {kTraY, kTraZ}};
    for (const double offset : {1e5, 1e6, 5e6, 5e7}) {
        for (const auto& held : heldSets) {
            std::string name = std::to_string(offset) + " mm, held";
            for (int k : held) name += " " + std::to_string(k);
            SCOPED_TRACE(name);
            auto truth = testing::identityParams();
            truth[kTraX] = 0.25 * offset, truth[kTraY] = -0.5 * offset, truth[kTraZ] = 0.125 * offset;
            truth[kRotX] = 0.3, truth[kRotY] = -0.2, truth[kRotZ] = 0.5;
            for (int k = kScaleX; k <= kScaleXYZ; ++k) truth[k] = 1.0005;
            JobState job = makeJob(200, truth, 400.0, 5, offset);
            bool floats[3] = {true, true, true};
            std::vector<std::pair<int, std::string>> fixed = {
                {kScaleX, "not used"}, {kScaleY, "not used"}, {kScaleZ, "not used"}};
            for (int k : held) {
                floats[k - kTraX] = false;
                fixed.emplace_back(k, std::to_string(truth[static_cast<std::size_t>(k)]));
            }
            addNoiseTheModelCannotFit(job, truth, floats, true, 0.01);
            ParamStates states = statesWith({kRotX, kRotY, kRotZ, kScaleXYZ});
            for (int k = kTraX; k <= kTraZ; ++k) states[k] = floats[k - kTraX] ? "float" : "0";
            for (const auto& [k, text] : fixed) states[static_cast<std::size_t>(k)] = text;

            SolverHarness h;
            expectConverged(h.solve(job, states));
            // The coordinates round at about 4e-9 mm: the turn is good to about 1e-12 over the
            // 800 mm the points span, a translation at the origin to that times the offset.
            expectSameRotation(job, truth, 1e-11);
            EXPECT_NEAR(job.ScaleXYZ(), 1.0005, 1e-11);
            for (int k = kTraX; k <= kTraZ; ++k)
                EXPECT_NEAR(job.Params[static_cast<std::size_t>(k)], truth[static_cast<std::size_t>(k)],
                            1e-11 * offset)
                    << k;
        }
    }
}

// Rot y' 1e-7 rad short of 90° in the true parameters, noisy points: the solution lies a few 1e-6
// rad from the singular position, where rot x and rot z'' are nearly one turn, yet the points tell
// them apart. Converged in a few iterations before the normal equations were formed from sums of
// the points; since then it ended at the iteration limit. The result is the least-squares minimum:
// the misclosures at the solution are orthogonal to every column of the design matrix.
TEST(SolveLeastSquares, RotYCloseToNinetyDegreesConverges) {
    for (const std::int32_t points : {12, 40}) {
        for (const bool scale : {false, true}) {
            SCOPED_TRACE(std::to_string(points) + (scale ? " points, 7 parameters" : " points, 6 parameters"));
            auto truth = testing::identityParams();
            truth[kTraX] = 10, truth[kTraY] = 20, truth[kTraZ] = 30;
            truth[kRotX] = 0.1, truth[kRotY] = kPi / 2 - 1e-7, truth[kRotZ] = 0.2;
            if (scale)
                for (int k = kScaleX; k <= kScaleXYZ; ++k) truth[k] = 1.0005;
            JobState job = makeJob(points, truth);
            std::mt19937_64 rng(11);
            std::normal_distribution<double> g(0, 0.01);
            for (std::int32_t i = 1; i <= points; ++i) {
                job.OCS_X.set(i, job.OCS_X[i] + g(rng));
                job.OCS_Y.set(i, job.OCS_Y[i] + g(rng));
                job.OCS_Z[static_cast<std::size_t>(i)] += g(rng);
            }
            const ParamStates states =
                scale ? statesWith({1, 2, 3, 4, 5, 6, kScaleXYZ},
                                   {{kScaleX, "not used"}, {kScaleY, "not used"}, {kScaleZ, "not used"}})
                      : statesWith({1, 2, 3, 4, 5, 6});
            SolverHarness h;
            expectConverged(h.solve(job, states));
            expectSameRotation(job, truth, 1e-4);
            for (int k = kTraX; k <= kTraZ; ++k)
                EXPECT_NEAR(job.Params[static_cast<std::size_t>(k)], truth[static_cast<std::size_t>(k)], 0.02) << k;

            const std::int32_t nObs = 3 * points, nU = floatCount(states);
            Matrix A(nObs, nU), l(nObs, 1);
            buildDesignMatrix(job, h.ctx.controls, states, A, l);
            double ll = 0;
            for (std::int32_t r = 1; r <= nObs; ++r) ll += l(r, 1) * l(r, 1);
            for (std::int32_t c = 1; c <= nU; ++c) {
                double al = 0, aa = 0;
                for (std::int32_t r = 1; r <= nObs; ++r) al += A(r, c) * l(r, 1), aa += A(r, c) * A(r, c);
                EXPECT_LT(std::fabs(al), 1e-9 * std::sqrt(aa * ll)) << c;
            }
        }
    }
}

// Points close to a line (1e-5 of their extent off it): the turn about the line is seen only in
// that thickness. Converged before with errors of 4e-10; since the sums ended at the limit.
TEST(SolveLeastSquares, PointsCloseToALineConverge) {
    auto truth = testing::identityParams();
    truth[kTraX] = 101.5, truth[kTraY] = -48.25, truth[kTraZ] = 25;
    truth[kRotX] = 0.3, truth[kRotY] = -0.2, truth[kRotZ] = 0.5;
    for (int k = kScaleX; k <= kScaleXYZ; ++k) truth[k] = 1.0005;
    JobState job = makeJob(60, truth);
    // Along (1, 2, 2)/3 over ±500 mm, off it by up to 0.005 mm in the two directions across it.
    JobState model;
    model.Params = truth;
    model.RotXSeed = truth[kRotX], model.RotYSeed = truth[kRotY], model.RotZSeed = truth[kRotZ];
    const PointTransform t(model);
    std::mt19937_64 rng(9);
    std::uniform_real_distribution<double> along(-500, 500), across(-0.005, 0.005);
    for (std::int32_t i = 1; i <= 60; ++i) {
        const double s = along(rng), a = across(rng), b = across(rng);
        // (2, -1, 0)/√5 and (2, 4, -5)/(3√5) are across the line.
        const double x = s / 3 + a * 2 / std::sqrt(5.0) + b * 2 / (3 * std::sqrt(5.0));
        const double y = s * 2 / 3 - a / std::sqrt(5.0) + b * 4 / (3 * std::sqrt(5.0));
        const double z = s * 2 / 3 - b * 5 / (3 * std::sqrt(5.0));
        job.MCS_X.set(i, x), job.MCS_Y.set(i, y), job.MCS_Z[static_cast<std::size_t>(i)] = z;
        double xo, yo, zo;
        t.apply(x, y, z, xo, yo, zo);
        job.OCS_X.set(i, xo), job.OCS_Y.set(i, yo), job.OCS_Z[static_cast<std::size_t>(i)] = zo;
    }
    SolverHarness h;
    expectConverged(h.solve(job, statesWith({1, 2, 3, 4, 5, 6, kScaleXYZ},
                                            {{kScaleX, "not used"}, {kScaleY, "not used"}, {kScaleZ, "not used"}})));
    // The coordinates round at about 5e-14 mm; seen over 0.01 mm the turn about the line is good to
    // about 1e-11.
    expectSameRotation(job, truth, 1e-9);
    EXPECT_NEAR(job.ScaleXYZ(), 1.0005, 1e-12);
    for (int k = kTraX; k <= kTraZ; ++k)
        EXPECT_NEAR(job.Params[static_cast<std::size_t>(k)], truth[static_cast<std::size_t>(k)], 1e-8) << k;
}

// The L1 loop weighs each row by 1/|v|, weights from about 1 to 10^12: every solve of the loop
// converges and no "Calculation stopped after" comes from one of them.
TEST(RunL1Loop, ReweightedSolvesOnOrdinaryDataConverge) {
    struct Case {
        std::int32_t points;
        double noise;
        Preset preset;
    };
    const Case cases[] = {{10, 0.1, Preset::SevenParameter}, {10, 1.0, Preset::SixParameter},
                          {20, 1.0, Preset::SevenParameter}, {50, 1.0, Preset::SixParameter},
                          {200, 0.1, Preset::SevenParameter}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.points) + " points, noise " + std::to_string(c.noise));
        testing::SyntheticRecipe recipe;
        recipe.points = c.points;
        recipe.noise = c.noise;
        testing::CalculationFixture f(recipe);
        f.panel().selectPreset(c.preset);
        f.panel().selectNorm(kNormL1);
        ASSERT_EQ(f.calculate(), CalcStatus::Solved);
        EXPECT_TRUE(f.prompter.texts().empty()) << f.prompter.texts().size() << " messages";
        const testing::KnownTransform known;
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(f.job.Params[static_cast<std::size_t>(kTraX + k)], known.tra[k], 3 * c.noise) << k;
            EXPECT_NEAR(f.job.Params[static_cast<std::size_t>(kRotX + k)], known.rot[k], c.noise / 100) << k;
        }
    }
}

// Every used point at one spot, away from the origin: the message says so and where, in the
// display unit, whether the translations are estimated (the spot is then the local origin) or
// one of them is held.
TEST(SolveLeastSquares, PointsAtOneSpotAwayFromTheOriginSayWhereTheSpotIs) {
    struct Case {
        const char* name;
        ParamStates states;
        const char* unit;
        double factor;
        const char* message;
    };
    const ParamStates seven = statesWith({1, 2, 3, 4, 5, 6, kScaleXYZ},
                                         {{kScaleX, "not used"}, {kScaleY, "not used"}, {kScaleZ, "not used"}});
    const Case cases[] = {
        {"7 parameters", seven, "millimeter", 1.0,
         "The used points cannot determine \"rot x\": all of them lie at one spot, MCS (250.000, -40.000, "
         "900.000) millimeter, and a single spot shows no rotation, scale or shape."},
        {"tra z held", statesWith({1, 2, 4, 5, 6}, {{kTraZ, "30"}}), "millimeter", 1.0,
         "The used points cannot determine \"rot y'\": all of them lie at one spot, MCS (250.000, -40.000, "
         "900.000) millimeter, and a single spot shows no rotation, scale or shape."},
        {"in metre", seven, "meter", 0.001,
         "The used points cannot determine \"rot x\": all of them lie at one spot, MCS (0.250, -0.040, "
         "0.900) meter, and a single spot shows no rotation, scale or shape."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JobState job = makeJob(5, testing::identityParams());
        job.LengthUnitName = c.unit;
        job.LengthFactor = c.factor;
        for (std::int32_t i = 1; i <= 5; ++i) {
            job.MCS_X.set(i, 250), job.MCS_Y.set(i, -40), job.MCS_Z[static_cast<std::size_t>(i)] = 900;
            job.OCS_X.set(i, 260), job.OCS_Y.set(i, -20), job.OCS_Z[static_cast<std::size_t>(i)] = 930;
        }
        // An unused point elsewhere does not count.
        job.MCS_X.set(4, 0);
        for (int r = 10; r <= 12; ++r) job.UseFlags[static_cast<std::size_t>(r)] = 0;
        const auto before = job.Params;
        SolverHarness h;
        try {
            h.solve(job, c.states);
            ADD_FAILURE() << "no error";
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
            EXPECT_EQ(std::string(e.what()).find("moves none of them"), std::string::npos) << e.what();
        }
        EXPECT_EQ(job.Params, before);
    }
}

}  // namespace
}  // namespace kal
