#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "details/DistanceAnalysis.h"
#include "details/DistanceTable.h"
#include "details/DistanceTestSupport.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"

namespace kal {
namespace {

using testing::distanceJob;
using testing::PointPair;

DistanceAnalysis analyse(const JobState& job, bool withCalibration = false) {
    auto result = analyseDistances(takeDistanceSnapshot(job, withCalibration));
    EXPECT_TRUE(result.has_value());
    return result ? std::move(*result) : DistanceAnalysis{};
}

std::vector<std::string> rowTexts(const JobState& job, const DistanceAnalysis& a, std::int32_t row) {
    DistanceTable table(job, &a);
    std::vector<std::string> texts;
    for (std::int32_t c = 0; c < table.columnCount(); ++c) texts.push_back(table.text(row, c));
    return texts;
}

// The analysis as the window's loop states it: every ordered pair (i, j), j ascending within a
// row, values from the double distances, strict comparisons, names carried from row to row.
std::vector<DistanceRow> referenceRows(const DistanceSnapshot& s) {
    const std::int32_t n = s.count();
    std::vector<DistanceRow> rows(static_cast<std::size_t>(n));
    std::int32_t at[4] = {0, 0, 0, 0};
    for (std::int32_t i = 1; i <= n; ++i) {
        DistanceRow r;
        float maxD = -1e8f, minD = 1e9f, maxS = -1e9f, minS = 1e9f;
        double sumAbs = 0, sumScale = 0;
        for (std::int32_t j = 1; j <= n; ++j) {
            if (j == i) continue;
            const auto a = static_cast<std::size_t>(i - 1), b = static_cast<std::size_t>(j - 1);
            const double dM =
                std::sqrt(std::pow(s.mcsX[a] - s.mcsX[b], 2) + std::pow(s.mcsY[a] - s.mcsY[b], 2) +
                          std::pow(s.mcsZ[a] - s.mcsZ[b], 2));
            const double dO =
                std::sqrt(std::pow(s.ocsX[a] - s.ocsX[b], 2) + std::pow(s.ocsY[a] - s.ocsY[b], 2) +
                          std::pow(s.ocsZ[a] - s.ocsZ[b], 2));
            const auto ds = static_cast<float>(dO - dM);
            const auto sc = static_cast<float>(dO / (dM + 1e-10));
            if (ds > maxD) maxD = ds, at[0] = j;
            if (ds < minD) minD = ds, at[1] = j;
            if (sc > maxS) maxS = sc, at[2] = j;
            if (sc < minS) minS = sc, at[3] = j;
            sumAbs += std::fabs(dO - dM);
            sumScale += dO / (dM + 1e-10);
        }
        r.hasPairs = n > 1;
        r.maxDeltaS = maxD, r.minDeltaS = minD, r.maxScale = maxS, r.minScale = minS;
        r.maxDeltaSAt = at[0], r.minDeltaSAt = at[1], r.maxScaleAt = at[2], r.minScaleAt = at[3];
        if (n > 1) r.meanAbsDeltaS = sumAbs / (n - 1), r.meanScale = sumScale / (n - 1);
        rows[static_cast<std::size_t>(i - 1)] = r;
    }
    return rows;
}

TEST(DistanceAnalysis, TwoPointsGiveOnePairInEachRow) {
    JobState job = distanceJob({{"A", 0, 0, 0, 0, 0, 0}, {"B", 1000, 0, 0, 1000.5, 0, 0}});
    const DistanceAnalysis a = analyse(job);
    ASSERT_EQ(a.rows.size(), 2u);
    const std::vector<std::string> expected[] = {
        {"A", "0.500", "B", "0.500", "B", "1.0005000", "B", "1.0005000", "B", "0.500", "1.0005000"},
        {"B", "0.500", "A", "0.500", "A", "1.0005000", "A", "1.0005000", "A", "0.500", "1.0005000"}};
    for (std::int32_t row = 0; row < 2; ++row) EXPECT_EQ(rowTexts(job, a, row), expected[row]);
}

TEST(DistanceAnalysis, CoincidentMcsPointsGiveAHugeScaleWithoutAnError) {
    // Points 1 and 2 coincide in the MCS only; points 2 and 3 in both systems.
    JobState job = distanceJob({{"A", 0, 0, 0, 0, 0, 0}, {"B", 0, 0, 0, 2, 0, 0}, {"C", 0, 0, 0, 2, 0, 0}});
    const DistanceAnalysis a = analyse(job);
    const TrumpetPair ab = trumpetPair(a.points, 1, 2);
    EXPECT_FLOAT_EQ(ab.scale, 2e10f);
    EXPECT_FLOAT_EQ(ab.DeltaS, 2.0f);
    EXPECT_EQ(trumpetPair(a.points, 2, 3).scale, 0.0f);
    EXPECT_FLOAT_EQ(a.rows[0].maxScale, 2e10f);
    EXPECT_EQ(a.rows[0].maxScaleAt, 2);  // first of the two equal ones
    for (const DistanceRow& r : a.rows) {
        EXPECT_TRUE(std::isfinite(r.meanScale));
        EXPECT_TRUE(std::isfinite(r.meanAbsDeltaS));
    }
}

TEST(DistanceAnalysis, EqualExtremesAreNamedByTheFirstPoint) {
    // Seen from A, B and C are equally far and equally stretched; D is unchanged.
    JobState job = distanceJob({{"A", 0, 0, 0, 0, 0, 0},
                                {"B", 100, 0, 0, 100.2, 0, 0},
                                {"C", 0, 100, 0, 0, 100.2, 0},
                                {"D", 0, 0, 50, 0, 0, 50}});
    const DistanceAnalysis a = analyse(job);
    const DistanceRow& row = a.rows[0];
    EXPECT_EQ(row.maxDeltaSAt, 2);
    EXPECT_EQ(row.maxScaleAt, 2);
    EXPECT_EQ(row.minDeltaSAt, 4);
    EXPECT_EQ(rowTexts(job, a, 0)[2], "B");
}

TEST(DistanceAnalysis, MatchesThePairByPairRuleOnTiesAndRandomPoints) {
    // A lattice (many equal distances and deviations) and a scaled noisy cloud.
    std::vector<PointPair> lattice;
    for (int k = 0; k < 27; ++k) {
        const double x = 100.0 * (k % 3), y = 100.0 * (k / 3 % 3), z = 100.0 * (k / 9);
        const double bump = k % 5 == 0 ? 0.01 : 0.0;
        lattice.push_back({"L" + std::to_string(k), x, y, z, x + bump, y, z});
    }
    for (const auto& points : {lattice, testing::scaledCloud(60, 25.0, 0.05)}) {
        const DistanceAnalysis a = analyse(distanceJob(points));
        const std::vector<DistanceRow> expected = referenceRows(a.points);
        ASSERT_EQ(a.rows.size(), expected.size());
        for (std::size_t k = 0; k < expected.size(); ++k) {
            const DistanceRow &r = a.rows[k], &e = expected[k];
            EXPECT_EQ(r.maxDeltaS, e.maxDeltaS) << k;
            EXPECT_EQ(r.minDeltaS, e.minDeltaS) << k;
            EXPECT_EQ(r.maxScale, e.maxScale) << k;
            EXPECT_EQ(r.minScale, e.minScale) << k;
            EXPECT_EQ(r.maxDeltaSAt, e.maxDeltaSAt) << k;
            EXPECT_EQ(r.minDeltaSAt, e.minDeltaSAt) << k;
            EXPECT_EQ(r.maxScaleAt, e.maxScaleAt) << k;
            EXPECT_EQ(r.minScaleAt, e.minScaleAt) << k;
            EXPECT_NEAR(r.meanAbsDeltaS, e.meanAbsDeltaS, 1e-9) << k;
            EXPECT_NEAR(r.meanScale, e.meanScale, 1e-12) << k;
        }
        // Both directions of a pair carry the same numbers.
        const TrumpetPair p = trumpetPair(a.points, 3, 7), q = trumpetPair(a.points, 7, 3);
        EXPECT_EQ(p.DistMCS, q.DistMCS);
        EXPECT_EQ(p.DistOCS, q.DistOCS);
        EXPECT_EQ(p.DeltaS, q.DeltaS);
    }
}

TEST(DistanceAnalysis, AnExtremeNoPairBeatsKeepsTheNameOfTheRowAbove) {
    // Every scale is above the start value of the smallest scale (1e9): no pair sets it.
    JobState job = distanceJob({{"A", 0, 0, 0, 0, 0, 0}, {"B", 0, 0, 0, 5, 0, 0}});
    const DistanceAnalysis a = analyse(job);
    EXPECT_EQ(a.rows[0].minScale, 1e9f);
    EXPECT_EQ(a.rows[0].minScaleAt, 0);  // no row above: no name
    EXPECT_EQ(rowTexts(job, a, 0)[8], "");
}

TEST(DistanceAnalysis, DeltaSInTheDisplayUnitScaleUnchanged) {
    JobState job = distanceJob({{"A", 0, 0, 0, 0, 0, 0}, {"B", 1000, 0, 0, 1000.5, 0, 0}});
    job.LengthFactor = 0.001;  // metres
    job.LengthFormat = "0.000000";
    const DistanceAnalysis a = analyse(job);
    const std::vector<std::string> row = rowTexts(job, a, 0);
    EXPECT_EQ(row[1], "0.000500");
    EXPECT_EQ(row[9], "0.000500");
    EXPECT_EQ(row[5], "1.0005000");
    EXPECT_EQ(a.rows[0].maxDeltaS, 0.5f);  // the pairs stay in millimetres
}

TEST(DistanceAnalysis, OnePointShowsItsNameAndEmptyCells) {
    JobState job = distanceJob({{"Solo", 1, 2, 3, 4, 5, 6}});
    const DistanceAnalysis a = analyse(job);
    ASSERT_EQ(a.rows.size(), 1u);
    std::vector<std::string> expected(11, "");
    expected[0] = "Solo";
    EXPECT_EQ(rowTexts(job, a, 0), expected);
}

TEST(DistanceAnalysis, AScaleErrorOf10PpmShowsInEveryRowsMeanScale) {
    JobState job = distanceJob(testing::scaledCloud(200, 10.0));
    job.ScaleFormat = "0.0000000";
    const DistanceAnalysis a = analyse(job);
    for (std::int32_t row = 0; row < 200; ++row) {
        EXPECT_EQ(rowTexts(job, a, row)[10], "1.0000100") << row;
        EXPECT_NEAR(a.rows[static_cast<std::size_t>(row)].meanScale, 1.00001, 1e-12);
    }
}

TEST(DistanceAnalysis, WithCalibrationComparesTheTransformedMcs) {
    JobState job = distanceJob({{"A", 0, 0, 0, 0, 0, 0}, {"B", 10, 0, 0, 12, 0, 0}});
    job.MCSt_X.set(2, 12.0);
    EXPECT_EQ(analyse(job, true).rows[0].maxDeltaS, 0.0f);
    EXPECT_EQ(analyse(job, false).rows[0].maxDeltaS, 2.0f);
    // Without a transformed set there is nothing to compare with.
    job.MCSt_X = TaggedArray(0);
    EXPECT_THROW(takeDistanceSnapshot(job, true), std::invalid_argument);
}

TEST(DistanceAnalysis, StopEndsTheRunWithoutAResult) {
    JobState job = distanceJob(testing::scaledCloud(400, 5.0));
    testing::FakeProgress progress;
    testing::FakeEventPump pump;
    pump.onEvents([&](int) { progress.stop = true; });
    DistanceAnalysisServices s{&pump, &progress, std::chrono::milliseconds(0)};
    EXPECT_FALSE(analyseDistances(takeDistanceSnapshot(job, false), s).has_value());
    EXPECT_EQ(pump.calls(), 1);
    EXPECT_FALSE(progress.isOpen);  // the window closes on the way out
    EXPECT_EQ(progress.captions, std::vector<std::string>{kDistanceAnalysisCaption});
}

TEST(DistanceAnalysis, LetsEventsThroughWhileItRuns) {
    // Enough pairs that the whole analysis runs far longer than the bound below, so a run that let no events
    // through between its chunks would fail, while a loaded machine's scheduling pauses stay under it.
    JobState job = distanceJob(testing::scaledCloud(4000, 5.0));
    testing::FakeProgress progress;
    testing::FakeEventPump pump;
    using Clock = std::chrono::steady_clock;
    Clock::time_point last = Clock::now();
    Clock::duration longest{};
    pump.onEvents([&](int) {
        longest = std::max(longest, Clock::now() - last);
        last = Clock::now();
    });
    DistanceAnalysisServices s{&pump, &progress, std::chrono::milliseconds(1)};
    ASSERT_TRUE(analyseDistances(takeDistanceSnapshot(job, false), s).has_value());
    EXPECT_GT(pump.calls(), 0);
    // A chunk of pairs between two looks at the clock takes microseconds, even in a checked build.
    EXPECT_LT(longest, std::chrono::milliseconds(150));
    EXPECT_FALSE(progress.values.empty());
    EXPECT_LE(progress.values.back(), 100);
}

}  // namespace
}  // namespace kal
