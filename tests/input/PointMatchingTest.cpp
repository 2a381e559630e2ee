#include <gtest/gtest.h>

#include "input/AsciiPointReader.h"
#include "input/PointMatching.h"
#include "input/ReaderTestSupport.h"
#include "shared/Errors.h"

namespace kal {
namespace {

using testing::Recorded;

PointSet named(std::initializer_list<const char*> names) {
    PointSet s;
    double v = 1;
    for (const char* n : names) s.add(n, v, 10 * v, 100 * v), v += 1;
    return s;
}

std::vector<std::string> namesOf(const PointSet& s) { return {s.names.begin() + 1, s.names.end()}; }

TEST(PointMatching, PairsMoveToTheFrontInNameOrderAndKeepTheirCoordinates) {
    Recorded r;
    const auto m =
        matchPointsByName(named({"C", "A", "D", "B"}), named({"X", "B", "D"}), std::nullopt, r.options);
    EXPECT_EQ(m.identical, 2);
    EXPECT_EQ(namesOf(m.mcs), (std::vector<std::string>{"B", "D", "C", "A"}));
    EXPECT_EQ(namesOf(m.ocs), (std::vector<std::string>{"B", "D", "X"}));
    EXPECT_EQ(m.mcs.x[1], 4);  // B was the fourth MCS point
    EXPECT_EQ(m.mcs.z[2], 300);
    EXPECT_EQ(m.ocs.y[1], 20);
}

TEST(PointMatching, NamesEqualInValueButNotInTextAreDistinct) {
    Recorded r;
    auto m = matchPointsByName(named({"7", "007", "3"}), named({"7", "5"}), std::nullopt, r.options);
    EXPECT_EQ(m.identical, 1);
    EXPECT_EQ(m.mcs.names[1], "7");
    EXPECT_EQ(m.ocs.names[1], "7");
    EXPECT_EQ(m.mcs.x[1], 1);
    m = matchPointsByName(named({"1", "01", "5"}), named({"1", "5"}), std::nullopt, r.options);
    EXPECT_EQ(m.identical, 2);
    EXPECT_EQ(namesOf(m.mcs), (std::vector<std::string>{"1", "5", "01"}));
    m = matchPointsByName(named({"P1"}), named({"p1"}), std::nullopt, r.options);
    EXPECT_EQ(m.identical, 0);
}

TEST(PointMatching, DoubleNamesEndTheMatchWithTheMcsTestedFirst) {
    struct Case {
        PointSet mcs, ocs;
        const char* message;
    };
    const Case cases[] = {
        {named({"P7", "A", "P7"}), named({"P7", "P7"}),
         "There might be a double Pointnumber in the MCS File. \nPlease check Point Number P7"},
        {named({"A", "B"}), named({"1", "2", "1"}),
         "There might be a double Pointnumber in the OCS File. \nPlease check Point Number 1"},
    };
    for (const auto& c : cases) {
        Recorded r;
        EXPECT_THROW(matchPointsByName(c.mcs, c.ocs, std::nullopt, r.options), FormatError);
        EXPECT_EQ(r.prompter.texts(), std::vector<std::string>{c.message});
    }
}

TEST(PointMatching, RobotAnglesMoveWithTheirOcsPoints) {
    Recorded r;
    Matrix angles(3, 3);
    for (int i = 1; i <= 3; ++i) angles(i, 1) = i;  // A = the file position
    const auto m = matchPointsByName(named({"3"}), named({"10", "2", "3"}), angles, r.options);
    ASSERT_EQ(m.identical, 1);
    // Sorted 2, 3, 10; the pair 3 exchanged to the front.
    EXPECT_EQ(namesOf(m.ocs), (std::vector<std::string>{"3", "2", "10"}));
    EXPECT_EQ((*m.ocsAngles)(1, 1), 3);
    EXPECT_EQ((*m.ocsAngles)(2, 1), 2);
    EXPECT_EQ((*m.ocsAngles)(3, 1), 1);
}

// Reads, matches and commits as the load does: the job changes only when everything succeeded.
void loadByName(JobState& job, const std::string& mcs, const std::string& ocs, const ReadOptions& options) {
    auto a = parseAsciiPointFile(mcs, "mcs.txt", options);
    auto b = parseAsciiPointFile(ocs, "ocs.txt", options);
    auto matched = matchPointsByName(std::move(a.points), std::move(b.points), std::nullopt, options);
    commitMatchedPoints(job, std::move(matched), rememberUseFlags(job));
}

TEST(PointMatching, CommitFillsTheWorkingArrays) {
    Recorded r;
    JobState job;
    loadByName(job, "A 1 2 3\nB 4 5 6\nC 7 8 9\n", "B 0 0 0\nZ 1 1 1\nA 0 0 1\n", r.options);
    EXPECT_EQ(job.McsCount, 3);
    EXPECT_EQ(job.OcsCount, 3);
    EXPECT_EQ(job.IdenticalCount, 2);
    EXPECT_EQ(job.McsOnlyCount, 1);
    EXPECT_EQ(job.OcsOnlyCount, 1);
    EXPECT_EQ(job.MCS_Name[1], "A");
    EXPECT_EQ(job.OCS_Z[1], 1);
    EXPECT_EQ(job.MCS_X[2], 4);
    EXPECT_EQ(job.MCSt_Name, job.MCS_Name);
    EXPECT_EQ(job.MCSt_X, job.MCS_X);
    EXPECT_EQ(job.MCSt_Z, job.MCS_Z);
    EXPECT_EQ(job.RVec_X.upper(), 2);
    EXPECT_EQ(job.RVec_Z, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(job.UseFlags, (std::vector<std::int16_t>{0, 1, 1, 1, 1, 1, 1}));
    EXPECT_TRUE(job.invariantsHold());
}

TEST(PointMatching, CommitIntoAnExchangedJobExchangesTheNewSetsAgain) {
    Recorded r;
    JobState job;
    job.MCSOCSGetauscht = true;
    loadByName(job, "A 1 2 3\nB 4 5 6\nC 7 8 9\n", "B 0 0 0\nA 0 0 1\n", r.options);
    EXPECT_TRUE(job.MCSOCSGetauscht);
    EXPECT_EQ(job.McsCount, 2);  // the OCS file's points
    EXPECT_EQ(job.OcsCount, 3);
    EXPECT_EQ(job.IdenticalCount, 2);
    EXPECT_EQ(job.McsOnlyCount, 0);
    EXPECT_EQ(job.OcsOnlyCount, 1);
    EXPECT_EQ(job.MCS_Name, (std::vector<std::string>{"", "A", "B"}));
    EXPECT_EQ(job.MCS_Z[1], 1);
    EXPECT_EQ(job.OCS_Name[3], "C");
    EXPECT_EQ(job.MCSt_Name, job.MCS_Name);
    EXPECT_EQ(job.MCSt_Z, job.MCS_Z);
    EXPECT_EQ(job.UseFlags.size(), 7u);
}

TEST(PointMatching, NoCommonNameLeavesOnlyFlagZero) {
    Recorded r;
    JobState job;
    loadByName(job, "A 1 2 3\n", "B 1 2 3\n", r.options);
    EXPECT_EQ(job.IdenticalCount, 0);
    EXPECT_EQ(job.UseFlags, std::vector<std::int16_t>{0});
    EXPECT_EQ(job.MCSt_Name, job.MCS_Name);
}

TEST(PointMatching, ReloadKeepsUseFlagsByNameAndUsesNewPoints) {
    Recorded r;
    JobState job;
    loadByName(job, "P1 1 0 0\nP2 2 0 0\nP3 3 0 0\n", "P1 1 0 0\nP2 2 0 0\nP3 3 0 0\n", r.options);
    job.UseFlags = {0, 1, 1, 1, 0, 0, 0, 1, 0, 1};  // P2 off, P3 without y
    // One extra point, sorting before the others, shifts every index.
    loadByName(job, "P0 0 0 0\nP1 1 0 0\nP2 2 0 0\nP3 3 0 0\n", "P3 3 0 0\nP2 2 0 0\nP1 1 0 0\nP0 0 0 0\n",
               r.options);
    ASSERT_EQ(job.IdenticalCount, 4);
    EXPECT_EQ(job.MCS_Name[1], "P0");
    EXPECT_EQ(job.UseFlags, (std::vector<std::int16_t>{0, 1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 0, 1}));
}

TEST(PointMatching, FailedLoadLeavesTheJobUnchanged) {
    Recorded r;
    JobState job;
    loadByName(job, "P1 1 0 0\nP2 2 0 0\n", "P1 1 0 0\nP2 2 0 0\n", r.options);
    job.UseFlags[2] = 0;
    const JobState before = job;
    const std::pair<const char*, const char*> failures[] = {
        {"P1 1 0 0\nP2 2 0 0\nP3 x 0 0\n", "P1 1 0 0\n"},  // a letter in the MCS
        {"P1 1 0 0\n", "P1;1;;0\n"},                       // an empty OCS field
        {"P1 1 0 0\nP1 2 0 0\n", "P1 1 0 0\n"},            // a double name
    };
    for (const auto& [mcs, ocs] : failures) {
        SCOPED_TRACE(mcs);
        EXPECT_ANY_THROW(loadByName(job, mcs, ocs, r.options));
        EXPECT_EQ(job.MCS_Name, before.MCS_Name);
        EXPECT_EQ(job.MCS_X, before.MCS_X);
        EXPECT_EQ(job.OCS_Name, before.OCS_Name);
        EXPECT_EQ(job.UseFlags, before.UseFlags);
        EXPECT_EQ(job.IdenticalCount, before.IdenticalCount);
    }
}

}  // namespace
}  // namespace kal
