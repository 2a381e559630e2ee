#include <gtest/gtest.h>

#include "shared/McsOcsExchange.h"
#include "support/SampleJobs.h"

namespace kal {
namespace {

// 3 identical pairs, 2 MCS-only and 5 OCS-only points: uneven sets show a count or size mix-up.
TEST(McsOcsExchange, SetsAndCountsTradePlacesAndEachSetIsSizedToItsCount) {
    JobState job = testing::makePointJob(3, 2, 5);
    job.MCSt_X.set(1, 12345.0);  // a transformed set from an earlier calculation
    job.UseFlags[4] = 0;
    const JobState before = job;

    exchangeMcsAndOcs(job);
    EXPECT_EQ(job.McsCount, 8);
    EXPECT_EQ(job.OcsCount, 5);
    EXPECT_EQ(job.McsOnlyCount, before.OcsOnlyCount);
    EXPECT_EQ(job.OcsOnlyCount, before.McsOnlyCount);
    EXPECT_EQ(job.IdenticalCount, 3);
    EXPECT_EQ(job.MCS_Name, before.OCS_Name);
    EXPECT_EQ(job.MCS_X, before.OCS_X);
    EXPECT_EQ(job.OCS_Y, before.MCS_Y);
    EXPECT_EQ(job.OCS_Z, before.MCS_Z);
    EXPECT_EQ(job.MCS_Name.size(), 9u);
    EXPECT_EQ(job.MCS_Z.size(), 9u);
    EXPECT_EQ(job.OCS_Name.size(), 6u);
    EXPECT_EQ(job.OCS_Z.size(), 6u);
    EXPECT_EQ(job.UseFlags, before.UseFlags);
    EXPECT_EQ(job.MCSt_X, job.MCS_X);  // the transformed set waits for the next calculation
    EXPECT_EQ(job.MCSt_Name, job.MCS_Name);
    EXPECT_TRUE(job.invariantsHold());

    exchangeMcsAndOcs(job);
    EXPECT_EQ(job.MCS_Name, before.MCS_Name);
    EXPECT_EQ(job.MCS_X, before.MCS_X);
    EXPECT_EQ(job.MCS_Z, before.MCS_Z);  // exact double comparison
    EXPECT_EQ(job.OCS_Y, before.OCS_Y);
    EXPECT_EQ(job.McsCount, before.McsCount);
    EXPECT_EQ(job.OcsOnlyCount, before.OcsOnlyCount);
}

}  // namespace
}  // namespace kal
