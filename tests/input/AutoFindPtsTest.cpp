#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/TransformModel.h"
#include "input/AutoFindPts.h"
#include "input/MatchingReference.h"
#include "input/MatchingTestData.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"

namespace kal {
namespace {

using Names = std::vector<std::string>;

struct NamedCloud {
    Names names{std::string()};
    testing::Cloud cloud;

    void add(const std::string& name, double x, double y, double z) {
        names.push_back(name);
        cloud.add(x, y, z);
    }
    MatchSet set() { return {names, cloud.view()}; }
};

NamedCloud named(const testing::Cloud& c, const std::string& prefix) {
    NamedCloud n;
    for (std::int32_t i = 1; i <= c.count(); ++i) n.add(prefix + std::to_string(i), c.x[i], c.y[i], c.z[i]);
    return n;
}

struct Fixture {
    testing::FakePrompter prompter;
    testing::FakeEventPump events;
    testing::FakeProgress progress;
    AutoFindServices services() {
        return {&prompter, &events, &progress, nullptr, std::chrono::milliseconds(0)};
    }
};

// The search gave up: no pairs, no seed, no name changed, the one message, the progress window gone.
void expectUnsolvedAndUnchanged(const AutoFindResult& result, const Fixture& f, const Names& mcsNames,
                                const Names& mcsBefore, const Names& ocsNames, const Names& ocsBefore) {
    EXPECT_EQ(result.status, AutoFindResult::Status::NotSolved);
    EXPECT_EQ(result.identicalCount, 0);
    EXPECT_FALSE(result.seed);
    EXPECT_EQ(mcsNames, mcsBefore);
    EXPECT_EQ(ocsNames, ocsBefore);
    EXPECT_EQ(
        f.prompter.texts(),
        (std::vector<std::string>{"Could not solve the auto find problem, maybe try changing ETTA Value"}));
    EXPECT_FALSE(f.progress.isOpen);
}

NamedCloud triangleMcs() {
    NamedCloud m;
    m.add("MCS_P1", 0, 0, 0), m.add("MCS_P2", 3, 0, 0), m.add("MCS_P3", 0, 4, 0);
    return m;
}
NamedCloud triangleOcs() {
    NamedCloud o;
    o.add("OCS_Q1", 10, 10, 0), o.add("OCS_Q2", 10, 13, 0), o.add("OCS_Q3", 6, 10, 0);
    return o;
}

TEST(AutoFindPoints, TriangleSeedsTheTransformationAndPairsAllThree) {
    Fixture f;
    NamedCloud mcs = triangleMcs(), ocs = triangleOcs();
    mcs.add("MCS_P4", 300, -200, 50);  // far from everything: stays alone
    const JobState job;
    const auto result = autoFindPoints(mcs.set(), ocs.set(), 0.8f, std::nullopt, job, f.services());

    EXPECT_EQ(result.status, AutoFindResult::Status::Paired);
    EXPECT_EQ(result.identicalCount, 3);
    EXPECT_EQ(mcs.names, (Names{"", "MCS_P1=OCS_Q1", "MCS_P2=OCS_Q2", "MCS_P3=OCS_Q3", "MCS_P4"}));
    EXPECT_EQ(ocs.names, (Names{"", "MCS_P1=OCS_Q1", "MCS_P2=OCS_Q2", "MCS_P3=OCS_Q3"}));
    ASSERT_TRUE(result.seed);
    EXPECT_EQ(result.seed->ScaleX, 1.0);  // unit scales whatever RawScale says
    // The seed places P1 onto Q1.
    JobState seeded;
    seeded.TraX() = result.seed->TraX, seeded.TraY() = result.seed->TraY, seeded.TraZ() = result.seed->TraZ;
    seeded.RotXSeed = result.seed->RotXSeed, seeded.RotYSeed = result.seed->RotYSeed;
    seeded.RotZSeed = result.seed->RotZSeed;
    seeded.ScaleX() = seeded.ScaleY() = seeded.ScaleZ() = 1;
    double x = 0, y = 0, z = 0;
    transformPoint(seeded, 0, 0, 0, x, y, z);
    EXPECT_NEAR(x, 10, 1e-9);
    EXPECT_NEAR(y, 10, 1e-9);
    EXPECT_NEAR(z, 0, 1e-9);

    EXPECT_TRUE(f.prompter.shown().empty());
    EXPECT_EQ(f.progress.captions, (std::vector<std::string>{"AutoFind Indentically Points - Progress"}));
    EXPECT_FALSE(f.progress.isOpen);
}

TEST(AutoFindPoints, FewerThanThreeCandidatesTellsTheUserAndPairsNothing) {
    struct Case {
        const char* what;
        NamedCloud ocs;
        std::optional<std::int32_t> limit;
    };
    NamedCloud square;
    square.add("OCS_A", 0, 0, 0), square.add("OCS_B", 3, 0, 0), square.add("OCS_C", 3, 3, 0);
    square.add("OCS_D", 0, 3, 0);
    const Case cases[] = {
        {"an OCS square: every length twice", square, std::nullopt},
        {"only the first two OCS points: one length", triangleOcs(), 2},
        {"no OCS point at all", triangleOcs(), 0},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        NamedCloud mcs = triangleMcs();
        const Names mcsBefore = mcs.names, ocsBefore = c.ocs.names;
        const auto result = autoFindPoints(mcs.set(), c.ocs.set(), 0.8f, c.limit, JobState(), f.services());
        expectUnsolvedAndUnchanged(result, f, mcs.names, mcsBefore, c.ocs.names, ocsBefore);
    }
}

TEST(AutoFindPoints, StopLeavesNoPairsNoSeedAndNoMessage) {
    Fixture f;
    std::mt19937 rng(5);
    auto mcs = named(testing::randomCloud(rng, 30, 0, 100.0), "MCS_");
    auto ocs = named(testing::movedCopy(rng, mcs.cloud, 0.4, 1, 2, 3, 0, 1, 30), "OCS_");
    const Names before = mcs.names;
    f.events.onEvents([&](int) { f.progress.stop = true; });  // Cancel at the first look at events
    const auto result = autoFindPoints(mcs.set(), ocs.set(), 0.01f, std::nullopt, JobState(), f.services());
    EXPECT_EQ(result.status, AutoFindResult::Status::Stopped);
    EXPECT_EQ(result.identicalCount, 0);
    EXPECT_FALSE(result.seed);
    EXPECT_EQ(mcs.names, before);
    EXPECT_TRUE(f.prompter.shown().empty());
    EXPECT_EQ(f.progress.closes, 1);
}

TEST(AutoFindPoints, CancelWhileThePairTableIsBuiltStopsTheBuild) {
    Fixture f;
    std::mt19937 rng(6);
    // 1 500 OCS points give more than one chunk of pairs, so the build asks between chunks.
    auto mcs = named(testing::randomCloud(rng, 10, 0, 100.0), "MCS_");
    auto ocs = named(testing::randomCloud(rng, 1500, 0, 1000.0), "OCS_");
    f.events.onEvents([&](int) { f.progress.stop = true; });
    const auto result = autoFindPoints(mcs.set(), ocs.set(), 0.8f, std::nullopt, JobState(), f.services());
    EXPECT_EQ(result.status, AutoFindResult::Status::Stopped);
    EXPECT_TRUE(result.candidates.empty());  // stopped before the candidate search began
    EXPECT_TRUE(f.prompter.shown().empty());
    EXPECT_EQ(f.progress.closes, 1);
}

TEST(AutoFindPoints, AnOcsTooLargeForThePairTableIsRefusedWithAMessage) {
    Fixture f;
    std::mt19937 rng(2);
    auto mcs = named(testing::randomCloud(rng, 10, 0, 100.0), "MCS_");
    auto ocs = named(testing::randomCloud(rng, kMaxPairTablePoints + 1, 0, 1000.0), "OCS_");
    const auto result = autoFindPoints(mcs.set(), ocs.set(), 0.8f, std::nullopt, JobState(), f.services());
    EXPECT_EQ(result.status, AutoFindResult::Status::NotSolved);
    ASSERT_EQ(f.prompter.texts().size(), 1u);
    EXPECT_NE(f.prompter.texts()[0].find("at most 10000 OCS points; this OCS holds 10001"),
              std::string::npos);
    EXPECT_TRUE(f.progress.captions.empty());

    // Taking only the first points of the OCS keeps the matching within reach.
    Fixture g;
    const auto limited = autoFindPoints(mcs.set(), ocs.set(), 0.8f, 50, JobState(), g.services());
    EXPECT_EQ(g.progress.captions.size(), 1u);
    (void)limited;
}

// The calculation window's applySeed writes its values into the parameter block and refreshes the
// working copy of the rotation from it. The seed must keep the rotation it computed (or the
// window's), never the job's old RotX..RotZ, or the pair search would turn the points wrongly.
class WindowWithFixedTraX : public SeedValueSource {
  public:
    void applySeed(JobState& job) override {
        job.TraX() = 5.0;
        job.RotXSeed = job.RotX(), job.RotYSeed = job.RotY(), job.RotZSeed = job.RotZ();
    }
};

TEST(AutoFindPoints, SeedKeepsItsRotationWhenTheCalculationWindowAddsItsValues) {
    Fixture f;
    WindowWithFixedTraX window;
    JobState job;
    job.TrafoFormGeladen = true;
    job.RotZ() = 1.0;  // an old rotation that must not leak into the seed
    auto services = f.services();
    services.seedValues = &window;
    NamedCloud mcs = triangleMcs(), ocs = triangleOcs();
    const auto seedWith = autoFindPoints(mcs.set(), ocs.set(), 0.8f, std::nullopt, job, services);
    NamedCloud mcs2 = triangleMcs(), ocs2 = triangleOcs();
    const auto seedWithout =
        autoFindPoints(mcs2.set(), ocs2.set(), 0.8f, std::nullopt, JobState(), f.services());
    ASSERT_TRUE(seedWith.seed && seedWithout.seed);
    EXPECT_EQ(seedWith.seed->TraX, 5.0);
    EXPECT_EQ(seedWith.seed->RotZSeed, seedWithout.seed->RotZSeed);
    EXPECT_EQ(job.RotZ(), 1.0);
}

// Seeds that fix no rotation are never used. Each MCS below has distances that match OCS
// distances uniquely, yet every choice of three candidates has two of one segment (their OCS
// midpoints coincide) or midpoints in a line or nearly so; such seeds once put the MCS anywhere
// and became the job's transformation.
TEST(AutoFindPoints, DegenerateSeedsAreRefusedAndChangeNothing) {
    struct Case {
        const char* what;
        NamedCloud mcs, ocs;
    };
    NamedCloud fourInALine, collinear, flat, triangle = triangleOcs();
    // 3, 3 and 3 all match the OCS segment Q1-Q2; 6 and 9 match nothing.
    fourInALine.add("MCS_A", 0, 0, 0), fourInALine.add("MCS_B", 3, 0, 0), fourInALine.add("MCS_C", 6, 0, 0);
    fourInALine.add("MCS_D", 9, 0, 0);
    // Lengths 3, 10 and 7 on one line in both systems.
    collinear.add("MCS_A", 0, 0, 0), collinear.add("MCS_B", 3, 0, 0), collinear.add("MCS_C", 10, 0, 0);
    NamedCloud collinearOcs;
    collinearOcs.add("OCS_A", 50, 20, 5), collinearOcs.add("OCS_B", 50, 23, 5),
        collinearOcs.add("OCS_C", 50, 30, 5);
    // Nearly a line: the midpoints lie 0.03 from the line through the farthest two, below Etta.
    flat.add("MCS_A", 0, 0, 0), flat.add("MCS_B", 3, 0, 0), flat.add("MCS_C", 10, 0.3, 0);
    NamedCloud flatOcs;
    flatOcs.add("OCS_A", 50, 20, 5), flatOcs.add("OCS_B", 50, 23, 5), flatOcs.add("OCS_C", 49.7, 30, 5);
    const Case cases[] = {
        {"three candidates of one OCS segment", fourInALine, triangle},
        {"collinear points", collinear, collinearOcs},
        {"a triangle lower than the tolerance", flat, flatOcs},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        const Names mcsBefore = c.mcs.names, ocsBefore = c.ocs.names;
        const auto result =
            autoFindPoints(c.mcs.set(), c.ocs.set(), 0.8f, std::nullopt, JobState(), f.services());
        EXPECT_GE(result.candidates.size(), 3u);  // the distances did match
        expectUnsolvedAndUnchanged(result, f, c.mcs.names, mcsBefore, c.ocs.names, ocsBefore);
    }
}

// The candidates with the largest gaps share the OCS segment Q1-Q2 (A-B and C-D are both 3 long):
// the choice passes over them to the sound triangle A-B, A-C, B-C and pairs A, B and C.
TEST(AutoFindPoints, PassesOverCandidatesOfOneSegmentToASoundTriangle) {
    Fixture f;
    NamedCloud mcs, ocs;
    mcs.add("MCS_A", 0, 0, 0), mcs.add("MCS_B", 3, 0, 0), mcs.add("MCS_C", 0, 6, 0),
        mcs.add("MCS_D", 0, 9, 0);
    // Turned by 90° about z and moved by (10, 10, 5): A -> Q1, B -> Q2, C -> Q3.
    ocs.add("OCS_Q1", 10, 10, 5), ocs.add("OCS_Q2", 10, 13, 5), ocs.add("OCS_Q3", 4, 10, 5);
    const auto result = autoFindPoints(mcs.set(), ocs.set(), 0.5f, std::nullopt, JobState(), f.services());
    ASSERT_EQ(result.candidates.size(), 4u);
    EXPECT_EQ(chooseSeedCandidates(result.candidates),
              (std::array<std::int32_t, 3>{0, 3, 1}));  // the old pick
    EXPECT_EQ(result.status, AutoFindResult::Status::Paired);
    EXPECT_EQ(result.identicalCount, 3);
    EXPECT_EQ(mcs.names, (Names{"", "MCS_A=OCS_Q1", "MCS_B=OCS_Q2", "MCS_C=OCS_Q3", "MCS_D"}));
    ASSERT_TRUE(result.seed);
    JobState seeded;
    seeded.TraX() = result.seed->TraX, seeded.TraY() = result.seed->TraY, seeded.TraZ() = result.seed->TraZ;
    seeded.RotXSeed = result.seed->RotXSeed, seeded.RotYSeed = result.seed->RotYSeed;
    seeded.RotZSeed = result.seed->RotZSeed;
    seeded.ScaleX() = seeded.ScaleY() = seeded.ScaleZ() = 1;
    double x = 0, y = 0, z = 0;
    transformPoint(seeded, 3, 0, 0, x, y, z);
    EXPECT_NEAR(x, 10, 1e-9);
    EXPECT_NEAR(y, 13, 1e-9);
    EXPECT_NEAR(z, 5, 1e-9);
    EXPECT_TRUE(f.prompter.shown().empty());
}

// The whole automatic search against the plain loops: the candidates, the choice, the seed
// solution, transformPoint per point and the plain pair search must give the same names.
TEST(AutoFindPoints, GivesTheNamesOfThePlainLoopsOnRandomSets) {
    std::mt19937 rng(4242);
    const float ettas[] = {0.05f, 0.02f, 0.2f};
    int paired = 0;
    for (int round = 0; round < 150; ++round) {
        const auto n = static_cast<std::int32_t>(3 + rng() % 58),
                   m = static_cast<std::int32_t>(3 + rng() % 58);
        const auto base = testing::randomCloud(rng, n, round % 3 == 0 ? 2 : 0, round % 3 == 0 ? 10.0 : 100.0);
        const auto moved = testing::movedCopy(rng, base, 0.3 * round, 40, -7, 2, 0.003, 1 + round % 9, m);
        const float etta = ettas[round % 3];
        SCOPED_TRACE(::testing::Message() << "round " << round << ", n " << n << ", m " << m);

        Fixture f;
        NamedCloud mcs = named(base, "MCS_"), ocs = named(moved, "OCS_");
        const auto result =
            autoFindPoints(mcs.set(), ocs.set(), etta, std::nullopt, JobState(), f.services());

        // The plain way.
        NamedCloud refMcs = named(base, "MCS_"), refOcs = named(moved, "OCS_");
        const auto candidates = reference::autoFindCandidates(base.view(), moved.view(), etta);
        std::int32_t refCount = 0;
        const auto choice = reference::soundSeedChoice(candidates, base.view(), moved.view(), etta);
        if (!choice.empty()) {
            const auto seed = seedFromCandidates(
                base.view(), moved.view(),
                {candidates[choice[0]], candidates[choice[1]], candidates[choice[2]]}, JobState(), nullptr);
            JobState seeded;
            seeded.TraX() = seed.TraX, seeded.TraY() = seed.TraY, seeded.TraZ() = seed.TraZ;
            seeded.RotXSeed = seed.RotXSeed, seeded.RotYSeed = seed.RotYSeed, seeded.RotZSeed = seed.RotZSeed;
            seeded.ScaleX() = seed.ScaleX, seeded.ScaleY() = seed.ScaleY, seeded.ScaleZ() = seed.ScaleZ;
            testing::Cloud transformed;
            for (std::int32_t i = 1; i <= n; ++i) {
                double x = 0, y = 0, z = 0;
                transformPoint(seeded, base.x[i], base.y[i], base.z[i], x, y, z);
                transformed.add(x, y, z);
            }
            const auto partner = reference::coordinatePartners(transformed.view(), moved.view(), etta);
            for (std::int32_t i = 1; i <= n; ++i) {
                if (partner[i] == 0) continue;
                refMcs.names[i] = refMcs.names[i] + "=" + refOcs.names[partner[i]];
                refOcs.names[partner[i]] = refMcs.names[i];
                ++refCount;
            }
        }
        ASSERT_EQ(result.identicalCount, refCount);
        ASSERT_EQ(mcs.names, refMcs.names);
        ASSERT_EQ(ocs.names, refOcs.names);
        paired += refCount > 0;
    }
    EXPECT_GT(paired, 30);  // enough rounds reach pairs for the comparison to mean something
}

}  // namespace
}  // namespace kal
