#include <gtest/gtest.h>

#include <limits>

#include "platform/Regional.h"
#include "results/ResultDisplay.h"
#include "support/KnownTransformJob.h"

namespace kal {
namespace {

constexpr double kDeg = 3.14159265358979 / 180.0;

// An adjustment of one point whose s0 is 1 (to 1e-9): one residual of 1 over two used weights.
// `cofactors` are the diagonal of the cofactor matrix.
CalcResults unitS0Adjustment(const std::vector<double>& cofactors) {
    CalcResults r;
    r.ObservationCount = 3;
    r.Residuals.resize(3, 1);
    r.Weights.resize(3, 1);
    r.Residuals(1, 1) = 1.0;
    r.Weights(1, 1) = r.Weights(2, 1) = 1.0;
    r.UnknownCount = static_cast<std::int32_t>(cofactors.size());
    r.CofactorMatrix.resize(r.UnknownCount, r.UnknownCount);
    for (std::int32_t k = 1; k <= r.UnknownCount; ++k)
        r.CofactorMatrix(k, k) = cofactors[static_cast<std::size_t>(k - 1)];
    return r;
}

JobState unitJob(const char* lengthUnit = "millimeter") {
    JobState job;
    testing::setMillimetreDegree(job, lengthUnit);
    testing::sizeIdentical(job, 1);
    job.ScaleX() = job.ScaleY() = job.ScaleZ() = job.ScaleXYZ() = 1.0;
    return job;
}

TEST(ResultDisplay, ScaleTooltipsShowTheDeviationFromOneInTheLengthUnit) {
    const struct {
        const char* unit;
        std::optional<std::string> tip;
    } cases[] = {
        {"millimeter", "-0.010000 millimeter per meter"},
        {"meter", "-10.000000 ppm"},
        {"inch", "-0.100000 10thou per inch"},
        {"feet", std::nullopt},  // no unit text of its own: the tooltips are left as they are
    };
    for (const auto& c : cases) {
        JobState job = unitJob(c.unit);
        job.ScaleX() = 1.00001;
        PrevStats prev;
        const ResultDisplay d = showResults(job, {}, prev);
        EXPECT_EQ(d.params[kScaleX].scaleTip, c.tip) << c.unit;
        if (c.tip) {
            EXPECT_EQ(d.params[kScaleY].scaleTip, "0.000000" + c.tip->substr(c.tip->find(' ')));
        }
    }
}

TEST(ResultDisplay, SignificanceCountsFromTheNeutralValueInSigmas) {
    platform::ScopedDecimalSeparator point('.');
    const struct {
        int slot;
        double value;
        double sigma;
        const char* significance;
    } cases[] = {
        {kRotZ, 179 * kDeg, 0.5 * kDeg, "2.0"},  // atan(tan(179°)) = -1°
        {kScaleXYZ, 1.0, 1e-6, "0.0"},
        {kScaleX, 1.00002, 1e-5, "2.0"},
        {kTraY, -12.5, 2.5, "5.0"},
    };
    for (const auto& c : cases) {
        JobState job = unitJob();
        job.Params[static_cast<std::size_t>(c.slot)] = c.value;
        const CalcResults r = unitS0Adjustment({c.sigma * c.sigma});
        DisplayInput in{&r, {}, true};
        in.ticks.ticked[static_cast<std::size_t>(c.slot)] = true;
        PrevStats prev;
        const ResultDisplay d = showResults(job, in, prev);
        EXPECT_EQ(d.params[static_cast<std::size_t>(c.slot)].significance, c.significance) << c.slot;
        EXPECT_NEAR(*d.paramSigma[static_cast<std::size_t>(c.slot)], c.sigma, c.sigma * 1e-8) << c.slot;
    }
}

TEST(ResultDisplay, ParametersNotEstimatedConsumeNoCofactor) {
    JobState job = unitJob();
    job.TraX() = 10, job.RotZ() = 10 * kDeg;
    const CalcResults r = unitS0Adjustment({4.0, 0.01 * kDeg * 0.01 * kDeg});
    DisplayInput in{&r, {}, true};
    in.ticks.ticked[kTraX] = in.ticks.ticked[kRotZ] = true;
    PrevStats prev;
    const ResultDisplay d = showResults(job, in, prev);
    EXPECT_EQ(d.params[kTraX].sigma, "2.000");
    EXPECT_EQ(d.params[kRotZ].sigma, "0.0100");  // Cofactors(2, 2)
    EXPECT_EQ(d.params[kTraY].sigma, "");        // held: no sigma of this calculation
    EXPECT_EQ(d.params[kRotX].significance, "");
}

// A parameter estimated by one calculation and held in the next: the next one empties its sigma
// and value/sigma boxes rather than leave the earlier figures beside the held value.
TEST(ResultDisplay, AHeldParameterShowsNoSigmaOfAnEarlierCalculation) {
    JobState job = unitJob();
    job.TraX() = 251, job.RotZ() = -89.99 * kDeg;
    PrevStats prev;
    const CalcResults all = unitS0Adjustment({0.04, 1e-20});
    DisplayInput first{&all, {}, true};
    first.ticks.ticked[kTraX] = first.ticks.ticked[kRotZ] = true;
    const ResultDisplay before = showResults(job, first, prev);
    ASSERT_NE(before.params[kTraX].sigma, "");
    ASSERT_NE(before.params[kRotZ].significance, "");

    const CalcResults one = unitS0Adjustment({0.04});
    DisplayInput second{&one, {}, true};
    second.ticks.ticked[kTraX] = true;  // rot z'' held
    const ResultDisplay after = showResults(job, second, prev);
    EXPECT_EQ(after.params[kRotZ].sigma, "");
    EXPECT_EQ(after.params[kRotZ].significance, "");
    EXPECT_EQ(after.params[kTraX].sigma, before.params[kTraX].sigma);
    for (int slot = kTraY; slot <= kRvecZ; ++slot) {
        if (slot == kRotZ) continue;
        EXPECT_EQ(after.params[static_cast<std::size_t>(slot)].sigma, "") << slot;
        EXPECT_EQ(after.params[static_cast<std::size_t>(slot)].significance, "") << slot;
    }
}

// Under L1 and minimax the weights are reweighting weights: no sigma, no significance and no
// s0 or axis sigma is shown (and none is kept to compare the next one with); the residual
// extremes are shown. Under L2 the same adjustment gives its sigmas and no tooltip.
TEST(ResultDisplay, UnderL1AndMinimaxNoSigmaIsShownAndTheTooltipSaysWhy) {
    platform::ScopedDecimalSeparator point('.');
    for (const std::int16_t norm : {kNormL1, kNormMinimax, kNormL2}) {
        SCOPED_TRACE(norm);
        JobState job = unitJob();
        job.TraX() = 10;
        CalcResults r = unitS0Adjustment({4.0});
        r.SolvedNorm = norm;
        DisplayInput in{&r, {}, true};
        in.ticks.ticked[kTraX] = true;
        PrevStats prev;
        prev.value[kStatS0] = 7.0;
        const ResultDisplay d = showResults(job, in, prev);
        ASSERT_TRUE(d.statistics);
        EXPECT_EQ(d.statisticsText[kStatMaxX], "1.000");
        if (norm == kNormL2) {
            EXPECT_EQ(d.params[kTraX].sigma, "2.000");  // sqrt(4) * s0 of 1
            EXPECT_EQ(d.params[kTraX].significance, "5.0");
            EXPECT_EQ(d.statisticsText[kStatS0], "1.000");
            EXPECT_EQ(d.sigmaTooltip, "");
            EXPECT_NEAR(prev.value[kStatS0], 1.0, 1e-6);
            continue;
        }
        for (int slot = kTraX; slot <= kRvecZ; ++slot) {
            EXPECT_EQ(d.params[static_cast<std::size_t>(slot)].sigma, "") << slot;
            EXPECT_EQ(d.params[static_cast<std::size_t>(slot)].significance, "") << slot;
            EXPECT_FALSE(d.paramSigma[static_cast<std::size_t>(slot)]) << slot;
        }
        for (int q : kSigmaStatistics) {
            EXPECT_EQ(d.statisticsText[static_cast<std::size_t>(q)], "") << q;
            EXPECT_EQ(d.statistics->arrow[static_cast<std::size_t>(q)], Arrow::None) << q;
        }
        EXPECT_EQ(prev.value[kStatS0], 7.0);
        EXPECT_EQ(d.sigmaTooltip, noSigmaTooltip(norm));
        EXPECT_NE(d.sigmaTooltip.find(norm == kNormL1 ? "L1" : "Loo"), std::string::npos);
    }
}

// A paraboloid job with rot z'' estimated: the values that turn with the surface's axis get empty
// sigma and value/sigma boxes with a tooltip that says why; the others (tra z) keep their sigmas.
TEST(ResultDisplay, ValuesTheSurfaceLeavesOpenShowNoSigma) {
    platform::ScopedDecimalSeparator point('.');
    JobState job = unitJob();
    job.TraZ() = 10;
    CalcResults r = unitS0Adjustment({4.0, 4.0, 4.0, 1e-4, 1e-4, 1e-4});
    for (int slot : {kTraX, kTraY, kRotX, kRotY, kRotZ})
        r.OpenBySurface[static_cast<std::size_t>(slot)] = true;
    DisplayInput in{&r, {}, true};
    for (int slot = kTraX; slot <= kRotZ; ++slot) in.ticks.ticked[static_cast<std::size_t>(slot)] = true;
    PrevStats prev;
    const ResultDisplay d = showResults(job, in, prev);
    for (int slot : {kTraX, kTraY, kRotX, kRotY, kRotZ}) {
        const auto& t = d.params[static_cast<std::size_t>(slot)];
        EXPECT_EQ(t.sigma, "") << slot;
        EXPECT_EQ(t.significance, "") << slot;
        EXPECT_EQ(t.sigmaTip, kOpenBySurfaceTooltip) << slot;
        EXPECT_FALSE(d.paramSigma[static_cast<std::size_t>(slot)]) << slot;
    }
    EXPECT_EQ(d.params[kTraZ].sigma, "2.000");  // its own cofactor, the third
    EXPECT_EQ(d.params[kTraZ].significance, "5.0");
    EXPECT_FALSE(d.params[kTraZ].sigmaTip);
    EXPECT_EQ(d.statisticsText[kStatS0], "1.000");  // s0 is determined
}

// The units window's OK before any calculation: every box is reformatted, nothing needs an
// adjustment, and the job is not marked calculated.
TEST(ResultDisplay, UnitsRedisplayBeforeAnyCalculationLeavesTheJobNotCalculated) {
    JobState job = unitJob();
    job.TraX() = 1234.5;
    const CalcResults none;
    PrevStats prev;
    const ResultDisplay d = showResults(job, DisplayInput{&none, {}, false}, prev);
    EXPECT_FALSE(job.TrafoCalculated);
    EXPECT_FALSE(d.statistics);
    EXPECT_EQ(d.params[kTraX].value, "1234.500");
    EXPECT_FALSE(d.params[kTraX].sigma);
    EXPECT_FALSE(d.params[kTraX].changeTip);
    EXPECT_TRUE(d.seedEnabled);
    EXPECT_EQ(prev.value, PrevStats{}.value);

    const CalcResults r = unitS0Adjustment({1.0});
    showResults(job, DisplayInput{&r, {}, true}, prev);
    EXPECT_TRUE(job.TrafoCalculated);
}

// Each box shows its own parameter in its own unit: distinct values with both signs on the three
// translations (metres) and the three rotations (degrees), so a swapped or mis-signed box shows.
TEST(ResultDisplay, EachParameterBoxShowsItsOwnValueInItsUnit) {
    JobState job = unitJob("meter");
    job.TraX() = 1500, job.TraY() = -2250, job.TraZ() = 30;
    job.RotX() = 10 * kDeg, job.RotY() = -20 * kDeg, job.RotZ() = 35 * kDeg;
    PrevStats prev;
    const ResultDisplay d = showResults(job, {}, prev);
    const std::pair<int, const char*> expected[] = {{kTraX, "1.500"},    {kTraY, "-2.250"},
                                                    {kTraZ, "0.030"},    {kRotX, "10.0000"},
                                                    {kRotY, "-20.0000"}, {kRotZ, "35.0000"}};
    for (const auto& [slot, text] : expected)
        EXPECT_EQ(d.params[static_cast<std::size_t>(slot)].value, text) << slot;
}

TEST(ResultDisplay, ChangeTooltipsGiveCurrentMinusPreviousAnglesWithoutPrefix) {
    JobState job = unitJob();
    CalcResults r = unitS0Adjustment({});
    r.OldParams[kTraX] = 2.0;
    r.OldParams[kRotY] = 1 * kDeg;
    job.TraX() = 1.5;
    job.RotY() = 3 * kDeg;
    PrevStats prev;
    const ResultDisplay d = showResults(job, DisplayInput{&r, {}, true}, prev);
    EXPECT_EQ(d.params[kTraX].changeTip, "delta to last calculation: -0.500");
    EXPECT_EQ(d.params[kRotY].changeTip, "2.0000");
    EXPECT_EQ(d.params[kTraY].changeTip, "delta to last calculation: 0.000");  // never "-0"
}

TEST(ResultDisplay, ScaleXyzBoxIsWrittenOnlyWhileEstimated) {
    JobState job = unitJob();
    PrevStats prev;
    DisplayInput in;
    EXPECT_FALSE(showResults(job, in, prev).params[kScaleXYZ].value);
    EXPECT_EQ(showResults(job, in, prev).params[kScaleX].value, "1.000000");
    in.ticks.ticked[kScaleXYZ] = true;
    EXPECT_EQ(showResults(job, in, prev).params[kScaleXYZ].value, "1.000000");
}

TEST(ResultDisplay, OffsetVectorGivesRDistItsLengthAndPropagatedSigma) {
    JobState job = unitJob();
    job.UseAbcMode = true;
    job.Rvec_x() = 3, job.Rvec_y() = 0, job.Rvec_z() = 4;
    const CalcResults r = unitS0Adjustment({0.04, 0.09, 0.16});
    DisplayInput in{&r, {}, true};
    in.ticks.useAbc = true;
    PrevStats prev;
    ResultDisplay d = showResults(job, in, prev);
    EXPECT_DOUBLE_EQ(job.RDist(), 5.0);
    EXPECT_EQ(d.params[kRDist].value, "5.000");
    EXPECT_EQ(d.params[kRvecZ].sigma, "0.400");
    // σR² = (0.2·3/5)² + (0.4·4/5)²
    EXPECT_EQ(d.params[kRDist].sigma, "0.342");

    // A zero vector has no direction: both R Dist boxes empty, never "nan".
    job.Rvec_x() = job.Rvec_z() = 0;
    d = showResults(job, in, prev);
    EXPECT_EQ(d.params[kRDist].sigma, "");
    EXPECT_EQ(d.params[kRDist].significance, "");
}

TEST(ResultDisplay, OffsetVectorRDistTooltipMeasuresTheNewLengthNotTheStaleOne) {
    JobState job = unitJob();
    job.UseAbcMode = true;
    // The last calculation left R Dist 2 (the vector (2, 0, 0)); this solve moved the vector to
    // (3, 0, 4), length 5, and left the stored R Dist as it was.
    CalcResults r = unitS0Adjustment({0.04, 0.09, 0.16});
    r.OldParams[kRDist] = 2.0;
    r.OldParams[kRvecX] = 2.0;
    job.RDist() = 2.0;
    job.Rvec_x() = 3, job.Rvec_y() = 0, job.Rvec_z() = 4;
    DisplayInput in{&r, {}, true};
    in.ticks.useAbc = true;
    PrevStats prev;
    const ResultDisplay d = showResults(job, in, prev);
    EXPECT_EQ(d.params[kRDist].value, "5.000");
    EXPECT_EQ(d.params[kRDist].changeTip, "delta to last calculation: 3.000");
    EXPECT_EQ(d.params[kRvecX].changeTip, "delta to last calculation: 1.000");
}

TEST(ResultDisplay, NonFiniteValuesLeaveTheirBoxesAlone) {
    JobState job = unitJob();
    job.TraX() = std::numeric_limits<double>::infinity();
    job.RotX() = std::numeric_limits<double>::quiet_NaN();
    PrevStats prev;
    const ResultDisplay d = showResults(job, {}, prev);
    EXPECT_FALSE(d.params[kTraX].value);
    EXPECT_FALSE(d.params[kRotX].value);
    EXPECT_EQ(d.params[kTraY].value, "0.000");
}

TEST(ResultDisplay, StatisticsTextsAndExtremeNames) {
    JobState job = unitJob("meter");
    testing::sizeIdentical(job, 2);
    CalcResults r;
    r.ObservationCount = 6;
    r.Residuals.resize(6, 1);
    r.Weights.resize(6, 1);
    const double v[] = {2, -1, 0.5, -3, 1, 0.25};
    const double w[] = {1, 1, 0, 1, 1, 0};  // no z used, no point with all three
    for (int i = 1; i <= 6; ++i) r.Residuals(i, 1) = v[i - 1], r.Weights(i, 1) = w[i - 1];
    PrevStats prev;
    const ResultDisplay d = showResults(job, DisplayInput{&r, {}, true}, prev);
    ASSERT_TRUE(d.statistics);
    EXPECT_EQ(d.statisticsText[kStatMaxX], "0.002");  // metres
    EXPECT_EQ(d.statisticsText[kStatMinX], "-0.003");
    EXPECT_EQ(d.statisticsText[kStatMaxZ], "");
    EXPECT_EQ(d.statisticsText[kStatSpreadZ], "");
    EXPECT_EQ(d.statisticsText[kStatMaxXyz], "no xyz");
    EXPECT_EQ(d.extremeName[kExtMaxX], "P1");
    EXPECT_EQ(d.extremeName[kExtMinX], "P2");
    EXPECT_EQ(d.extremeName[kExtMaxZ], "");
    EXPECT_EQ(d.extremeName[kExtMaxXyz], "");
    EXPECT_DOUBLE_EQ(job.MaxDevX, 2.0);
    EXPECT_DOUBLE_EQ(job.MinDevX, -3.0);
}

TEST(ResultDisplay, McsOnlyPointsAreTransformed) {
    JobState job = unitJob();
    job.McsCount = 2;
    job.MCS_Name.push_back("Q");
    job.MCS_X.resize(2), job.MCS_Y.resize(2);
    job.MCS_Z.resize(3);
    job.sizeDerivedArrays(1);
    job.MCS_X.set(2, 1.0), job.MCS_Y.set(2, 2.0), job.MCS_Z[2] = 3.0;
    job.TraX() = 100;
    PrevStats prev;
    showResults(job, {}, prev);
    EXPECT_DOUBLE_EQ(job.MCSt_X[2], 101.0);
    EXPECT_DOUBLE_EQ(job.MCSt_Z[2], 3.0);
}

}  // namespace
}  // namespace kal
