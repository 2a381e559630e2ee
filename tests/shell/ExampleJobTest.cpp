// The demo job of examples/ (the demo cell's point files, matched) opens through the job commands
// and holds what its recipe says.
// Set KALVORETH_WRITE_EXAMPLES=1 to write it anew from the recipe.
#include <gtest/gtest.h>

#include <cstdlib>

#include "jobfile/JobFileWriter.h"
#include "shared/AtomicFile.h"
#include "shell/JobCommands.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"

namespace kal {
namespace {

class SilentWindow : public JobWindow {
    void closeAllChildForms() override {}
    void resetJob() override {}
    void unitsChanged() override {}
    void jobLoaded() override {}
    void refreshState() override {}
    void setBusy(bool) override {}
};

TEST(ExampleJob, DemoJobOpensAndIsWhatItsRecipeWrites) {
    const std::string path = std::string(KALVORETH_EXAMPLES) + "/demo-job.tfo";
    JobFileWriteNotes notes;
    const std::string recipe = writeJobFile(testing::makeDemoJob(KALVORETH_EXAMPLES), notes);
    if (const char* write = std::getenv("KALVORETH_WRITE_EXAMPLES"); write && std::string(write) == "1")
        writeFileAtomically(path, recipe);
    EXPECT_EQ(readFileBytes(path), recipe);

    JobState job;
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    SilentWindow window;
    JobCommands commands(job, prompter, dialogs, window);
    ASSERT_TRUE(commands.openJobAt(path));
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(job.IdenticalCount, 6);
    EXPECT_EQ(job.MCS_Name[1], "P1");
    EXPECT_EQ(job.OCS_X[1], 799.75);
    EXPECT_EQ(job.SavedViewNames, std::vector<std::string>{"Overview"});
    EXPECT_TRUE(job.DataLoaded);
    EXPECT_TRUE(job.invariantsHold());
}

}  // namespace
}  // namespace kal
