// The robot-tool fits on generated tool jobs, solved from the start a calculation makes (seed points
// 1 to 3, the default raw scale, R Dist 0, the offset vector 0): MCS points in a 1 m box, any pose
// (rot x and rot z'' within ±180°, rot y' within ±80°, a translation within ±1 m), each OCS point off
// its transformed MCS point by the tool. R Dist: the tool's length R in a random direction of its
// own. Use ABC: the tool's offset vector turned by the point's robot angles. Three seed points carry
// three tool offsets into the pose; from there the plain iteration wandered off, was called
// singular, or ended "ready" tens of millimetres from the truth.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>

#include "engine/AllPointsStart.h"
#include "engine/DesignMatrix.h"
#include "engine/LeastSquares.h"
#include "engine/SolverHarness.h"
#include "engine/SyntheticJob.h"
#include "shared/Constants.h"
#include "shared/Errors.h"
#include "shared/Rotations.h"

namespace kal {
namespace {

using testing::SolverHarness;
using testing::statesWith;

enum class Tool { RDist, OffsetVector };

struct ToolJob {
    JobState job;
    std::array<double, kParamCount + 1> truth;
};

double uniform(std::mt19937_64& rng, double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
}

// A random unit direction.
std::array<double, 3> direction(std::mt19937_64& rng) {
    std::normal_distribution<double> g;
    const double a = g(rng), b = g(rng), c = g(rng);
    const double len = std::sqrt(a * a + b * b + c * c);
    return {a / len, b / len, c / len};
}

ToolJob makeToolJob(Tool tool, std::int32_t n, double toolLength, double noise, std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    const double deg = kPi / 180;
    auto truth = testing::identityParams();
    truth[kRotX] = uniform(rng, -180, 180) * deg;
    truth[kRotY] = uniform(rng, -80, 80) * deg;
    truth[kRotZ] = uniform(rng, -180, 180) * deg;
    for (int k = kTraX; k <= kTraZ; ++k) truth[static_cast<std::size_t>(k)] = uniform(rng, -1000, 1000);
    if (tool == Tool::RDist) {
        truth[kRDist] = toolLength;
    } else {
        const auto d = direction(rng);
        for (int j = 0; j < 3; ++j)
            truth[static_cast<std::size_t>(kRvecX + j)] = toolLength * d[static_cast<std::size_t>(j)];
    }
    JobState job = testing::makeJob(n, truth, 500.0, seed + 1000);  // exact OCS = T + R·MCS
    if (tool == Tool::OffsetVector) job.OcsAngles.resize(n, 3);
    std::normal_distribution<double> g(0.0, noise > 0 ? noise : 1.0);  // drawn only with noise
    Matrix M(3, 3);
    for (std::int32_t i = 1; i <= n; ++i) {
        double off[3];
        if (tool == Tool::RDist) {
            const auto d = direction(rng);
            for (int j = 0; j < 3; ++j) off[j] = toolLength * d[static_cast<std::size_t>(j)];
        } else {
            const double A = uniform(rng, -180, 180) * deg, B = uniform(rng, -80, 80) * deg,
                         C = uniform(rng, -180, 180) * deg;
            job.OcsAngles(i, 1) = A, job.OcsAngles(i, 2) = B, job.OcsAngles(i, 3) = C;
            matFromAnglesXYZ(-C, -B, -A, M);  // the robot's turn of the offset vector: Rz(A)·Ry(B)·Rx(C)
            for (int j = 0; j < 3; ++j)
                off[j] =
                    M(j + 1, 1) * truth[kRvecX] + M(j + 1, 2) * truth[kRvecY] + M(j + 1, 3) * truth[kRvecZ];
        }
        const double nx = noise > 0 ? g(rng) : 0.0, ny = noise > 0 ? g(rng) : 0.0,
                     nz = noise > 0 ? g(rng) : 0.0;
        job.OCS_X.set(i, job.OCS_X[i] + off[0] + nx);
        job.OCS_Y.set(i, job.OCS_Y[i] + off[1] + ny);
        job.OCS_Z[static_cast<std::size_t>(i)] += off[2] + nz;
    }
    if (tool == Tool::OffsetVector) job.UseAbcMode = true;
    return {std::move(job), truth};
}

ParamStates toolStates(Tool tool) {
    if (tool == Tool::RDist) return statesWith({1, 2, 3, 4, 5, 6, kRDist});
    return statesWith({1, 2, 3, 4, 5, 6, kRvecX, kRvecY, kRvecZ}, {{kRDist, "not used"}});
}

void setToolControls(Tool tool, EngineControls& c) {
    if (tool == Tool::RDist) {
        c.CheckRDist = 1;
    } else {
        c.CheckUseABC = 1;
        c.TextRDistEnabled = false;
    }
}

struct Tally {
    int solves = 0, truth = 0, singular = 0, refused = 0, elsewhere = 0;
    std::string firstMiss;
    std::string text() const {
        std::ostringstream s;
        s << truth << " of " << solves << " reach the truth; " << singular << " called singular, " << refused
          << " other failures, " << elsewhere << " end elsewhere. First miss: " << firstMiss;
        return s.str();
    }
};

Tally solveTable(Tool tool) {
    Tally t;
    std::uint64_t seed = tool == Tool::RDist ? 100 : 500;
    for (const std::int32_t n : {10, 12, 15, 20, 30, 50})
        for (const double toolLength : {50.0, 200.0})
            for (const double noise : {0.0, 0.01})
                for (int rep = 0; rep < 9; ++rep) {
                    ++seed;
                    ToolJob tj = makeToolJob(tool, n, toolLength, noise, seed);
                    SolverHarness h;
                    setToolControls(tool, h.ctx.controls);
                    ++t.solves;
                    std::ostringstream where;
                    where << "seed " << seed << ", " << n << " points, tool " << toolLength << " mm, noise "
                          << noise << ": ";
                    try {
                        const HelmertOutcome out = h.solve(tj.job, toolStates(tool));
                        const auto& p = tj.job.Params;
                        bool ok = out.converged;
                        if (noise == 0.0) {
                            ok = ok && testing::largestPointError(tj.job, tj.truth) < 1e-4;
                            for (int k = kRDist; k <= kRvecZ; ++k)
                                ok = ok && std::fabs(p[static_cast<std::size_t>(k)] -
                                                     tj.truth[static_cast<std::size_t>(k)]) < 1e-4;
                        } else {
                            for (int k : {kTraX, kTraY, kTraZ, kRDist, kRvecX, kRvecY, kRvecZ})
                                ok = ok && std::fabs(p[static_cast<std::size_t>(k)] -
                                                     tj.truth[static_cast<std::size_t>(k)]) < 0.05;
                        }
                        if (ok) {
                            ++t.truth;
                        } else {
                            ++t.elsewhere;
                            if (t.firstMiss.empty())
                                t.firstMiss = where.str() + "ended " +
                                              std::to_string(testing::largestPointError(tj.job, tj.truth)) +
                                              " mm off after " + std::to_string(out.H3D_Zaehler) +
                                              " iterations";
                        }
                    } catch (const std::exception& e) {
                        const std::string what = e.what();
                        (what.find("singular") != std::string::npos ? t.singular : t.refused) += 1;
                        if (t.firstMiss.empty()) t.firstMiss = where.str() + what;
                    }
                }
    return t;
}

TEST(RobotToolFit, RDistFitReachesTheTruthFromTheUsualStart) {
    const Tally t = solveTable(Tool::RDist);
    ASSERT_GE(t.solves, 200);
    EXPECT_GE(t.truth, 0.99 * t.solves) << t.text();
    EXPECT_EQ(t.singular, 0) << t.text();
    std::cout << "R Dist: " << t.text() << "\n";
}

TEST(RobotToolFit, OffsetVectorFitReachesTheTruthFromTheUsualStart) {
    const Tally t = solveTable(Tool::OffsetVector);
    ASSERT_GE(t.solves, 200);
    EXPECT_GE(t.truth, 0.99 * t.solves) << t.text();
    EXPECT_EQ(t.singular, 0) << t.text();
    std::cout << "use ABC: " << t.text() << "\n";
}

// The start's pose is the rigid fit of all used points: on points without a tool it is the true
// pose itself (to the rounding of the angles taken from its matrix), for any rotation (rot y' near ±90°,
// angles near ±180° included), and R Dist the distance left, 0.
TEST(RobotToolFit, AllPointsStartIsTheTruePoseOfPointsWithoutATool) {
    const double deg = kPi / 180;
    const std::array<double, 3> rotations[] = {
        {10 * deg, 20 * deg, 30 * deg},
        {179.9 * deg, -45 * deg, -179.9 * deg},
        {-120 * deg, 89.9 * deg, 60 * deg},
        {0.0, -89.99 * deg, 0.0},
        {0.0, 0.0, 0.0},
    };
    for (const auto& rot : rotations) {
        SCOPED_TRACE(rot[0]);
        auto truth = testing::identityParams();
        truth[kTraX] = 350, truth[kTraY] = -820, truth[kTraZ] = 40;
        truth[kRotX] = rot[0], truth[kRotY] = rot[1], truth[kRotZ] = rot[2];
        JobState job = testing::makeJob(12, truth);
        job.RDist() = 7;  // the start R Dist it replaces
        EngineControls controls;
        controls.CheckRDist = 1;
        const ParamStates states = toolStates(Tool::RDist);
        const DesignLayout lay = decideDesignLayout(job, controls, states);
        Matrix P(3 * 12, 1);
        for (std::int32_t r = 1; r <= 36; ++r) P(r, 1) = 1;
        const auto start = allPointsStart(job, lay, P);
        ASSERT_TRUE(start.has_value());
        JobState fitted = job;
        fitted.Params = *start;
        EXPECT_LT(testing::largestPointError(fitted, truth),
                  1e-6);  // the angles from the matrix round at ~1e-10 rad
        EXPECT_NEAR((*start)[kRDist], 0.0, 1e-8);
        // Nothing else of the parameter block changes.
        for (int k = kScaleX; k <= kParamCount; ++k) {
            if (k != kRDist) {
                EXPECT_EQ((*start)[static_cast<std::size_t>(k)], job.Params[static_cast<std::size_t>(k)])
                    << k;
            }
        }
    }
}

// Where the points cannot determine a parameter, the normal matrix is singular at any start, and
// the R Dist fit still says so: points on one line leave the turn about it open.
TEST(RobotToolFit, RDistOnPointsOfOneLineIsStillCalledSingular) {
    ToolJob tj = makeToolJob(Tool::RDist, 12, 50, 0.0, 77);
    for (std::int32_t i = 1; i <= 12; ++i) {
        const double t = 60.0 * i;
        tj.job.MCS_X.set(i, 5 + t), tj.job.MCS_Y.set(i, -3 + 2 * t),
            tj.job.MCS_Z[static_cast<std::size_t>(i)] = 2 - 0.5 * t;
    }
    SolverHarness h;
    setToolControls(Tool::RDist, h.ctx.controls);
    try {
        h.solve(tj.job, toolStates(Tool::RDist));
        ADD_FAILURE() << "no error";
    } catch (const NumericError& e) {
        EXPECT_NE(std::string(e.what()).find("(the normal equations are singular)"), std::string::npos)
            << e.what();
    }
}

}  // namespace
}  // namespace kal
