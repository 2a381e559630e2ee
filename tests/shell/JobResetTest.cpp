#include <gtest/gtest.h>

#include "shell/JobReset.h"

namespace kal {
namespace {

struct View : MainWindowView {
    void setMainCaption(const std::string& c) override { caption = c; }
    void showUnitNames(const std::string& l, const std::string& a) override { units = l + "|" + a; }
    void enableMainWindow(bool e) override { enabled = e; }
    void refreshState() override { ++refreshes; }
    std::string caption, units;
    bool enabled = false;
    int refreshes = 0;
};

TEST(InitializeJob, EmptiesTheJobAndKeepsItsNameUnitsAndDirtyFlag) {
    JobState job;
    job.CurrentJobFile = "/jobs/a.tfo";
    job.LengthUnitName = "inch";
    job.DigitLength = 2;
    job.AngleUnitName = "";
    job.DigitAngle = 1;
    job.McsCount = 5;
    job.OcsCount = 4;
    job.IdenticalCount = 3;
    job.McsOnlyCount = 2;
    job.OcsOnlyCount = 1;
    job.DataLoaded = job.TrafoCalculated = job.MCSOCSGetauscht = job.ColourBarShown = true;
    job.OriginPointIndex = 7;
    job.JobDirty = true;
    job.RecentFiles[1] = "/jobs/b.tfo";
    View view;
    initializeJob(job, view);

    EXPECT_EQ(job.CurrentJobFile, "/jobs/a.tfo");
    EXPECT_EQ(view.caption, "Kalvoreth Version 2.0.63 | /jobs/a.tfo");
    EXPECT_EQ(job.LengthUnitName, "inch");
    EXPECT_EQ(job.DigitLength, 2);
    EXPECT_EQ(job.AngleUnitName, "degree");
    EXPECT_EQ(job.DigitAngle, 4);
    EXPECT_EQ(view.units, "inch|degree");
    EXPECT_NE(job.LengthFactor, 0.0);
    EXPECT_EQ(job.McsCount + job.OcsCount + job.IdenticalCount + job.McsOnlyCount + job.OcsOnlyCount, 0);
    EXPECT_FALSE(job.DataLoaded || job.TrafoCalculated || job.MCSOCSGetauscht || job.ColourBarShown);
    EXPECT_TRUE(job.RichtungMCStoOCS);
    EXPECT_EQ(job.OriginPointIndex, 0);
    EXPECT_TRUE(job.JobDirty);
    EXPECT_EQ(job.RecentFiles[1], "/jobs/b.tfo");
    EXPECT_TRUE(view.enabled);
    EXPECT_EQ(view.refreshes, 1);
}

TEST(InitializeJob, AnEmptyLengthUnitTakesMillimetresWithThreeDecimalsAndAnUnnamedJobTheDefaultName) {
    JobState job;
    job.DigitLength = 6;
    View view;
    initializeJob(job, view);
    EXPECT_EQ(job.LengthUnitName, "millimeter");
    EXPECT_EQ(job.DigitLength, 3);
    EXPECT_EQ(job.CurrentJobFile, "..\\default.tfo");
}

// The runs of a Monte Carlo series belong to the job whose points they were drawn from: New and
// Open reset the job, and the next job's details window must not show the old sigmas.
TEST(InitializeJob, ForgetsTheMonteCarloRunsOfTheJobBefore) {
    JobState job;
    job.McCompleted = true;
    for (auto& runs : job.McRuns) runs = {0.0, 1.0, 2.0, 3.0};
    View view;
    initializeJob(job, view);
    EXPECT_FALSE(job.McCompleted);
    for (const auto& runs : job.McRuns) EXPECT_TRUE(runs.empty());
}

TEST(InitializeJob, AFailingStepIsSkippedAndTheRestRuns) {
    struct Throwing : View {
        void setMainCaption(const std::string&) override { throw std::runtime_error("no window"); }
    } view;
    JobState job;
    job.DataLoaded = true;
    initializeJob(job, view);
    EXPECT_FALSE(job.DataLoaded);
    EXPECT_EQ(view.refreshes, 1);
}

}  // namespace
}  // namespace kal
