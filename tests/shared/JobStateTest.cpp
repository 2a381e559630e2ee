#include <gtest/gtest.h>

#include "shared/JobState.h"

namespace kal {
namespace {

TEST(JobState, StartsEmptyWithElementZeroOnly) {
    JobState job;
    EXPECT_EQ(job.IdenticalCount, 0);
    EXPECT_EQ(job.UseFlags.size(), 1u);
    EXPECT_FALSE(job.DataLoaded);
    EXPECT_EQ(job.LengthFactor, 0.0);
    EXPECT_TRUE(job.invariantsHold());
}

TEST(JobState, SizingKeepsUseFlagsByIndexAndStartsNewOnesAtTheGivenValue) {
    JobState job;
    job.McsCount = job.OcsCount = job.IdenticalCount = 1;
    job.MCS_Name.resize(2);
    job.MCS_X.resize(1);
    job.MCS_Y.resize(1);
    job.MCS_Z.resize(2);
    job.OCS_Name.resize(2);
    job.OCS_X.resize(1);
    job.OCS_Y.resize(1);
    job.OCS_Z.resize(2);
    job.sizeDerivedArrays();
    job.UseFlags[1] = 1;
    job.UseFlags[2] = 0;
    job.UseFlags[3] = 1;

    job.IdenticalCount = 2;
    job.McsCount = job.OcsCount = 3;
    job.MCS_Name.resize(4);
    job.MCS_X.resize(3);
    job.MCS_Y.resize(3);
    job.MCS_Z.resize(4);
    job.OCS_Name.resize(4);
    job.OCS_X.resize(3);
    job.OCS_Y.resize(3);
    job.OCS_Z.resize(4);
    job.sizeDerivedArrays(1);
    ASSERT_EQ(job.UseFlags.size(), 7u);
    EXPECT_EQ(job.UseFlags[2], 0);  // kept by index
    EXPECT_EQ(job.UseFlags[4], 1);  // new
    EXPECT_EQ(job.McsOnlyCount, 1);
    EXPECT_EQ(job.OcsOnlyCount, 1);
    EXPECT_EQ(job.MCSt_X.upper(), 3);
    EXPECT_EQ(job.RVec_X.upper(), 2);
    EXPECT_TRUE(job.invariantsHold());
}

TEST(TaggedArray, RemembersNeverAssignedVersusZero) {
    TaggedArray a(3);
    a.set(1, 0.0);
    EXPECT_TRUE(a.isAssigned(1));
    EXPECT_FALSE(a.isAssigned(2));
    EXPECT_EQ(a[2], 0.0);
    a.resize(5);
    EXPECT_TRUE(a.isAssigned(1));
    EXPECT_FALSE(a.isAssigned(5));
    a.unset(1);
    EXPECT_FALSE(a.isAssigned(1));
}

}  // namespace
}  // namespace kal
