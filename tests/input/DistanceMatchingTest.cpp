#include <gtest/gtest.h>

#include <random>

#include "input/DistanceMatching.h"
#include "input/MatchingReference.h"
#include "input/MatchingTestData.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"

namespace kal {
namespace {

using testing::cloud;
using Candidates = std::vector<AutoFindCandidate>;

CandidateSearch search(const testing::Cloud& mcs, const testing::Cloud& ocs, float etta) {
    const OcsPairTable table(ocs.view());
    return findAutoFindCandidates(mcs.view(), table, etta, nullptr, nullptr);
}

const testing::Cloud kTriangleMcs = cloud({{0, 0, 0}, {3, 0, 0}, {0, 4, 0}});
const testing::Cloud kTriangleOcs = cloud({{10, 10, 0}, {10, 13, 0}, {6, 10, 0}});

TEST(DistanceMatching, TriangleGivesThreeCandidatesWithSignedDifferences) {
    auto mcs = kTriangleMcs;
    mcs.add(500, 500, 500);  // a far fourth point matches no OCS length
    const auto found = search(mcs, kTriangleOcs, 0.8f);
    EXPECT_FALSE(found.stopped);
    // Lengths 3, 4, 5 on both sides; the gap of 4 goes to 3, the first of its equally near pairs.
    const Candidates expected{{1, 2, 1, 2, 0.0, -1.0}, {1, 3, 1, 3, 0.0, 1.0}, {2, 3, 2, 3, 0.0, 1.0}};
    EXPECT_EQ(found.candidates, expected);
    EXPECT_EQ(chooseSeedCandidates(found.candidates), (std::array<std::int32_t, 3>{0, 1, 2}));
}

TEST(DistanceMatching, FindsNoCandidateWhereLengthsAreNotUnique) {
    struct Case {
        const char* what;
        testing::Cloud mcs, ocs;
        float etta;
    };
    const Case cases[] = {
        {"an OCS square: every length occurs twice", kTriangleMcs,
         cloud({{0, 0, 0}, {3, 0, 0}, {3, 3, 0}, {0, 3, 0}}), 0.8f},
        {"OCS lengths 3, 3.5, 4: gaps below the tolerance", kTriangleMcs,
         cloud({{0, 0, 0}, {3, 0, 0}, {0, 3.5, 0}, {0, -4, 0}}), 0.8f},
        {"a single MCS point", cloud({{0, 0, 0}}), kTriangleOcs, 0.8f},
        {"a single OCS point", kTriangleMcs, cloud({{0, 0, 0}}), 0.8f},
        {"a negative tolerance", kTriangleMcs, kTriangleOcs, -0.8f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(search(c.mcs, c.ocs, c.etta).candidates.empty());
    }
}

TEST(DistanceMatching, EndsAtTheSixthCandidate) {
    // Nine MCS points that are the OCS points moved: every one of the 36 lengths is a candidate
    // where it stands clear of the others.
    std::mt19937 rng(7);
    const auto mcs = testing::randomCloud(rng, 9, 0, 100.0);
    const auto ocs = testing::movedCopy(rng, mcs, 0.3, 5, 6, 7, 0, 1, 9);
    const auto found = search(mcs, ocs, 0.01f);
    EXPECT_EQ(found.candidates.size(), 6u);
    EXPECT_EQ(found.candidates, reference::autoFindCandidates(mcs.view(), ocs.view(), 0.01f));
}

TEST(DistanceMatching, SeedChoiceTakesTheLargestGapsFirstInListOnTies) {
    Candidates c(5);
    const double gaps[] = {1, -3, 2, 3, 0.5};
    for (int k = 0; k < 5; ++k) c[k].d2 = gaps[k];
    EXPECT_EQ(chooseSeedCandidates(c), (std::array<std::int32_t, 3>{1, 3, 2}));
    EXPECT_THROW(chooseSeedCandidates(Candidates(2)), std::invalid_argument);
}

// A seed triangle counts when its smallest height exceeds the tolerance and a millionth of its
// longest side, in any size and position.
TEST(DistanceMatching, SeedTriangleMustStandHigherThanTheToleranceAndRounding) {
    struct Case {
        const char* what;
        double side, height, offset;
        float etta;
        bool sound;
    };
    const Case cases[] = {
        {"a plain triangle", 1000, 500, 0, 0.8f, true},
        {"just above the tolerance", 1000, 0.81, 0, 0.8f, true},
        {"below the tolerance", 1000, 0.79, 0, 0.8f, false},
        {"in a line", 1000, 0, 0, 0.8f, false},
        {"in a line far from the origin", 1000, 0, 5e7, 1e-6f, false},
        {"rounding level with a tiny tolerance", 1e6, 0.5, 0, 1e-6f, false},
        {"above a millionth of the side", 1e6, 2, 0, 1e-6f, true},
        {"a small sound triangle", 0.01, 0.005, 0, 1e-4f, true},
        {"three times one point", 0, 0, 1e3, 0.8f, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const double o = c.offset;
        const std::array<std::array<double, 3>, 3> p{
            {{o, o, o}, {o + c.side, o, o}, {o + c.side / 3, o, o + c.height}}};
        EXPECT_EQ(isSoundSeedTriangle(p, c.etta), c.sound);
        // The order of the points does not matter.
        EXPECT_EQ(isSoundSeedTriangle({p[2], p[0], p[1]}, c.etta), c.sound);
    }
}

TEST(DistanceMatching, ProgressIsTheShareOfPairsOrTwentyPerCandidate) {
    struct Case {
        std::int64_t p, count;
        std::int32_t candidates;
        int expected;
    };
    const Case cases[] = {
        {1, 1000, 0, 2}, {500, 1000, 0, 50}, {500, 1000, 3, 60}, {1000, 1000, 5, 100}, {10, 1000, 6, 100}};
    for (const auto& c : cases) EXPECT_EQ(autoFindProgress(c.p, c.count, c.candidates), c.expected);
}

TEST(DistanceMatching, StopsWhenTheUserCancelsAndKeepsNoCandidate) {
    std::mt19937 rng(3);
    const auto mcs = testing::randomCloud(rng, 40, 1, 20.0);
    const OcsPairTable table(testing::randomCloud(rng, 40, 1, 20.0).view());
    const float etta = 5.0f;  // wider than any gap between the 780 OCS lengths: no candidate at all
    testing::FakeEventPump events;
    testing::FakeProgress progress;
    events.onEvents([&](int calls) { progress.stop = calls == 25; });
    platform::ThrottledPump pump(&events, std::chrono::milliseconds(0));
    const auto found = findAutoFindCandidates(mcs.view(), table, etta, &pump, &progress);
    EXPECT_TRUE(found.stopped);
    EXPECT_TRUE(found.candidates.empty());
    EXPECT_EQ(events.calls(), 25);
    ASSERT_FALSE(progress.values.empty());
    EXPECT_GE(progress.values.front(), 2);
}

// The bisection search must give exactly the candidates of the plain loops, in order and with
// the same signed differences: on sets with many equal lengths (integer and half-integer grids,
// repeated points), with partly shared points, and with moved copies plus noise.
TEST(DistanceMatching, GivesTheCandidatesOfThePlainLoopsOnRandomSets) {
    std::mt19937 rng(99);
    const float ettas[] = {0.05f, 0.2f, 0.5f, 0.01f, 1.0f, 0.3f, 0.7f};
    int solvable = 0;
    for (int round = 0; round < 400; ++round) {
        const int kind = round % 5;
        const auto n = static_cast<std::int32_t>(rng() % 61), m = static_cast<std::int32_t>(rng() % 61);
        const double size = kind == 0 ? 100.0 : kind == 4 ? 30.0 : 8.0;
        const auto mcs = testing::randomCloud(rng, n, kind, size);
        const bool moved = round % 3 != 0;
        const auto ocs = moved ? testing::movedCopy(rng, mcs, 0.1 * round, 50, -20, 3, round % 2 ? 0.002 : 0,
                                                    1 + round % 7, m)
                               : testing::randomCloud(rng, m, kind, size);
        const float etta = ettas[round % std::size(ettas)];
        SCOPED_TRACE(::testing::Message()
                     << "round " << round << ", n " << n << ", m " << m << ", etta " << etta);
        const auto expected = reference::autoFindCandidates(mcs.view(), ocs.view(), etta);
        const auto found = search(mcs, ocs, etta);
        ASSERT_EQ(found.candidates, expected);
        if (expected.size() >= 3) {
            ++solvable;
            const auto choice = chooseSeedCandidates(found.candidates);
            EXPECT_EQ(std::vector<std::int32_t>(choice.begin(), choice.end()),
                      reference::seedChoice(expected));
        }
    }
    EXPECT_GT(solvable, 60);  // enough sets reach a seed for the comparison to mean something
}

}  // namespace
}  // namespace kal
