// The solver on inputs that used to end in a wrong word or a wrong number: coordinates far from
// the origin, the singular position of the angle sequence, points that determine nothing, input
// that is not a number, and a noisy 7-parameter fit checked against the least-squares conditions.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "engine/CalcRefused.h"
#include "engine/DesignMatrix.h"
#include "engine/LeastSquares.h"
#include "engine/Sigma.h"
#include "engine/SolverHarness.h"
#include "engine/SyntheticJob.h"
#include "shared/Constants.h"
#include "shared/Errors.h"
#include "shared/Rotations.h"

namespace kal {
namespace {

using testing::makeJob;
using testing::SolverHarness;
using testing::statesWith;

const ParamStates kSevenParameters = statesWith(
    {1, 2, 3, 4, 5, 6, kScaleXYZ}, {{kScaleX, "not used"}, {kScaleY, "not used"}, {kScaleZ, "not used"}});

void addNoise(JobState& job, double sigma, std::uint64_t seed = 11) {
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> g(0, sigma);
    for (std::int32_t i = 1; i <= job.IdenticalCount; ++i) {
        job.OCS_X.set(i, job.OCS_X[i] + g(rng));
        job.OCS_Y.set(i, job.OCS_Y[i] + g(rng));
        job.OCS_Z[static_cast<std::size_t>(i)] += g(rng);
    }
}

// The rotation of the solved angles against the known one, element by element: the solver may
// give the other angle triple of the same rotation (a + π, π - b, c + π).
void expectSameRotation(const JobState& job, const std::array<double, kParamCount + 1>& truth,
                        double tolerance) {
    Matrix got(3, 3), want(3, 3);
    matFromAnglesXYZ(job.Params[kRotX], job.Params[kRotY], job.Params[kRotZ], got);
    matFromAnglesXYZ(truth[kRotX], truth[kRotY], truth[kRotZ], want);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) EXPECT_NEAR(got(i, j), want(i, j), tolerance) << i << "," << j;
}

std::string messageOf(JobState& job, const ParamStates& states) {
    SolverHarness h;
    try {
        h.solve(job, states);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

// Points a few hundred millimetres apart, 10^6 mm and more from the origin: the misclosures of the
// raw coordinates round at 1e-10 .. 1e-8 mm, above the 1e-9 threshold, so a solve on them never
// settled. The parameters keep their meaning: T is the translation at the MCS origin.
TEST(SolveLeastSquares, ConvergesWithCoordinatesFarFromTheOrigin) {
    for (const double offset : {1e6, 5e6, 5e7}) {
        SCOPED_TRACE(offset);
        auto truth = testing::identityParams();
        truth[kTraX] = 0.3 * offset, truth[kTraY] = -0.2 * offset, truth[kTraZ] = 1234.5;
        truth[kRotX] = 0.3, truth[kRotY] = -0.2, truth[kRotZ] = 0.5;
        for (int k = kScaleX; k <= kScaleXYZ; ++k) truth[k] = 1.0005;
        JobState job = makeJob(200, truth, 400.0, 5, offset);
        SolverHarness h;
        const HelmertOutcome out = h.solve(job, kSevenParameters);
        EXPECT_TRUE(out.converged);
        EXPECT_FALSE(out.limitReached);
        EXPECT_LT(out.H3D_Zaehler, 10);
        EXPECT_TRUE(out.warnings.empty());
        // The OCS points themselves round at ulp(offset) ≈ offset·1e-16: rotations and scale are
        // good to that over the 800 mm the points span, T to the rotation's error times the offset.
        expectSameRotation(job, truth, 1e-9);
        for (int k : {kScaleXYZ, kScaleX, kScaleZ})
            EXPECT_NEAR(job.Params[static_cast<std::size_t>(k)], truth[static_cast<std::size_t>(k)], 1e-9)
                << k;
        for (int k : {kTraX, kTraY, kTraZ})
            EXPECT_NEAR(job.Params[static_cast<std::size_t>(k)], truth[static_cast<std::size_t>(k)],
                        1e-10 * offset)
                << k;
        // The residuals are those of the exact data: rounding of the coordinates only.
        for (std::int32_t r = 1; r <= 600; ++r) ASSERT_LT(std::fabs(h.results.Residuals(r, 1)), 1e-7) << r;
    }
}

// The stored cofactors are those of T at the MCS origin, whatever origin the solve works at: they
// equal N⁻¹ of the design matrix at the solution.
TEST(SolveLeastSquares, CofactorsBelongToTheTranslationAtTheOrigin) {
    auto truth = testing::identityParams();
    truth[kTraX] = 100, truth[kTraY] = -50, truth[kTraZ] = 20;
    truth[kRotX] = 0.1, truth[kRotY] = 0.2, truth[kRotZ] = -0.3;
    JobState job = makeJob(30, truth, 300.0, 3, 2000.0);
    addNoise(job, 0.01);
    SolverHarness h;
    const ParamStates six = statesWith({1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(h.solve(job, six).converged);
    Matrix A(90, 6), l(90, 1);
    buildDesignMatrix(job, h.ctx.controls, six, A, l);
    Matrix N(6, 6);
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j)
            for (int r = 1; r <= 90; ++r) N(i, j) += A(r, i) * A(r, j);
    // N·Qxx = I, to the conditioning of N (coordinates of 2000 mm).
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j) {
            double s = 0;
            for (int k = 1; k <= 6; ++k) s += N(i, k) * h.results.CofactorMatrix(k, j);
            EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-6) << i << "," << j;
        }
}

// Rot y' at ±90°: rot x and rot z'' turn about one axis. That is the angle sequence's doing, not
// the points', and the user can hold one of the two.
TEST(SolveLeastSquares, RotYAtNinetyDegreesNamesTheSingularPositionOfTheSequence) {
    for (const char* held : {"90", "-90"}) {
        SCOPED_TRACE(held);
        auto truth = testing::identityParams();
        truth[kTraX] = 10, truth[kTraY] = 20, truth[kTraZ] = 30;
        truth[kRotX] = 0.1, truth[kRotY] = std::atof(held) / 180 * kPi, truth[kRotZ] = 0.2;
        JobState job = makeJob(12, truth);
        const auto before = job.Params;
        const std::string what = messageOf(job, statesWith({1, 2, 3, 4, 6}, {{kRotY, held}}));
        EXPECT_NE(what.find(std::string("rot y' stands at ") + (held[0] == '-' ? "-" : "+") + "90"),
                  std::string::npos)
            << what;
        EXPECT_NE(what.find("singular position of the angle sequence"), std::string::npos) << what;
        EXPECT_NE(what.find("Hold one of rot x, rot z''"), std::string::npos) << what;
        EXPECT_EQ(what.find("cannot determine"), std::string::npos) << what;
        EXPECT_EQ(job.Params, before);
    }
    // Holding rot z'' as the message says solves it.
    auto truth = testing::identityParams();
    truth[kRotX] = 0.1, truth[kRotY] = kPi / 2, truth[kRotZ] = 0;
    JobState job = makeJob(12, truth);
    SolverHarness h;
    EXPECT_TRUE(h.solve(job, statesWith({1, 2, 3, 4}, {{kRotY, "90"}, {kRotZ, "0"}})).converged);
    EXPECT_NEAR(job.RotX(), 0.1, 1e-9);
}

// Every used point at one spot: no rotation or scale can be seen, and the solve is refused like
// any other unknown the points leave open. An unknown the model does not depend on at all keeps
// its 1e12 (AnUnknownWithoutObservationsIsNoFailure), and so does one whose rows all weigh 0.
TEST(SolveLeastSquares, PointsAtOneSpotAreRefusedAsUndetermined) {
    struct Case {
        const char* name;
        double spot[3];
        ParamStates states;
        const char* unknown;
    };
    const Case cases[] = {
        {"at the origin, 6 parameters", {0, 0, 0}, statesWith({1, 2, 3, 4, 5, 6}), "rot x"},
        {"at the origin, 7 parameters", {0, 0, 0}, kSevenParameters, "rot x"},
        {"at the origin, scale only", {0, 0, 0}, statesWith({1, 2, 3, kScaleX}), "scale x"},
        {"away from the origin", {250, -40, 900}, kSevenParameters, "rot x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JobState job = makeJob(5, testing::identityParams());
        for (std::int32_t i = 1; i <= 5; ++i) {
            job.MCS_X.set(i, c.spot[0]), job.MCS_Y.set(i, c.spot[1]),
                job.MCS_Z[static_cast<std::size_t>(i)] = c.spot[2];
            job.OCS_X.set(i, c.spot[0] + 10), job.OCS_Y.set(i, c.spot[1] + 20);
            job.OCS_Z[static_cast<std::size_t>(i)] = c.spot[2] + 30;
        }
        const auto before = job.Params;
        const std::string what = messageOf(job, c.states);
        EXPECT_NE(what.find(std::string("cannot determine \"") + c.unknown + "\""), std::string::npos)
            << what;
        EXPECT_NE(what.find("parameters are as they were"), std::string::npos) << what;
        EXPECT_EQ(job.Params, before);
    }
    // A column without any weighted row is no failure: tra z while every z weight is 0.
    auto truth = testing::identityParams();
    truth[kTraX] = 10, truth[kTraY] = 20;
    JobState job = makeJob(8, truth);
    for (std::int32_t i = 1; i <= 8; ++i) job.UseFlags[static_cast<std::size_t>(3 * i)] = 0;
    SolverHarness h;
    EXPECT_TRUE(h.solve(job, statesWith({1, 2, 3, kRotZ})).converged);
    EXPECT_EQ(h.results.CofactorMatrix(3, 3), 1e12);
    EXPECT_NEAR(job.TraX(), 10, 1e-9);
}

// Points on one line leave the turn about that line open. The refusal also lists the rows held
// at a typed value (rot x held at 0 by an earlier gimbal-lock answer, say), since a held row is
// often why the others cannot be determined; R Dist held at 0 is no part of the model and is left
// out.
TEST(SolveLeastSquares, SingularSolveListsTheRowsHeldAtATypedValue) {
    JobState job = makeJob(8, testing::identityParams());
    for (std::int32_t i = 1; i <= 8; ++i) {  // points on a line through (5, -3, 2) along (1, 2, -0.5)
        const double t = 37.0 * i;
        job.MCS_X.set(i, 5 + t), job.MCS_Y.set(i, -3 + 2 * t), job.MCS_Z[static_cast<std::size_t>(i)] = 2 - 0.5 * t;
        job.OCS_X.set(i, 10 + 0.9 * t), job.OCS_Y.set(i, 20 + 2.1 * t);
        job.OCS_Z[static_cast<std::size_t>(i)] = 30 - 0.4 * t;
    }
    job.RotX() = 0.01, job.RotXSeed = 0.02;
    const ParamStates states = statesWith({1, 2, 3, 4, 5, 6}, {{kParXY, "0.5"}, {kScaleXYZ, "1.002"}});
    const std::string what = messageOf(job, states);
    EXPECT_NE(what.find("singular"), std::string::npos) << what;
    // Scales held at 1 and shape angles held at 0 are the model without them: not named.
    EXPECT_NE(what.find("Held at a typed value: scale xyz = 1.002, xy = 0.5."), std::string::npos) << what;
    EXPECT_EQ(what.find("R Dist"), std::string::npos) << what;
    EXPECT_NE(what.find("parameters are as they were"), std::string::npos) << what;
}

// The list names the holds that can matter: a held rotation or translation at any value (rot x
// held at 0 by a gimbal-lock answer), R Dist while the model holds it; scales at 1 and shape angles
// at 0 are not named, so that such a hold does not get lost among them.
TEST(SolveLeastSquares, SingularSolveNamesOnlyTheHoldsThatCanMatter) {
    struct Case {
        const char* name;
        bool rDist;  // R Dist held at 50 with distance rows
        ParamStates states;
        const char* held;
    };
    const Case cases[] = {
        {"rot x held at 0", false, statesWith({1, 2, 3, 5, 6}, {{kRotX, "0"}}),
         " Held at a typed value: rot x = 0."},
        {"R Dist held", true, statesWith({1, 2, 3, 4, 5, 6}, {{kRDist, "50"}, {kScaleXYZ, "1"}}),
         " Held at a typed value: R Dist. = 50."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JobState job = makeJob(8, testing::identityParams());
        for (std::int32_t i = 1; i <= 8; ++i) {  // points on the y axis: the turn about it stays open
            const double t = 37.0 * i;
            job.MCS_X.set(i, 0), job.MCS_Y.set(i, t), job.MCS_Z[static_cast<std::size_t>(i)] = 0;
            job.OCS_X.set(i, 10 + (c.rDist ? 50 : 0)), job.OCS_Y.set(i, 20 + t);
            job.OCS_Z[static_cast<std::size_t>(i)] = 30;
        }
        SolverHarness h;
        h.ctx.controls.CheckRDist = 0;
        std::string what;
        try {
            h.solve(job, c.states);
        } catch (const std::exception& e) {
            what = e.what();
        }
        EXPECT_NE(what.find("(the normal equations are singular)." + std::string(c.held) +
                            " The calculation was stopped"),
                  std::string::npos)
            << what;
    }
}

TEST(SolveLeastSquares, InputThatIsNoNumberNamesThePointAndTheCoordinate) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        bool mcs;
        int coordinate;  // 0 x, 1 y, 2 z
        double value;
        const char* message;
    };
    const Case cases[] = {
        {true, 1, nan, "MCS point \"P3\": its y coordinate is not a number (NaN)."},
        {false, 2, inf, "OCS point \"P3\": its z coordinate is infinite."},
        {true, 0, -inf, "MCS point \"P3\": its x coordinate is infinite."},
        {false, 0, nan, "OCS point \"P3\": its x coordinate is not a number (NaN)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        auto truth = testing::identityParams();
        truth[kTraX] = 10;
        JobState job = makeJob(6, truth);
        auto& xs = c.mcs ? job.MCS_X : job.OCS_X;
        auto& ys = c.mcs ? job.MCS_Y : job.OCS_Y;
        auto& zs = c.mcs ? job.MCS_Z : job.OCS_Z;
        if (c.coordinate == 0) xs.set(3, c.value);
        if (c.coordinate == 1) ys.set(3, c.value);
        if (c.coordinate == 2) zs[3] = c.value;
        const auto before = job.Params;
        SolverHarness h;
        try {
            h.solve(job, statesWith({1, 2, 3, 4, 5, 6}));
            ADD_FAILURE() << "no error";
        } catch (const CalcRefused& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
        EXPECT_EQ(job.Params, before);
    }
}

// A coordinate too large for the sums of squares of the solve (1e300 read from a file) is refused
// before the solve like a NaN, naming the point, the coordinate and the limit; the parameters stay.
// It used to end in "Invalid floating-point result in VecDot".
TEST(SolveLeastSquares, CoordinateBeyondTheLimitIsRefusedNamingThePointAndTheLimit) {
    struct Case {
        bool mcs;
        int coordinate;  // 0 x, 1 y, 2 z
        double value;
        const char* message;
    };
    const Case cases[] = {
        {true, 0, 1e300,
         "MCS point \"P3\": its x coordinate 1E+300 millimeter is too large for a calculation: "
         "coordinates are limited to \u00b11E+12 millimeter."},
        {false, 2, -1e300,
         "OCS point \"P3\": its z coordinate -1E+300 millimeter is too large for a calculation: "
         "coordinates are limited to \u00b11E+12 millimeter."},
        {true, 1, 1.5e12,
         "MCS point \"P3\": its y coordinate 1.5E+12 millimeter is too large for a calculation: "
         "coordinates are limited to \u00b11E+12 millimeter."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        auto truth = testing::identityParams();
        truth[kTraX] = 10;
        JobState job = makeJob(6, truth);
        auto& xs = c.mcs ? job.MCS_X : job.OCS_X;
        auto& ys = c.mcs ? job.MCS_Y : job.OCS_Y;
        auto& zs = c.mcs ? job.MCS_Z : job.OCS_Z;
        if (c.coordinate == 0) xs.set(3, c.value);
        if (c.coordinate == 1) ys.set(3, c.value);
        if (c.coordinate == 2) zs[3] = c.value;
        job.UseFlags[7] = job.UseFlags[8] = job.UseFlags[9] = 0;  // left out, it still enters the sums
        const auto before = job.Params;
        SolverHarness h;
        try {
            h.solve(job, statesWith({1, 2, 3, 4, 5, 6}));
            ADD_FAILURE() << "no error";
        } catch (const CalcRefused& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
        EXPECT_EQ(job.Params, before);
    }
    // The limit is stated in the display unit.
    auto truth = testing::identityParams();
    JobState job = makeJob(6, truth);
    job.LengthUnitName = "meter", job.LengthFactor = 0.001;
    job.OCS_X.set(2, 2e15);
    SolverHarness h;
    try {
        h.solve(job, statesWith({1, 2, 3, 4, 5, 6}));
        ADD_FAILURE() << "no error";
    } catch (const CalcRefused& e) {
        EXPECT_EQ(std::string(e.what()).rfind("OCS point \"P2\": its x coordinate 2E+12 meter is too "
                                              "large for a calculation: coordinates are limited to "
                                              "\u00b11E+09 meter.",
                                              0),
                  0u)
            << e.what();
    }
}

// Coordinates up to the limit overflow nothing: the solve runs to its end.
TEST(SolveLeastSquares, CoordinatesJustWithinTheLimitSolveWithoutOverflow) {
    auto truth = testing::identityParams();
    truth[kTraX] = 1e9, truth[kRotZ] = 0.5;
    JobState job = makeJob(20, truth, 2e11, 5, 4e11);
    double largest = 0;
    for (std::int32_t i = 1; i <= job.IdenticalCount; ++i)
        largest = std::max({largest, std::fabs(job.MCS_X[i]), std::fabs(job.MCS_Y[i]), std::fabs(job.OCS_X[i]),
                            std::fabs(job.OCS_Y[i]), std::fabs(job.MCS_Z[static_cast<std::size_t>(i)]),
                            std::fabs(job.OCS_Z[static_cast<std::size_t>(i)])});
    ASSERT_GT(largest, 4e11);
    ASSERT_LE(largest, kLargestCoordinate);
    SolverHarness h;
    EXPECT_NO_THROW(h.solve(job, kSevenParameters));
    expectSameRotation(job, truth, 1e-6);
}

// The limit itself is a coordinate a solve takes: exactly ±1E+12 mm passes the check, the next
// number above it is refused, and the refusal names ±1E+12 as the limit.
TEST(SolveLeastSquares, CoordinateOfExactlyTheLimitIsAccepted) {
    struct Case {
        bool mcs;
        double value;
        bool refused;
    };
    const Case cases[] = {
        {true, kLargestCoordinate, false},
        {false, -kLargestCoordinate, false},
        {true, std::nextafter(kLargestCoordinate, 2 * kLargestCoordinate), true},
        {false, -std::nextafter(kLargestCoordinate, 2 * kLargestCoordinate), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        auto truth = testing::identityParams();
        truth[kTraX] = 10;
        JobState job = makeJob(6, truth);
        (c.mcs ? job.MCS_X : job.OCS_X).set(6, c.value);
        SolverHarness h;
        const std::string what = messageOf(job, statesWith({1, 2, 3}));
        if (c.refused) {
            EXPECT_NE(what.find("coordinates are limited to \u00b11E+12 millimeter."), std::string::npos)
                << what;
        } else {
            EXPECT_EQ(what.find("too large"), std::string::npos) << what;
        }
    }
}

// A residual that overflows is refused wherever it stands: a solve where only the last point's
// residual overflows (a point at the limit under a held scale of 1e297) ends like one where every
// point's does, with the parameters as before, for an even and an odd number of points.
TEST(SolveLeastSquares, OverflowOfOnlyTheLastResidualIsRefusedLikeOverflowOfAll) {
    const ParamStates nothingEstimated = statesWith({}, {{kScaleX, "1e297"}});
    for (const std::int32_t n : {6, 7}) {
        SCOPED_TRACE(n);
        auto message = [&](bool onlyLast) {
            JobState job = makeJob(n, testing::identityParams());
            for (std::int32_t i = onlyLast ? n : 1; i <= n; ++i) job.MCS_X.set(i, kLargestCoordinate - i);
            const auto before = job.Params;
            const std::string what = messageOf(job, nothingEstimated);
            EXPECT_EQ(job.Params, before);
            return what;
        };
        const std::string all = message(false);
        EXPECT_NE(all.find("Invalid floating-point result in the residuals"), std::string::npos) << all;
        EXPECT_EQ(message(true), all);
    }
}

// A 7-parameter fit on noisy data whose common scale is not 1: the three axis scales follow the
// common one, the known values come back within the noise, and the result is the least-squares
// minimum: the residuals are orthogonal to every column of the design matrix at the solution.
TEST(SolveLeastSquares, SevenParameterFitOnNoisyDataRecoversTheCommonScale) {
    auto truth = testing::identityParams();
    truth[kTraX] = 101.5, truth[kTraY] = -48.25, truth[kTraZ] = 25;
    truth[kRotX] = 0.3, truth[kRotY] = -0.2, truth[kRotZ] = 0.5;
    for (int k = kScaleX; k <= kScaleXYZ; ++k) truth[k] = 1.0023;
    JobState job = makeJob(400, truth);
    addNoise(job, 0.02);
    SolverHarness h;
    const HelmertOutcome out = h.solve(job, kSevenParameters);
    ASSERT_TRUE(out.converged);
    EXPECT_EQ(job.ScaleX(), job.ScaleXYZ());
    EXPECT_EQ(job.ScaleY(), job.ScaleXYZ());
    EXPECT_EQ(job.ScaleZ(), job.ScaleXYZ());
    // σ 0.02 mm over 1200 coordinates spread ±500 mm: the scale and the rotation to about 2e-6.
    EXPECT_NEAR(job.ScaleXYZ(), 1.0023, 1e-5);
    EXPECT_GT(std::fabs(job.ScaleXYZ() - 1.0), 2e-3);
    expectSameRotation(job, truth, 1e-5);
    for (int k : {kTraX, kTraY, kTraZ})
        EXPECT_NEAR(job.Params[static_cast<std::size_t>(k)], truth[k], 5e-3) << k;

    const std::int32_t nObs = 1200;
    Matrix A(nObs, 7), l(nObs, 1);
    buildDesignMatrix(job, h.ctx.controls, kSevenParameters, A, l);
    double vv = 0;
    for (std::int32_t r = 1; r <= nObs; ++r) {
        // At convergence the residuals are the negated misclosures of the solution.
        ASSERT_NEAR(h.results.Residuals(r, 1), -l(r, 1), 1e-9) << r;
        vv += l(r, 1) * l(r, 1);
    }
    EXPECT_NEAR(std::sqrt(vv / (nObs - 7)), 0.02, 0.002);
    for (int c = 1; c <= 7; ++c) {
        double av = 0, aa = 0;
        for (std::int32_t r = 1; r <= nObs; ++r) av += A(r, c) * l(r, 1), aa += A(r, c) * A(r, c);
        EXPECT_LT(std::fabs(av), 1e-9 * std::sqrt(aa * vv)) << c;
    }
}

// R Dist with points whose x and z flags differ: a point's distance weighs what its z row weighs.
// Point 2 (flags 0, 1, 1) counts; point 5 (1, 1, 0), 3 mm off, neither moves the fit nor the sigmas.
TEST(SolveLeastSquares, RDistSigmasWeighEachPointByItsZFlag) {
    auto truth = testing::identityParams();
    truth[kTraX] = 10, truth[kTraY] = 20, truth[kTraZ] = 30;
    truth[kRotX] = 0.1, truth[kRotY] = 0.2, truth[kRotZ] = -0.3;
    const std::int32_t n = 14;
    JobState job = makeJob(n, truth);
    testing::onSpheres(job, 10.0);
    // Distances of 10 ± 0.05 (point 5: 13).
    for (std::int32_t i = 1; i <= n; ++i) {
        const double extra = (i == 5) ? 3.0 : 0.05 * std::sin(1.7 * i);
        double t[3];
        JobState model;
        model.Params = truth;
        model.RotXSeed = truth[kRotX], model.RotYSeed = truth[kRotY], model.RotZSeed = truth[kRotZ];
        transformPoint(model, job.MCS_X[i], job.MCS_Y[i], job.MCS_Z[static_cast<std::size_t>(i)], t[0], t[1],
                       t[2]);
        const double o[3] = {job.OCS_X[i] - t[0], job.OCS_Y[i] - t[1],
                             job.OCS_Z[static_cast<std::size_t>(i)] - t[2]};
        const double f = (10.0 + extra) / 10.0;
        job.OCS_X.set(i, t[0] + f * o[0]), job.OCS_Y.set(i, t[1] + f * o[1]);
        job.OCS_Z[static_cast<std::size_t>(i)] = t[2] + f * o[2];
    }
    job.UseFlags[3 * 2 - 2] = 0;  // point 2: (0, 1, 1)
    job.UseFlags[3 * 5] = 0;      // point 5: (1, 1, 0)
    job.RawScale = 1;
    SolverHarness h;
    h.ctx.controls.CheckRDist = 1;
    ASSERT_TRUE(h.solve(job, statesWith({1, 2, 3, 4, 5, 6, kRDist})).converged);
    EXPECT_NEAR(job.RDist(), 10.0, 0.05);  // point 5's 13 mm would pull it by 0.2
    for (int r = 4; r <= 6; ++r) EXPECT_EQ(h.results.Weights(r, 1), 1.0) << r;
    for (int r = 13; r <= 15; ++r) EXPECT_EQ(h.results.Weights(r, 1), 0.0) << r;
    EXPECT_GT(std::fabs(h.results.Residuals(5, 1)), 2.5);
    double s0, sx, sy, sz;
    calculateSigmaDistanceRows(h.results.Residuals, h.results.Weights, n, s0, sx, sy, sz);
    double vv = 0, vx = 0;
    for (std::int32_t i = 1; i <= n; ++i) {
        if (i == 5) continue;
        vv += h.results.Residuals(i, 1) * h.results.Residuals(i, 1);
        if (i % 3 == 1) vx += h.results.Residuals(i, 1) * h.results.Residuals(i, 1);
    }
    EXPECT_DOUBLE_EQ(s0, std::sqrt(vv / (n - 1 - 1 + 1e-9)));
    EXPECT_DOUBLE_EQ(sx, std::sqrt(vx / (5 - 1 + 1e-9)));  // rows 1, 4, 7, 10, 13
    EXPECT_LT(s0, 0.05);
}

}  // namespace
}  // namespace kal
