#include <gtest/gtest.h>

#include <random>

#include "calculation/DirectionSwitch.h"

namespace kal {
namespace {

// 10 MCS and 8 OCS points, the first 6 of each identical, with uneven coordinates.
JobState tenAndEight() {
    JobState job;
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> u(-1000.0, 1000.0);
    job.McsCount = 10;
    job.OcsCount = 8;
    job.IdenticalCount = 6;
    job.MCS_Name.resize(11);
    job.MCS_X.resize(10);
    job.MCS_Y.resize(10);
    job.MCS_Z.resize(11);
    job.OCS_Name.resize(9);
    job.OCS_X.resize(8);
    job.OCS_Y.resize(8);
    job.OCS_Z.resize(9);
    for (int i = 1; i <= 10; ++i) {
        job.MCS_Name[i] = "M" + std::to_string(i);
        job.MCS_X.set(i, u(rng));
        job.MCS_Y.set(i, u(rng));
        job.MCS_Z[i] = u(rng);
    }
    for (int i = 1; i <= 8; ++i) {
        job.OCS_Name[i] = i <= 6 ? job.MCS_Name[i] : "O" + std::to_string(i);
        job.OCS_X.set(i, u(rng));
        job.OCS_Y.set(i, u(rng));
        job.OCS_Z[i] = u(rng);
    }
    job.sizeDerivedArrays(1);
    job.UseFlags[5] = 0;
    job.NameMCS = "robot";
    job.NameOCS = "cad";
    job.RichtungMCStoOCS = true;
    return job;
}

TEST(DirectionSwitch, ExchangesSetsAndCountsKeepingPairsAndFlags) {
    JobState job = tenAndEight();
    const JobState before = job;
    pressDirectionSwitch(job);
    EXPECT_EQ(job.McsCount, 8);
    EXPECT_EQ(job.OcsCount, 10);
    EXPECT_EQ(job.McsOnlyCount, 2);
    EXPECT_EQ(job.OcsOnlyCount, 4);
    EXPECT_EQ(job.IdenticalCount, 6);
    EXPECT_EQ(job.UseFlags, before.UseFlags);
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(job.MCS_Name[i], job.OCS_Name[i]);
    EXPECT_EQ(job.MCS_X, before.OCS_X);
    EXPECT_EQ(job.OCS_Z, before.MCS_Z);
    EXPECT_EQ(job.MCSt_Name, job.MCS_Name);  // the transformed set waits for the calculation
    EXPECT_EQ(job.MCSt_X, job.MCS_X);
    EXPECT_EQ(job.MCSt_Z, job.MCS_Z);
    EXPECT_EQ(job.NameMCS, "robot");
    EXPECT_TRUE(job.invariantsHold());
}

TEST(DirectionSwitch, TwoPressesGiveBitIdenticalSets) {
    JobState job = tenAndEight();
    const JobState before = job;
    pressDirectionSwitch(job);
    pressDirectionSwitch(job);
    EXPECT_EQ(job.MCS_Name, before.MCS_Name);
    EXPECT_EQ(job.OCS_Name, before.OCS_Name);
    EXPECT_EQ(job.MCS_X, before.MCS_X);
    EXPECT_EQ(job.MCS_Y, before.MCS_Y);
    EXPECT_EQ(job.MCS_Z, before.MCS_Z);  // exact double comparison
    EXPECT_EQ(job.OCS_X, before.OCS_X);
    EXPECT_EQ(job.OCS_Y, before.OCS_Y);
    EXPECT_EQ(job.OCS_Z, before.OCS_Z);
    EXPECT_EQ(job.McsCount, before.McsCount);
    EXPECT_EQ(job.OcsOnlyCount, before.OcsOnlyCount);
    EXPECT_EQ(job.MCSOCSGetauscht, before.MCSOCSGetauscht);
    EXPECT_EQ(job.RichtungMCStoOCS, before.RichtungMCStoOCS);
}

TEST(DirectionSwitch, LabelFollowsTheDirectionAlsoForAJobSavedWhileExchanged) {
    JobState job = tenAndEight();
    EXPECT_EQ(directionLabelAtSetUp(job), (DirectionLabel{"MCS => OCS", false, "robot => cad", false}));
    EXPECT_EQ(pressDirectionSwitch(job), (DirectionLabel{"OCS -> MCS", true, "cad => robot", true}));
    EXPECT_FALSE(job.RichtungMCStoOCS);
    EXPECT_EQ(pressDirectionSwitch(job), (DirectionLabel{"MCS -> OCS", false, "robot => cad", false}));

    // Reopened from a job file saved while exchanged: direction OCS -> MCS, exchange flag lost.
    JobState reopened = tenAndEight();
    reopened.RichtungMCStoOCS = false;
    reopened.MCSOCSGetauscht = false;
    EXPECT_EQ(directionLabelAtSetUp(reopened).caption, "OCS => MCS");
    const DirectionLabel label = pressDirectionSwitch(reopened);
    EXPECT_EQ(label.caption, "MCS -> OCS");  // the sets are back in their file roles
    EXPECT_TRUE(reopened.RichtungMCStoOCS);
    EXPECT_TRUE(reopened.MCSOCSGetauscht);
}

TEST(DirectionSwitch, RefreshesTheStatisticsWindowAfterTheExchange) {
    JobState job = tenAndEight();
    int seenMcsCount = 0;
    pressDirectionSwitch(job, [&] { seenMcsCount = job.McsCount; });
    EXPECT_EQ(seenMcsCount, 8);
}

}  // namespace
}  // namespace kal
